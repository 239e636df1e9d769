#!/usr/bin/env bash
# Times each mpmgr command against the tool a user would reach for instead and against
# the machine's floor, in one run, on data made by bench/mpgen, and prints a markdown
# table of ratios (medians of several runs, page cache warm).
#
#   bash bench/compare.sh                      default run, a few minutes
#   MPBENCH_LARGE=1 bash bench/compare.sh      adds the merge of 1 GB of input
#
# Environment: BUILD_DIR (default <repo>/build-bench, configured Release), RUNS (timed
# runs per command, default 7), WARMUP (default 2), CASES (default "scan view window
# find sort csv merge backup", any of them), TMPDIR (where the data goes; it is removed at the end). Uses hyperfine when installed, else a loop over `date +%s%N`;
# peak memory comes from /usr/bin/time (GNU time) when installed.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(dirname "$here")
build=${BUILD_DIR:-$repo/build-bench}
runs=${RUNS:-7}
warmup=${WARMUP:-2}
large=${MPBENCH_LARGE:-0}
cases=" ${CASES:-scan view window find sort csv merge backup} "
wanted() { [[ $cases == *" $1 "* ]]; }

say() { printf '%s\n' "$*" >&2; }

say "building the benchmark programs in $build"
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
targets=(mpgen mpbench cscan cslurp)
cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null
have_viewer=1
cmake --build "$build" -j2 --target viewerbench >/dev/null 2>&1 || have_viewer=0
have_window=1
cmake --build "$build" -j2 --target windowscan >/dev/null 2>&1 || have_window=0
bin=$build/bench

work=$(mktemp -d "${TMPDIR:-/tmp}/mpcompare.XXXXXX")
shm=
trap 'rm -rf "$work" ${shm:+"$shm"}' EXIT

have_hyperfine=0
command -v hyperfine >/dev/null && have_hyperfine=1
have_time=0
[[ -x /usr/bin/time ]] && /usr/bin/time -f %M true >/dev/null 2>&1 && have_time=1

# median_ms PREPARE COMMAND: median wall time in milliseconds of COMMAND run by the
# shell, PREPARE (may be empty) run untimed before each run.
median_ms() {
    local prepare=$1 command=$2
    if ((have_hyperfine)); then
        local csv=$work/timing.csv
        local args=(--style none --warmup "$warmup" --runs "$runs" --export-csv "$csv"
            --command-name timed)
        [[ -n $prepare ]] && args+=(--prepare "$prepare")
        hyperfine "${args[@]}" "$command" >/dev/null 2>&1 || {
            say "failed: $command"
            return 1
        }
        awk -F, 'NR == 1 { for (i = 1; i <= NF; i++) if ($i == "median") c = i }
                 NR == 2 { printf "%.1f", $c * 1000 }' "$csv"
    else
        local i t0 t1 times=()
        for ((i = 0; i < warmup; i++)); do
            [[ -n $prepare ]] && bash -c "$prepare" >/dev/null 2>&1
            bash -c "$command" >/dev/null 2>&1
        done
        for ((i = 0; i < runs; i++)); do
            [[ -n $prepare ]] && bash -c "$prepare" >/dev/null 2>&1
            t0=$(date +%s%N)
            bash -c "$command" >/dev/null 2>&1
            t1=$(date +%s%N)
            times+=($((t1 - t0)))
        done
        printf '%s\n' "${times[@]}" | sort -n |
            awk '{ a[NR] = $1 } END { m = NR % 2 ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2
                                      printf "%.1f", m / 1e6 }'
    fi
}

# paired_ms PREPARE COMMAND_A COMMAND_B: the medians in milliseconds of A and B run in
# turn, A B A B ..., PREPARE before each. For commands bound by the disk, whose state
# (journal, write-back of the previous run) drifts from run to run: in turn, both meet
# the same drift, where one block of A runs and then one of B would not.
paired_ms() {
    local prepare=$1 a=$2 b=$3 i t0 t1
    : >"$work/paired.a"
    : >"$work/paired.b"
    for ((i = 0; i < warmup + 2 * runs; i++)); do
        bash -c "$prepare" >/dev/null 2>&1
        local command=$a out=$work/paired.a
        ((i % 2)) && command=$b out=$work/paired.b
        t0=$(date +%s%N)
        bash -c "$command" >/dev/null 2>&1
        t1=$(date +%s%N)
        ((i >= warmup)) && echo $((t1 - t0)) >>"$out"
    done
    printf '%s %s\n' "$(median <"$work/paired.a" | awk '{ printf "%.1f", $1 / 1e6 }')" \
        "$(median <"$work/paired.b" | awk '{ printf "%.1f", $1 / 1e6 }')"
}

