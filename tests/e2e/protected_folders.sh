#!/usr/bin/env bash
# End to end: Kelvaro.exe "-a" with a rule over a tree that holds a protected folder (stored in other
# letter case, with a trailing separator) and files a protected specification matches: it deletes what the
# rule lists around them and nothing of theirs. Then, with the protected list damaged (an item its count
# names is missing), the run stops with a box that says why and deletes nothing.
#   protected_folders.sh WINDOWS_BUILD_DIR
set -u
source "$(dirname "$0")/common.sh" "$1" e2e-protected

tree=$work/tree
make_tree() {
    rm -rf "$tree"
    mkdir -p "$tree/sub" "$tree/keep/deep"
    for f in x.tmp sub/y.tmp keep/a.tmp keep/deep/b.tmp precious1.tmp sub/Precious2.tmp; do
        echo "$f" >"$tree/$f"
    done
}
protect() {
    wine_run reg delete 'HKCU\Software\Tarnwell\Kelvaro\Protected' /f >/dev/null 2>&1
    local n=0 item
    wine_run reg add 'HKCU\Software\Tarnwell\Kelvaro\Protected' /v Count /d "$1" /f >/dev/null 2>&1
    shift
    for item in "$@"; do
        n=$((n + 1))
        [ -n "$item" ] || continue
        wine_run reg add 'HKCU\Software\Tarnwell\Kelvaro\Protected' /v "Item$n" /d "$item" /f >/dev/null 2>&1 ||
            fail "cannot store Item$n"
    done
}
mkdir -p "$work"
kept_all() { for f in "$@"; do [ -e "$tree/$f" ] || fail "$f was deleted"; done; }

make_tree
import_rules 0 "$tree|*.tmp||Yes"
protect 2 "$(windows_path "$tree")\\KEEP\\" 'precious*.tmp'
run_automatic "$work/xdg"
for f in x.tmp sub/y.tmp; do [ ! -e "$tree/$f" ] || fail "$f should have been deleted"; done
kept_all keep/a.tmp keep/deep/b.tmp precious1.tmp sub/Precious2.tmp

make_tree
protect 2 'precious*.tmp' ''
run_automatic_answering
case $answer in *"protected folders cannot be read ('Item2' is missing)"*) ;;
    *) fail "the box does not say the protected list cannot be read" ;;
esac
kept_all x.tmp sub/y.tmp keep/a.tmp keep/deep/b.tmp precious1.tmp sub/Precious2.tmp

finish "protected folders"
