#!/usr/bin/env bash
# End to end: File > Restore Last Clean-up... after Kelvaro.exe -a. An automatic run recycles 200 old
# files; one of their places is taken by a new file; the restore asks once, naming what comes back, brings
# back the other 199 with their content and times, leaves the one in the Recycle Bin, records each file
# that came back and says so in one box. After a permanent delete it says plainly that nothing can come
# back.
#   restore_cleanup.sh WINDOWS_BUILD_DIR
set -u
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
source "$(dirname "$0")/common.sh" "$1" e2e-restore
count=200
restore_command=206

rm -rf "$work"
mkdir -p "$work/tree" "$work/xdg"
record=$(record_file)
[ -n "$record" ] || fail "no application-data folder"
rm -f "$record" "$record.1"
ask() { XDG_DATA_HOME=$work/xdg wine_run "$build/drive_program.exe" "$@" 2>/dev/null | tr -d '\r'; }

when=$(date -d '60 days ago' '+%Y%m%d%H%M.%S')
for i in $(seq -f '%03g' 1 $count); do
    echo "file $i" >"$work/tree/f$i.tmp"
    touch -t "$when" "$work/tree/f$i.tmp"
done
stat -c '%n %s %Y' "$work"/tree/*.tmp >"$work/before"
import_rules 1 "$work/tree|*.tmp|> 30 Days|"
run_automatic "$work/xdg"
[ "$(find "$work/tree" -name '*.tmp' | wc -l)" -eq 0 ] || fail "the automatic run left files"
[ "$(find "$work/xdg/Trash/files" -type f | wc -l)" -eq $count ] || fail "not all $count files in the Trash"
echo new >"$work/tree/f007.tmp"

# The program, asked from its File menu.
XDG_DATA_HOME=$work/xdg wine_run "$build/Kelvaro.exe" >/dev/null 2>&1 &
program=$!
ask command $restore_command >/dev/null || fail "the Restore command was not taken"
question=$(ask answer yes)
echo "$question"
grep -q "^Restore 200 files (.*) deleted on $(date '+%Y-%m-%d') at [0-9][0-9]:[0-9][0-9] by an automatic run?$" \
    <<<"$question" || fail "question: $question"
grep -qx "buttons: Yes No" <<<"$question" || fail "the question's buttons: $question"
told=$(ask answer ok)
echo "$told"
grep -qx "199 files came back." <<<"$told" || fail "end box: $told"
grep -q "^1 file stayed in the Recycle Bin" <<<"$told" || fail "end box: $told"

stat -c '%n %s %Y' "$work"/tree/*.tmp >"$work/after"
diff <(grep -v f007 "$work/before") <(grep -v f007 "$work/after") >/dev/null ||
    fail "files not back as they were: $(diff <(grep -v f007 "$work/before") <(grep -v f007 "$work/after") | head -3)"
for i in 001 100 200; do
    [ "$(cat "$work/tree/f$i.tmp")" = "file $i" ] || fail "f$i.tmp lost its content"
done
[ "$(cat "$work/tree/f007.tmp")" = new ] || fail "the new f007.tmp was replaced"
[ -f "$work/xdg/Trash/files/f007.tmp" ] || fail "f007.tmp left the Recycle Bin"
[ "$(grep -c $'\trestored\t' "$record")" -eq 199 ] || fail "restored lines: $(grep -c $'\trestored\t' "$record")"

# Asked again, only the file still in the bin is offered.
ask command $restore_command >/dev/null || fail "the second Restore command was not taken"
again=$(ask answer no)
grep -q "^Restore 1 file (" <<<"$again" || fail "second question: $again"
ask close >/dev/null || fail "the program did not close"
wait $program

# A permanent delete: nothing to restore, said plainly.
for i in 1 2 3; do
    echo "gone $i" >"$work/tree/g$i.tmp"
    touch -t "$when" "$work/tree/g$i.tmp"
done
rm -f "$work"/tree/f*.tmp
import_rules 0 "$work/tree|g*.tmp|> 30 Days|"
run_automatic "$work/xdg"
XDG_DATA_HOME=$work/xdg wine_run "$build/Kelvaro.exe" >/dev/null 2>&1 &
program=$!
ask command $restore_command >/dev/null || fail "the Restore command was not taken"
nothing=$(ask answer ok)
echo "$nothing"
grep -q "deleted 3 files for good: nothing can be restored.$" <<<"$nothing" || fail "permanent: $nothing"
ask close >/dev/null || fail "the program did not close"
wait $program

finish restore_cleanup
