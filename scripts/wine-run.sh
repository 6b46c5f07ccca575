#!/usr/bin/env bash
# Runs one Windows program under Wine in a fresh, throwaway prefix with an X server.
# Used by CTest as the cross-compiling emulator and by the benchmarks.
# A pristine prefix is initialised once per machine and copied for every run,
# so each run starts from the same clean state without paying wineboot each time.
set -uo pipefail

WINE="${WINE:-/usr/lib/wine/wine64}"
WINESERVER="${WINESERVER:-/usr/lib/wine/wineserver}"
# Bump the version when the template's set-up changes, so old templates are not reused.
# A prefix made before 32-bit Wine was installed cannot run 32-bit programs: such
# a machine gets a template of its own once it has wine32.
WOW=""; [ -x /usr/lib/wine/wine ] && WOW="-wow64"
TEMPLATE="${FERLANE_WINE_TEMPLATE:-/var/tmp/ferlane-wine-template-v2$WOW-$(id -u)}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH=win64

make_template() {
  local tmp="$TEMPLATE.tmp.$$"
  rm -rf "$tmp"; mkdir -p "$tmp"
  WINEPREFIX="$tmp" "$WINE" wineboot -i >/dev/null 2>&1
  # Every window lives on Wine's virtual desktop: it has a real taskbar window,
  # and hiding a window does not wait on an X window manager that is not there.
  WINEPREFIX="$tmp" "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  WINEPREFIX="$tmp" "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
  WINEPREFIX="$tmp" "$WINESERVER" -w
  mv "$tmp" "$TEMPLATE" 2>/dev/null || rm -rf "$tmp"
}

(
  flock 9
  [ -f "$TEMPLATE/system.reg" ] || make_template
) 9>"$TEMPLATE.lock"

PREFIX="$(mktemp -d /tmp/ferlane-wine.XXXXXX)"
cp -a "$TEMPLATE/." "$PREFIX/"
export WINEPREFIX="$PREFIX"
# Wine's recycle bin follows XDG: keep deleted test files inside the throwaway prefix.
export XDG_DATA_HOME="$PREFIX/xdg-data"
mkdir -p "$XDG_DATA_HOME"
cleanup() { "$WINESERVER" -k >/dev/null 2>&1; rm -rf "$PREFIX"; }
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ] || [ "${FERLANE_OWN_XSERVER:-}" = 1 ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$WINE" "$@"
else
  "$WINE" "$@"
fi
rc=$?
"$WINESERVER" -w >/dev/null 2>&1
exit $rc