# peak_mib COMMAND: the largest resident set of COMMAND and its children, in MiB.
peak_mib() {
    if ((have_time)); then
        /usr/bin/time -f %M -o "$work/rss" bash -c "$1" >/dev/null 2>&1
        awk '{ printf "%.1f", $1 / 1024 }' "$work/rss"
    else
        printf 'n/a'
    fi
}

# median of numbers on stdin
median() {
    sort -g | awk '{ a[NR] = $1 } END { m = NR % 2 ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2
                                        printf "%.1f", m }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# holds VALUE OP LIMIT: "yes" or "no"
holds() { awk -v v="$1" -v l="$3" -v op="$2" 'BEGIN { ok = op == "<=" ? v <= l : v >= l
                                                       print ok ? "yes" : "**no**" }'; }
fail() {
    say "$*"
    exit 1
}

rows=()
row() { rows+=("| $1 | $2 | $3 | $4 | $5 | $6 | $7 |"); }

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
started=$(date +%s)

# ---- scan: a folder of 100,000 entries
scan_case() {
    say "scan: making a folder of 100,000 entries"
    read -r entries candidates valid folders < <("$bin/mpgen" folder "$work/scan" 100000)
    listed=$("$bin/mpbench" scan "$work/scan" | cut -d' ' -f1)
    floor=$("$bin/cscan" "$work/scan" | cut -d' ' -f1)
    [[ $listed == "$valid" && $floor == "$valid" ]] ||
        fail "scan lists $listed, cscan $floor, expected $valid"
    pattern="\\( -iname '*.mp[1-5]' -o -iname '*.gld' -o -iname '*.red' -o -iname '*.grn' -o -iname '*.gar' -o -iname '*.rag' \\)"
    say "scan: timing"
    t_scan=$(median_ms "" "'$bin/mpbench' scan '$work/scan'")
    t_cscan=$(median_ms "" "'$bin/cscan' '$work/scan'")
    t_find=$(median_ms "" "find '$work/scan' -maxdepth 1 -type f $pattern -exec head -q -c 13 {} + >/dev/null")
    r=$(ratio "$t_scan" "$t_cscan")
    row "scan, $entries entries ($candidates candidates, $valid valid)" "$t_scan ms" \
        "C loop: readdir, open, read 13 B, close (cscan)" "$t_cscan ms" "$r" "<= 1.3" "$(holds "$r" "<=" 1.3)"
    r=$(ratio "$t_scan" "$t_find")
    row "" "" "find + head -c 13 over the candidates" "$t_find ms" "$r" "< 1" "$(holds "$r" "<=" 0.999)"
    if ((have_window)); then
        # The real main window's start-up scan, launch to listed window, less the start-up
        # of the same window over an empty folder.
        mkdir -p "$work/empty"
        listed=$(QT_QPA_PLATFORM=offscreen "$bin/windowscan" "$work/window.ini" "$work/scan" | cut -d' ' -f1)
        [[ $listed == "$valid" ]] || fail "windowscan lists $listed, expected $valid"
        QT_QPA_PLATFORM=offscreen "$bin/windowscan" "$work/empty.ini" "$work/empty" >/dev/null
        t_window=$(median_ms "" "QT_QPA_PLATFORM=offscreen '$bin/windowscan' '$work/window.ini' '$work/scan'")
        t_empty=$(median_ms "" "QT_QPA_PLATFORM=offscreen '$bin/windowscan' '$work/empty.ini' '$work/empty'")
        t_net=$(awk -v a="$t_window" -v b="$t_empty" 'BEGIN { printf "%.1f", a - b }')
        r=$(ratio "$t_net" "$t_cscan")
        row "the program's start-up scan: launch to listed window ($t_window ms) less start-up over an empty folder ($t_empty ms)" \
            "$t_net ms" "cscan" "$t_cscan ms" "$r" "<= 1.3" "$(holds "$r" "<=" 1.3)"
    fi
    rm -rf "$work/scan"
}

