#!/usr/bin/env bash
# Times Backup of 10,000 files of 50 records against `cp -n -r` followed by `sync -f`
# (the same bytes, made as durable as Backup makes them) and against `cp -n -r` alone,
# in one run, on the disk, and prints a markdown table with the date and the machine.
#
#   bash bench/backup.sh                  on the disk under /var/tmp
#   SCRATCH=/work/scratch bash bench/backup.sh
#
# Environment: BUILD_DIR (default <repo>/build-bench, configured Release), RUNS (timed
# runs of each command, default 5), WARMUP (default 1), FILES (default 10000), RECORDS
# (default 50), SCRATCH (a folder on the disk to measure, not tmpfs; default /var/tmp),
# BEFORE (another build's mpbench, timed in the same turns: the code before a change).
# The three commands run in turn, one run of each, so that all meet the same state of
# the disk's journal and write-back; before each run the copy of the last one is
# removed and the disk synced. Uses hyperfine for each single run when installed (its
# time, without a shell), else `date +%s%N` around the command.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(dirname "$here")
build=${BUILD_DIR:-$repo/build-bench}
runs=${RUNS:-5}
warmup=${WARMUP:-1}
files=${FILES:-10000}
records=${RECORDS:-50}
scratch=${SCRATCH:-/var/tmp}

say() { printf '%s\n' "$*" >&2; }
fail() {
    say "$*"
    exit 1
}

say "building the benchmark programs in $build"
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target mpgen mpbench >/dev/null
bin=$build/bench

work=$(mktemp -d "$scratch/mpbackup.XXXXXX")
trap 'rm -rf "$work"' EXIT
fstype=$(df -T "$work" | awk 'NR == 2 { print $2 }')
[[ $fstype != tmpfs ]] || fail "$scratch is tmpfs: give SCRATCH a folder on the disk"

src=$work/src
dst=$work/dst
say "making $files files of $records records in $src"
"$bin/mpgen" backup-set "$src" "$files" "$records"

have_hyperfine=0
command -v hyperfine >/dev/null && have_hyperfine=1

# one_ms COMMAND: the wall time of one run of COMMAND in milliseconds.
one_ms() {
    if ((have_hyperfine)); then
        hyperfine --style none --runs 1 --export-csv "$work/t.csv" --command-name t "$1" \
            >/dev/null 2>&1 || fail "failed: $1"
        awk -F, 'NR == 1 { for (i = 1; i <= NF; i++) if ($i == "mean") c = i }
                 NR == 2 { printf "%.1f", $c * 1000 }' "$work/t.csv"
    else
        local t0 t1
        t0=$(date +%s%N)
        bash -c "$1" >/dev/null 2>&1 || fail "failed: $1"
        t1=$(date +%s%N)
        awk -v d=$((t1 - t0)) 'BEGIN { printf "%.1f", d / 1e6 }'
    fi
}

median() {
    sort -g | awk '{ a[NR] = $1 } END { m = NR % 2 ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2
                                        printf "%.1f", m }'
}

fresh() {
    rm -rf "$dst"
    sync -f "$work"
}

commands=(
    "'$bin/mpbench' backup '$src' '$dst'"
    "cp -n -r '$src' '$dst' && sync -f '$dst'"
    "cp -n -r '$src' '$dst'"
)
names=("mpmgr Backup" "cp -n -r, then sync -f" "cp -n -r")
if [[ -n ${BEFORE:-} ]]; then
    commands+=("'$BEFORE' backup '$src' '$dst'")
    names+=("mpmgr Backup before the change ($BEFORE)")
fi
last=$((${#commands[@]} - 1))

# Backup must copy every file, byte for byte, before it is timed.
fresh
mkdir "$dst"
"$bin/mpbench" backup "$src" "$dst" >/dev/null
copied=$(find "$dst" -type f | wc -l)
[[ $copied == "$files" ]] && diff -r -q "$src" "$dst" >/dev/null || fail "backup copied $copied files"

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
started=$(date +%s)
for ((i = 0; i < warmup + runs; i++)); do
    say "round $((i + 1)) of $((warmup + runs))"
    for c in $(seq 0 $last); do
        fresh
        # Backup copies into a folder that is there; cp -r makes it.
        ((c == 0 || c == 3)) && mkdir "$dst" && sync -f "$work"
        t=$(one_ms "${commands[c]}")
        ((i >= warmup)) && echo "$t" >>"$work/times.$c"
    done
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

for c in $(seq 0 $last); do
    med[c]=$(median <"$work/times.$c")
    range[c]=$(sort -g "$work/times.$c" | awk 'NR == 1 { a = $1 } { b = $1 } END { printf "%.0f-%.0f", a, b }')
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
r_sync=$(ratio "${med[0]}" "${med[1]}")
met=$(awk -v r="$r_sync" 'BEGIN { print r <= 1.2 ? "yes" : "**no**" }')
timer=$(if ((have_hyperfine)); then hyperfine --version; else echo "date +%s%N"; fi)

cat <<EOF
Taken $(date -u '+%Y-%m-%d %H:%M UTC') on $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'),
$(uname -sr), $fstype under $scratch. Load average before: $load_before; after: $load_after.
Ran $(($(date +%s) - started)) s. Timer: $timer, one run of each command in turn, median
of $runs rounds after $warmup warm-up round(s); the range is the fastest and slowest run.

| Case | Time (median) | Range | mpmgr ÷ this |
|---|---|---|---|
| backup $files files of $records records, ${names[0]} | ${med[0]} ms | ${range[0]} ms | |
| ${names[1]} | ${med[1]} ms | ${range[1]} ms | $(ratio "${med[0]}" "${med[1]}") (target <= 1.2: $met) |
| ${names[2]} | ${med[2]} ms | ${range[2]} ms | $(ratio "${med[0]}" "${med[2]}") |
EOF
if ((last == 3)); then
    echo "| ${names[3]} | ${med[3]} ms | ${range[3]} ms | $(ratio "${med[0]}" "${med[3]}") |"
fi
