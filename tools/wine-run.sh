#!/usr/bin/env bash
# Runs a Windows executable under Wine for tests and the program itself:
#   wine-run.sh PREFIX_DIR program.exe [args...]
# The prefix is private to the build folder and made once (serialised by a lock, since
# ctest may start several tests at once). Without an X display the run gets its own Xvfb.
# The exit code is the program's.
set -u
prefix=$1
shift

export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono/Gecko installers, and no desktop menu entries made for shortcuts the tests write.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
export WINEARCH=win64

mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
        wineboot -i >/dev/null 2>&1
        # No window manager runs on the virtual display: Wine draws the frames itself, and does not
        # wait (2 s each time) for a manager to withdraw a window that is hidden or destroyed.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
        wineserver -w
    fi
    # Also into a prefix made before, or made by someone else.
    "$(dirname "$0")/prefix-fonts.sh" "$prefix"
) 9>"$prefix.lock"

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" sh -c 'wine "$@"; rc=$?; wineserver -w; exit $rc' wine-run "$@"
fi
wine "$@"
