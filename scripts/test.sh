#!/usr/bin/env bash
# Runs every test: the pure logic natively under sanitizers; the two shipped
# programs built and checked against Windows XP's exports; everything (logic,
# platform, widgets, windows) cross-built for 64-bit and for 32-bit Windows and
# run under Wine. The end-to-end tests start the shipped programs themselves.
# The installer packages are installed, started and removed under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
bash scripts/setup.sh

JOBS="$(nproc)"
echo "== native build (logic tests under AddressSanitizer and UBSan)"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFERLANE_SANITIZE=ON >/dev/null
cmake --build build/native -j "$JOBS"
(cd build/native && ctest --output-on-failure -j "$JOBS")

echo "== fuzz targets over their corpus (clang, ASan and UBSan)"
bash scripts/fuzz.sh replay

echo "== shipped programs, checked against Windows XP's exports"
FERLANE_SKIP_SETUP=1 bash scripts/build.sh

echo "== installer packages under Wine: install, start, uninstall, install again, upgrade"
bash tests/installer/installer-test.sh
echo "== installer packages signed with a throwaway certificate"
bash tests/installer/signing-test.sh

# Every test program twice: 64-bit under Wine, then 32-bit under 32-bit Wine
# (most users run 32-bit Windows). The end-to-end tests start the shipped
# program of the same width.
for pair in win:x86_64:xp64/ferlane64.exe win32:i686:xp32/ferlane.exe; do
  IFS=: read -r dir arch program <<<"$pair"
  echo "== $arch Windows build, every test under Wine (end-to-end: build/$program)"
  cmake -S . -B "build/$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-w64-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DFERLANE_PROGRAM="$ROOT/build/$program" >/dev/null
  cmake --build "build/$dir" -j "$JOBS"
  (cd "build/$dir" && ctest --output-on-failure -j "$JOBS" --timeout 900)
done
