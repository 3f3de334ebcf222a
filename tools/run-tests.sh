#!/usr/bin/env bash
# Runs the tests of every build (or of the builds named) in one ctest run, under one virtual display
# and one kept-alive Wine server when no display is set.
#   run-tests.sh BUILD_DIR [native] [native-asan] [native-threads] [fuzz] [windows]
set -u
build=$(cd "$1" && pwd)
shift
builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=(native native-asan native-threads fuzz windows)

{
    echo "# The builds' tests, made by tools/run-tests.sh"
    for b in "${builds[@]}"; do echo "subdirs(\"$b\")"; done
} >"$build/CTestTestfile.cmake"

cleanup() {
    if [ -d "$build/windows/wineprefix" ]; then WINEPREFIX="$build/windows/wineprefix" wineserver -k 2>/dev/null; fi
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
    return 0
}
trap cleanup EXIT

if [[ " ${builds[*]} " == *" windows "* ]]; then
    if [ -z "${DISPLAY:-}" ]; then
        for n in $(seq 90 130); do
            [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
            Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
            xvfb_pid=$!
            export DISPLAY=":$n"
            break
        done
        for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.1; done
    fi
    # Make the prefix once, then keep its server and its desktop running between tests
    # (tools/hold_desktop_win.cpp says why the desktop).
    "$(dirname "$0")/wine-run.sh" "$build/windows/wineprefix" cmd /c exit 0 >/dev/null 2>&1
    WINEPREFIX="$build/windows/wineprefix" wineserver -p
    if [ -f "$build/windows/hold_desktop.exe" ]; then
        "$(dirname "$0")/wine-run.sh" "$build/windows/wineprefix" "$build/windows/hold_desktop.exe" \
            </dev/null >/dev/null 2>&1 &
        for _ in $(seq 100); do pgrep -f 'explorer.exe /desktop' >/dev/null && break; sleep 0.1; done
    fi
fi

cd "$build" && ctest --output-on-failure -j 2 --timeout 300
