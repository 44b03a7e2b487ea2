#!/usr/bin/env bash
# The demo without a screen: runs the scripted tour of the menus
# (tools/tour/tour.py) on a virtual display of its own, whatever display
# there is, and stops that display and the prefix's Wine processes however
# the tour ends. Needs the staged demo disc (tools/run-demo.sh builds it).
#
#   tools/tour.sh [--out DIR] [--pictures DIR NAME=STEP ...]
#
# Writes each step as a picture and the whole tour as DIR/tour.gif
# (default build/tour/); the exit status is 0 only if every step showed
# what it should.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/wine-env.sh
if [ ! -f "$MENU_DISC/discmenu.exe" ]; then
  echo "No demo disc in $MENU_DISC: build it first (cmake --preset $MENU_PRESET && cmake --build --preset $MENU_PRESET)." >&2
  exit 1
fi
if [ "$MENU_PRESET" != windows ]; then
  echo "This machine cannot run 32-bit programs: the tour runs the x64 build of the same sources." >&2
fi

trap menu_stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
unset DISPLAY
menu_need_display
menu_need_prefix
/usr/bin/python3 -B tools/tour/tour.py --wine "$MENU_WINE" --disc "$MENU_DISC" "$@"
