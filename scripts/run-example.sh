#!/usr/bin/env bash
# Builds kavex and kav_scan, and the lunar series file SERIES85 from the
# ELP 2000-82B files of ephemeris/elp82b, and runs kavex on the example
# horoscope examples/input.txt in the folder example-run/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh g++ cmake make
cmake -S . -B build-example -DCMAKE_BUILD_TYPE=Release -DKAV_BUILD_TESTS=OFF >/dev/null
cmake --build build-example -j2 --target kavex kav_scan series85
mkdir -p example-run
cp build-example/SERIES85 example-run/SERIES85
cp examples/input.txt example-run/input.txt
cd example-run
../build-example/search/kavex
echo "The report is in example-run/otvet.txt"
