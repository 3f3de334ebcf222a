#!/usr/bin/env bash
# End to end: the setup program and its uninstaller in a fresh Wine prefix. An older setup is installed
# silently and rules are added; the current one, started while Kelvaro runs, closes it and upgrades in
# place, keeping the rules. The files, Start menu shortcuts (their targets read back) and Add/Remove
# Programs values are checked; the program started from its Start menu shortcut shows its help and
# switches "Run at start-up" on. A silent uninstall then removes the program, its folder, the shortcuts,
# the start-up shortcut and the entry, and keeps the settings and the deletion record; a start-up shortcut
# to another installation is never removed.
#   setup_program.sh WINDOWS_BUILD_DIR
set -u
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
source "$(dirname "$0")/common.sh" "$1" e2e-setup
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
rm -rf "$work" "$work.lock"
mkdir -p "$work"
prefix=$work/prefix
trap 'WINEPREFIX=$prefix wineserver -k 2>/dev/null; rm -rf "$work"' EXIT

version=$(cat "$build/version.txt")
bash "$here/../../setup/make-dist.sh" "$build" "$work/dist" >/dev/null || fail "cannot make the setup program"
bash "$here/../../setup/make-dist.sh" "$build" "$work/old" 0.9.0 >/dev/null || fail "cannot make an older setup"
setup=$work/dist/KelvaroSetup-$version.exe
[ -s "$setup" ] || { fail "no $setup"; finish setup_program; }
[ -s "$work/dist/Kelvaro-$version.zip" ] || fail "no Kelvaro-$version.zip"

