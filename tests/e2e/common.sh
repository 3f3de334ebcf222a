# shellcheck shell=bash
# What every end-to-end script shares; sourced with the Windows build folder as $1 and the script's
# own work folder name as $2.
build=$(cd "$1" && pwd)
tools=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools" && pwd)
prefix=$build/wineprefix
work=$build/$2
failures=0

wine_run() { "$tools/wine-run.sh" "$prefix" "$@"; }
windows_path() { echo "Z:$1" | tr / '\\'; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The closing line: what passed, or the exit code that fails the test.
finish() {
    if [ $failures -eq 0 ]; then
        echo "$1: all checks passed"
        exit 0
    fi
    exit 1
}

# The deletion record of the prefix's user, as a Unix path.
record_file() {
    local appdata
    appdata=$(wine_run cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
    wine_run winepath -u "$appdata\\Kelvaro\\Kelvaro.log" 2>/dev/null | tr -d '\r'
}

# A registry key, or with /v NAME one value of it, as `reg query` lists it. Now and then a `wine reg`
# prints nothing for a key that is there: it is asked again a few times before the key counts as absent.
reg_listing() {
    local listing try
    for try in 1 2 3 4 5; do
        listing=$(wine_run reg query "$@" 2>/dev/null | tr -d '\r')
        [ -n "$listing" ] && break
        [ "$try" = 5 ] || sleep 0.2
    done
    printf '%s\n' "$listing"
}

# One value of the history of automatic runs, empty when it is not there.
history_value() {
    reg_listing 'HKCU\Software\Tarnwell\Kelvaro\History' /v "$1" |
        awk -v name="$1" '$1 == name { print $3 }'
}

# Replaces the settings with automatic-run ones: no confirmation, the Recycle Bin on (1) or off (0), an
# earlier run of 1,000 files in the history (so that the guard lets runs of a few hundred files delete
# without asking) and the rules given as "FOLDER|SPEC|AGE|SUB": FOLDER a Unix path, AGE as the rule row
# shows it ("> 30 Days") or empty for none, SUB "Yes" to search the subfolders too.
import_rules() {
    local recycle=$1 key='HKEY_CURRENT_USER\Software\Tarnwell\Kelvaro' n=0 rule folder spec age sub
    shift
    {
        printf 'Windows Registry Editor Version 5.00\n\n[%s\\Settings]\n"Confirm"="0"\n"Recycle"="%s"\n\n' \
            "$key" "$recycle"
        printf '[%s\\History]\n"Files1"="1000"\n"Bytes1"="1073741824"\n\n' "$key"
        printf '[%s\\Files]\n"Count"="%d"\n' "$key" $#
        for rule in "$@"; do
            n=$((n + 1))
            IFS='|' read -r folder spec age sub <<<"$rule"
            [ -n "$age" ] || age='  '
            [ "$sub" = Yes ] || sub=' '
            printf '"Path%d"="%s"\n' "$n" "$(windows_path "$folder" | sed 's/\\/\\\\/g')"
            printf '"Spec%d"="%s"\n"Age%d"="%s"\n"Size%d"="  "\n' "$n" "$spec" "$n" "$age" "$n"
            printf '"Sub%d"="%s"\n"Rmv%d"=" "\n' "$n" "$sub" "$n"
        done
    } >"$work/rules.reg"
    wine_run reg delete 'HKCU\Software\Tarnwell\Kelvaro' /f >/dev/null 2>&1
    wine_run reg import "$(windows_path "$work/rules.reg")" >/dev/null 2>&1 || fail "cannot import the rules"
}

# Kelvaro.exe -a with a Trash of its own below the folder given; fails when it does not close by itself.
run_automatic() {
    XDG_DATA_HOME=$1 timeout 120 "$tools/wine-run.sh" "$prefix" "$build/Kelvaro.exe" -a >/dev/null 2>&1
    local rc=$?
    [ $rc -eq 0 ] || fail "Kelvaro -a ended with $rc (124: did not close by itself)"
}

# Kelvaro.exe -a whose run ends in one box, answered by answer_guard.exe (No to a question, OK to an
# error box), which then closes the window; sets answer to what it reported. Fails when no box came, the
# window did not close or the program did not end well.
run_automatic_answering() {
    timeout 120 "$tools/wine-run.sh" "$prefix" "$build/Kelvaro.exe" -a >/dev/null 2>&1 &
    local program=$! answered ended
    answer=$(timeout 120 "$tools/wine-run.sh" "$prefix" "$build/answer_guard.exe" 2>/dev/null | tr -d '\r')
    answered=${PIPESTATUS[0]}
    wait "$program"
    ended=$?
    echo "$answer"
    [ "$answered" = 0 ] || fail "no box came, or the window did not close after it ($answered)"
    [ "$ended" = 0 ] || fail "Kelvaro -a ended with $ended"
}
