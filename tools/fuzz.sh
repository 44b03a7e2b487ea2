#!/usr/bin/env bash
# Fuzzes the programs' own GIF/PNG decoder (platform/picture_decode.*) with
# libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer, built with
# clang in build/fuzz, apart from the GCC presets.
#
#   tools/fuzz.sh [seconds]        # default 60; one job
#
# Seeds are the committed GIF and PNG pictures (resources/, disc/) as they
# are now, their PNGs' zlib streams for the inflater alone and small PNGs of
# every colour type and depth (tests/fuzz/seeds.py); what the fuzzer learns
# is kept in build/fuzz/corpus for the next run. A crash, undefined
# behaviour, an input that runs longer than 10 s or an allocation larger
# than any picture within the decoder's limits needs (16 M pixels of 16-bit
# RGBA rows: 128 MB and a byte a row) ends the run with a non-zero status
# and leaves the input in build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
out=build/fuzz

tools/install-deps.sh  # clang-14 and its libFuzzer run-time among them

cmake -S tests/fuzz -B "$out" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE= >/dev/null
cmake --build "$out" -j 2 >/dev/null

rm -rf "$out/seeds"
mkdir -p "$out/seeds" "$out/corpus" "$out/findings"
/usr/bin/python3 tests/fuzz/seeds.py . "$out/seeds"

echo "fuzzing the picture decoder for ${seconds} s (findings go to $out/findings/)"
"$out/picture_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 \
  -malloc_limit_mb=129 -dict=tests/fuzz/picture.dict -artifact_prefix="$out/findings/" \
  -print_final_stats=1 "$out/corpus" "$out/seeds" 2>"$out/fuzz.log" || {
  status=$?
  tail -n 60 "$out/fuzz.log"
  echo "the fuzzer found a fault (status $status): input in $out/findings/, log in $out/fuzz.log"
  exit 1
}
grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::peak_rss_mb)' "$out/fuzz.log" || true
