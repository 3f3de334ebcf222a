#!/usr/bin/env bash
# End to end: the deletion record and the guard of automatic runs, through Kelvaro.exe "-a" itself.
# A first small run deletes silently and writes one record line per file; a later run twenty times
# larger asks first, and answered No keeps every file, leaves the window open and adds no history.
#   automatic_guard.sh WINDOWS_BUILD_DIR
set -u
source "$(dirname "$0")/common.sh" "$1" e2e-guard

tree=$work/tree
rm -rf "$tree"
mkdir -p "$tree"
key='HKEY_CURRENT_USER\Software\Tarnwell\Kelvaro'
wine_run reg delete 'HKCU\Software\Tarnwell\Kelvaro' /f >/dev/null 2>&1
printf 'Windows Registry Editor Version 5.00\n\n[%s\\Settings]\n"Confirm"="0"\n"Recycle"="0"\n\n' "$key" >"$work/rules.reg"
printf '[%s\\Files]\n"Count"="1"\n"Path1"="%s"\n"Spec1"="*.tmp"\n"Sub1"="Yes"\n' \
    "$key" "$(windows_path "$tree" | sed 's/\\/\\\\/g')" >>"$work/rules.reg"
wine_run reg import "$(windows_path "$work/rules.reg")" >/dev/null 2>&1 || fail "cannot import the rules"

record=$(record_file)
[ -n "$record" ] || fail "no application-data folder"
rm -f "$record" "$record.1"

# A first small run: ten files, deleted without a question.
for i in $(seq 1 10); do echo "$i" >"$tree/small$i.tmp"; done
timeout 120 "$tools/wine-run.sh" "$prefix" "$build/Kelvaro.exe" -a >/dev/null 2>&1 || fail "the first run did not close by itself"
[ -z "$(ls "$tree")" ] || fail "the first run kept files: $(ls "$tree")"
lines=$(grep -c $'\tdeleted\t[0-9]*\t.*\\\\small[0-9]*\\.tmp\trule 1\tauto\tcleanup [-0-9]*\r$' "$record" 2>/dev/null)
[ "$lines" = 10 ] || fail "the record holds $lines lines of the ten files: $(cat "$record" 2>/dev/null)"
echo "record after the first run:"
head -3 "$record" | tr -d '\r'
[ "$(history_value Files1)" = 10 ] || fail "the first run's count is not in the history"

# A later run twenty times larger: asks, and No keeps every file.
for i in $(seq 1 200); do echo "$i" >"$tree/large$i.tmp"; done
run_automatic_answering
case $answer in *"200 files"*"at most 10 files"*) ;; *) fail "the question does not name both figures" ;; esac
case $answer in *"while asking: window shown"*) ;; *) fail "the window is not shown while the question is asked" ;; esac
case $answer in *"after No: rows: 200, window shown"*) ;; *) fail "after No the window does not show the list" ;; esac
[ "$(ls "$tree" | wc -l)" = 200 ] || fail "No did not keep every file ($(ls "$tree" | wc -l) left)"
[ "$(wc -l <"$record")" = 10 ] || fail "the refused run wrote to the record"
[ "$(history_value Files1)" = 10 ] && [ -z "$(history_value Files2)" ] || fail "the refused run went into the history"

finish "automatic guard and record"
