#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer in ./build-fuzz, then runs each target in turn for the
# given number of seconds (default 30) or 10 million executions, whichever comes
# first, starting from its seed corpus in
# fuzz/corpus/<target>. Fails on the first crash, failed check, leak or timeout; the
# input that did it is left in build-fuzz/artifacts/.
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]     e.g. bash scripts/fuzz.sh 300 lines
#
# Inputs found along the way go to build-fuzz/corpus/<target>, never into the tree.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=(lines record whole_number names viewer settings)
fi

bash scripts/setup.sh
# clang and its libFuzzer runtime, installed the same way as the rest.
bash scripts/setup.sh clang libclang-rt-dev
source scripts/ccache.sh

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
CC=clang CXX=clang++ cmake -S . -B build-fuzz "${ccache_launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMPMGR_FUZZ=ON -DMPMGR_BUILD_TESTS=OFF -DMPMGR_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build build-fuzz -j2 --target "${targets[@]/#/fuzz_}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-qt.supp:print_suppressions=0
# The settings target writes a file per input: a memory-backed folder where there is one.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
mkdir -p build-fuzz/artifacts build-fuzz/logs
status=0
# The table is printed as docs/reliability.md shows it, with the date and the machine.
echo "Printed by \`bash scripts/fuzz.sh $seconds\` on $(date -u '+%Y-%m-%d %H:%M UTC'):" \
    "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')," \
    "load average $(cut -d' ' -f1-3 /proc/loadavg)."
echo
echo '| target | executions | cov | ft | seconds | executions per second | result |'
echo '|---|---:|---:|---:|---:|---:|---|'
for target in "${targets[@]}"; do
    corpus=build-fuzz/corpus/$target
    mkdir -p "$corpus"
    log=build-fuzz/logs/$target.log
    # The Qt targets keep caches that grow input by input (files, fonts, glyphs), which
    # would make libFuzzer scan the heap for leaks after almost every input and run a
    # tenth as fast: for them leaks are looked for once, as the process ends.
    leaks=1
    case $target in viewer | settings) leaks=0 ;; esac
    started=$(date +%s)
    result=ok
    if ! "build-fuzz/fuzz/fuzz_$target" "$corpus" "fuzz/corpus/$target" \
        -max_total_time="$seconds" -runs=10000000 -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
        -detect_leaks=$leaks -print_final_stats=1 \
        -artifact_prefix="build-fuzz/artifacts/$target-" >"$log" 2>&1; then
        result=FAILED
        status=1
    fi
    elapsed=$(( $(date +%s) - started ))
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
    progress=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
    cov=$(grep -o 'cov: [0-9]*' <<<"$progress" | grep -o '[0-9]*' || true)
    ft=$(grep -o 'ft: [0-9]*' <<<"$progress" | grep -o '[0-9]*' || true)
    rate=-
    if [ -n "$runs" ] && [ "$elapsed" -gt 0 ]; then
        rate=$((runs / elapsed))
    fi
    printf '| `%s` | %s | %s | %s | %s | %s | %s |\n' "$target" "${runs:--}" "${cov:--}" \
        "${ft:--}" "$elapsed" "$rate" "$result"
    if [ "$result" != ok ]; then
        echo "---- $log (last 60 lines) ----"
        tail -n 60 "$log"
        echo "----"
    fi
done
exit $status
