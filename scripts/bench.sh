#!/usr/bin/env bash
# Builds the benchmarks and runs each under Wine; each prints its ratios
# against a baseline measured in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
for src in bench/*.cpp; do
  name="$(basename "$src" .cpp)"
  cmake --build build/win --target "$name" >/dev/null
  echo "== $name"
  scripts/wine-run.sh "build/win/$name.exe"
done
