#!/bin/sh
# Builds Ombrivo with its tests and runs the whole suite headless.
#   BUILD_DIR   build folder (default build, or build-asan with SANITIZE=1)
#   SANITIZE=1  build with AddressSanitizer and UndefinedBehaviorSanitizer (without the
#               benchmarks, which measure nothing under the sanitizers)
#   E2E=0       skip the end-to-end run (package, install, drive it on Xvfb); it runs only in
#               a build without sanitizers and needs root or sudo to install the package
set -eu
cd "$(dirname "$0")/.."
sh scripts/deps.sh
sanitize=OFF
bench=ON
if [ "${SANITIZE:-0}" = 1 ]; then
    sanitize=ON
    bench=OFF
fi
if [ "$sanitize" = ON ]; then build="${BUILD_DIR:-build-asan}"; else build="${BUILD_DIR:-build}"; fi
# Ninja for a new build folder; one made earlier keeps its generator.
generator=""
[ -f "$build/CMakeCache.txt" ] || generator="-G Ninja"
# shellcheck disable=SC2086
cmake -S . -B "$build" $generator -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOMBRIVO_SANITIZE="$sanitize" \
    -DOMBRIVO_BUILD_BENCH="$bench"
cmake --build "$build" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$(pwd)/tests/lsan.supp:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 600
if [ "$sanitize" = OFF ] && [ "${E2E:-1}" = 1 ]; then
    sh scripts/e2e.sh "$build"
fi
