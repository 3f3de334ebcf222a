#!/usr/bin/env bash
# Makes the two things a Windows user gets, from a Windows build that holds Kelvaro.exe, Kelvaro.hlp and
# version.txt (the project's version, written by CMake):
#   DIST/KelvaroSetup-<version>.exe   the setup program (setup/Kelvaro.nsi)
#   DIST/Kelvaro-<version>.zip        the program, its help and a read-me, to run from any folder
#   setup/make-dist.sh WINDOWS_BUILD_DIR DIST_DIR [VERSION]
# VERSION, when given, stands in for the build's own (the tests make an "older" setup with it).
set -euo pipefail
build=$(cd "$1" && pwd)
mkdir -p "$2"
dist=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
version=${3:-$(cat "$build/version.txt")}

# What a user gets: the program without the build's debugging information, its help, the read-me.
stage=$dist/.stage
rm -rf "$stage"
mkdir -p "$stage"
x86_64-w64-mingw32-strip -o "$stage/Kelvaro.exe" "$build/Kelvaro.exe"
cp "$build/Kelvaro.hlp" "$stage/"
# Windows' Notepad wants CR LF.
sed "s/@VERSION@/$version/; s/\$/\r/" "$here/ReadMe.txt" >"$stage/ReadMe.txt"

setup=$dist/KelvaroSetup-$version.exe
makensis -V2 -DVERSION="$version" -DPROGRAM_DIR="$stage" -DICON="$here/../res/main.ico" \
    -DOUTFILE="$setup" "$here/Kelvaro.nsi"

zip=$dist/Kelvaro-$version.zip
rm -f "$zip"
(cd "$stage" && cmake -E tar cf "$zip" --format=zip Kelvaro.exe Kelvaro.hlp ReadMe.txt)
rm -rf "$stage"
echo "$setup"
echo "$zip"
