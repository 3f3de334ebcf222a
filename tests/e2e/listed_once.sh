#!/usr/bin/env bash
# End to end: Kelvaro.exe "-a" deletes each listed file once and nothing it did not list, in both Recycle
# Bin modes. Two cases of names that differ only in case (an old file beside a new twin, and beside two
# new twins) stand in a folder whose old files a rule lists: no twin may go, nor get a record line, while
# an ordinary old file beside them goes with one line. Files that two rules both find (the same folder
# twice, a folder and its parent searched with subfolders) go once, with one line each, and the history
# counts each file once.
#   listed_once.sh WINDOWS_BUILD_DIR
set -u
source "$(dirname "$0")/common.sh" "$1" e2e-listed-once

# Each case: its rules (as import_rules takes them, FOLDER below the case's tree), its files
# ("PATH DAYS_OLD") and which of them a run must delete; it must keep all the others.
declare -A rules files deleted
rules[twins]=".|*.tmp|> 30 Days|"
files[twins]="Report.tmp 60
REPORT.tmp 0
old.tmp 60"
deleted[twins]="old.tmp"

rules[three-twins]=".|*.tmp|> 30 Days|"
files[three-twins]="Report.tmp 60
REPORT.tmp 0
report.tmp 0
old.tmp 60"
deleted[three-twins]="old.tmp"

rules[found-twice]="same|*.tmp||
same|a?.tmp||
parent/inner|*.tmp||
parent|*.tmp||Yes"
files[found-twice]="same/a1.tmp 0
same/a2.tmp 0
same/other.tmp 0
parent/p.tmp 0
parent/inner/i1.tmp 0
parent/inner/i2.tmp 0"
deleted[found-twice]="same/a1.tmp
same/a2.tmp
same/other.tmp
parent/p.tmp
parent/inner/i1.tmp
parent/inner/i2.tmp"

record=$(record_file)
[ -n "$record" ] || fail "no application-data folder"

# Record lines naming the path, its case ignored.
record_lines() { grep -ciF "$(windows_path "$1")"$'\t' "$record" 2>/dev/null; }

run_case() {
    local name=$1 recycle=$2 tree=$work/$1-$2 xdg=$work/$1-$2.xdg
    local -a rule_rows=()
    local path days row expected_trash=""
    rm -rf "$tree" "$xdg"
    mkdir -p "$tree" "$xdg"
    while read -r path days; do
        mkdir -p "$(dirname "$tree/$path")"
        echo "$path" >"$tree/$path"
        touch -d "$days days ago" "$tree/$path"
    done <<<"${files[$name]}"
    while IFS= read -r row; do
        local folder=${row%%|*}
        [ "$folder" = . ] && folder=$tree || folder=$tree/$folder
        rule_rows+=("$folder|${row#*|}")
    done <<<"${rules[$name]}"
    import_rules "$recycle" "${rule_rows[@]}"
    rm -f "$record" "$record.1"

    run_automatic "$xdg"

    local what="$name, Recycle $recycle:" count=0
    while read -r path days; do
        local lines
        lines=$(record_lines "$tree/$path")
        if grep -qxF "$path" <<<"${deleted[$name]}"; then
            count=$((count + 1))
            expected_trash+="$(basename "$path")"$'\n'
            [ ! -e "$tree/$path" ] || fail "$what $path was kept"
            [ "$lines" = 1 ] || fail "$what $path has $lines record lines"
        else
            [ "$(cat "$tree/$path" 2>/dev/null)" = "$path" ] || fail "$what $path was deleted or changed"
            [ "$lines" = 0 ] || fail "$what $path (case ignored) has $lines record lines"
        fi
    done <<<"${files[$name]}"
    local files1 files2
    files1=$(history_value Files1)
    files2=$(history_value Files2)
    [ "$files1" = "$count" ] && [ "$files2" = 1000 ] ||
        fail "$what the history counts $files1 files (and before them $files2), not $count (and 1000)"
    local in_trash
    in_trash=$(ls -A "$xdg/Trash/files" 2>/dev/null | sort)
    if [ "$recycle" = 1 ]; then
        [ "$in_trash" = "$(sort <<<"${expected_trash%$'\n'}")" ] ||
            fail "$what the Trash holds: $(echo $in_trash)"
    else
        [ -z "$in_trash" ] || fail "$what Recycle Bin off, yet the Trash holds: $(echo $in_trash)"
    fi
    echo "$what record:"
    sed 's/^/    /' "$record" 2>/dev/null | tr -d '\r'
}

for name in twins three-twins found-twice; do
    for recycle in 1 0; do run_case "$name" "$recycle"; done
done

finish "listed files deleted once"
