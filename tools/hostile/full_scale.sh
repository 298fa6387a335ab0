#!/usr/bin/env bash
# The hostile sets at their full sizes (a 100 MB index, 250,000 topics, a
# 50 MB page, 100,000 nested elements, a 10,000 x 10 table, ...) in a folder
# of their own, and the viewer on each; every set prints the longest time its
# window took to answer WM_NULL.
#
#   tools/hostile/full_scale.sh ['gtest filter']
#
# Needs the Windows build (./test or the build commands of README).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib.sh"
hv_pick_arch
build=$root/build/win-$HV_ARCH
cmake --build "$build" --target HelpViewer app_hostile_tests -- -j2
sets=$build/hostile-sets-full
python3 "$root/tools/hostile/make_hostile.py" "$sets" --scale 1
hv_display
hv_wine_prefix
status=0
HV_HOSTILE_SETS=$sets "$root/cmake/wine-run.sh" "$build/tests/app/app_hostile_tests.exe" \
  --gtest_filter="${1:-*}" || status=$?
rm -rf "$sets"
exit $status
