#!/usr/bin/env bash
# Starts Kelvaro.exe under Wine. With a display, until the program ends. Without one, on a virtual
# display: waits for the main window, saves a screenshot, then closes the program.
#   run-program.sh WINDOWS_BUILD_DIR [program arguments...]
# It runs in the build's own prefix, or in the one WINEPREFIX names (`make run WINEPREFIX=~/.wine`);
# either gets Wine's own fonts first (tools/prefix-fonts.sh).
set -u
build=$(cd "$1" && pwd)
shift
tools=$(cd "$(dirname "$0")" && pwd)
prefix=${WINEPREFIX:-$build/wineprefix}
case $prefix in /*) ;; *) prefix=$PWD/$prefix ;; esac
exe=$build/Kelvaro.exe

# The help file lies beside the program and is found from the working folder.
cd "$build" || exit
if [ -n "${DISPLAY:-}" ]; then
    exec "$tools/wine-run.sh" "$prefix" "$exe" "$@"
fi

shot=$build/../screenshot.png
exec xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    tools=$1 prefix=$2 exe=$3 shot=$4
    shift 4
    "$tools/wine-run.sh" "$prefix" "$exe" "$@" &
    program=$!
    export WINEPREFIX=$prefix
    # Wait until the main window is up and painted.
    for _ in $(seq 100); do
        xwininfo -root -tree 2>/dev/null | grep -q "\"Kelvaro for Windows 95\"" && break
        sleep 0.2
    done
    sleep 1
    import -window root "$shot"
    echo "Screenshot: $(realpath "$shot")"
    # Close it the way a user would (WM_CLOSE); force it only if it does not end.
    WINEDEBUG=-all wine taskkill /im Kelvaro.exe >/dev/null 2>&1
    for _ in $(seq 50); do kill -0 $program 2>/dev/null || break; sleep 0.2; done
    if kill -0 $program 2>/dev/null; then
        echo "Kelvaro did not close; stopping it." >&2
        wineserver -k
    fi
    wait $program
    rc=$?
    wineserver -w
    exit $rc
' run-program "$tools" "$prefix" "$exe" "$shot" "$@"
