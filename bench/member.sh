#!/usr/bin/env bash
# Times the member search of the Member window against awk over the same files, in one
# run, on a month of 17 files (the sample month, three small files and one of 500,000
# records), and writes the figures into docs/performance.md between its member markers.
#
#   bash bench/member.sh
#
# Environment: BUILD_DIR (default <repo>/build-bench, configured Release), RUNS (default
# 7), WARMUP (default 2), TMPDIR (where the month goes; removed at the end).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(dirname "$here")
build=${BUILD_DIR:-$repo/build-bench}
runs=${RUNS:-7}
warmup=${WARMUP:-2}
page=$repo/docs/performance.md

say() { printf '%s\n' "$*" >&2; }
command -v hyperfine >/dev/null || { say "member.sh needs hyperfine"; exit 1; }

say "building the benchmark programs in $build"
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target mpgen mpbench >/dev/null
bin=$build/bench

work=$(mktemp -d "${TMPDIR:-/tmp}/mpmember.XXXXXX")
trap 'rm -rf "$work"' EXIT
month=$work/month
"$bin/mpgen" sample "$month" 612 >/dev/null
"$bin/mpgen" records "$month/CLUB0626.GLD" 2000 one 626 >/dev/null
"$bin/mpgen" records "$month/CLUB0627.RED" 2000 one 627 >/dev/null
"$bin/mpgen" records "$month/CLUB0628.GAR" 2000 two 628 >/dev/null
"$bin/mpgen" records "$month/CLUB0629.GLD" 500000 one 629 >/dev/null
files=$(find "$month" -maxdepth 1 -type f | wc -l)
records=$(cat "$month"/* | wc -l)
# A member in seven files of the sample month, one of his lines out of format.
number=7414599

# The same answer first: the lines of that member in every file.
ours=$("$bin/mpbench" member "$number" "$month" 2>/dev/null | awk '{ print $1 }')
peer_command="awk -v m=$number 'substr(\$0, 1, 7) == m { n++ } END { print n + 0 }' $month/*"
theirs=$(bash -c "$peer_command")
[[ $ours == "$theirs" ]] || { say "lines differ: mpbench $ours, awk $theirs"; exit 1; }

median_ms() {
    hyperfine --style none --warmup "$warmup" --runs "$runs" --export-csv "$work/t.csv" \
        "$1" >/dev/null 2>&1
    awk -F, 'NR == 1 { for (i = 1; i <= NF; i++) if ($i == "median") c = i }
             NR == 2 { printf "%.1f", $c * 1000 }' "$work/t.csv"
}
whole=$(median_ms "$bin/mpbench member $number $month")
peer=$(median_ms "$peer_command")
# In process: the index once, then each key's table; the median of the runs.
split=$(for ((i = 0; i < runs; i++)); do "$bin/mpbench" member "$number" "$month" 2>&1 >/dev/null; done)
index_ms=$(awk '{ print $2 }' <<<"$split" | sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
table_ms=$(awk '{ print $5 }' <<<"$split" | sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
holds() { awk -v v="$1" -v l="$2" 'BEGIN { print v < l ? "yes" : "**no**" }'; }

load=$(cut -d' ' -f1-3 /proc/loadavg)
section=$(cat <<TABLE
<!-- member: written by bench/member.sh -->
### One member across the month

\`bash bench/member.sh\` on $(nproc) cores, $(date -u +%Y-%m-%d), load average $load after
the run: a month of $files files, $(printf "%'d" "$records") records (the sample month,
three files of 2,000 records and one of 500,000), member $number ($ours lines, in seven
of the files). The Find member window reads each file once when it opens (the index)
and then makes each key's table from the index alone; awk reads every file for each
search. hyperfine, median of $runs runs after $warmup warm-up runs.

| Case | mpmgr | Peer | Its time | Ratio | Target | Met |
|---|---|---|---|---|---|---|
| member search, whole process (start, index, table) | $whole ms | awk over the same files | $peer ms | $(ratio "$whole" "$peer") | | |
| the table after the last key (in process, from the index) | $table_ms ms | | | | < 300 ms | $(holds "$table_ms" 300) |
| the index, once when the window opens (in process) | $index_ms ms | awk, one search | $peer ms | $(ratio "$index_ms" "$peer") | | |
<!-- /member -->
TABLE
)
# In place of the last run's section, else before the page's closing part.
if grep -q '^<!-- member: ' "$page"; then
    SECTION=$section awk '
        /^<!-- member: / { print ENVIRON["SECTION"]; skip = 1; next }
        /^<!-- \/member -->/ { skip = 0; next }
        !skip { print }' "$page" >"$work/page.md"
else
    SECTION=$section awk '
        /^## What bounds each figure/ && !done { print ENVIRON["SECTION"]; print ""; done = 1 }
        { print }
        END { if (!done) { print ""; print ENVIRON["SECTION"] } }' "$page" >"$work/page.md"
fi
cp "$work/page.md" "$page"
say "written into $page"
printf '%s\n' "$section"
