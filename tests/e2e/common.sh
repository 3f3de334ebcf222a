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
