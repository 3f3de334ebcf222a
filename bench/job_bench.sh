#!/usr/bin/env bash
# The whole job a user waits for, under Wine as the machine schedules it: Kelvaro.exe -a as a whole
# process, timed from outside by job_watch.exe, each against a whole process of the bare two-pass walk
# of the same tree (100,000 files in 500 folders, 16,667 "*.tmp"):
#  (a) rule "*.tmp" with subfolders, confirmation on: start until the delete question shows (target <= 3)
#      and against the walk that also opens each file it finds, on one thread, as the median of three
#      pairs of runs side by side                                                 (target <= 0.8)
#  (b) the same, confirmation off, Recycle Bin on: start until the process ends having recycled all
#      16,667, on a fresh copy of the tree with a Trash of its own                  (target <= 8)
#      and beside it the plainest recycle of the same files as a whole process, the bare walk and one
#      SHFileOperationA call a file (recycle_loop.exe), on a fresh copy and Trash of its own
#                                                   (Kelvaro's job / that loop: target <= 1.25)
#  (c) rule "*.*" listing all 100,000, until the question (target <= 6; against the walk that opens
#      every file, the median of three pairs: target <= 0.6), and the peak memory of the Kelvaro process
#      (VmHWM) (target < 150 MB)
#  (d) rule "*.*" deleting all 100,000 for good, then recycling them, each on a fresh copy: the time,
#      when the delete's progress first says "Deleting n of N", what is left, and the record's lines of
#      the clean-up across both of its generations
#  (e) rule "*.*" over 1,000,000 files (1,000 a folder): until the question against the walk that opens
#      every file, the peak memory, and each column's sort of the million rows, timed from the header's
#      click to the list's repaint. Its tree is made once and kept in BUILD_DIR/bench-tree-million for
#      the next run; `job_bench.sh BUILD_DIR drop-million` deletes it.
#  (f) the million rows in the window as a user meets them (bench/list_bench_win.cpp drives it): Start
#      until every file is listed, the memory then in use, Ctrl+A, twenty pages of scrolling, the peak
#      memory, and the close until the process is gone.
# with the phases of each run: progress dialog shown, gone, question shown, first file in the Trash,
# process end; then what each part of deleting one file costs (delete_costs.exe).
#   bench/job_bench.sh BUILD_DIR [CASE...]     CASE: a b c d e f costs (all of them when none is named)
set -eu
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
windows=$build/windows
prefix=$windows/wineprefix
tree=$build/bench-tree
million=$build/bench-tree-million
work=$build/bench-job
shift
cases=" ${*:-a b c d e f costs} "
if [ "$cases" = " drop-million " ]; then
    rm -rf "$million"
    exit 0
fi
wanted() { [[ $cases == *" $1 "* ]]; }
"$build/native/make_bench_tree" "$tree" 100000 500
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"; WINEPREFIX=$prefix wineserver -k 2>/dev/null || true' EXIT

wine_run() { "$here/../tools/wine-run.sh" "$prefix" "$@"; }
windows_path() { echo "Z:$1" | tr / '\\'; }
field() { sed -n "s/.* $1=\([-0-9.]*\).*/\1/p"; }

set_rule() {
    local spec=$1 confirm=$2 folder recycle=${4:-1}
    folder=$(windows_path "$3" | sed 's/\\/\\\\/g')
    wine_run reg delete 'HKCU\Software\Tarnwell\Kelvaro' /f >/dev/null 2>&1 || true
    cat >"$work/rule.reg" <<REG
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Tarnwell\Kelvaro\Settings]
"Confirm"="$confirm"
"Recycle"="$recycle"

[HKEY_CURRENT_USER\Software\Tarnwell\Kelvaro\Files]
"Count"="1"
"Path1"="$folder"
"Spec1"="$spec"
"Age1"="  "
"Size1"="  "
"Sub1"="Yes"
"Rmv1"=" "

; Earlier automatic runs as large as this one, so that the guard lets it delete without asking.
[HKEY_CURRENT_USER\Software\Tarnwell\Kelvaro\History]
"Files1"="100000"
"Bytes1"="1099511627776"
REG
    wine_run reg import "$(windows_path "$work/rule.reg")" >/dev/null 2>&1
}

# The bare walk as a whole process, timed the same way: bare_walk TREE [PATTERN [--open]].
bare_walk() {
    local options=()
    [ "${3:-}" = --open ] && options=(--open)
    wine_run "$windows/job_watch.exe" "$windows/bare_walk.exe" "${options[@]}" "$(windows_path "$1")" \
        "${2:-*.tmp}" | tr -d '\r' | grep '^phases' | field end
}

