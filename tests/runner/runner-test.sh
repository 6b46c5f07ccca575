#!/usr/bin/env bash
# The Wine runner's verdicts: a passing test program passes; one that fails a
# test, one that crashes, one that exits with 0 after a failed assertion and
# one that hangs all fail, quickly, naming the program and saying which it was;
# one that passes but leaves a process running passes, and does not wait on it.
set -uo pipefail
RUNNER="$1"
PROBE="$2"
export FERLANE_RUN_TIMEOUT=20
status=0

expect() {  # expect pass|fail MODE [WORDS the verdict must hold] [WORDS it must not]
  local want="$1" mode="$2" says="${3:-}" never="${4:-}" out rc start elapsed
  start=$SECONDS
  out="$(timeout 180 "$RUNNER" --gtest "$PROBE" "$mode" 2>&1)"
  rc=$?
  elapsed=$((SECONDS - start))
  if [ "$want" = pass ] && [ "$rc" != 0 ]; then
    echo "FAIL: '$mode' should pass, the runner said $rc"; echo "$out"; status=1
  elif [ "$want" = fail ] && [ "$rc" = 0 ]; then
    echo "FAIL: '$mode' should fail, the runner said 0"; echo "$out"; status=1
  elif [ "$want" = fail ] && ! grep -q "wine-run: $(basename "$PROBE")" <<<"$out"; then
    echo "FAIL: '$mode' failed without naming the program"; echo "$out"; status=1
  elif [ -n "$says" ] && ! grep "wine-run: " <<<"$out" | grep -q "$says"; then
    echo "FAIL: '$mode' was not called '$says'"; echo "$out"; status=1
  elif [ -n "$never" ] && grep "wine-run: " <<<"$out" | grep -q "$never"; then
    echo "FAIL: '$mode' was called '$never'"; echo "$out"; status=1
  elif [ "$elapsed" -gt 60 ]; then
    echo "FAIL: '$mode' took ${elapsed} s"; status=1
  else
    echo "ok: '$mode' ${want}ed in ${elapsed} s"
  fi
}

expect pass pass
expect fail fail "a test failed: RunnerProbe.BehavesAsAsked" crash
expect fail crash "crashed before its tests ended" "test failed"
expect fail exit0 "a test failed" crash
expect fail hang "did not finish"
expect pass linger
exit $status
