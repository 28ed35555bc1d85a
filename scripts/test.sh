#!/usr/bin/env bash
# Builds and runs every test. With --sanitize the build uses AddressSanitizer and
# UndefinedBehaviorSanitizer (in build-asan/). With --tsan only the tests that run
# the download job's threads are built and run, under ThreadSanitizer (in build-tsan/).
set -euo pipefail
cd "$(dirname "$0")/.."
# The stand-in portals listen on loopback, which a proxy from the environment cannot reach.
export no_proxy="${no_proxy:+$no_proxy,}127.0.0.1"
ctest_args=()
case "${1:-}" in
  --sanitize)
    export BUILD_DIR=build-asan
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    scripts/build.sh -DVERADUNE_SANITIZE=ON -DVERADUNE_BUILD_BENCH=OFF
    ;;
  --tsan)
    export BUILD_DIR=build-tsan
    # Qt itself is not built with ThreadSanitizer; the file says which of its
    # frames are let off, and why.
    export TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp second_deadlock_stack=1"
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVERADUNE_TSAN=ON \
      -DVERADUNE_BUILD_BENCH=OFF >/dev/null
    cmake --build "$BUILD_DIR" -j"$(nproc)" --target acquire_tests gui_dialog_tests
    # The other test programs are not built here; CTest lists each as *_NOT_BUILT.
    ctest_args=(-E '_NOT_BUILT$')
    ;;
  *)
    export BUILD_DIR=build
    scripts/build.sh
    ;;
esac
ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)" "${ctest_args[@]}"
