#!/usr/bin/env bash
# The main job on its embedded default: installs what is missing, builds the Windows
# deliverables, makes a Wine prefix with a demo printer whose jobs are captured, and
# opens Lumeo on it with the sample PDF. With an X display you press Print yourself;
# without one (or with LUMEO_DEMO_AUTOPRINT=1) the demo runs on a virtual display and
# presses Print for you. The captured job lands in out/demo/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash tools/install-deps.sh
bash tools/build.sh windows
prefix="$root/build/demo-prefix"
out="$root/out/demo"
if [ -n "${DISPLAY:-}" ] && [ "${LUMEO_DEMO_AUTOPRINT:-0}" != 1 ]; then
  bash tools/demo-lumeo.sh "$prefix" "$out"
else
  LUMEO_DEMO_AUTOPRINT=1 xvfb-run -a -s "-screen 0 1280x1024x24" bash tools/demo-lumeo.sh "$prefix" "$out"
fi
