#!/usr/bin/env bash
# clang-tidy over every portable source with the checks of .clang-tidy: any finding fails the run.
#   check-tidy.sh SOURCE_DIR NATIVE_BUILD_DIR (one configured with compile commands)
set -eu
cd "$1"
mapfile -t sources < <(find src -name '*.cpp' ! -name '*_win.cpp' | sort)
clang-tidy -p "$2" --quiet "${sources[@]}" 2>/dev/null
