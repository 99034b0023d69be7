#!/usr/bin/env bash
# Opens the real Lumeo with the sample PDF under Wine, on a demo printer whose jobs
# are appended to a capture file: press Print, close the sheet, look at the job.
#   demo-lumeo.sh <wine-prefix> [capture-folder]     (capture folder: out/demo-lumeo)
# Needs the Windows build (tools/build.sh windows; LUMEO_BUILD_DIR names another build
# folder). Without an X display (DISPLAY) it runs on a virtual one (xvfb-run) and
# presses Print itself, as LUMEO_DEMO_AUTOPRINT=1 does on a real display (no user needed).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ $# -lt 1 ]; then
  # The comment block above, without its first line.
  awk 'NR > 1 && !/^#/ { exit } NR > 1 { sub(/^# ?/, ""); print }' "$0" >&2
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
  # Nobody could press Print on an invisible sheet: the demo presses it.
  echo "demo-lumeo: no X display: running on a virtual display, pressing Print itself" >&2
  LUMEO_DEMO_AUTOPRINT=1 LUMEO_DEMO_OWN_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
prefix="$1"
capture_dir="${2:-$root/out/demo-lumeo}"
mkdir -p "$capture_dir" "$(dirname "$prefix")"
capture_dir="$(cd "$capture_dir" && pwd)"
export LUMEO_WINEPREFIX="$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")"
capture="$capture_dir/FILE_Demo.prn"
: > "$capture"
if [ "${LUMEO_DEMO_OWN_DISPLAY:-0}" = 1 ]; then
  # Wine's programs leave before the virtual display goes.
  trap 'WINEPREFIX="$LUMEO_WINEPREFIX" wineserver -k 2>/dev/null || true' EXIT
fi

"$root/tools/wine-run" "$tool" "$capture_dir"
sample="$root/resources/samples/sample.pdf"
sample_win="Z:$(echo "$sample" | tr '/' '\\')"
if [ "${LUMEO_DEMO_AUTOPRINT:-0}" = 1 ]; then
  echo "Lumeo opens with $sample on \"Lumeo Demo File\"; the demo presses Print and closes the sheet."
  "$root/tools/wine-run" "$exe" -M "Lumeo Demo File" "$sample_win" &
  pid=$!
  "$root/tools/wine-run" "$tool" --press-print || true
  wait "$pid" || true
else
  echo "Lumeo opens with $sample on \"Lumeo Demo File\"; press Print, then close the sheet."
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
