#!/usr/bin/env bash
# A mutation campaign over the page view's image path, under Wine:
#
#   tools/fuzz/image_campaign.sh [seconds] [first-seed]   (default 1800 s, seed 1)
#
# The imaging component exists only on Windows, so this is no libFuzzer
# target: pageview_image_tests mutates encoded PNG, JPEG, GIF, BMP, TIFF and
# ICO files itself, reads and draws each, and checks its bounds. The
# campaign runs it in rounds of HV_IMAGE_ROUND files (default 5,000), each
# round from the next seeds, at priority HV_FUZZ_NICE (default 19) until the
# time is up. A round that fails keeps its mutants folder (the file that
# brought the process down is the last one written) and its log in
# build/fuzz-campaign/images/. Prints files read, rounds and failures; exits
# non-zero when a round failed.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-1800}
seed=${2:-1}
round=${HV_IMAGE_ROUND:-5000}
niceness=${HV_FUZZ_NICE:-19}
source "$root/scripts/lib.sh"
hv_install_missing
hv_pick_arch
build="$HV_BUILD/win-$HV_ARCH"
hv_configure_windows "$HV_ARCH" "$build"
cmake --build "$build" --target pageview_image_tests -- -j2 >/dev/null
hv_display
hv_wine_prefix
out="$HV_BUILD/fuzz-campaign/images"
mkdir -p "$out"
temp="$WINEPREFIX/drive_c/users/$(id -un)/Temp"

end=$((SECONDS + seconds))
files=0 rounds=0 failed=0
rm -rf "$temp"/hv_image_mutations_*
while [ $SECONDS -lt $end ]; do
  log="$out/round-$seed.log"
  if HV_IMAGE_MUTATIONS=$round HV_IMAGE_SEED=$seed nice -n "$niceness" \
      "$root/cmake/wine-run.sh" "$build/tests/pageview/pageview_image_tests.exe" >"$log" 2>&1; then
    rm -f "$log"
  else
    failed=$((failed + 1))
    for left in "$temp"/hv_image_mutations_*; do
      [ -d "$left" ] && mv "$left" "$out/mutants-from-seed-$seed"
    done
    echo "round from seed $seed failed: $log"
  fi
  files=$((files + round))
  rounds=$((rounds + 1))
  seed=$((seed + round))
done
echo "image campaign: $files files in $rounds rounds, $failed failed rounds, next seed $seed"
[ "$failed" -eq 0 ]
