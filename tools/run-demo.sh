#!/usr/bin/env bash
# Builds both programs, stages the demo disc and starts the disc menu from
# the disc root under Wine, as Windows' auto-start would, and waits for the
# user; without a display, runs the scripted tour (tools/tour.sh) instead.
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

# Without a display nobody could see the menu: a short scripted tour runs on
# a virtual display instead and leaves pictures of it, and ends by itself.
if [ -z "${DISPLAY:-}" ]; then
  echo "No display: a scripted tour of the menus runs instead and is written as pictures." >&2
  exec tools/tour.sh
fi
menu_need_prefix
echo "Starting discmenu.exe in $MENU_DISC" >&2
cd "$MENU_DISC"
exec "$MENU_WINE" discmenu.exe
