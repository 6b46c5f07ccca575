#!/usr/bin/env bash
# Builds the shipped programs (scripts/build.sh) and starts one under Wine in
# the project's own prefix, on Wine's virtual desktop (which has a real taskbar
# window): the 32-bit build/xp32/ferlane.exe, or with FERLANE_64=1 the 64-bit
# build/xp64/ferlane64.exe. Without a display it starts Xvfb, saves a screenshot
# of the screen once the main window is up (build/ferlane-screenshot.png), and
# stops the program after that.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
bash scripts/build.sh

EXE="$ROOT/build/xp32/ferlane.exe"
[ "${FERLANE_64:-}" = 1 ] && EXE="$ROOT/build/xp64/ferlane64.exe"
echo "starting: $EXE"

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
source scripts/wine-prefix.sh
export WINEPREFIX="${FERLANE_WINEPREFIX:-$ROOT/build/wineprefix}"
export WINEARCH=win64 WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
# Deleted files go to a recycle bin inside the prefix, never the home's trash.
export XDG_DATA_HOME="$WINEPREFIX/xdg-data"
# A prefix made before its profile folders became real folders is made anew.
if [ ! -f "$WINEPREFIX/system.reg" ] || [ -L "$WINEPREFIX/drive_c/users/$(id -un)/Desktop" ]; then
  echo "initialising the Wine prefix $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  prepare_wine_prefix "$WINEPREFIX"
elif [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
  # Made before 32-bit Wine was installed: add the 32-bit system files.
  echo "adding 32-bit Windows to the Wine prefix $WINEPREFIX"
  rm -f "$WINEPREFIX/.update-timestamp"
  "$WINE" wineboot -u >/dev/null 2>&1
  /usr/lib/wine/wineserver -w
fi
mkdir -p "$XDG_DATA_HOME"
# Wine's own fonts (fonts-wine) are found only in the prefix's Fonts folder.
cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
# The program hides its own folder at every start: run it from a folder of its
# own inside the prefix, as an installed copy would be.
INSTALL="$WINEPREFIX/drive_c/Ferlane"
mkdir -p "$INSTALL"
cp "$EXE" "$INSTALL/ferlane.exe"
# The help command opens ferlane.chm from the program's own folder.
cp "$(dirname "$EXE")/ferlane.chm" "$INSTALL/ferlane.chm"

if [ -n "${DISPLAY:-}" ]; then
  exec "$WINE" explorer /desktop=Ferlane,1024x768 'C:\Ferlane\ferlane.exe'
fi

SHOT="$ROOT/build/ferlane-screenshot.png"
echo "no display: running under Xvfb"
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '
  "$0" explorer /desktop=Ferlane,1024x768 "C:\\Ferlane\\ferlane.exe" &
  # The virtual desktop is one X window; give the program time to come up on it.
  for i in $(seq 1 60); do
    sleep 1
    xwininfo -root -tree 2>/dev/null | grep -qi "desktop" && break
  done
  sleep "${FERLANE_SHOT_DELAY:-10}"
  import -window root "$1"
  /usr/lib/wine/wineserver -k
' "$WINE" "$SHOT"
echo "screenshot of the main window: $SHOT"
