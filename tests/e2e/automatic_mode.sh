#!/usr/bin/env bash
# End to end: Kelvaro.exe itself, started under Wine with "-a" on a prepared registry and folder tree,
# must delete exactly the files its rules list (into the Trash when the Recycle Bin is on), leave
# everything else alone, close by itself and write its settings back. Old files whose Linux names a
# Win32 path would change stand beside new files their paths would reach, and an old link in the tree
# leads to a file outside it: neither the new files nor the link's target may be touched.
#   automatic_mode.sh WINDOWS_BUILD_DIR
set -u
source "$(dirname "$0")/common.sh" "$1" e2e-automatic
expect_gone() { [ ! -e "$1" ] || fail "$1 should have been deleted"; }
expect_kept() { [ -e "$1" ] || [ -L "$1" ] || fail "$1 should have been kept"; }

make_tree() {
    local tree=$1
    rm -rf "$tree"
    mkdir -p "$tree/sub" "$tree/Old.Files" "$tree/.hidden-folder" "$tree/target"
    for f in old.tmp sub/deep-old.tmp Old.Files/dotted.tmp .hidden-folder/hidden.tmp readonly.tmp .hidden-old.tmp; do
        echo "$f" >"$tree/$f"
        touch -d '40 days ago' "$tree/$f"
    done
    chmod 444 "$tree/readonly.tmp"
    echo new >"$tree/new.tmp"
    head -c 20000 /dev/zero >"$tree/big.dat"
    head -c 10 /dev/zero >"$tree/small.dat"
    head -c 20000 /dev/zero >"$tree/sub/big-in-sub.dat"
    echo target >"$tree/target/exists.txt"
    echo gone >"$tree/target/gone.txt"
    wine_run "$build/make_shortcut.exe" "$(windows_path "$tree/working.lnk")" \
        "$(windows_path "$tree/target/exists.txt")" >/dev/null 2>&1 || fail "cannot make working.lnk"
    wine_run "$build/make_shortcut.exe" "$(windows_path "$tree/broken.lnk")" \
        "$(windows_path "$tree/target/gone.txt")" >/dev/null 2>&1 || fail "cannot make broken.lnk"
    rm "$tree/target/gone.txt"
    # Working shortcuts to names the code page cannot hold: read through it they name "??\doc.txt"
    # and the look-alike "Omega".
    mkdir -p "$tree/target/日本" "$tree/target/Ωmega"
    echo target >"$tree/target/日本/doc.txt"
    LC_ALL=C.UTF-8 wine_run "$build/make_shortcut.exe" "$(windows_path "$tree/japanese.lnk")" \
        "$(windows_path "$tree/target/日本/doc.txt")" >/dev/null 2>&1 || fail "cannot make japanese.lnk"
    LC_ALL=C.UTF-8 wine_run "$build/make_shortcut.exe" "$(windows_path "$tree/omega.lnk")" \
        "$(windows_path "$tree/target/Ωmega")" >/dev/null 2>&1 || fail "cannot make omega.lnk"

    mkdir -p "$tree/look/x"
    for f in report.tmp notes.tmp x/y.tmp; do echo new >"$tree/look/$f"; done
    for f in 'report.tmp.' 'notes.tmp ' 'x\y.tmp'; do
        echo junk >"$tree/look/$f"
        touch -d '40 days ago' "$tree/look/$f"
    done
    local outside=$tree.outside
    rm -rf "$outside"
    mkdir -p "$outside"
    echo victim >"$outside/victim.tmp"
    touch -d '40 days ago' "$outside/victim.tmp"
    ln -s "$outside/victim.tmp" "$tree/sub/link-old.tmp"
}

