#!/usr/bin/env bash
# Prints every include in src/ that looks up or sideways: a folder includes only from itself and the
# folders below it (app -> rules, run -> search, shell -> widgets -> ui -> platform -> base; folders on one
# step do not include each other). Prints nothing and exits 0 when all look down.
#   tools/check-layers.sh
set -u
cd "$(dirname "$0")/../src" || exit 2
rank() {
    case $1 in
        app) echo 5 ;;
        rules | run) echo 4.5 ;;
        search | shell) echo 4 ;;
        widgets) echo 3 ;;
        ui) echo 2 ;;
        platform) echo 1 ;;
        base) echo 0 ;;
        *) echo -1 ;;
    esac
}
status=0
while IFS= read -r line; do
    file=${line%%:*}
    from=${file%%/*}
    included=${line#*#include \"}
    to=${included%%/*}
    [ "$to" = "$from" ] && continue
    from_rank=$(rank "$from")
    to_rank=$(rank "$to")
    if awk -v from="$from_rank" -v to="$to_rank" 'BEGIN { exit !(from < 0 || to < 0 || to >= from) }'; then
        echo "src/$file includes $to/${included#*/}" | sed 's/"$//'
        status=1
    fi
done < <(grep -rHo '#include "[a-z_]*/[^"]*"' -- */)
exit $status
