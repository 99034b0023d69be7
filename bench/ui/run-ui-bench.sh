#!/usr/bin/env bash
# How long Lumeo's sheet takes to answer a message (probed every 5 ms) while a silent
# network printer is picked with the keyboard, and while a large file prints.
#   bench/ui/run-ui-bench.sh [file-MiB]      (needs tools/build.sh windows; goal: <= 100 ms each)
# Runs on a virtual display of its own in a prefix of its own; exits non-zero when a
# phase did not happen as it must.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
exe="${LUMEO_BUILD_DIR:-$root/build/windows}/bench/ui/ui_bench.exe"
[ -f "$exe" ] || { echo "run-ui-bench: $exe is missing; run tools/build.sh windows" >&2; exit 1; }
export LUMEO_WINEPREFIX="${LUMEO_WINEPREFIX:-$root/build/bench-ui-prefix}"
xvfb-run -a -s "-screen 0 1280x1024x24" "$root/tools/with-wine.sh" "$root/tools/wine-run" "$exe" "${1:-512}"