ask() { wine_run "$build/drive_program.exe" "$@" 2>/dev/null | tr -d '\r'; }
# One value of a key; "$3", when given, is the key's whole listing read before (one wine start for all).
reg_value() {
    local listing=${3:-}
    [ -n "$listing" ] || listing=$(reg_listing "$1")
    awk -v name="$2" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }' <<<"$listing"
}
expect_equal() { [ "$2" = "$3" ] || fail "$1: '$2', expected '$3'"; }
# Until the key or the file is gone (an uninstaller works from a copy of itself and returns at once).
wait_gone() {
    local _
    for _ in $(seq 150); do
        if [ "$1" = key ]; then
            wine_run reg query "$2" >/dev/null 2>&1 || return 0
        else
            [ -e "$2" ] || return 0
        fi
        sleep 0.2
    done
}

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvaro'
folder='C:\Program Files\Kelvaro'
wine_run cmd /c exit >/dev/null 2>&1  # makes the prefix
drive_c=$prefix/drive_c
installed=$drive_c/Program\ Files/Kelvaro
menu=$drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Kelvaro
appdata=$(wine_run cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
startup=$(wine_run winepath -u "$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\Startup" 2>/dev/null | tr -d '\r')
record=$(wine_run winepath -u "$appdata\\Kelvaro\\Kelvaro.log" 2>/dev/null | tr -d '\r')

# The older version, then the user's rules.
wine_run "$work/old/KelvaroSetup-0.9.0.exe" /S >/dev/null 2>&1 || fail "the older setup failed"
expect_equal "older DisplayVersion" "$(reg_value "$uninstall_key" DisplayVersion)" 0.9.0
mkdir -p "$work/rule"
import_rules 1 "$work/rule|*.old|> 30 Days|"

# The current version over it, while the older program runs: asked to close, it saves and ends.
ask open "$(wine_run winepath -w "$menu/Kelvaro.lnk" 2>/dev/null | tr -d '\r')" >/dev/null ||
    fail "the older program did not start from its shortcut"
wine_run "$setup" /S >/dev/null 2>&1 || fail "the setup over the older version failed"
pgrep -f 'Program Files/Kelvaro/Kelvaro.exe|Kelvaro\\Kelvaro.exe' >/dev/null && fail "the running program was not closed"
expect_equal "DisplayVersion after the upgrade" "$(reg_value "$uninstall_key" DisplayVersion)" "$version"
expect_equal "rule kept by the upgrade" "$(reg_value 'HKCU\Software\Tarnwell\Kelvaro\Files' Spec1)" "*.old"

# What setup leaves.
# The same two files as the zip's.
mkdir -p "$work/zip"
(cd "$work/zip" && cmake -E tar xf "$work/dist/Kelvaro-$version.zip") || fail "cannot unpack the zip"
cmp -s "$installed/Kelvaro.exe" "$work/zip/Kelvaro.exe" || fail "Kelvaro.exe not installed"
cmp -s "$installed/Kelvaro.hlp" "$build/Kelvaro.hlp" || fail "Kelvaro.hlp not installed"
[ -f "$installed/Uninstall.exe" ] || fail "no uninstaller"
expect_equal "the program's version" "$(ask version "$folder\\Kelvaro.exe")" "$version $version"
shortcut=$(ask read "$(wine_run winepath -w "$menu/Kelvaro.lnk" 2>/dev/null | tr -d '\r')")
expect_equal "program shortcut" "$shortcut" "target=$folder\\Kelvaro.exe
arguments=
folder=$folder"
expect_equal "help shortcut" "$(ask read "$(wine_run winepath -w "$menu/Kelvaro Help.lnk" 2>/dev/null | tr -d '\r')" | head -1)" \
    "target=$folder\\Kelvaro.hlp"
entry=$(reg_listing "$uninstall_key")
expect_equal DisplayName "$(reg_value "$uninstall_key" DisplayName "$entry")" Kelvaro
expect_equal Publisher "$(reg_value "$uninstall_key" Publisher "$entry")" Tarnwell
expect_equal DisplayIcon "$(reg_value "$uninstall_key" DisplayIcon "$entry")" "$folder\\Kelvaro.exe,0"
expect_equal InstallLocation "$(reg_value "$uninstall_key" InstallLocation "$entry")" "$folder"
expect_equal UninstallString "$(reg_value "$uninstall_key" UninstallString "$entry")" "\"$folder\\Uninstall.exe\""
expect_equal QuietUninstallString "$(reg_value "$uninstall_key" QuietUninstallString "$entry")" "\"$folder\\Uninstall.exe\" /S"
expect_equal NoModify "$(reg_value "$uninstall_key" NoModify "$entry")" 0x1
expect_equal NoRepair "$(reg_value "$uninstall_key" NoRepair "$entry")" 0x1
size=$(reg_value "$uninstall_key" EstimatedSize "$entry")
[ $((size)) -gt 100 ] || fail "EstimatedSize '$size' KB"

# The program from its Start menu shortcut: its help, and the start-up shortcut switched on.
ask open "$(wine_run winepath -w "$menu/Kelvaro.lnk" 2>/dev/null | tr -d '\r')" >/dev/null ||
    fail "the program did not start from its shortcut"
ask command 221 >/dev/null || fail "Help > Contents not taken"
expect_equal "help window" "$(ask help-caption)" "Kelvaro Help"
ask command 214 >/dev/null || fail "Run At Win95 Boot not taken"
ask answer ok | grep -q "each time you log on" || fail "switching Run At Win95 Boot on said nothing"
expect_equal "start-up shortcut" "$(ask read "$(wine_run winepath -w "$startup/Kelvaro.lnk" 2>/dev/null | tr -d '\r')" | head -2)" \
    "target=$folder\\Kelvaro.exe
arguments=-a"
ask close >/dev/null || fail "the program did not close"
mkdir -p "$(dirname "$record")"
printf 'a line of the record\r\n' >>"$record"

# A silent uninstall.
wine_run "$installed/Uninstall.exe" /S >/dev/null 2>&1 || fail "the uninstaller failed"
wait_gone key "$uninstall_key"
wait_gone file "$installed"
WINEPREFIX=$prefix wineserver -w
[ ! -e "$installed" ] || fail "left behind: $(ls -A "$installed")"
[ ! -e "$menu" ] || fail "Start menu folder left behind"
[ ! -e "$startup/Kelvaro.lnk" ] || fail "start-up shortcut left behind"
wine_run reg query "$uninstall_key" >/dev/null 2>&1 && fail "uninstall entry left behind"
expect_equal "rule kept by the uninstall" "$(reg_value 'HKCU\Software\Tarnwell\Kelvaro\Files' Spec1)" "*.old"
[ -s "$record" ] || fail "the deletion record was removed"

# A start-up shortcut that starts another copy is not this installation's to remove.
wine_run "$setup" /S >/dev/null 2>&1 || fail "the second install failed"
wine_run "$build/make_shortcut.exe" "$(wine_run winepath -w "$startup/Kelvaro.lnk" 2>/dev/null | tr -d '\r')" \
    'C:\Other\Kelvaro.exe' >/dev/null 2>&1 || fail "cannot make a start-up shortcut to another copy"
wine_run "$installed/Uninstall.exe" /S >/dev/null 2>&1 || fail "the second uninstall failed"
wait_gone key "$uninstall_key"
WINEPREFIX=$prefix wineserver -w
[ -e "$startup/Kelvaro.lnk" ] || fail "the start-up shortcut of another copy was removed"

finish setup_program
