#!/usr/bin/env bash
# The main job on its embedded default: installs what is missing, builds the
# Windows deliverables and wraps the sample document in its print job under Wine.
# The captured job lands in out/demo/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash tools/install-deps.sh
bash tools/build.sh windows
export LUMEO_WINEPREFIX="$root/build/demo-prefix"
out="$root/out/demo"
mkdir -p "$out"
cp resources/samples/sample.pdf "$out/sample.pdf"
tools/wine-run build/windows/tools/lumeo_envelope.exe "$out/sample.pdf" "$out/sample.pdf.prn"
echo
echo "The job for the sample document is in $out/sample.pdf.prn:"
head -c 400 "$out/sample.pdf.prn" | tr '\033' '~' | sed -n '1,13p'