# The Kelvaro process of this prefix, found among all processes by its program name and prefix.
kelvaro_pid() {
    local status
    for status in /proc/[0-9]*/status; do
        local pid=${status%/status}
        pid=${pid#/proc/}
        # The program itself, not the watcher that names it among its arguments.
        case $(head -zn1 "/proc/$pid/cmdline" 2>/dev/null | tr -d '\0') in *Kelvaro.exe) ;; *) continue ;; esac
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix" && echo "$pid" && return
    done
}

# Starts Kelvaro -a and answers its question No; with "memory", writes its peak memory in KB to
# $work/peak while the question waits; with "sorts" also times each column's sort after the No, into
# $work/sorts.
to_question() {
    local hold=$work/hold memory=$1 line phases="" sorts=()
    [ "${2:-}" = sorts ] && sorts=(--sorts)
    rm -f "$hold" "$work/sorts"
    # Read as it comes (a filter in between would hold the line back until the end).
    exec 3< <(wine_run "$windows/job_watch.exe" --answer-no "${sorts[@]}" --hold "$(windows_path "$hold")" \
        "$windows/Kelvaro.exe" -a 2>/dev/null)
    while IFS= read -r line <&3; do
        line=${line%$'\r'}
        if [ "$line" = "question shown" ]; then
            if [ "$memory" = memory ]; then
                local pid
                pid=$(kelvaro_pid)
                awk '/^VmHWM/ { print $2 }' "/proc/$pid/status" >"$work/peak" 2>/dev/null || true
            fi
            touch "$hold"
        fi
        case $line in phases*) phases=$line ;; sorts*) echo "$line" >"$work/sorts" ;; esac
    done
    exec 3<&-
    echo "$phases"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# Three pairs, each the walk that opens every file the pattern matches and then Kelvaro -a to its
