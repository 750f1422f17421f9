#!/usr/bin/env bash
# Builds the fuzzers with clang (AddressSanitizer and UndefinedBehaviorSanitizer on) and runs each for a
# bounded time on a copy of its corpus:  fuzz/run.sh [SECONDS_PER_TARGET] [TARGET...]
# A finding is written to fuzz/findings/ and ends the run with a failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(lines highlighter editor edit picture page rtf http check)

build="$root/build-fuzz"
CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMARK_FUZZ=ON \
  -DQUILLMARK_SANITIZE=ON -DQUILLMARK_BUILD_APP=OFF -DQUILLMARK_BUILD_TESTS=OFF -DQUILLMARK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

mkdir -p "$root/fuzz/findings"
for target in "${targets[@]}"; do
  work=$(mktemp -d)
  cp "$root/fuzz/corpus/$target/"* "$work/" 2>/dev/null || true
  dict=()
  [ -f "$root/fuzz/$target.dict" ] && dict=(-dict="$root/fuzz/$target.dict")
  echo "== fuzz_$target for ${seconds}s"
  status=0
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=2048 \
    -print_final_stats=1 -artifact_prefix="$root/fuzz/findings/$target-" "${dict[@]}" "$work" \
    >"$work.log" 2>&1 || status=$?
  grep -E "^(#[0-9]+.*DONE|Done|==[0-9]+==|SUMMARY|stat::number_of_executed_units)" "$work.log" || true
  rm -rf "$work" "$work.log"
  if [ "$status" -ne 0 ]; then
    echo "fuzz_$target found a problem: see fuzz/findings/"
    exit 1
  fi
done
echo "fuzzing: every target finished without a finding"
