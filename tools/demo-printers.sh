#!/usr/bin/env bash
# Adds demo printers to a Wine prefix; every job sent to them is appended to a
# file in the capture folder, exactly as Wine's spooler delivered it.
#   demo-printers.sh <wine-prefix> <capture-folder> [--remove]
# Printers: "Lumeo Demo USB" (port USB001 -> USB001.prn), "Lumeo Demo Network"
# (IP_127.0.0.1 -> IP_127.0.0.1.prn), "Lumeo Demo XPS" (XPSPort:, driver file
# mxdwdrv.dll -> XPSPort.prn; Wine's print processor does not pass XPS_PASS jobs
# on, so this capture stays empty). Needs the Windows build (tools/build.sh windows);
# LUMEO_BUILD_DIR names another build folder.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ $# -lt 2 ]; then
  sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
fi
prefix="$1"
mkdir -p "$2"
capture="$(cd "$2" && pwd)"
exe="${LUMEO_BUILD_DIR:-$root/build/windows}/tests/support/lumeo_demo_printers.exe"
if [ ! -f "$exe" ]; then
  echo "demo-printers: $exe is missing; run tools/build.sh windows first" >&2
  exit 1
fi
mkdir -p "$(dirname "$prefix")"
export LUMEO_WINEPREFIX="$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")"
shift 2
"$root/tools/wine-run" "$exe" "$capture" "$@"
