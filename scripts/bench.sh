#!/usr/bin/env bash
# Builds the release tree build/bench-release and prints the table of benchmark
# figures (decoding, extraction, packing, memory) for the sample and a corpus.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
cmake -S . -B build/bench-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BENCH=ON >/dev/null
nice cmake --build build/bench-release -j2 --target qvpack qv_decode_bench
nice python3 bench/run_bench.py
