#!/usr/bin/env bash
# Runs one Windows test executable under Wine for ctest:   wine-test.sh PREFIX_DIR test.exe [args...]
# Now and then Wine ends a program before it has started, with no output at all (seen once in a
# whole test run: a failure in 0.01 s, not one line printed). A test program always prints before it
# ends, so a run that failed without printing anything never ran: it is started once more, and the
# second run's outcome stands. Standard error joins standard output, as ctest shows them together.
set -u
here=$(cd "$(dirname "$0")" && pwd)
log=$(mktemp)
trap 'rm -f "$log"' EXIT

for attempt in 1 2; do
    "$here/wine-run.sh" "$@" 2>&1 | tee "$log"
    rc=${PIPESTATUS[0]}
    if [ "$rc" -eq 0 ] || [ -s "$log" ] || [ "$attempt" -eq 2 ]; then exit "$rc"; fi
    echo "wine-test.sh: Wine ended the program with code $rc before it printed anything; starting it again"
done
