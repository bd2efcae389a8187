#!/usr/bin/env bash
# Builds kavex and kav_scan and runs kavex on the example horoscope
# examples/input.txt in the folder example-run/. Needs the lunar series file
# SERIES85: in the project folder, or in ../shared/data/ beside it, or named
# by the environment variable SERIES85.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh g++ cmake make
cmake -S . -B build-example -DCMAKE_BUILD_TYPE=Release -DKAV_BUILD_TESTS=OFF >/dev/null
cmake --build build-example -j2 --target kavex kav_scan
series="${SERIES85:-}"
for candidate in "$series" SERIES85 ../shared/data/SERIES85; do
  if [ -n "$candidate" ] && [ -f "$candidate" ]; then series="$candidate"; break; fi
  series=""
done
if [ -z "$series" ]; then
  echo "SERIES85 not found. kavex needs the lunar series file SERIES85 in its working folder." >&2
  echo "Looked for: ./SERIES85 and ../shared/data/SERIES85 (or set SERIES85=/path/to/SERIES85)." >&2
  exit 2
fi
mkdir -p example-run
cp "$series" example-run/SERIES85
cp examples/input.txt example-run/input.txt
cd example-run
../build-example/search/kavex
echo "The report is in example-run/otvet.txt"
