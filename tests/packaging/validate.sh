#!/bin/sh
# validate.sh SOURCE_DIR CONFIGURED_DIR: checks the files the package installs with the tools the
# desktops and software centres use. Exit 77 (skipped) when those tools are missing.
set -eu
source_dir="$1"
configured_dir="$2"
if ! command -v desktop-file-validate >/dev/null || ! command -v appstreamcli >/dev/null; then
    echo "desktop-file-validate or appstreamcli missing (desktop-file-utils, appstream): skipped"
    exit 77
fi
desktop-file-validate "$source_dir/tessaly.desktop"
appstreamcli validate --no-net "$configured_dir"/*.metainfo.xml
grep -q '^Categories=AudioVideo;Utility;$' "$source_dir/tessaly.desktop"
grep -q '^Name\[zh_CN\]=' "$source_dir/tessaly.desktop"
# Each PNG icon at the size its name says (width and height from the PNG header).
for size in 48 256; do
    dimensions="$(od -An -tu1 -j16 -N8 "$source_dir/icons/tessaly-$size.png" |
        awk '{ print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8 }')"
    [ "$dimensions" = "${size}x${size}" ] || { echo "tessaly-$size.png is $dimensions"; exit 1; }
done
if command -v groff >/dev/null; then
    for page in "$configured_dir"/man/*.1; do
        warnings="$(groff -man -Tutf8 -ww -z "$page" 2>&1)"
        [ -z "$warnings" ] || { echo "$page: $warnings"; exit 1; }
    done
fi
echo "packaging files valid"
