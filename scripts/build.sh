#!/usr/bin/env bash
# Builds the two shipped programs and checks that each imports only what
# Windows XP has (and that its PE header lets XP load it):
#   build/xp32/ferlane.exe    32-bit: Windows 2000, XP and every later Windows
#   build/xp64/ferlane64.exe  64-bit: Windows XP x64 and later 64-bit Windows
# Both use MinGW-w64's win32-thread compilers, whose runtime needs nothing newer
# than XP; static runtime, one self-contained exe each.
# Then the two Windows Installer packages made of them (scripts/package.sh):
#   build/packages/ferlane-<version>-x86.msi and ferlane-<version>-x64.msi
# the programs signed in place before they are packaged, then the packages, when
# a certificate is given (FERLANE_SIGN_PKCS12, or FERLANE_SIGN_CERT and
# FERLANE_SIGN_KEY; see scripts/package.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
[ "${FERLANE_SKIP_SETUP:-}" = 1 ] || bash scripts/setup.sh

JOBS="$(nproc)"
for pair in xp32:i686-win32 xp64:x86_64-win32; do
  dir="build/${pair%%:*}"
  cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-w64-${pair#*:}.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DFERLANE_TESTS=OFF >/dev/null
  cmake --build "$dir" -j "$JOBS" --target ferlane
  # This build's tests: any import XP lacks fails them, and so does a manifest
  # that XP cannot load or that Windows Vista to 11 would read as a legacy
  # program's.
  if ! out="$(cd "$dir" && ctest -V 2>&1)"; then
    printf '%s\n' "$out" >&2
    echo "$dir: the program would not start on Windows XP, or not as meant on later Windows" >&2
    exit 1
  fi
  printf '%s\n' "$out" | sed -n 's/^[0-9]*: \(.*imports checked.*\)/'"${dir//\//\\/}"': \1/p'
  printf '%s\n' "$out" | sed -n 's/^[0-9]*: .*: \(manifest checked.*\)/'"${dir//\//\\/}"': \1/p'
done
echo "built: build/xp32/ferlane.exe (32-bit) and build/xp64/ferlane64.exe (64-bit)"
bash scripts/package.sh
