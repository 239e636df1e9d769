#!/usr/bin/env bash
# Times the list following its folder and checks that it costs nothing while nothing
# changes, and prints both as the markdown of docs/performance.md's section on them.
#
#   bash bench/follow.sh                  about two minutes, one of them idle
#
# Environment: BUILD_DIR (default <repo>/build-bench, configured Release), FILES (files
# in the large folder, default 100000), IDLE_SECONDS (default 60), TMPDIR (where the
# data goes; removed at the end). The idle check runs mpmgr on $DISPLAY when one is set
# (Xvfb, say), else on Qt's offscreen platform, and counts its system calls with
# `strace -c -f` once it has started up.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(dirname "$here")
build=${BUILD_DIR:-$repo/build-bench}
files=${FILES:-100000}
idle=${IDLE_SECONDS:-60}
say() { printf '%s\n' "$*" >&2; }

say "building followbench and mpmgr in $build"
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target followbench mpmgr >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/mpfollow.XXXXXX")
app=
cleanup() {
    [[ -n $app ]] && kill "$app" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
[[ -n ${DISPLAY:-} ]] || export QT_QPA_PLATFORM=offscreen
export QT_LOGGING_RULES='qt.qpa.*=false'

say "following a folder of $files files"
table=$("$build/bench/followbench" "$work" "$files" 2>/dev/null)

# median_ms COMMAND: the median of five runs, in milliseconds, page cache warm.
median_ms() {
    local i t0 t1 times=()
    bash -c "$1" >/dev/null 2>&1
    for ((i = 0; i < 5; i++)); do
        t0=$(date +%s%N)
        bash -c "$1" >/dev/null 2>&1
        t1=$(date +%s%N)
        times+=($((t1 - t0)))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk 'NR == 3 { printf "%.1f", $1 / 1e6 }'
}
names=$(median_ms "ls -U '$work/mp'")
stats=$(median_ms "find '$work/mp' -printf '%s %T@\n'")

say "idle check: $idle seconds of strace"
mkdir -p "$work/config" "$work/small"
for i in 1 2 3; do printf '1234567001250\r\n' >"$work/small/CLUB000$i.GLD"; done
printf '[paths]\nQuillet=%s\n[Options]\nLocateOnOpen=true\n' "$work/small" \
    >"$work/config/Kavra_Masterpoint_files.ini"
XDG_CONFIG_HOME=$work/config "$build/app/mpmgr" >/dev/null 2>&1 &
app=$!
sleep 5 # started up, the folder listed and watched
timeout -s INT "$idle" strace -c -f -p "$app" -o "$work/strace.txt" 2>/dev/null || true
kill "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
app=
total=$(awk '$NF == "total" { print $4 }' "$work/strace.txt")
total=${total:-0}
wakeups=$(awk '$NF ~ /^(poll|ppoll|epoll_wait|select|pselect6)$/ { n += $4 } END { print n + 0 }' \
    "$work/strace.txt")

echo "$table"
printf '| peer: `ls -U`, the names alone | %s | %s ms |\n' "$files" "$names"
printf '| peer: `find -printf "%%s %%T@"`, names and stats | %s | %s ms |\n' "$files" "$stats"
echo
printf 'Idle for %s s after start-up, watching a folder (`strace -c -f`, %s): %s system\n' \
    "$idle" "${QT_QPA_PLATFORM:-X11 on $DISPLAY}" "$total"
printf 'calls in all, %s of them waits for events (poll and the like).\n' "$wakeups"
echo
echo '```'
sed -n '1,12p' "$work/strace.txt"
echo '```'