# ---- view: read and sum a file of 1,000,000 two-figure records
view_data() {
    say "view: making a file of 1,000,000 records"
    view=$work/CLUB.GAR
    size=$("$bin/mpgen" records "$view" 1000000 two)
    mib=$(awk -v s="$size" 'BEGIN { printf "%.1f", s / 1048576 }')
}
view_case() {
    ours=$("$bin/mpbench" view "$view" two | awk '{ print $4, $5 }')
    theirs=$(awk '{ a += substr($0, 8, 6) + 0; b += substr($0, 14, 6) + 0 } END { printf "%.0f %.0f", a, b }' "$view")
    [[ $ours == "$theirs" ]] || fail "view totals $ours, awk $theirs"
    say "view: timing"
    t_view=$(median_ms "" "'$bin/mpbench' view '$view' two")
    t_wc=$(median_ms "" "wc -l '$view'")
    t_awk=$(median_ms "" "awk '{ a += substr(\$0, 8, 6) + 0; b += substr(\$0, 14, 6) + 0 } END { printf \"%.0f %.0f\", a, b }' '$view'")
    t_slurp=$(median_ms "" "'$bin/cslurp' '$view'")
    t_huge=$(median_ms "" "'$bin/cslurp' --huge '$view'")
    awk_name=$(basename "$(readlink -f "$(command -v awk)")")
    r=$(ratio "$t_view" "$t_wc")
    row "view: read and sum 1,000,000 records ($mib MiB)" "$t_view ms" "wc -l" "$t_wc ms" "$r" "<= 3" "$(holds "$r" "<=" 3)"
    r=$(ratio "$t_awk" "$t_view")
    row "" "" "$awk_name summing both columns (ratio: $awk_name ÷ mpmgr)" "$t_awk ms" "$r" ">= 3" "$(holds "$r" ">=" 3)"
    row "" "" "C: malloc, read whole file, memchr (cslurp)" "$t_slurp ms" "$(ratio "$t_view" "$t_slurp")" "floor" ""
    row "" "" "the same in huge pages (cslurp --huge)" "$t_huge ms" "$(ratio "$t_view" "$t_huge")" "floor" ""
}

# ---- the viewer window on the same file
window_case() {
    if ((have_viewer)); then
        say "viewer window: timing"
        export QT_QPA_PLATFORM=offscreen
        for ((i = 0; i < warmup + runs; i++)); do
            sum_out=$("$bin/viewerbench" sum "$view" two 2>/dev/null)
            win_out=$("$bin/viewerbench" window "$view" two 2>/dev/null)
            empty_out=$("$bin/viewerbench" empty 2>/dev/null)
            ((i < warmup)) && continue
            echo "$sum_out" | sed 's/.*readsum_ms=\([0-9.]*\).*/\1/' >>"$work/readsum"
            echo "$win_out" | sed 's/.*ready_ms=\([0-9.]*\).*/\1/' >>"$work/ready"
            echo "$win_out" | sed 's/.*peak_rss_kb=\([0-9]*\).*/\1/' >>"$work/winrss"
            echo "$empty_out" | sed 's/.*peak_rss_kb=\([0-9]*\).*/\1/' >>"$work/emptyrss"
        done
        t_readsum=$(median <"$work/readsum")
        t_ready=$(median <"$work/ready")
        rss_window=$(median <"$work/winrss")
        rss_empty=$(median <"$work/emptyrss")
        r=$(ratio "$t_ready" "$t_readsum")
        row "viewer window ready with 1,000,000 rows (in process)" "$t_ready ms" \
            "read and sum, timed the same way (viewerbench sum)" "$t_readsum ms" "$r" "<= 2" "$(holds "$r" "<=" 2)"
        above=$(awk -v w="$rss_window" -v e="$rss_empty" 'BEGIN { printf "%.1f", (w - e) / 1024 }')
        r=$(awk -v w="$rss_window" -v e="$rss_empty" -v s="$size" 'BEGIN { printf "%.2f", (w - e) * 1024 / s }')
        row "viewer window peak memory above an empty one" "$above MiB" \
            "file size (empty window: $(awk -v e="$rss_empty" 'BEGIN { printf "%.1f", e / 1024 }') MiB)" \
            "$mib MiB" "$r" "<= 3" "$(holds "$r" "<=" 3)"
    else
        row "viewer window" "not built (no Qt?)" "" "" "" "" ""
    fi
}

