#!/usr/bin/env bash
# Opens the real Lumeo with the sample PDF under Wine, on a demo printer whose jobs
# are appended to a capture file: press Print, close the sheet, look at the job.
#   demo-lumeo.sh <wine-prefix> [capture-folder]     (capture folder: out/demo-lumeo)
# Needs the Windows build (tools/build.sh windows; LUMEO_BUILD_DIR names another build
# folder) and an X display (DISPLAY; headless: xvfb-run -a tools/demo-lumeo.sh ...).
# LUMEO_DEMO_AUTOPRINT=1 presses Print itself and closes the sheet (no user needed).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ $# -lt 1 ]; then
  sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
fi
build="${LUMEO_BUILD_DIR:-$root/build/windows}"
exe="$build/bin/Lumeo.exe"
tool="$build/tests/app/lumeo_demo_file_printer.exe"
for f in "$exe" "$tool"; do
  if [ ! -f "$f" ]; then
    echo "demo-lumeo: $f is missing; run tools/build.sh windows first" >&2
    exit 1
  fi
done
if [ -z "${DISPLAY:-}" ]; then
  echo "demo-lumeo: no X display; run it as: xvfb-run -a $0 $*" >&2
  exit 1
fi
prefix="$1"
capture_dir="${2:-$root/out/demo-lumeo}"
mkdir -p "$capture_dir" "$(dirname "$prefix")"
capture_dir="$(cd "$capture_dir" && pwd)"
export LUMEO_WINEPREFIX="$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")"
capture="$capture_dir/FILE_Demo.prn"
: > "$capture"

"$root/tools/wine-run" "$tool" "$capture_dir"
sample="$root/resources/samples/sample.pdf"
sample_win="Z:$(echo "$sample" | tr '/' '\\')"
echo "Lumeo opens with $sample on \"Lumeo Demo File\"; press Print, then close the sheet."
if [ "${LUMEO_DEMO_AUTOPRINT:-0}" = 1 ]; then
  "$root/tools/wine-run" "$exe" -M "Lumeo Demo File" "$sample_win" &
  pid=$!
  "$root/tools/wine-run" "$tool" --press-print || true
  wait "$pid" || true
else
  "$root/tools/wine-run" "$exe" -M "Lumeo Demo File" "$sample_win" || true
fi
echo
if [ -s "$capture" ]; then
  echo "The captured job is in $capture ($(stat -c %s "$capture") bytes); its PJL header:"
  head -c 600 "$capture" | tr '\033' '~' | sed -n '1,14p'
else
  echo "Nothing was printed; $capture is empty." >&2
  exit 1
fi
