#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang and runs each for
# FUZZ_SECONDS, FUZZ_JOBS at a time, then prints for each its executions,
# coverage and result. Exits 1 when a target finds a crash, a leak, a hang or
# a broken check, and names the input that did it.
#
#   FUZZ_SECONDS  seconds per target (default 60)
#   FUZZ_JOBS     targets run at once (default 1)
#   FUZZ_TARGETS  names to run, e.g. "text_codec preview" (default all)
#   FUZZ_BUILD_DIR  build folder (default build-fuzz)
#
# Each target's corpus grows in FUZZ_BUILD_DIR/corpus/NAME, seeded from
# tests/fuzz/corpus/NAME; a finding is written to FUZZ_BUILD_DIR/findings/.
# Replay one with: FUZZ_BUILD_DIR/fuzz/fuzz_NAME FILE
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
jobs=${FUZZ_JOBS:-1}
build=${FUZZ_BUILD_DIR:-build-fuzz}

cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLUMADOT_FUZZ=ON -DLUMADOT_GUI=OFF -DLUMADOT_TESTS=OFF -DLUMADOT_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j "${JOBS:-2}" --target lumadot-fuzz-targets

targets=${FUZZ_TARGETS:-$(cd "$build/fuzz" && ls fuzz_* | sed 's/^fuzz_//')}
mkdir -p "$build/logs" "$build/findings"

run_target() {
  local name=$1 dict=()
  [ -f "tests/fuzz/$name.dict" ] && dict=("-dict=tests/fuzz/$name.dict")
  mkdir -p "$build/corpus/$name"
  # Inputs up to 64 KiB reach the longest texts and font files as they stand;
  # a run that takes 10 s, or 2 GB, is a finding too.
  "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/findings/$name-" "${dict[@]}" \
    "$build/corpus/$name" "tests/fuzz/corpus/$name" >"$build/logs/$name.log" 2>&1
}
export -f run_target
export build seconds

echo "Fuzzing for ${seconds} s each, ${jobs} at a time: $(echo $targets)"
printf '%s\n' $targets | xargs -P "$jobs" -I{} bash -c 'run_target {} && echo "  {}: done" || echo "  {}: FOUND SOMETHING"'

failed=0
printf '\n%-16s %12s %8s %8s  %s\n' target executions cov ft result
for name in $targets; do
  log="$build/logs/$name.log"
  execs=$(sed -n 's/^stat::number_of_executed_units: //p' "$log" | tail -1)
  cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | cut -d' ' -f2 || true)
  ft=$(grep -oE 'ft: [0-9]+' "$log" | tail -1 | cut -d' ' -f2 || true)
  if grep -qE '^(==[0-9]+==ERROR|SUMMARY: |.*: broken: )|Test unit written to' "$log" || [ -z "$execs" ]; then
    result="FAILED: $(grep -oE 'Test unit written to .*' "$log" | head -1 | sed 's/Test unit written to //' || true) (log: $log)"
    failed=1
  else
    result=ok
  fi
  printf '%-16s %12s %8s %8s  %s\n' "$name" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$result"
done
if [ "$failed" != 0 ]; then
  for name in $targets; do
    if grep -qE 'Test unit written to|ERROR|error' "$build/logs/$name.log"; then
      echo "--- $name:"
      grep -E 'broken:|ERROR|error|SUMMARY|#[0-9]+ 0x' "$build/logs/$name.log" | head -20 || true
    fi
  done
  exit 1
fi