# ---- find, sort and save as CSV over the same file
# The step's own time, in process (median of 5 inside mpbench, then of the runs).
inner_ms() {
    local key=$1 command=$2 i
    : >"$work/inner"
    for ((i = 0; i < warmup + runs; i++)); do
        out=$(bash -c "$command")
        ((i < warmup)) && continue
        echo "$out" | sed "s/.*$key=\([0-9.]*\).*/\1/" >>"$work/inner"
    done
    median <"$work/inner"
}
find_case() {
    local digits t_step t_grep r
    digits=$("$bin/mpbench" find "$view" two | sed 's/.*digits=\([0-9]*\).*/\1/')
    [[ $(grep -c -F "$digits" "$view" || true) == 0 ]] || fail "find: grep finds $digits"
    say "find: timing"
    t_step=$(inner_ms step_ms "'$bin/mpbench' find '$view' two")
    t_grep=$(median_ms "" "grep -c -F '$digits' '$view' || true")
    r=$(ratio "$t_step" "$t_grep")
    row "find: one step over 1,000,000 rows, no match (in process)" "$t_step ms" \
        "grep -c -F over the file (no match)" "$t_grep ms" "$r" "< 50 ms" "$(holds "$t_step" "<=" 49.99)"
}
sort_case() {
    local t_sort t_peer r ours theirs
    ours=$("$bin/mpbench" sort "$view" two | sed 's/.*first=\([0-9]*\).*/\1/')
    # awk reads to the end: head would leave sort writing into a closed pipe.
    theirs=$(LC_ALL=C sort -s -r -n -k1.8,1.13 "$view" | awk 'NR == 1 { print substr($0, 1, 7) }')
    [[ $ours == "$theirs" ]] || fail "sort puts $ours first, sort -k $theirs"
    say "sort: timing"
    t_sort=$(inner_ms sort_ms "'$bin/mpbench' sort '$view' two")
    t_peer=$(median_ms "" "LC_ALL=C sort -s -r -n -k1.8,1.13 '$view' >/dev/null")
    r=$(ratio "$t_sort" "$t_peer")
    row "sort 1,000,000 rows by points, descending (in process)" "$t_sort ms" \
        "LC_ALL=C sort -s -r -n -k1.8,1.13 > /dev/null" "$t_peer ms" "$r" "< 1 s" \
        "$(holds "$t_sort" "<=" 999.99)"
}
csv_case() {
    local out=$work/CLUB.csv peer=$work/peer.csv t_csv t_awk r awk_name
    "$bin/mpbench" csv "$view" "$out" two >/dev/null
    local script='{ printf "\"=\"\"%s\"\"\",%.2f,%.2f,\r\n", substr($0, 1, 7), substr($0, 8, 6) / 100, substr($0, 14, 6) / 100 }'
    awk "$script" "$view" >"$peer"
    [[ $(wc -l <"$out") == $(($(wc -l <"$peer") + 2)) ]] || fail "csv rows differ from awk's"
    say "csv: timing"
    t_csv=$(median_ms "" "'$bin/mpbench' csv '$view' '$out' two")
    t_awk=$(median_ms "" "awk '$script' '$view' > '$peer'")
    awk_name=$(basename "$(readlink -f "$(command -v awk)")")
    r=$(ratio "$t_csv" "$t_awk")
    row "save 1,000,000 rows as CSV: read, write, sync, rename" "$t_csv ms" \
        "$awk_name printing the same fields > out" "$t_awk ms" "$r" "<= 1" "$(holds "$r" "<=" 1)"
    rm -f "$out" "$peer"
}

# ---- merge: 10 MiB in 10 files, and 1 GiB in 16 files when asked
merge_case() {
    local total=$1 files=$2 label=$3
    say "merge $label: making inputs"
    local inputs
    inputs=$("$bin/mpgen" merge-inputs "$work/merge" "$total" "$files" | tr '\n' ' ')
    local out=$work/merge/Club1234.GAR peer=$work/merge/peer.GAR
    "$bin/mpbench" merge "$out" $inputs >/dev/null
    sed -e 's/\r$//' -e 's/$/\r/' $inputs >"$peer"
    cmp -s "$out" "$peer" || fail "merge output differs from sed's"
    say "merge $label: timing"
    local t_merge t_sed t_sync t_cat t_catsync m_merge m_sed m_cat r
    t_merge=$(median_ms "" "'$bin/mpbench' merge '$out' $inputs")
    t_sed=$(median_ms "" "sed -e 's/\\r\$//' -e 's/\$/\\r/' $inputs > '$peer'")
    t_sync=$(median_ms "" "sed -e 's/\\r\$//' -e 's/\$/\\r/' $inputs > '$peer' && sync '$peer'")
    t_cat=$(median_ms "" "cat $inputs > '$peer'")
    t_catsync=$(median_ms "" "cat $inputs > '$peer' && sync '$peer'")
    m_merge=$(peak_mib "'$bin/mpbench' merge '$out' $inputs")
    m_sed=$(peak_mib "sed -e 's/\\r\$//' -e 's/\$/\\r/' $inputs > '$peer'")
    m_cat=$(peak_mib "cat $inputs > '$peer'")
    r=$(ratio "$t_merge" "$t_sed")
    row "merge $label in $files files (peak $m_merge MiB)" "$t_merge ms" \
        "sed rewriting line ends > out (peak $m_sed MiB)" "$t_sed ms" "$r" "<= 1.5" "$(holds "$r" "<=" 1.5)"
    r=$(ratio "$t_merge" "$t_sync")
    row "" "" "the same, then sync out (mpmgr syncs before it renames)" "$t_sync ms" "$r" "" ""
    r=$(ratio "$t_merge" "$t_cat")
    row "" "" "cat > out, no rewrite (peak $m_cat MiB)" "$t_cat ms" "$r" "" ""
    r=$(ratio "$t_merge" "$t_catsync")
    # The merge looks at every line it sends on (marks, a merged file merged again) and
    # must stay within half as much again as copying the bytes.
    row "" "" "cat > out, then sync out" "$t_catsync ms" "$r" "<= 1.5" "$(holds "$r" "<=" 1.5)"
    if [[ $m_merge != n/a ]]; then
        row "" "" "peak memory of the merge" "$m_merge MiB" "" "< 64 MiB" "$(holds "$m_merge" "<=" 63.99)"
    fi
    rm -rf "$work/merge"
}

