#!/usr/bin/env bash
# Times Koretta's right-click under Wine against COM's own create and release of it
# (see koretta_bench_main.cpp). Exits non-zero, with no ratio, when nothing was measured.
#   bench/koretta/run-koretta-bench.sh      (needs tools/build.sh windows)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${LUMEO_BUILD_DIR:-$root/build/windows}"
exe="$build/bench/koretta/koretta_bench.exe"
dll="${LUMEO_BENCH_KORETTA:-$build/bin/Koretta.dll}"
for f in "$exe" "$dll"; do
  [ -f "$f" ] || { echo "run-koretta-bench: $f is missing; run tools/build.sh windows" >&2; exit 1; }
done
export LUMEO_WINEPREFIX="${LUMEO_WINEPREFIX:-$root/build/bench-prefix}"
work="$(mktemp -d "${TMPDIR:-/tmp}/lumeo-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT
"$root/tools/wine-run" "$exe" "Z:${dll//\//\\}" "Z:${work//\//\\}\\files"
