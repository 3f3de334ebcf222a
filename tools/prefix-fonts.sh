#!/usr/bin/env bash
# Copies Wine's own fonts (MS Sans Serif, Small Fonts, Tahoma, Marlett for the caption buttons, ...)
# into a prefix's windows\Fonts folder, leaving any file already there alone:
#   prefix-fonts.sh PREFIX_DIR
# Debian's Wine ships them in the fonts-wine package (/usr/share/wine/fonts) but never finds them: it
# appends the font folder to its data folder only after turning that folder into a Windows path, and
# the folder it appends is the Unix-style "../fonts", so it looks for a name "../fonts" inside
# Z:\usr\share\wine and finds nothing. Every face then falls back to a scaled Linux font. A font in the
# prefix's own windows\Fonts folder is found on every Wine, so that is where they go.
set -u
prefix=$1
source=${KELVARO_WINE_FONTS:-/usr/share/wine/fonts}
fonts=$prefix/drive_c/windows/Fonts

[ -d "$source" ] && [ -d "$prefix/drive_c/windows" ] || exit 0
mkdir -p "$fonts"
# Wine looks names up without regard to case: a font the prefix holds under another case stays.
declare -A held
for font in "$fonts"/*; do
    name=${font##*/}
    held[${name,,}]=1
done
for font in "$source"/*.ttf "$source"/*.fon; do
    name=${font##*/}
    [ -e "$font" ] && [ -z "${held[${name,,}]:-}" ] || continue
    cp "$font" "$fonts/"
done
exit 0
