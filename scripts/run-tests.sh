#!/usr/bin/env bash
# Builds everything and runs every test. Tests that need the real lunar
# series file (../shared/data/SERIES85 beside the project, or SERIES85=...)
# are skipped when it is absent.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh g++ cmake make libgtest-dev
args=(-DCMAKE_BUILD_TYPE=Release -DKAV_BUILD_TESTS=ON)
if [ -n "${SERIES85:-}" ]; then args+=(-DKAV_SERIES85="$(realpath "$SERIES85")"); fi
cmake -S . -B build "${args[@]}" >/dev/null
cmake --build build -j2
cd build
ctest --output-on-failure --no-tests=error -j2
