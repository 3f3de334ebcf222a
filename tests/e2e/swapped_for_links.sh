#!/usr/bin/env bash
# End to end: files swapped for links while Kelvaro.exe "-a" deletes them, in both Recycle Bin modes.
# A rule lists 300 old files; once the delete has begun, swap_in_links replaces files just ahead of it
# with Linux links to victims outside the rule's tree (files of the same size and time, and folders
# holding files). No victim may be touched or reach the Trash, every link stays, no record line names a
# swapped file, and each other file is either deleted with one record line or kept untouched.
#   swapped_for_links.sh WINDOWS_BUILD_DIR
set -u
source "$(dirname "$0")/common.sh" "$1" e2e-swapped-for-links
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
count=300

mkdir -p "$work"
swapper=$work/swap_in_links
g++ -std=c++17 -O2 -o "$swapper" "$here/swap_in_links_posix.cpp" || fail "cannot build swap_in_links"
record=$(record_file)
[ -n "$record" ] || fail "no application-data folder"

# Fails once for a list of names, naming how many and the first few.
fail_names() {
    local message=$1
    shift
    [ $# -eq 0 ] || fail "$message $# (${*:1:8}$([ $# -gt 8 ] && echo ' ...'))"
}

run_mode() {
    local recycle=$1 base=$work/recycle-$1
    local folder=$base/files victims=$base/victims saved=$base/saved xdg=$base/xdg what="Recycle $1:"
    rm -rf "$base"
    mkdir -p "$folder" "$victims" "$saved" "$xdg"
    local i k when
    when=$(date -d '60 days ago' '+%Y%m%d%H%M.%S')
    for i in $(seq -f '%03g' 0 $((count - 1))); do
        echo "f$i" >"$folder/f$i.tmp"
        echo "v$i" >"$victims/v$i.tmp"
    done
    for k in 0 1 2 3 4; do
        mkdir -p "$victims/d$k"
        for i in 1 2 3; do echo "d$k/$i" >"$victims/d$k/$i.tmp"; done
    done
    find "$folder" "$victims" -exec touch -h -t "$when" {} +
    import_rules "$recycle" "$folder|*.tmp|> 30 Days|"
    rm -f "$record" "$record.1"

    nice -n -10 "$swapper" "$folder" $count "$victims" "$saved" "$base/stop" >"$base/swaps" &
    local swapping=$!
    run_automatic "$xdg"
    touch "$base/stop"
    wait "$swapping"

    local swaps
    swaps=$(awk '$1 == "swaps" { print $2 }' "$base/swaps")
    echo "$what $swaps files swapped for links"
    [ "${swaps:-0}" -ge 20 ] || fail "$what only ${swaps:-0} swaps: the run was not caught deleting"

    # The victims, each with its content.
    local -a touched=() relinked=() recorded=() lost=() miscounted=() changed=() trashed=()
    for i in $(seq -f '%03g' 0 $((count - 1))); do
        [ "$(cat "$victims/v$i.tmp" 2>/dev/null)" = "v$i" ] || touched+=("v$i.tmp")
    done
    for k in 0 1 2 3 4; do
        for i in 1 2 3; do
            [ "$(cat "$victims/d$k/$i.tmp" 2>/dev/null)" = "d$k/$i" ] || touched+=("d$k/$i.tmp")
        done
    done
    # Each swapped file: the link still in its place, no record line, its content kept aside.
    local name deleted=0 kept=0
    for name in $(awk '$1 == "swapped" { print $2 }' "$base/swaps"); do
        [ -L "$folder/$name" ] || relinked+=("$name")
        grep -qiF "\\$name"$'\t' "$record" 2>/dev/null && recorded+=("$name")
        [ "$(cat "$saved/$name")" = "${name%.tmp}" ] || lost+=("$name")
    done
    # Every other file: deleted with one line, or kept as it was with none.
    for i in $(seq -f '%03g' 0 $((count - 1))); do
        name=f$i.tmp
        grep -qx "swapped $name" "$base/swaps" && continue
        local lines
        lines=$(grep -ciF "\\$name"$'\t' "$record" 2>/dev/null)
        if [ -e "$folder/$name" ] || [ -L "$folder/$name" ]; then
            kept=$((kept + 1))
            [ "$lines" = 0 ] || miscounted+=("$name")
            [ "$(cat "$folder/$name")" = "f$i" ] && [ ! -L "$folder/$name" ] || changed+=("$name")
        else
            deleted=$((deleted + 1))
            [ "$lines" = 1 ] || miscounted+=("$name")
        fi
    done
    echo "$what of the others $deleted deleted, $kept kept"
    # The Trash: only plain files that were not swapped, each with its own content.
    local entry
    for entry in "$xdg"/Trash/files/*; do
        [ -e "$entry" ] || [ -L "$entry" ] || continue
        name=$(basename "$entry")
        if [ -L "$entry" ] || [ ! -f "$entry" ] || ! grep -qx "f[0-9]*" "$entry" ||
            grep -qx "swapped $(head -1 "$entry").tmp" "$base/swaps"; then
            trashed+=("$name")
        fi
    done
    fail_names "$what victims touched:" "${touched[@]}"
    fail_names "$what links that replaced a listed file gone:" "${relinked[@]}"
    fail_names "$what record lines naming a swapped file:" "${recorded[@]}"
    fail_names "$what swapped files whose content was lost:" "${lost[@]}"
    fail_names "$what other files not recorded exactly as deleted or kept:" "${miscounted[@]}"
    fail_names "$what other files kept but changed:" "${changed[@]}"
    fail_names "$what in the Trash, a link, a folder or what a link led to:" "${trashed[@]}"
    [ "$recycle" = 1 ] || [ -z "$(ls -A "$xdg/Trash/files" 2>/dev/null)" ] ||
        fail "$what Recycle Bin off, yet the Trash holds files"
}

for recycle in 1 0; do run_mode "$recycle"; done

finish "files swapped for links"
