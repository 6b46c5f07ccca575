#!/usr/bin/env bash
# Builds the benchmarks and runs each under Wine, to its end whatever another
# one found; each prints its ratios against a baseline measured in the same
# run. Exits non-zero when a benchmark could not be built or did not run
# through (a check of its own failed, a crash, a time-out); a ratio above its
# aim is printed, not a failure.
#   bench.sh [NAME...]   only the benchmarks named (bench_list bench_hideall ...)
set -uo pipefail
cd "$(dirname "$0")/.."
[ "${FERLANE_SKIP_SETUP:-}" = 1 ] || bash scripts/setup.sh || exit 1
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null || exit 1
names=("$@")
if [ ${#names[@]} = 0 ]; then
  for src in bench/*.cpp; do names+=("$(basename "$src" .cpp)"); done
fi
# The 100,000-item benchmarks take minutes each.
export FERLANE_RUN_TIMEOUT="${FERLANE_RUN_TIMEOUT:-1800}"
failed=()
for name in "${names[@]}"; do
  echo "== $name"
  if ! cmake --build build/win --target "$name" >/dev/null; then
    echo "bench: $name could not be built"
    failed+=("$name")
    continue
  fi
  if ! scripts/wine-run.sh "build/win/$name.exe"; then
    echo "bench: $name did not run through"
    failed+=("$name")
  fi
done
if [ ${#failed[@]} != 0 ]; then
  echo "bench: did not run through: ${failed[*]}"
  exit 1
fi
echo "bench: all ${#names[@]} benchmarks ran through"
