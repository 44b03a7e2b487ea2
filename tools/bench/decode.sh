#!/usr/bin/env bash
# Times the programs' own GIF/PNG decoder on the built-in backgrounds,
# natively, in a build folder of its own (build/bench-decode).
#
#   tools/bench/decode.sh [-Os|-O2 ...] [-- benchmark options]
#
# Compiler flags default to -Os, what the shipped programs are built with.
set -euo pipefail
cd "$(dirname "$0")/../.."

flags=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do flags+=("$1"); shift; done
[ $# -gt 0 ] && shift
[ ${#flags[@]} -eq 0 ] && flags=(-Os)

out=build/bench-decode
mkdir -p "$out"
g++ -std=c++17 "${flags[@]}" -DNDEBUG -I. -o "$out/decode_bench" \
  tools/bench/decode_bench.cpp platform/picture_decode.cpp platform/error.cpp \
  -lbenchmark -lpthread
"$out/decode_bench" --benchmark_repetitions=10 --benchmark_report_aggregates_only=true "$@"