# question, over the tree: both wait on the Wine server, whose pace on this shared machine drifts from
# minute to minute, so one pair alone says little. Sets pairs (each pair's seconds and ratio), median (of
# the ratios), and question and phases (of the pair with the median ratio). memory: as to_question's.
paired() {
    local spec=$1 memory=$2 i walk run ratios=() lines=()
    pairs=""
    for i in 1 2 3; do
        walk=$(bare_walk "$tree" "$spec" --open)
        run=$(to_question "$memory")
        ratios+=("$(ratio "$(field question <<<"$run")" "$walk") $i")
        lines[i]=$run
        pairs+="${pairs:+; }$(field question <<<"$run") s against $walk s (${ratios[-1]% *})"
        memory=none  # the peak of the first run
    done
    local middle
    middle=$(printf '%s\n' "${ratios[@]}" | sort -n | sed -n 2p)
    median=${middle% *}
    phases=${lines[${middle#* }]}
    question=$(field question <<<"$phases")
}
show_phases() {
    echo "  phases (s from start): progress shown $(field progress <<<"$1"), gone $(field gone <<<"$1")," \
        "question $(field question <<<"$1"), first file recycled $(field folder <<<"$1"), end $(field end <<<"$1")"
}

WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
WINEPREFIX=$prefix wineserver -p
wine_run "$windows/bare_walk.exe" "$(windows_path "$tree")" >/dev/null  # warms the server and the cache

if wanted a; then
set_rule "*.tmp" 1 "$tree"
bare=$(bare_walk "$tree")
paired "*.tmp" none
echo "whole job (a) '*.tmp' to the question: $question s, bare walk $bare s," \
    "ratio $(ratio "$question" "$bare") (target <= 3)"
echo "  against the walk that opens each of its files: $pairs, median ratio $median (target <= 0.8)"
show_phases "$phases"
fi

if wanted b; then
copy=$work/tree
xdg=$work/xdg
cp -al "$tree" "$copy"
mkdir -p "$xdg/Trash/files" "$xdg/Trash/info"
set_rule "*.tmp" 0 "$copy"
bare=$(bare_walk "$copy")
phases=$(XDG_DATA_HOME=$xdg wine_run "$windows/job_watch.exe" --folder "$(windows_path "$xdg/Trash/info")" \
    "$windows/Kelvaro.exe" -a 2>/dev/null | tr -d '\r' | grep '^phases')
end=$(field end <<<"$phases")
recycled=$(find "$xdg/Trash/files" -mindepth 1 -maxdepth 1 | wc -l)
left=$(find "$copy" -iname '*.tmp' | wc -l)
echo "whole job (b) '*.tmp' recycled: $end s, bare walk $bare s, ratio $(ratio "$end" "$bare")" \
    "(target <= 8); $recycled in the Trash, $left left"
show_phases "$phases"
rm -rf "$copy" "$xdg"
cp -al "$tree" "$copy"
mkdir -p "$xdg/Trash/files" "$xdg/Trash/info"
loop=$(XDG_DATA_HOME=$xdg wine_run "$windows/job_watch.exe" "$windows/recycle_loop.exe" \
    "$(windows_path "$copy")" 2>/dev/null | tr -d '\r' | grep '^phases' | field end)
recycled=$(find "$xdg/Trash/files" -mindepth 1 -maxdepth 1 | wc -l)
left=$(find "$copy" -iname '*.tmp' | wc -l)
echo "  one shell call a file (bare walk, then SHFileOperationA each): $loop s;" \
    "$recycled in the Trash, $left left"
echo "  ratio Kelvaro -a recycle job / one-file-a-call loop: $(ratio "$end" "$loop") (target <= 1.25)"
rm -rf "$copy" "$xdg"
fi

if wanted c; then
set_rule "*.*" 1 "$tree"
bare=$(bare_walk "$tree")
paired "*.*" memory
peak_kb=$(cat "$work/peak" 2>/dev/null || echo 0)
echo "whole job (c) '*.*' to the question: $question s, bare walk $bare s," \
    "ratio $(ratio "$question" "$bare") (target <= 6); peak memory $((peak_kb / 1024)) MB (target < 150)"
echo "  against the walk that opens every file: $pairs, median ratio $median (target <= 0.6)"
show_phases "$phases"
fi

# The lines of the latest clean-up in the record's two generations.
record=$prefix/drive_c/users/$(id -un)/AppData/Roaming/Kelvaro/Kelvaro.log
last_cleanup_lines() {
    local cleanup
    cleanup=$(tail -n 1 "$record" 2>/dev/null | tr -d '\r' | awk -F '\t' '{ print $7 }')
    [ -n "$cleanup" ] || { echo 0; return; }
    cat "$record.1" "$record" 2>/dev/null | tr -d '\r' | awk -F '\t' -v c="$cleanup" '$7 == c' | wc -l
}

if wanted d; then
copy=$work/tree
xdg=$work/xdg
for recycle in 0 1; do
    rm -rf "$copy" "$xdg"
    cp -al "$tree" "$copy"
    mkdir -p "$xdg/Trash/files" "$xdg/Trash/info"
    set_rule "*.*" 0 "$copy" "$recycle"
    phases=$(XDG_DATA_HOME=$xdg wine_run "$windows/job_watch.exe" "$windows/Kelvaro.exe" -a 2>/dev/null |
        tr -d '\r' | grep '^phases')
    left=$(find "$copy" -type f | wc -l)
    how="for good"
    [ "$recycle" = 1 ] && how="into the Trash ($(find "$xdg/Trash/files" -mindepth 1 -maxdepth 1 | wc -l) there)"
    echo "whole job (d) '*.*' deleting 100,000 $how: $(field end <<<"$phases") s, $left left;" \
        "\"Deleting n of N\" from $(field deleting <<<"$phases") s (search's window gone at" \
        "$(field gone <<<"$phases") s); the clean-up's lines in the record: $(last_cleanup_lines)"
done
rm -rf "$copy" "$xdg"
fi

if wanted e; then
"$build/native/make_bench_tree" "$million" 1000000 1000
set_rule "*.*" 1 "$million"
opening=$(bare_walk "$million" "*.*" --open)
phases=$(to_question memory sorts)
peak_kb=$(cat "$work/peak" 2>/dev/null || echo 0)
question=$(field question <<<"$phases")
echo "whole job (e) '*.*' over 1,000,000 files to the question: $question s, the walk that opens every" \
    "file $opening s, ratio $(ratio "$question" "$opening"); peak memory $((peak_kb / 1024)) MB"
echo "  each column's sort of the rows, click to repaint (s): $(sed 's/^sorts //' "$work/sorts" 2>/dev/null)"
show_phases "$phases"
echo "  (the million-file tree stays in $million for the next run; 'bench/job_bench.sh BUILD_DIR" \
    "drop-million' deletes it)"
fi

if wanted f; then
"$build/native/make_bench_tree" "$million" 1000000 1000
set_rule "*.*" 1 "$million"
rows=$(find "$million" -type f | wc -l)
(cd "$windows" && WINEPREFIX=$prefix WINEDEBUG=-all wine Kelvaro.exe >/dev/null 2>&1 &)
step() { wine_run "$windows/list_bench.exe" "$@" | tr -d '\r'; }
memory() { awk -v what="^$1" '$0 ~ what { printf "%.0f MB", $2 / 1024 }' "/proc/$2/status"; }
listed=$(step start "$rows")
pid=$(kelvaro_pid)
echo "the window (f) over $rows rows, seconds of each step: $listed, $(memory VmRSS "$pid") then in use;" \
    "$(step selectall); $(step scroll); peak memory $(memory VmHWM "$pid"); $(step close)"
fi
wine_run reg delete 'HKCU\Software\Tarnwell\Kelvaro' /f >/dev/null 2>&1 || true

wanted costs || exit 0
echo "the delete's parts under Wine, per file:"
mkdir -p "$work/costs/xdg" "$work/costs/files"
XDG_DATA_HOME=$work/costs/xdg wine_run "$windows/delete_costs.exe" "$(windows_path "$work/costs/files")" 1000 |
    tr -d '\r'
