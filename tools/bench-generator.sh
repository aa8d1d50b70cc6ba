#!/usr/bin/env bash
# Builds and runs the generator benchmark: the CPU time of each generator with each writer (hex,
# asm, c, basic, bin) on the largest document and of decoding its tables back into pixels, and
# that time as a multiple of one memcpy of the
# document buffer (from the median of five runs each, then from the fastest). The runs of all
# benchmarks are taken in a random order, so that a busy spell of a shared machine falls on the
# memcpy and the generators alike rather than on a few rows.
# Extra arguments go to the benchmark, e.g. --benchmark_min_time=2.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target spritehex-bench -j2
build/bin/spritehex-bench --benchmark_repetitions=5 \
    --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true "$@"
