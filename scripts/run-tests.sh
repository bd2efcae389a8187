#!/usr/bin/env bash
# Builds everything (SERIES85 included, from ephemeris/elp82b) and runs every
# test. SERIES85=/path/to/file runs the integration tests on another series
# file. The byte comparison of the built SERIES85 with ../shared/data/SERIES85
# is skipped when that reference is not beside the project.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh g++ cmake make libgtest-dev
args=(-DCMAKE_BUILD_TYPE=Release -DKAV_BUILD_TESTS=ON)
if [ -n "${SERIES85:-}" ]; then args+=(-DKAV_SERIES85="$(realpath "$SERIES85")"); fi
cmake -S . -B build "${args[@]}" >/dev/null
cmake --build build -j2
cd build
ctest --output-on-failure --no-tests=error -j2
