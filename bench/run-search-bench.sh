#!/usr/bin/env bash
# Whole-program timings of the search, with public tools only (GNU time):
#  - kavex against kavex_reference (the straightforward day loop) on three
#    realistic horoscopes, 25 and 50 centuries, after checking that both write
#    the same console text and the same otvet.txt byte for byte;
#  - sun_only_erfa: ERFA's eraPlan94 for the Sun on every day of the span;
#  - the all-days-fit horoscope (25 centuries): MB/s of report and peak memory.
# Usage: bench/run-search-bench.sh [RUNS]   (median of RUNS runs, default 3)
# SERIES85: the one the build makes from ephemeris/elp82b, or $SERIES85.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-3}"
bash scripts/setup-debian.sh g++ cmake make libbenchmark-dev liberfa-dev libgtest-dev time
for span in 25 50; do
  cmake -S . -B "build-bench$span" -DCMAKE_BUILD_TYPE=Release -DKAV_BUILD_BENCH=ON \
        -DKAV_BUILD_TESTS=OFF -DKAV_SEARCH_SPAN=$span >/dev/null
  cmake --build "build-bench$span" -j2 --target kavex kavex_reference sun_only_erfa series85 >/dev/null
done
series="$(realpath "${SERIES85:-build-bench25/SERIES85}")"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# median wall seconds of a command run in a folder: median_time DIR CMD...
# (the peak memory of the last run, in KB, is left in $work/peak)
median_time() {
  local dir="$1"; shift
  local times=()
  for _ in $(seq "$runs"); do
    ( cd "$dir" && /usr/bin/time -f "%e %M" -o "$work/t" "$@" >"$dir/console.txt" )
    times+=("$(cut -d' ' -f1 "$work/t")")
    cut -d' ' -f2 "$work/t" >"$work/peak"
  done
  printf '%s\n' "${times[@]}" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

printf '%-26s %5s %10s %10s %8s %9s\n' horoscope span kavex reference ratio "peak KB"
for span in 25 50; do
  b="$PWD/build-bench$span"
  for h in one-constellation moon-two-constellations five-unknown; do
    for prog in kavex kavex_reference; do
      mkdir -p "$work/$prog"
      cp "$series" "$work/$prog/SERIES85"
      cp "bench/horoscopes/$h.txt" "$work/$prog/input.txt"
    done
    fast="$(median_time "$work/kavex" "$b/search/kavex")"
    kb="$(cat "$work/peak")"
    ref="$(median_time "$work/kavex_reference" "$b/bench/kavex_reference")"
    cmp -s "$work/kavex/otvet.txt" "$work/kavex_reference/otvet.txt" || { echo "otvet.txt differs: $h $span" >&2; exit 1; }
    cmp -s "$work/kavex/console.txt" "$work/kavex_reference/console.txt" || { echo "console differs: $h $span" >&2; exit 1; }
    ratio="$(awk -v r="$ref" -v f="$fast" 'BEGIN {printf "%.0f", (f > 0 ? r / f : 0)}')"
    printf '%-26s %5s %9ss %9ss %7sx %9s\n' "$h" "$span" "$fast" "$ref" "$ratio" "$kb"
  done
  mkdir -p "$work/sun"
  sun="$(median_time "$work/sun" "$b/bench/sun_only_erfa")"
  printf '%-26s %5s %9ss   (eraPlan94, Sun only, every day)\n' "sun-only-erfa" "$span" "$sun"
done

# Every day fits: 16 lines a day to the console and to otvet.txt.
mkdir -p "$work/all"
cp "$series" "$work/all/SERIES85"
cp bench/horoscopes/all-days-fit.txt "$work/all/input.txt"
t="$(median_time "$work/all" "$PWD/build-bench25/search/kavex")"
bytes=$(( $(stat -c %s "$work/all/otvet.txt") + $(stat -c %s "$work/all/console.txt") ))
awk -v t="$t" -v b="$bytes" -v kb="$(cat "$work/peak")" 'BEGIN {
  printf "all-days-fit (25 centuries): %.2f s, %.0f MB written (report + console), %.0f MB/s, peak %s KB\n",
         t, b / 1e6, b / 1e6 / t, kb }'
