#!/usr/bin/env bash
# Screenshots of the three windows as a user sees them, in a Wine desktop
# that draws the window frames: at start and with the pointer on a button.
# Writes build/screenshots/*.png.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/wine-env.sh
out="$MENU_ROOT/build/screenshots"
mkdir -p "$out"
[ -d "$MENU_DISC" ] || { echo "build first: cmake --preset $MENU_PRESET && cmake --build --preset $MENU_PRESET" >&2; exit 1; }

unset DISPLAY
menu_need_display
menu_need_prefix
trap '/usr/lib/wine/wineserver -k >/dev/null 2>&1 || true; [ -n "${MENU_XVFB_PID:-}" ] && kill "$MENU_XVFB_PID" 2>/dev/null || true' EXIT

# name, program, locale, caption, client size, hover point in the client area
shots=(
  "discmenu|discmenu.exe|en_US.UTF-8|Norvane|640 479|460 303"
  "modelmenu-en|NV-QX480K/autorun3.exe|en_US.UTF-8|Ondrix|640 479|80 263"
  "modelmenu-zhCN|NV-QX480K/autorun3.exe|zh_CN.UTF-8|Ondrix|639 472|60 370"
)
cd "$MENU_DISC"
for s in "${shots[@]}"; do
  IFS='|' read -r name program locale caption client hover <<<"$s"
  LC_ALL=$locale "$MENU_WINE" explorer "/desktop=shots,1024x768" "$program" >/dev/null 2>&1 &
  for _ in $(seq 200); do xdotool search --name "^$caption\$" >/dev/null 2>&1 && break; sleep 0.1; done
  win=$(xdotool search --name "^$caption\$" | head -n 1)
  X=$(xwininfo -id "$win" | awk '/Absolute upper-left X/ {print $4}')
  Y=$(xwininfo -id "$win" | awk '/Absolute upper-left Y/ {print $4}')
  WIDTH=$(xwininfo -id "$win" | awk '/Width:/ {print $2}')
  HEIGHT=$(xwininfo -id "$win" | awk '/Height:/ {print $2}')
  xdotool mousemove 5 5
  sleep 1
  import -window root "$out/$name.png"
  # The desktop's X window is the frame: the client sits in its bottom
  # centre, inside an even border.
  read -r cw ch <<<"$client"
  read -r hx hy <<<"$hover"
  border=$(((WIDTH - cw) / 2))
  xdotool mousemove $((X + border + hx)) $((Y + HEIGHT - ch - border + hy))
  sleep 0.3
  xdotool mousemove_relative 1 1
  sleep 1
  import -window root "$out/$name-hover.png"
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  for _ in $(seq 100); do xdotool search --name "^$caption\$" >/dev/null 2>&1 || break; sleep 0.1; done
done
ls "$out"
