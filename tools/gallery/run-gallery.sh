#!/usr/bin/env bash
# Runs the gallery programs under Wine into a folder and adds a PNG beside
# each BMP sheet where ImageMagick is at hand:
#   run-gallery.sh <folder> <StyleGallery.exe> [<ControlsGallery.exe> ...]
set -euo pipefail
out=$1
shift
here=$(cd "$(dirname "$0")/../.." && pwd)
exes=()
for exe in "$@"; do exes+=("$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")"); done
mkdir -p "$out"
cd "$out"
rm -f -- *.bmp *.png
for exe in "${exes[@]}"; do "$here/cmake/wine-run.sh" "$exe"; done
ls -- *.bmp >/dev/null
if command -v convert >/dev/null 2>&1; then
  for sheet in *.bmp; do convert "$sheet" "${sheet%.bmp}.png"; done
fi
