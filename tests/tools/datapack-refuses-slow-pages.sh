#!/bin/sh
# The packer itself lays each document's page out as the viewer would: `build` and `document`
# both refuse a page that would take too long to show.
# Usage: datapack-refuses-slow-pages.sh DATAPACK SOURCE_FOLDER BUILT_DATA_FOLDER WORK_FOLDER
set -eu
datapack=$1 source=$2 built=$3 work=$4
rm -rf "$work"
mkdir -p "$work"
cp -r "$source" "$work/source"
slow="$work/source/resources/Slow"
mkdir -p "$slow"
{
    printf '<p style="line-height:1000px">'
    yes 'x<br>' | head -n 10000 | tr -d '\n'
    printf '</p>'
} >"$slow/slow.html"

if "$datapack" build "$work/source" "$work/Data" >"$work/build.txt" 2>&1; then
    echo "datapack build packed a page that would take too long to show"
    exit 1
fi
grep "slow.html: the viewer would refuse the page: The page takes longer than [0-9.]* seconds to show\. Shorter text or less formatting would show in time\.$" "$work/build.txt"

if "$datapack" document "$built" "$slow" "$work/Slow.dat" >"$work/document.txt" 2>&1; then
    echo "datapack document packed a page that would take too long to show"
    exit 1
fi
grep "slow.html: the viewer would refuse the page: The page takes longer than [0-9.]* seconds to show\. Shorter text or less formatting would show in time\.$" "$work/document.txt"
[ ! -e "$work/Slow.dat" ]
