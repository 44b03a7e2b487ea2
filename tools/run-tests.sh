#!/usr/bin/env bash
# Builds everything and runs every test: the core's tests natively and under
# AddressSanitizer and UndefinedBehaviorSanitizer, the checks of the artwork
# and of the built 32-bit programs, the end-to-end suite under Wine in a
# virtual X display, and a short fuzzing run of the picture decoder.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

# The Windows programs: the 32-bit ones the disc ships, which the end-to-end
# tests run, and the same sources for x64, which they fall back to where
# this machine cannot run 32-bit Wine.
cmake --preset windows >/dev/null
cmake --build --preset windows
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native -LE e2e
# The end-to-end suite, once: a group that fails fails the run. Verbose, so
# that the log shows what each group ran (build and Wine), each test, and
# the soak's figures.
ctest --preset native -L e2e --verbose

cmake --preset native-sanitize >/dev/null
cmake --build --preset native-sanitize
ctest --preset native-sanitize -LE 'e2e|windows'

# The picture decoder under libFuzzer for 45 s (with its build, about a
# minute): any crash, undefined behaviour, hang or runaway allocation fails.
tools/fuzz.sh 45

# The start-up benchmark, as a quick run that checks it works.
/usr/bin/python3 tools/bench/startup.py --quick
