#!/usr/bin/env bash
# Builds everything (SERIES85 included, from ephemeris/elp82b) and runs every
# test, in three stages:
#   1. the normal build (build/) and the whole test suite;
#   2. the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer
#      (build-sanitize/, scripts/run-sanitizers.sh);
#   3. a short run of every fuzz target of the readers of outside text
#      (build-fuzz/, scripts/run-fuzz.sh; FUZZ_SECONDS per target, default 15).
# SERIES85=/path/to/file runs the integration tests on another series file.
# The byte comparison of the built SERIES85 with ../shared/data/SERIES85 is
# skipped when that reference is not beside the project.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh g++ cmake make libgtest-dev
args=(-DCMAKE_BUILD_TYPE=Release -DKAV_BUILD_TESTS=ON)
if [ -n "${SERIES85:-}" ]; then args+=(-DKAV_SERIES85="$(realpath "$SERIES85")"); fi
echo "== 1/3: build and tests"
cmake -S . -B build "${args[@]}" >/dev/null
cmake --build build -j2
(cd build && ctest --output-on-failure --no-tests=error -j2)
echo "== 2/3: tests under AddressSanitizer and UndefinedBehaviorSanitizer"
bash scripts/run-sanitizers.sh
echo "== 3/3: fuzz targets, ${FUZZ_SECONDS:-15} s each"
bash scripts/run-fuzz.sh "${FUZZ_SECONDS:-15}"
