#!/usr/bin/env bash
# Saves pictures of the main window at its design size with each tab in front,
# build/screenshots/tab1.png .. tab4.png, and of its "A Propos" menu open,
# menu.png, for a reviewer to compare by eye with the window's layout. Runs in a throwaway Wine prefix on its virtual desktop.
# The first tab is taken on the window's very first paint, before any repaint.
#
#   screenshots.sh [--dpi N]
# --dpi N: the prefix's screen is at N DPI (120: 125 %, 144: 150 %) and the
# pictures are tab1-Ndpi.png .. tab4-Ndpi.png; those of other DPIs are kept.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
SUFFIX=""
if [ "${1:-}" = --dpi ]; then
  case "${2:-}" in '' | *[!0-9]*) echo "usage: screenshots.sh [--dpi N]" >&2; exit 2 ;; esac
  export FERLANE_LOGPIXELS="$2"
  SUFFIX="-${2}dpi"
fi
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j2 --target screenshots
OUT="$ROOT/build/screenshots"
mkdir -p "$OUT"
rm -f "$OUT"/tab?"$SUFFIX".png "$OUT/menu$SUFFIX.png"
# The program hides its own folder: give it one inside the output folder.
WORK="$OUT/run$SUFFIX"
rm -rf "$WORK" && mkdir -p "$WORK/Ferlane"
FERLANE_OWN_XSERVER=1 scripts/wine-run.sh build/win/screenshots.exe "Z:${WORK//\//\\}" "Z:${WORK//\//\\}\\Ferlane" \
  2> >(grep -v "^wine: Read access" >&2)
for name in tab1 tab2 tab3 tab4 menu; do
  convert "$WORK/$name.bmp" "$OUT/$name$SUFFIX.png"
done
rm -rf "$WORK"
ls "$OUT"
