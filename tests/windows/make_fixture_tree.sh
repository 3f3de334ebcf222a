#!/usr/bin/env bash
# Makes, with Linux tools, the parts of the Windows tests' tree that Windows calls cannot make:
# symbolic links (loops, a way out of the tree, a dangling one, one to a file outside), names outside
# the ANSI code page, names a Win32 path would change, names differing only in case, paths longer than
# MAX_PATH, and a file dated before 1980.
# The long paths live under a short root of their own in /tmp, named in long-root.txt: below the
# tree itself their length would depend on where the checkout is.
set -eu
dir=$1
if [ -f "$dir/long-root.txt" ]; then
    old=$(cat "$dir/long-root.txt")
    case $old in /tmp/kelvaro-long.*) rm -rf "$old" ;; esac
fi
rm -rf "$dir"
mkdir -p "$dir/tree/sub" "$dir/outside" "$dir/names" "$dir/dates" "$dir/lookalikes/x" "$dir/lookalikes/sub." \
    "$dir/twins/Logs"

echo a >"$dir/tree/a.tmp"
echo b >"$dir/tree/sub/b.tmp"
ln -s .. "$dir/tree/sub/loop"
ln -s . "$dir/tree/sub/self"
ln -s ../outside "$dir/tree/out"
ln -s nowhere "$dir/tree/dangling.tmp"
echo victim >"$dir/outside/victim.tmp"
# A name asked for in another case than its entry's: Wine's look-up lands on it all the same.
mkdir -p "$dir/case"
echo twin >"$dir/case/REPORT.tmp"
ln -s ../outside/victim.tmp "$dir/tree/victim-link.tmp"

# Each junk name's Win32 path would reach the real file beside it (or, for the folder, its files).
for name in report.doc notes.txt x/y.txt; do echo real >"$dir/lookalikes/$name"; done
echo junk >"$dir/lookalikes/report.doc."
echo junk >"$dir/lookalikes/notes.txt "
echo junk >"$dir/lookalikes/x\\y.txt"
echo junk >"$dir/lookalikes/a:b.txt"
echo junk >"$dir/lookalikes/sub./inside.txt"

# "Ω" would come back from the "A" search as "O" by best fit, and "日本" as "??".
echo omega >"$dir/names/Ω.tmp"
echo japanese >"$dir/names/日本.tmp"
echo real-o >"$dir/names/O.tmp"
echo plain >"$dir/names/plain.tmp"

# Names that differ only in case: a Win32 path reaches either of them.
for name in Report.tmp REPORT.tmp é.tmp É.tmp report2.tmp logs Logs/in.tmp; do echo "$name" >"$dir/twins/$name"; done

root=$(mktemp -d /tmp/kelvaro-long.XXXXXX)
echo "$root" >"$dir/long-root.txt"
long=$root/$(printf 'a%.0s' $(seq 100))/$(printf 'b%.0s' $(seq 100))/$(printf 'c%.0s' $(seq 100))
mkdir -p "$long"
echo deep >"$long/deep.tmp"
echo short >"$root/short.tmp"

echo old >"$dir/dates/old.tmp"
touch -d @0 "$dir/dates/old.tmp"
