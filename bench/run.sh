#!/usr/bin/env bash
# Scanner benchmarks over a tree of 100,000 files in about 500 folders, one in six "*.tmp":
#  - natively: the scanner beside `find DIR -iname '*.tmp'`   (target: ratio <= 2)
#  - under Wine: the scanner with its label and message pump on a shown window beside the bare
#    FindFirstFileA/FindNextFileA walk, in one process (the walk alone: ratio <= 1.25; the scanner
#    also opens each file it lists once, as the run's open test does)
#  - under Wine: a whole search run of the main window (scan, open test, icons, rows) beside the
#    bare walk, in one process                               (target: ratio <= 3)
#    and the run's open test alone over the files found, which the walk does not have
#  - under Wine: the whole job of Kelvaro.exe as processes, from start to the delete question or to the
#    last file recycled, beside the bare walk as a process, and the recycle job beside the bare walk with
#    one shell call a file (bench/job_bench.sh)
#   bench/run.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
tree=$build/bench-tree

"$build/native/make_bench_tree" "$tree" 100000 500

best() { sort -n | head -n 1; }
find_times=$(for _ in 1 2 3; do
    start=$(date +%s.%N)
    find "$tree" -iname '*.tmp' >/dev/null
    awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { print b - a }'
done | best)
scan_times=$(for _ in 1 2 3; do "$build/native/scan_bench_native" "$tree" | cut -d' ' -f1; done | best)
found=$("$build/native/scan_bench_native" "$tree" | cut -d' ' -f2)
echo "native: find -iname '*.tmp': $(printf %.3f "$find_times") s; scanner: $scan_times s, $found files"
echo "native ratio scanner/find: $(awk -v s="$scan_times" -v f="$find_times" 'BEGIN { printf "%.2f", s / f }') (target <= 2)"

# Under Wine every question to the Wine server is a round trip to another process. Where that process
# runs on another processor, each trip waits for it to be woken there: on a virtual machine about 50
# microseconds, against about 3 with everything on one processor. The open test of a run makes two
# trips a file and the bare walk hardly any, so the run is measured both ways: as the machine schedules
# it, and with Wine and its server kept on one processor (a fresh server each time, as it keeps the
# processors it was started with).
windows_tree="Z:$(echo "$tree" | tr / '\\')"
prefix=$build/windows/wineprefix
for pinning in "as scheduled" "on one processor"; do
    run=()
    [ "$pinning" = "on one processor" ] && run=(taskset -c 0)
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    echo "wine, $pinning:"
    "${run[@]}" "$here/../tools/wine-run.sh" "$prefix" "$build/windows/scan_bench.exe" "$windows_tree" 3
    echo "wine, $pinning, whole search run of the main window:"
    "${run[@]}" "$here/../tools/wine-run.sh" "$prefix" "$build/windows/run_bench.exe" "$windows_tree"
done

bash "$here/job_bench.sh" "$build"
