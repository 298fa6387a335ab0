#!/usr/bin/env bash
# pagecompare.sh <folder> [width]
#
# Renders every .htm/.html page of the folder with the built-in page view
# (PageRender.exe under Wine) and with headless Chromium at the same width,
# and writes one side-by-side sheet per page, built-in view left, to
# build/pagecompare/<page>.png, with an index.html listing them; the sheets
# of an earlier run are removed first.
# Installs Debian's chromium when it is missing, and builds PageRender.exe.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib.sh"

usage() { echo "usage: $0 <folder> [width]  (width 100-4000, default 800)" >&2; exit 2; }
[ $# -ge 1 ] && [ $# -le 2 ] || usage
folder=$1
width=${2:-800}
[[ "$width" =~ ^[0-9]+$ ]] && [ "$width" -ge 100 ] && [ "$width" -le 4000 ] || usage
[ -d "$folder" ] || { echo "pagecompare: no folder $folder" >&2; exit 2; }
folder=$(cd "$folder" && pwd)
max_height=8000

shopt -s nullglob nocaseglob
pages=("$folder"/*.htm "$folder"/*.html)
shopt -u nocaseglob
[ ${#pages[@]} -gt 0 ] || { echo "pagecompare: no .htm or .html page in $folder" >&2; exit 2; }

hv_install_missing
hv_install_packages chromium
hv_pick_arch
build="$HV_BUILD/win-$HV_ARCH"
hv_configure_windows "$HV_ARCH" "$build"
cmake --build "$build" --target PageRender -- -j2 >/dev/null
render="$build/bin/PageRender.exe"

hv_display
hv_wine_prefix

out="$HV_BUILD/pagecompare"
mkdir -p "$out"
# The folder holds the sheets of one run, as its index lists them.
rm -f "$out"/*.png "$out/index.html"
work=$(mktemp -d)
trap 'rm -rf "$work"; hv_stop_display' EXIT

# Wine sees the whole file system as drive Z:.
winpath() { local p; p=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); printf 'Z:%s' "${p//\//\\}"; }

# Spaces and other special characters in a name are escaped in the address.
file_uri() { python3 -c 'import pathlib, sys; print(pathlib.Path(sys.argv[1]).as_uri())' "$1"; }

done_pages=()
failed=0
for page in "${pages[@]}"; do
  base=$(basename "$page")
  name=${base//[^A-Za-z0-9._-]/_}
  hv_log "$base"
  rm -f "$work/builtin.png" "$work/chromium.png"
  if ! "$HV_WINE" "$render" "$(winpath "$page")" "$(winpath "$work/builtin.png")" \
      --width "$width" --max-height "$max_height" >/dev/null; then
    echo "pagecompare: the built-in view could not render $base" >&2
    failed=1
    continue
  fi
  # A window as tall as the tallest sheet; sheet.py cuts the empty rows
  # below the page.
  if ! chromium --headless --disable-gpu --no-sandbox --hide-scrollbars --force-device-scale-factor=1 \
      --user-data-dir="$work/profile" --window-size="$width,$max_height" \
      --screenshot="$work/chromium.png" "$(file_uri "$page")" >/dev/null 2>&1 || [ ! -s "$work/chromium.png" ]; then
    echo "pagecompare: Chromium could not render $base" >&2
    failed=1
    continue
  fi
  python3 "$here/sheet.py" compose --left "$work/builtin.png" --right "$work/chromium.png" \
    --out "$out/$name.png" --page "$base" --width "$width"
  done_pages+=("$name")
done
python3 "$here/sheet.py" index --out "$out/index.html" --width "$width" "${done_pages[@]}"
echo "pagecompare: ${#done_pages[@]} sheet(s) in $out (index.html)"
exit $failed
