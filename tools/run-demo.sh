#!/usr/bin/env bash
# Builds both programs, stages the demo disc and starts the disc menu from
# the disc root under Wine, as Windows' auto-start would.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
source tools/wine-env.sh

cmake --preset windows >/dev/null
cmake --build --preset windows
if [ "$MENU_PRESET" != windows ]; then
  echo "This machine cannot run 32-bit programs: running the x64 build of the same sources." >&2
  cmake --preset "$MENU_PRESET" >/dev/null
  cmake --build --preset "$MENU_PRESET"
fi

menu_need_display
menu_need_prefix
echo "Starting discmenu.exe in $MENU_DISC" >&2
cd "$MENU_DISC"
status=0
"$MENU_WINE" discmenu.exe || status=$?
[ -n "${MENU_XVFB_PID:-}" ] && kill "$MENU_XVFB_PID" 2>/dev/null
exit $status
