#!/usr/bin/env bash
# Starts Lumeo.exe <count> times and counts the starts that showed the sheet, with the
# time to a visible sheet, against as many starts of a bare dialog program under Wine.
#   bench/startup/run-startup-bench.sh [count]     (needs tools/build.sh windows; count: 200)
# Runs on a virtual display of its own in a prefix of its own; exits non-zero when a
# start failed. LUMEO_BENCH_LOG=1 prints the last log lines of a failed start.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
exe="${LUMEO_BUILD_DIR:-$root/build/windows}/bench/startup/startup_bench.exe"
[ -f "$exe" ] || { echo "run-startup-bench: $exe is missing; run tools/build.sh windows" >&2; exit 1; }
export LUMEO_WINEPREFIX="${LUMEO_WINEPREFIX:-$root/build/bench-startup-prefix}"
sample="$root/resources/samples/sample.pdf"
xvfb-run -a -s "-screen 0 1280x1024x24" "$root/tools/with-wine.sh" "$root/tools/wine-run" "$exe" "${1:-200}" \
  "Z:${sample//\//\\}"
