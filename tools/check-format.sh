#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from what .clang-format makes of it.
#   check-format.sh SOURCE_DIR
set -u
cd "$1" || exit 2
find src tests bench tools \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
    xargs -0 clang-format --dry-run -Werror
