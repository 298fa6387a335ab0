#!/usr/bin/env bash
# Runs the gallery programs under Wine into a folder and adds a PNG beside
# each BMP sheet where ImageMagick is at hand:
#   run-gallery.sh <folder> <StyleGallery.exe> [<ControlsGallery.exe> [style ...]]
# StyleGallery paints every style; ControlsGallery paints the styles named
# here, or every style without names. A run that hangs in the window system
# is tried once more.
set -euo pipefail
out=$1
shift
here=$(cd "$(dirname "$0")/../.." && pwd)
absolute() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
styleGallery=$(absolute "$1")
shift
controlsGallery=
if [ $# -gt 0 ]; then
  controlsGallery=$(absolute "$1")
  shift
fi
mkdir -p "$out"
cd "$out"
rm -f -- *.bmp *.png
"$here/cmake/wine-run.sh" "$styleGallery"
if [ -n "$controlsGallery" ]; then
  if [ $# -eq 0 ]; then set -- ""; fi
  for style in "$@"; do
    timeout 400 "$here/cmake/wine-run.sh" "$controlsGallery" $style ||
      timeout 400 "$here/cmake/wine-run.sh" "$controlsGallery" $style
  done
fi
ls -- *.bmp >/dev/null
if command -v convert >/dev/null 2>&1; then
  for sheet in *.bmp; do convert "$sheet" "${sheet%.bmp}.png"; done
fi
