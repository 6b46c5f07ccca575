#!/usr/bin/env bash
# Runs one Windows program under Wine in a fresh, throwaway prefix with an X server.
# Used by CTest as the cross-compiling emulator and by the benchmarks.
# A pristine prefix is initialised once per machine and copied for every run,
# so each run starts from the same clean state without paying wineboot each time.
#
#   wine-run.sh [--gtest] PROGRAM [ARGS...]
# --gtest: the run passes only when the program exits with 0 and printed
# GoogleTest's own success summary with no failed test, so a crash or an exit
# that skips the summary cannot pass; a failed test is named as such, and a
# program that dies on the way as a crash. FERLANE_RUN_TIMEOUT (seconds, default 600)
# bounds the run; a program still running then is killed and fails.
# FERLANE_LOGPIXELS (e.g. 120 or 144): the prefix's screen has that DPI; unset,
# the template's 96.
set -uo pipefail
HERE="$(cd "$(dirname "$0")" && pwd)"
source "$HERE/wine-prefix.sh"

WINE="${WINE:-/usr/lib/wine/wine64}"
WINESERVER="${WINESERVER:-/usr/lib/wine/wineserver}"
# Bump the version when the template's set-up changes, so old templates are not reused.
# A prefix made before 32-bit Wine was installed cannot run 32-bit programs: such
# a machine gets a template of its own once it has wine32.
WOW=""; [ -x /usr/lib/wine/wine ] && WOW="-wow64"
TEMPLATE="${FERLANE_WINE_TEMPLATE:-/var/tmp/ferlane-wine-template-v5$WOW-$(id -u)}"
TIMEOUT="${FERLANE_RUN_TIMEOUT:-600}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH=win64

GTEST=0
if [ "${1:-}" = --gtest ]; then GTEST=1; shift; fi
PROGRAM="$(basename "${1:?usage: wine-run.sh [--gtest] PROGRAM [ARGS...]}")"

make_template() {
  local tmp="$TEMPLATE.tmp.$$"
  rm -rf "$tmp"; mkdir -p "$tmp"
  prepare_wine_prefix "$tmp"
  mv "$tmp" "$TEMPLATE" 2>/dev/null || rm -rf "$tmp"
}

(
  flock 9
  [ -f "$TEMPLATE/system.reg" ] || make_template
) 9>"$TEMPLATE.lock"

PREFIX="$(mktemp -d /tmp/ferlane-wine.XXXXXX)"
cp -a "$TEMPLATE/." "$PREFIX/"
if [ -n "${FERLANE_LOGPIXELS:-}" ]; then
  set_prefix_dpi "$PREFIX" "$FERLANE_LOGPIXELS" || { rm -rf "$PREFIX"; exit 2; }
fi
# S: is a second drive letter for C:'s folder, as subst makes one on Windows
# (Wine's DefineDosDevice answers yes and maps nothing).
ln -s ../drive_c "$PREFIX/dosdevices/s:" 2>/dev/null
export WINEPREFIX="$PREFIX"
# Wine's recycle bin follows XDG: keep deleted test files inside the throwaway prefix.
export XDG_DATA_HOME="$PREFIX/xdg-data"
mkdir -p "$XDG_DATA_HOME"
OUTPUT="$PREFIX.out"
cleanup() { "$WINESERVER" -k >/dev/null 2>&1; rm -rf "$PREFIX" "$OUTPUT" "$PREFIX.fifo"; }
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ] || [ "${FERLANE_OWN_XSERVER:-}" = 1 ]; then
  command=(xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$WINE" "$@")
else
  command=("$WINE" "$@")
fi
# The program's output is kept to read GoogleTest's summary, and shown as it
# comes. timeout signals the whole process group: the X server goes too. The
# copy is not a pipeline stage: a process the program left running (an
# Explorer window a test opened) would hold the pipe and the run with it.
mkfifo "$PREFIX.fifo"
tee "$OUTPUT" <"$PREFIX.fifo" &
copier=$!
timeout --kill-after=10 "$TIMEOUT" "${command[@]}" >"$PREFIX.fifo" 2>&1
rc=$?
if [ "$rc" = 124 ] || [ "$rc" = 137 ]; then
  echo "wine-run: $PROGRAM did not finish within $TIMEOUT s and was stopped"
  exit 124
fi
# What the program left running in the prefix gets a little time, then goes.
timeout 20 "$WINESERVER" -w >/dev/null 2>&1 || "$WINESERVER" -k >/dev/null 2>&1
wait "$copier" 2>/dev/null
if [ "$GTEST" = 0 ]; then
  if [ "$rc" != 0 ]; then
    echo "wine-run: $PROGRAM ended with status $rc (a crash ends with its exception code's low byte)"
    exit "$rc"
  fi
  exit 0
fi
# A test program: GoogleTest's closing summary tells a failed test from a
# program that died before its tests ended.
if ! grep -q '^\[==========\] [0-9]* tests\? from .* ran\.' "$OUTPUT"; then
  if [ "$rc" != 0 ]; then
    echo "wine-run: $PROGRAM crashed before its tests ended (status $rc, the low byte of its exception code)"
    exit "$rc"
  fi
  echo "wine-run: $PROGRAM exited with 0 before its tests ended, without GoogleTest's summary"
  exit 1
fi
failed="$(tr -d '\r' <"$OUTPUT" | sed -n 's/^\[  FAILED  \] \([^ ,]*\)$/\1/p' | sort -u | paste -sd ' ' -)"
if [ -n "$failed" ] || grep -q '^\[  FAILED  \]' "$OUTPUT"; then
  echo "wine-run: $PROGRAM: a test failed: ${failed:-see above} (exit status $rc)"
  exit 1
fi
if [ "$rc" != 0 ]; then
  echo "wine-run: $PROGRAM crashed after its tests passed (status $rc, the low byte of its exception code)"
  exit "$rc"
fi
if ! grep -q '^\[  PASSED  \] [0-9]* tests\?\.' "$OUTPUT"; then
  echo "wine-run: $PROGRAM ended without GoogleTest's success summary"
  exit 1
fi
exit 0
