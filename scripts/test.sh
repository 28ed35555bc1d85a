#!/usr/bin/env bash
# Builds and runs every test. With --sanitize the build uses AddressSanitizer and
# UndefinedBehaviorSanitizer (in build-asan/).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--sanitize" ]; then
  export BUILD_DIR=build-asan
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  scripts/build.sh -DVERADUNE_SANITIZE=ON -DVERADUNE_BUILD_BENCH=OFF
else
  export BUILD_DIR=build
  scripts/build.sh
fi
ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)"
