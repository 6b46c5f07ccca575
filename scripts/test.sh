#!/usr/bin/env bash
# Runs every test: the pure logic natively under sanitizers; the two shipped
# programs built and checked against Windows XP's exports; everything (logic,
# platform, widgets, windows) cross-built for 64-bit Windows and run under Wine;
# the end-to-end tests again, 32-bit, under 32-bit Wine. The end-to-end tests
# start the shipped programs themselves.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
bash scripts/setup.sh

JOBS="$(nproc)"
echo "== native build (logic tests under AddressSanitizer and UBSan)"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFERLANE_SANITIZE=ON >/dev/null
cmake --build build/native -j "$JOBS"
(cd build/native && ctest --output-on-failure -j "$JOBS")

echo "== shipped programs, checked against Windows XP's exports"
FERLANE_SKIP_SETUP=1 bash scripts/build.sh

echo "== 64-bit Windows build, every test under Wine"
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DFERLANE_PROGRAM="$ROOT/build/xp64/ferlane64.exe" >/dev/null
cmake --build build/win -j "$JOBS"
# The end-to-end tests run within app_tests here.
(cd build/win && ctest --output-on-failure -j "$JOBS" --timeout 900 -LE end_to_end)

echo "== 32-bit Windows build, end-to-end tests of ferlane.exe under 32-bit Wine"
cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release -DFERLANE_PROGRAM="$ROOT/build/xp32/ferlane.exe" >/dev/null
cmake --build build/win32 -j "$JOBS" --target app_tests
(cd build/win32 && ctest --output-on-failure --timeout 900 -L end_to_end)
