#!/usr/bin/env bash
# CTest's emulator for the Windows build: runs one test executable under Wine
# with the project's prefix, display and quiet settings.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/lib.sh"
hv_pick_arch
hv_wine_env
[ -f "$WINEPREFIX/.hv-ready" ] || hv_wine_prefix
[ -n "${DISPLAY:-}" ] || { echo "wine-run: no DISPLAY; run the tests through ./test" >&2; exit 1; }
exec "$HV_WINE" "$@"
