#!/usr/bin/env bash
# Builds every test under AddressSanitizer and UndefinedBehaviorSanitizer in
# ./build-asan (benchmarks off) and runs them through CTest, headless. Any memory
# error, undefined behaviour or leak of ours stops the test that met it, and fails.
# Leaks that Qt and the libraries under it keep for the life of the process are
# suppressed by name in scripts/lsan-qt.supp; nothing of ours is.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
source scripts/ccache.sh
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-asan "${ccache_launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMPMGR_BUILD_BENCH=OFF \
    -DMPMGR_WARNINGS_AS_ERRORS="${MPMGR_WARNINGS_AS_ERRORS:-OFF}" \
    -DMPMGR_TEST_TIMEOUT=180 \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build build-asan -j2
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-qt.supp:print_suppressions=0
# Each test may take three times its usual limit: the sanitizers slow every test down
# by about that much.
ctest --test-dir build-asan --output-on-failure -j2
