#!/usr/bin/env bash
# Runs every test: the pure logic natively under sanitizers, then everything
# (logic, platform, widgets, windows) cross-built and run under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

JOBS="$(nproc)"
echo "== native build (logic tests under AddressSanitizer and UBSan)"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFERLANE_SANITIZE=ON >/dev/null
cmake --build build/native -j "$JOBS"
(cd build/native && ctest --output-on-failure -j "$JOBS")

echo "== fuzz targets over their corpus (clang, ASan and UBSan)"
bash scripts/fuzz.sh replay

echo "== Windows build, tests under Wine"
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j "$JOBS"
(cd build/win && ctest --output-on-failure -j "$JOBS" --timeout 900)
