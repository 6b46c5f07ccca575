#!/usr/bin/env bash
# The libFuzzer targets of fuzz/: builds them with clang (ASan, UBSan), then
#   scripts/fuzz.sh replay        runs each over its corpus once (seconds)
#   scripts/fuzz.sh run SECONDS   fuzzes each for SECONDS, growing the corpus
# Prints each target's executions; a crash stops with its input in build/fuzz.
set -euo pipefail
cd "$(dirname "$0")/.."
mode="${1:-replay}"
seconds="${2:-60}"
cmake -S fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=Debug >/dev/null
# Quiet when it builds; the compiler's words when it does not.
if ! out="$(cmake --build build/fuzz -j 2 2>&1)"; then
  printf '%s\n' "$out" | tail -40 >&2
  exit 1
fi
total=0
for t in list_file placement password_value; do
  corpus="fuzz/corpus/$t"
  mkdir -p "$corpus"
  if [ "$mode" = run ]; then
    log="build/fuzz/$t.log"
    (cd build/fuzz && "./fuzz_$t" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
      -artifact_prefix="$PWD/$t-" "../../$corpus" >"$t.log" 2>&1) || { tail -40 "$log"; exit 1; }
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
    echo "$t: $runs executions, no crash"
    total=$((total + runs))
  else
    "build/fuzz/fuzz_$t" -runs=0 "$corpus" >"build/fuzz/$t.replay.log" 2>&1 || { tail -40 "build/fuzz/$t.replay.log"; exit 1; }
    echo "$t: corpus replayed ($(ls "$corpus" | wc -l) inputs)"
  fi
done
[ "$mode" = run ] && echo "total: $total executions"
exit 0
