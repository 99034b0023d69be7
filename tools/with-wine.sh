#!/usr/bin/env bash
# Runs a command with a fresh test prefix and one persistent wineserver, on the
# current X display; Wine's first start on a display runs alone before the tests.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export WINEPREFIX="${LUMEO_WINEPREFIX:-${WINEPREFIX:-$HOME/.lumeo-wine}}"
export LUMEO_WINEPREFIX="$WINEPREFIX"
"$here/wine-prefix" reset
wineserver -p 2>/dev/null || true
"$here/wine-run" cmd /c exit >/dev/null 2>&1 || true
"$@"
status=$?
wineserver -k 2>/dev/null || true
exit $status
