# Sourced by the scripts that run the Windows programs under Wine: picks the
# Wine that can run here and the build it runs, and a private Wine prefix.
#
# The disc's programs are 32-bit. Where the machine can run 32-bit Wine they
# run as built (build/windows); where it cannot (a kernel without 32-bit
# support), the same sources built for x64 (build/windows-x64) run under
# the 64-bit Wine instead.

if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  MENU_WINE=/usr/lib/wine/wine
  MENU_PRESET=windows
  export WINEARCH=win32
else
  MENU_WINE=/usr/lib/wine/wine64
  MENU_PRESET=windows-x64
  export WINEARCH=win64
fi
MENU_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
MENU_DISC="$MENU_ROOT/build/$MENU_PRESET/disc"
export WINEPREFIX="${WINEPREFIX:-$MENU_ROOT/build/wine-$WINEARCH}"
export WINEDEBUG="${WINEDEBUG:--all}"

# Starts a virtual X display when there is no display at all.
menu_need_display() {
  if [ -z "${DISPLAY:-}" ]; then
    local n=200
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    MENU_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    echo "The programs run on the virtual display $DISPLAY." >&2
  fi
}

# Creates the prefix once and gives it what a PC has and Wine here lacks:
# Wine's own fonts, which Debian installs where this Wine does not look
# (without Marlett the caption buttons show letters), and Windows' classic
# look instead of the flat colours of Wine's default theme.
menu_need_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX (once)..." >&2
    "$MENU_WINE" wineboot -i >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w
  fi
  local font
  for font in /usr/share/wine/fonts/*.ttf; do
    [ -e "$font" ] || continue
    [ -e "$WINEPREFIX/drive_c/windows/Fonts/${font##*/}" ] ||
      ln -s "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
  done
  if [ ! -f "$WINEPREFIX/.menu-classic-look" ]; then
    local reg="Z:$MENU_ROOT/tools/windows-classic.reg"
    "$MENU_WINE" regedit /S "${reg//\//\\}" >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
    touch "$WINEPREFIX/.menu-classic-look"
  fi
}

# Ends what the scripts above started: the prefix's Wine processes and the
# virtual display.
menu_stop() {
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  if [ -n "${MENU_XVFB_PID:-}" ]; then
    kill "$MENU_XVFB_PID" 2>/dev/null || true
    wait "$MENU_XVFB_PID" 2>/dev/null || true
  fi
}
