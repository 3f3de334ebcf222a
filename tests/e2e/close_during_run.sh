#!/usr/bin/env bash
# End to end: Kelvaro.exe with "-a" on rules over a large tree, closed through its close box while the
# run is under way. The process must end within a second, delete nothing, scan no later rule and
# write its settings back.
#   close_during_run.sh WINDOWS_BUILD_DIR
set -u
source "$(dirname "$0")/common.sh" "$1" e2e-close

# 60,000 files in 300 folders: examining each of them six times takes seconds, far more than a
# close may.
big=$work/big
if [ ! -f "$big/.complete" ]; then
    rm -rf "$big"
    for d in $(seq 1 300); do
        mkdir -p "$big/d$d"
        (cd "$big/d$d" && touch $(seq -f 'f%g.dat' 1 200))
    done
    touch "$big/.complete"
fi
rm -rf "$work/small"
mkdir -p "$work/small"
echo first >"$work/small/first.tmp"
echo later >"$work/small/later.tmp"

tree=$(windows_path "$big" | sed 's/\\/\\\\/g')
small=$(windows_path "$work/small" | sed 's/\\/\\\\/g')
key='HKEY_CURRENT_USER\Software\Tarnwell\Kelvaro'
wine_run reg delete 'HKCU\Software\Tarnwell\Kelvaro' /f >/dev/null 2>&1
{
    printf 'Windows Registry Editor Version 5.00\n\n[%s\\Settings]\n"Confirm"="0"\n"Save"="2"\n\n' "$key"
    # Rule 1 finds first.tmp at once; rules 2 to 7 examine every file of the large tree and keep none;
    # rule 8 would find later.tmp.
    printf '[%s\\Files]\n"Count"="8"\n' "$key"
    n=0
    for rule in "$small|first.tmp|  " "$tree|*.*|> 99999 KBytes" "$tree|*.dat|> 99999 KBytes" \
        "$tree|*.*|> 88888 KBytes" "$tree|*.dat|> 88888 KBytes" "$tree|*.*|> 77777 KBytes" \
        "$tree|*.dat|> 77777 KBytes" "$small|later.tmp|  "; do
        n=$((n + 1))
        IFS='|' read -r path spec size <<<"$rule"
        printf '"Path%d"="%s"\n"Spec%d"="%s"\n"Size%d"="%s"\n"Sub%d"="Yes"\n' \
            "$n" "$path" "$n" "$spec" "$n" "$size" "$n"
    done
} >"$work/rules.reg"
wine_run reg import "$(windows_path "$work/rules.reg")" >/dev/null 2>&1 || fail "cannot import the rules"

timeout 120 "$tools/wine-run.sh" "$prefix" "$build/Kelvaro.exe" -a >/dev/null 2>&1 &
program=$!
timeout 120 "$tools/wine-run.sh" "$prefix" "$build/close_during_run.exe" 2>/dev/null | tr -d '\r'
closer=${PIPESTATUS[0]}
wait "$program"
case $closer in
    0) ;;
    1) fail "the process ended more than a second after the close" ;;
    2) fail "no run was seen" ;;
    *) fail "the process did not end after the close ($closer)" ;;
esac

[ -e "$work/small/first.tmp" ] || fail "first.tmp was deleted: a close must not go on to delete"
[ -e "$work/small/later.tmp" ] || fail "later.tmp was deleted: no later rule may be scanned"
saved=$(reg_listing 'HKCU\Software\Tarnwell\Kelvaro\Settings' /v Save |
    awk '$1 == "Save" { print $3 }')
[ "$saved" = "1" ] || fail "settings were not written back at the close (Save is '$saved')"

finish "close during a run"
