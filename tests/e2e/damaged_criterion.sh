#!/usr/bin/env bash
# End to end: Kelvaro.exe "-a" with Confirm Delete off, on a rule whose age cell was damaged by hand into
# a text the rule editor never writes. Read as "no criterion" it would delete every file of the folder;
# the run must stop instead, with the error box naming the rule and the cell, delete nothing (not even
# what a sound rule before it found), write no history or record, and leave the stored rule as it was.
#   damaged_criterion.sh WINDOWS_BUILD_DIR
set -u
source "$(dirname "$0")/common.sh" "$1" e2e-damaged

tree=$work/tree
rm -rf "$tree"
mkdir -p "$tree"
for f in new1.tmp new2.tmp; do echo new >"$tree/$f"; done
echo old >"$tree/old.bak"
touch -d '40 days ago' "$tree/old.bak"

key='HKEY_CURRENT_USER\Software\Tarnwell\Kelvaro'
path=$(windows_path "$tree" | sed 's/\\/\\\\/g')
wine_run reg delete 'HKCU\Software\Tarnwell\Kelvaro' /f >/dev/null 2>&1
# Rule 1 is sound and finds old.bak; rule 2 lost the blank of "> 30 Days".
cat >"$work/rules.reg" <<REG
Windows Registry Editor Version 5.00

[$key\Settings]
"Confirm"="0"
"Recycle"="0"

[$key\Files]
"Count"="2"
"Path1"="$path"
"Spec1"="*.bak"
"Age1"="> 30 Days"
"Size1"="  "
"Sub1"="Yes"
"Rmv1"=" "
"Path2"="$path"
"Spec2"="*.tmp"
"Age2"=">30 Days"
"Size2"="  "
"Sub2"="Yes"
"Rmv2"=" "
REG
wine_run reg import "$(windows_path "$work/rules.reg")" >/dev/null 2>&1 || fail "cannot import the rules"

appdata=$(wine_run cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
record=$(wine_run winepath -u "$appdata\\Kelvaro\\Kelvaro.log" 2>/dev/null | tr -d '\r')
[ -n "$record" ] && rm -f "$record" "$record.1"

run_automatic_answering
case $answer in *'rule 2 (folder "'*'", files "*.tmp"): its File Age ">30 Days"'*) ;;
    *) fail "the box does not name the rule and the cell" ;;
esac
case $answer in *"buttons: OK"*) ;; *) fail "the box is not the error box" ;; esac
for f in new1.tmp new2.tmp old.bak; do [ -e "$tree/$f" ] || fail "$f was deleted"; done
[ ! -s "$record" ] || fail "the stopped run wrote to the record: $(cat "$record")"
wine_run reg query 'HKCU\Software\Tarnwell\Kelvaro\History' >/dev/null 2>&1 && fail "the stopped run wrote a history"
stored=$(reg_listing 'HKCU\Software\Tarnwell\Kelvaro\Files' |
    awk '$1 ~ /^(Count|Age2|Spec2)$/ { print $1 "=" substr($0, index($0, "REG_SZ") + 10) }' | sort | tr '\n' ' ')
[ "$stored" = 'Age2=>30 Days Count=2 Spec2=*.tmp ' ] || fail "the stored rule changed: $stored"

finish "damaged criterion"
