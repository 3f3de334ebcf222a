#!/usr/bin/env bash
# Makes, with Linux tools, the parts of the Windows tests' tree that Windows calls cannot make:
# symbolic links (loops, a way out of the tree, a dangling one), names outside the ANSI code page,
# paths longer than MAX_PATH, and a file dated before 1980.
set -eu
dir=$1
rm -rf "$dir"
mkdir -p "$dir/tree/sub" "$dir/outside" "$dir/names" "$dir/dates"

echo a >"$dir/tree/a.tmp"
echo b >"$dir/tree/sub/b.tmp"
ln -s .. "$dir/tree/sub/loop"
ln -s . "$dir/tree/sub/self"
ln -s ../outside "$dir/tree/out"
ln -s nowhere "$dir/tree/dangling.tmp"
echo victim >"$dir/outside/victim.tmp"

# "Ω" would come back from the "A" search as "O" by best fit, and "日本" as "??".
echo omega >"$dir/names/Ω.tmp"
echo japanese >"$dir/names/日本.tmp"
echo real-o >"$dir/names/O.tmp"
echo plain >"$dir/names/plain.tmp"

long=$dir/long/$(printf 'a%.0s' $(seq 100))/$(printf 'b%.0s' $(seq 100))/$(printf 'c%.0s' $(seq 100))
mkdir -p "$long"
echo deep >"$long/deep.tmp"
echo short >"$dir/long/short.tmp"

echo old >"$dir/dates/old.tmp"
touch -d @0 "$dir/dates/old.tmp"
