#!/usr/bin/env bash
# Runs Lumeo under Wine with its debug log switched on (HKLM\SOFTWARE\Corvane\KVQ,
# LogKVQ = 1) and prints every log line on the console as the program writes it.
#   tools/debug-log.sh [Lumeo arguments...]
# Wine prefix: LUMEO_WINEPREFIX, default build/demo-prefix (the demo's, with its printer).
# Needs tools/build.sh windows and an X display (headless: xvfb-run -a tools/debug-log.sh).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${LUMEO_BUILD_DIR:-$root/build/windows}"
export LUMEO_WINEPREFIX="${LUMEO_WINEPREFIX:-$root/build/demo-prefix}"
for f in "$build/bin/Lumeo.exe" "$build/tools/lumeo_debug_log.exe"; do
  [ -f "$f" ] || { echo "debug-log: $f is missing; run tools/build.sh windows first" >&2; exit 1; }
done
"$root/tools/wine-run" reg add 'HKLM\SOFTWARE\Corvane\KVQ' /v LogKVQ /t REG_DWORD /d 1 /f >/dev/null
exec "$root/tools/wine-run" "$build/tools/lumeo_debug_log.exe" "$build/bin/Lumeo.exe" "$@"