set_rules() {
    local tree recycle key file
    tree=$(windows_path "$1" | sed 's/\\/\\\\/g')
    recycle=$2
    key='HKEY_CURRENT_USER\Software\Tarnwell\Kelvaro'
    file=$work/rules.reg
    wine_run reg delete 'HKCU\Software\Tarnwell\Kelvaro' /f >/dev/null 2>&1
    # Rule 1: old temporary files anywhere below the tree; rule 2: big data files in the tree itself;
    # rule 3: broken shortcuts; rule 4: every old file in the folder of look-alike names.
    cat >"$file" <<REG
Windows Registry Editor Version 5.00

[$key\Settings]
"Confirm"="0"
"Recycle"="$recycle"

[$key\Files]
"Count"="4"
"Path1"="$tree"
"Spec1"="*.tmp"
"Age1"="> 30 Days"
"Size1"="  "
"Sub1"="Yes"
"Rmv1"=" "
"Path2"="$tree"
"Spec2"="*.dat"
"Age2"="  "
"Size2"="> 10 KBytes"
"Sub2"=" "
"Rmv2"=" "
"Path3"="$tree"
"Spec3"="*.LNK"
"Age3"="  "
"Size3"="  "
"Sub3"=" "
"Rmv3"=" "
"Path4"="$tree\\\\look"
"Spec4"="*.*"
"Age4"="> 30 Days"
"Size4"="  "
"Sub4"="Yes"
"Rmv4"=" "
REG
    wine_run reg import "$(windows_path "$file")" >/dev/null 2>&1 || fail "cannot import the rules"
}

run_automatic() {
    local xdg=$1
    XDG_DATA_HOME=$xdg timeout 120 "$tools/wine-run.sh" "$prefix" "$build/Kelvaro.exe" -a >/dev/null 2>&1
    local rc=$?
    [ $rc -eq 0 ] || fail "Kelvaro -a ended with $rc (124: did not close by itself)"
}

check_tree() {
    local tree=$1
    expect_gone "$tree/old.tmp"
    expect_gone "$tree/sub/deep-old.tmp"
    expect_gone "$tree/.hidden-old.tmp"
    expect_gone "$tree/big.dat"
    expect_gone "$tree/broken.lnk"
    expect_kept "$tree/new.tmp"
    expect_kept "$tree/readonly.tmp"
    expect_kept "$tree/small.dat"
    expect_kept "$tree/sub/big-in-sub.dat"
    expect_kept "$tree/Old.Files/dotted.tmp"
    expect_kept "$tree/.hidden-folder/hidden.tmp"
    expect_kept "$tree/working.lnk"
    expect_kept "$tree/japanese.lnk"
    expect_kept "$tree/omega.lnk"
    expect_kept "$tree/target/exists.txt"
    for f in report.tmp 'report.tmp.' notes.tmp 'notes.tmp ' x/y.tmp 'x\y.tmp'; do
        expect_kept "$tree/look/$f"
    done
    [ "$(cat "$tree/look/x/y.tmp" 2>/dev/null)" = new ] || fail "look/x/y.tmp was changed"
    expect_kept "$tree/sub/link-old.tmp"
    local victim=$tree.outside/victim.tmp
    [ "$(cat "$victim" 2>/dev/null)" = victim ] || fail "the link's target outside was touched"
    [ "$(stat -c %Y "$victim" 2>/dev/null)" = "$victim_time" ] || fail "the link's target was changed"
}

for recycle in 1 0; do
    tree=$work/tree-$recycle
    xdg=$work/xdg-$recycle
    rm -rf "$xdg"
    mkdir -p "$xdg"
    make_tree "$tree"
    victim_time=$(stat -c %Y "$tree.outside/victim.tmp")
    set_rules "$tree" "$recycle"
    run_automatic "$xdg"
    check_tree "$tree"
    in_trash=$(ls "$xdg/Trash/files" 2>/dev/null | sort | tr '\n' ' ')
    if [ "$recycle" = 1 ]; then
        for f in old.tmp deep-old.tmp .hidden-old.tmp big.dat broken.lnk; do
            [ -e "$xdg/Trash/files/$f" ] || fail "$f not in the Trash (Trash holds: $in_trash)"
        done
        [ "$(ls -A "$xdg/Trash/files" | wc -l)" -eq 5 ] || fail "the Trash holds more than these: $in_trash"
    else
        [ -z "$in_trash" ] || fail "Recycle Bin off, yet the Trash holds: $in_trash"
    fi
    written=$(reg_listing 'HKCU\Software\Tarnwell\Kelvaro\Settings' /v Save | grep -c 'Save')
    [ "$written" -ge 1 ] || fail "settings were not written back at exit"
done

finish "automatic mode"
