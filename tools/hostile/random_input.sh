#!/usr/bin/env bash
# The random input run over the viewer at a count of your choosing (default
# the full 20,000 events; ./test runs 2,500 to stay within its time), and
# the hostile sets at full size:
#
#   tools/hostile/random_input.sh [events]          random input only
#   HV_HOSTILE_FULL=1 tools/hostile/random_input.sh  also the full-size sets
#
# Needs the Windows build (./test or the build commands of README).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib.sh"
hv_pick_arch
build=$root/build/win-$HV_ARCH
cmake --build "$build" --target app_random_tests app_hostile_tests -- -j2
hv_display
hv_wine_prefix
HV_RANDOM_EVENTS=${1:-20000} "$root/cmake/wine-run.sh" "$build/tests/app/app_random_tests.exe"
if [ "${HV_HOSTILE_FULL:-}" = 1 ]; then
  python3 "$root/tools/hostile/make_hostile.py" "$build/hostile-sets" --scale 1
  "$root/cmake/wine-run.sh" "$build/tests/app/app_hostile_tests.exe"
  # Back to the small sets the test run expects.
  rm -rf "$build/hostile-sets"
fi
