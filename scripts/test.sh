#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test:
#  1. the test suite in the normal build (build/);
#  2. the whole suite again built with AddressSanitizer and UndefinedBehaviorSanitizer, leak
#     checking on (build-asan/); any finding fails the test that made it;
#  3. the Windows build, cross-compiled with mingw-w64, and its tests under Wine (build-win/,
#     scripts/test-windows.sh);
#  4. every fuzz target for a short, bounded time (scripts/fuzz.sh); a finding fails too;
#  5. the repository alone: a copy in an empty folder passes the suite, and its tests read no
#     file beside it (scripts/check_alone.sh).
# Each part says how long it took.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

part_start=$SECONDS
part_done() { echo "== $1: $((SECONDS - part_start)) s"; part_start=$SECONDS; }

echo "== tests (build)"
scripts/build.sh build
ctest --test-dir build --output-on-failure --no-tests=error -j "$(nproc)"
part_done "tests (build)"

echo "== tests with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan)"
# Also set while building: test discovery runs the test programs.
export ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:strict_init_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
scripts/build.sh build-asan -DMAPEDITOR_SANITIZE=ON -DMAPEDITOR_BENCH=OFF
ctest --test-dir build-asan --output-on-failure --no-tests=error -j "$(nproc)"
unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS
part_done "sanitizers (build-asan)"

echo "== the Windows build and its tests under Wine (build-win)"
scripts/test-windows.sh build-win
part_done "Windows under Wine (build-win)"

echo "== fuzzing (build-fuzz)"
scripts/fuzz.sh 25
part_done "fuzzing (build-fuzz)"

echo "== the repository alone (a copy in an empty folder)"
scripts/check_alone.sh
part_done "the repository alone"
