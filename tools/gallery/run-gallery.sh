#!/usr/bin/env bash
# Runs StyleGallery under Wine into a folder and adds a PNG beside each BMP
# sheet where ImageMagick is at hand: run-gallery.sh <StyleGallery.exe> <folder>
set -euo pipefail
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
out=$2
here=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$out"
cd "$out"
rm -f -- *.bmp *.png
"$here/cmake/wine-run.sh" "$exe"
ls -- *.bmp >/dev/null
if command -v convert >/dev/null 2>&1; then
  for sheet in *.bmp; do convert "$sheet" "${sheet%.bmp}.png"; done
fi
