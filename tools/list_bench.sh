#!/usr/bin/env bash
# Times the results list of a whole Kelvaro process over a large tree, as a user meets it: Start until
# every file is listed, header clicks on Name, Ext, Location, Size, Date and Time (each twice: ascending,
# then reversed), Ctrl+A, twenty pages of scrolling, and closing the window; then the process's peak
# memory (VmHWM, read just before the close).
#   tools/list_bench.sh WINDOWS_BUILD_DIR TREE_DIR FILES [SCREENSHOT.png]
# TREE_DIR holds FILES files and nothing else (bench tree: build/native/make_bench_tree DIR FILES FOLDERS);
# the rule is "*.*" with subfolders. A screenshot of the sorted list is saved when a path is given.
set -eu
build=$(cd "$1" && pwd)
tree=$(cd "$2" && pwd)
files=$3
shot=${4:-}
tools=$(cd "$(dirname "$0")" && pwd)
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
prefix=$build/wineprefix
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
wine_run() { "$tools/wine-run.sh" "$prefix" "$@"; }
windows_path() { echo "Z:$1" | tr / '\\'; }

work=$(mktemp -d)
trap 'rm -rf "$work"; wineserver -k 2>/dev/null || true' EXIT
folder=$(windows_path "$tree" | sed 's/\\/\\\\/g')
wine_run reg delete 'HKCU\Software\Tarnwell\Kelvaro' /f >/dev/null 2>&1 || true
cat >"$work/rule.reg" <<REG
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Tarnwell\Kelvaro\Files]
"Count"="1"
"Path1"="$folder"
"Spec1"="*.*"
"Age1"="  "
"Size1"="  "
"Sub1"="Yes"
"Rmv1"=" "
REG
wine_run reg import "$(windows_path "$work/rule.reg")" >/dev/null 2>&1

kelvaro_pid() {
    local status
    for status in /proc/[0-9]*/status; do
        local pid=${status%/status}
        pid=${pid#/proc/}
        case $(head -zn1 "/proc/$pid/cmdline" 2>/dev/null | tr -d '\0') in *Kelvaro.exe) ;; *) continue ;; esac
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix" && echo "$pid" && return
    done
}

(cd "$build" && wine Kelvaro.exe >/dev/null 2>&1 &)
step() { wine "$build/list_bench.exe" "$@" | tr -d '\r'; }
step start "$files"
pid=$(kelvaro_pid)
echo "listed: $(awk '/^VmRSS/ { printf "%.0f MB", $2 / 1024 }' "/proc/$pid/status") in use," \
    "$(awk '/^VmHWM/ { printf "%.0f MB", $2 / 1024 }' "/proc/$pid/status") at most so far"
for column in 0 1 2 3 4 5; do
    step click "$column"
    step click "$column"
done
step click 0
step selectall
step scroll
if [ -n "$shot" ]; then
    step click 1
    import -window root "$shot" 2>/dev/null || xwd -root -silent | convert xwd:- "$shot"
fi
echo "peak $(awk '/^VmHWM/ { printf "%.0f MB", $2 / 1024 }' "/proc/$pid/status")"
step close
