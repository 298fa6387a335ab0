#!/usr/bin/env bash
# Waits for the prefix's wineserver to finish (or, with "kill", ends it), so
# that the prefix on disk is complete before anyone else uses it.
[ -n "${WINEPREFIX:-}" ] || exit 0
if [ "${1:-}" = kill ]; then
  wineserver -k >/dev/null 2>&1 || true
else
  wineserver -w >/dev/null 2>&1 || true
fi