# ---- backup: 10,000 files into an empty folder, on the disk and in memory
backup_case() {
    local base=$1 where=$2 src=$1/bsrc dst=$1/bdst
    say "backup $where: making 10,000 files"
    "$bin/mpgen" backup-set "$src" 10000 50
    # Each run copies into an empty folder, the disk quiet after the last run's removal.
    local fresh="rm -rf '$dst' && mkdir '$dst' && sync"
    bash -c "$fresh"
    "$bin/mpbench" backup "$src" "$dst" >/dev/null
    local copied
    copied=$(find "$dst" -type f | wc -l)
    cmp -s "$src/B000001.GLD" "$dst/B000001.GLD" && [[ $copied == 10000 ]] ||
        fail "backup copied $copied files"
    say "backup $where: timing"
    local t_backup t_cp r
    # Backup makes its copies durable before it names them; cp -n does not, so it is
    # followed by a sync of the folder's file system.
    read -r t_backup t_cp < <(paired_ms "$fresh" "'$bin/mpbench' backup '$src' '$dst'" \
        "cp -n '$src'/* '$dst'/ && sync -f '$dst'")
    r=$(ratio "$t_backup" "$t_cp")
    row "backup 10,000 files of 50 records, $where (runs in turn)" "$t_backup ms" \
        "cp -n, then sync -f" "$t_cp ms" "$r" "<= 1.2" "$(holds "$r" "<=" 1.2)"
    rm -rf "$src" "$dst"
}

wanted scan && scan_case
if wanted view || wanted window || wanted find || wanted sort || wanted csv; then
    view_data
    wanted view && view_case
    wanted window && window_case
    wanted find && find_case
    wanted sort && sort_case
    wanted csv && csv_case
    rm -f "$view"
fi
if wanted merge; then
    merge_case $((10 << 20)) 10 "10 MiB"
    if [[ $large == 1 ]]; then
        saved_runs=$runs saved_warmup=$warmup
        runs=3 warmup=1
        merge_case $((1 << 30)) 16 "1 GiB (3 runs)"
        runs=$saved_runs warmup=$saved_warmup
    fi
fi
if wanted backup; then
    # On the disk every run also waits on the file system's journal and write-back,
    # which drift from run to run: twice the runs. In memory, only the commands' work.
    saved_runs=$runs
    runs=$((2 * runs))
    backup_case "$work" "on $(df -T "$work" | awk 'NR == 2 { print $2 }')"
    runs=$saved_runs
    if [[ -d /dev/shm && -w /dev/shm ]]; then
        shm=$(mktemp -d /dev/shm/mpcompare.XXXXXX)
        backup_case "$shm" "in memory (tmpfs)"
        rmdir "$shm"
    fi
fi

load_after=$(cut -d' ' -f1-3 /proc/loadavg)
timer=$(if ((have_hyperfine)); then hyperfine --version; else echo "date +%s%N loop"; fi)

cat <<EOF
Printed by \`bash bench/compare.sh\` (CASES="$(echo $cases)") on $(date -u '+%Y-%m-%d %H:%M UTC').
Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'),
$(uname -sr), $(df -T "${TMPDIR:-/tmp}" | awk 'NR == 2 { print $2 }') under ${TMPDIR:-/tmp}.
Load average before: $load_before; after: $load_after. Ran $(($(date +%s) - started)) s.
Timer: $timer, median of $runs runs after $warmup warm-up runs; ratios are mpmgr ÷ peer
unless the peer's column says otherwise.

| Case | mpmgr | Peer or floor | Its time | Ratio | Target | Met |
|---|---|---|---|---|---|---|
EOF
printf '%s\n' "${rows[@]}"
