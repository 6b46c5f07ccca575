#!/usr/bin/env bash
# Saves pictures of the main window at its design size with each tab in front,
# build/screenshots/tab1.png .. tab4.png, for a reviewer to compare by eye with
# the window's layout. Runs in a throwaway Wine prefix on its virtual desktop.
# The first tab is taken on the window's very first paint, before any repaint.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j2 --target screenshots
OUT="$ROOT/build/screenshots"
rm -rf "$OUT" && mkdir -p "$OUT"
# The program hides its own folder: give it one inside the output folder.
mkdir -p "$OUT/Ferlane"
FERLANE_OWN_XSERVER=1 scripts/wine-run.sh build/win/screenshots.exe "Z:${OUT//\//\\}" "Z:${OUT//\//\\}\\Ferlane" \
  2> >(grep -v "^wine: Read access" >&2)
for i in 1 2 3 4; do
  convert "$OUT/tab$i.bmp" "$OUT/tab$i.png" && rm "$OUT/tab$i.bmp"
done
rm -rf "$OUT/Ferlane"
ls "$OUT"
