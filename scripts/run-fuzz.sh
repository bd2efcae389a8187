#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan) in build-fuzz and
# runs each for a bounded time: scripts/run-fuzz.sh [SECONDS_PER_TARGET]
# (default 20). Fails on any finding; the input that caused it is left in
# build-fuzz/findings/<target>/. The committed seeds in fuzz/corpus are only
# read: each run works on a copy under build-fuzz/corpus.
# FUZZ_TARGETS="fuzz_series85 ..." limits the run to some targets.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
case "$seconds" in
  ''|*[!0-9]*) echo "usage: $0 [SECONDS_PER_TARGET]" >&2; exit 2 ;;
esac
bash scripts/setup-debian.sh clang libclang-rt-14-dev cmake make
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKAV_BUILD_FUZZ=ON -DKAV_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz -j2 --target fuzz

targets=(${FUZZ_TARGETS:-fuzz_list_read fuzz_fmt_read fuzz_input_txt fuzz_series85 fuzz_elp fuzz_dialogue})
# The targets run the readers under the programs' floating-point traps: a
# SIGFPE is a finding like any other crash.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# Absolute paths: each target works in a private folder of its own.
root="$PWD"
failed=()
for t in "${targets[@]}"; do
  work="$root/build-fuzz/corpus/$t"
  findings="$root/build-fuzz/findings/$t"
  rm -rf "$work" "$findings"
  mkdir -p "$work" "$findings"
  cp fuzz/corpus/"$t"/* "$work"/
  # SERIES85 inputs are long: the capacity checks need blocks of over 400 records.
  case "$t" in
    fuzz_series85) opts=(-dict="$root/fuzz/series85.dict" -max_len=32768) ;;
    *) opts=(-dict="$root/fuzz/numbers.dict" -max_len=8192) ;;
  esac
  echo "== $t: ${seconds} s"
  if ! build-fuzz/fuzz/"$t" "$work" "${opts[@]}" -max_total_time="$seconds" -timeout=5 \
      -rss_limit_mb=2048 -artifact_prefix="$findings/" -print_final_stats=1 \
      > "build-fuzz/$t.log" 2>&1; then
    failed+=("$t")
    tail -n 40 "build-fuzz/$t.log"
  fi
  grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)' \
    "build-fuzz/$t.log" || true
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "FUZZ FINDINGS in: ${failed[*]} (inputs in build-fuzz/findings/)" >&2
  exit 1
fi
echo "fuzz: no findings"
