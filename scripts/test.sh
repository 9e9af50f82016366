#!/bin/sh
# Builds Ombrivo with its tests and runs the whole suite headless.
#   BUILD_DIR   build folder (default build)
#   SANITIZE=1  build with AddressSanitizer and UndefinedBehaviorSanitizer
set -eu
cd "$(dirname "$0")/.."
sh scripts/deps.sh
build="${BUILD_DIR:-build}"
sanitize=OFF
[ "${SANITIZE:-0}" = 1 ] && sanitize=ON
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOMBRIVO_SANITIZE="$sanitize"
cmake --build "$build" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$(pwd)/tests/lsan.supp:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 600
