#!/usr/bin/env bash
# End to end: one window at a time. A second interactive start ends at once and brings the first window to
# the front, restored; the first window then saves the rule added in it. An automatic run beside a window
# still runs, but leaves the rules to the window, even when it closes after it. An interactive start during
# an automatic run brings that run's window forward, and the window stays open when the run has deleted.
# Two starts at once make one window.
#   one_window.sh WINDOWS_BUILD_DIR
set -u
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
source "$(dirname "$0")/common.sh" "$1" e2e-one-window

rm -rf "$work"
mkdir -p "$work/tree" "$work/other" "$work/xdg"
ask() { XDG_DATA_HOME=$work/xdg wine_run "$build/drive_program.exe" "$@" 2>/dev/null | tr -d '\r'; }
start() { XDG_DATA_HOME=$work/xdg timeout 60 "$tools/wine-run.sh" "$prefix" "$build/Kelvaro.exe" "$@" >/dev/null 2>&1; }
files_value() {
    reg_listing 'HKCU\Software\Tarnwell\Kelvaro\Files' /v "$1" | awk -v name="$1" '$1 == name { print $3 }'
}
# 150 files: with no history of automatic runs the guard asks before deleting them.
make_many() { for i in $(seq 1 150); do : >"$work/tree/f$i.tmp"; done; }
left() { find "$work/tree" -type f | wc -l; }

touch "$work/tree/a.tmp" "$work/tree/b.tmp"
import_rules 1 "$work/tree|*.tmp||"

# A window, with a rule only it knows so far.
start &
first=$!
ask add-rule "$(windows_path "$work/other")" '*.bak' || fail "no rule was added through the editor"
pid=$(ask windows | awk '{ print $1 }')
ask minimise >/dev/null

began=$(date +%s)
start
rc=$?
[ $rc -eq 0 ] || fail "the second start ended with $rc (124: it did not end)"
[ $(($(date +%s) - began)) -le 5 ] || fail "the second start took more than 5 s to end"
windows=$(ask windows)
[ "$windows" = "$pid shown front" ] ||
    fail "after the second start the main windows are '$windows', not the first one alone, restored, in front"

# "-a" beside the window runs and deletes as always (the history lets two files go without a question).
run_automatic "$work/xdg"
[ "$(left)" -eq 0 ] || fail "the automatic run beside the window left its files"

# "-a" beside the window, held by the guard's question until the window has closed and saved the new rule:
# its own close must not write back the rules it read before.
wine_run reg delete 'HKCU\Software\Tarnwell\Kelvaro\History' /f >/dev/null 2>&1
make_many
start -a &
automatic=$!
ask answer none >/dev/null || fail "the automatic run beside the window did not ask"
ask close "$pid" || fail "the first window did not close"
wait "$first" || fail "the first window's program ended with $?"
ask answer no >/dev/null || fail "the question could not be answered"
ask close || fail "the automatic run's window did not close"
wait "$automatic" || fail "the automatic run beside the window ended with $?"
[ "$(files_value Count)" = 2 ] && [ "$(files_value Spec2)" = '*.bak' ] ||
    fail "the rule added in the window is lost (Count '$(files_value Count)', Spec2 '$(files_value Spec2)')"

# An interactive start while an automatic run asks: that run's window comes forward, and stays open for
# the user once the run has deleted.
start -a &
automatic=$!
ask answer none >/dev/null || fail "the automatic run did not ask"
start || fail "the start during the automatic run ended with $?"
[ "$(ask windows | wc -l)" -eq 1 ] || fail "a second window came up during the automatic run"
ask answer yes >/dev/null || fail "the question could not be answered"
for _ in $(seq 50); do [ "$(left)" -eq 0 ] && break; sleep 0.2; done
[ "$(left)" -eq 0 ] || fail "the automatic run did not delete after Yes"
sleep 1
[ "$(ask windows | wc -l)" -eq 1 ] || fail "the automatic run's window closed although it was asked for"
ask close || fail "the automatic run's window did not close"
wait "$automatic" || fail "the automatic run ended with $?"

# Two starts at once, as a double click given twice: whichever makes its window first keeps it.
start &
one=$!
start &
two=$!
for _ in $(seq 50); do kill -0 $one 2>/dev/null && kill -0 $two 2>/dev/null || break; sleep 0.2; done
sleep 1
[ "$(ask windows | wc -l)" -eq 1 ] || fail "two starts at once made $(ask windows | wc -l) windows"
ask close || fail "the window of two starts at once did not close"
wait $one || fail "one of two starts at once ended with $?"
wait $two || fail "one of two starts at once ended with $?"

finish "one window at a time"
