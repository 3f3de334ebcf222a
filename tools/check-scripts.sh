#!/usr/bin/env bash
# Every shell script of the tree through shellcheck (warnings and errors), following what each sources.
#   check-scripts.sh SOURCE_DIR
set -eu
cd "$1"
mapfile -t scripts < <(find . \( -name build -o -name .git \) -prune -o -type f -name '*.sh' -print | sort)
shellcheck -x -P SCRIPTDIR -S warning "${scripts[@]}" .ci/run
