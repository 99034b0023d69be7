#!/usr/bin/env bash
# Runs Lumeo, or another program, under Wine with the debug log switched on
# (HKLM\SOFTWARE\Corvane\KVQ, LogKVQ = 1) and prints every log line on the console as the
# program writes it. The switch is then put back as it was, also after Ctrl+C or an error.
#   tools/debug-log.sh [Lumeo arguments...]          Lumeo.exe's lines
#   tools/debug-log.sh --run PROGRAM [arguments...]  the lines of any program, for example
#                                                    Koretta's inside the program that loads it:
#     tools/debug-log.sh --run regsvr32 /s build/windows/bin/Koretta.dll
#     tools/debug-log.sh --run build/windows/tests/koretta/koretta_shell_client_tests.exe
# An argument that names an existing file or folder is handed over as a Windows path (Z:\...).
# Wine prefix: LUMEO_WINEPREFIX, default build/demo-prefix (the demo's, with its printer).
# Needs tools/build.sh windows and an X display for Lumeo's sheet (with xvfb-run nobody
# sees the sheet to close it: Ctrl+C ends the run).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${LUMEO_BUILD_DIR:-$root/build/windows}"
export LUMEO_WINEPREFIX="${LUMEO_WINEPREFIX:-$root/build/demo-prefix}"
viewer="$build/tools/lumeo_debug_log.exe"
if [ "${1:-}" = --run ]; then
  shift
  [ $# -ge 1 ] || { echo "debug-log: --run needs a program" >&2; exit 2; }
  program=("$@")
else
  program=("$build/bin/Lumeo.exe" "$@")
fi
for f in "$viewer" "$build/bin/Lumeo.exe"; do
  [ -f "$f" ] || { echo "debug-log: $f is missing; run tools/build.sh windows first" >&2; exit 1; }
done

# Host paths mean nothing to a Windows program: Wine shows the host's root as Z:.
args=()
for a in "${program[@]}"; do
  if [ -e "$a" ]; then
    a="Z:$(realpath "$a" | tr '/' '\\')"
  fi
  args+=("$a")
done

key='HKLM\SOFTWARE\Corvane\KVQ'
wine_reg() { "$root/tools/wine-run" reg "$@" >/dev/null 2>&1; }
saved="$(mktemp --suffix=.reg)"
saved_win="Z:$(echo "$saved" | tr '/' '\\')"
trap 'rm -f "$saved"' EXIT
# What the switch was: no key (nor its parent), no value, or the key as exported (the value
# with its type).
if ! wine_reg query "${key%\\KVQ}"; then
  before=no-parent
elif ! wine_reg query "$key"; then
  before=no-key
elif ! wine_reg query "$key" /v LogKVQ; then
  before=no-value
else
  before=value
  wine_reg export "$key" "$saved_win" /y
fi
restore() {
  trap - EXIT INT TERM
  case "$before" in
    no-parent) wine_reg delete "${key%\\KVQ}" /f || true ;;
    no-key) wine_reg delete "$key" /f || true ;;
    no-value) wine_reg delete "$key" /v LogKVQ /f || true ;;
    value)
      if ! wine_reg import "$saved_win"; then
        echo "debug-log: LogKVQ could not be put back; its value is in $saved" >&2
        return
      fi ;;
  esac
  rm -f "$saved"
  echo "debug-log: log switch put back as it was ($before)" >&2
}
trap restore EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
wine_reg add "$key" /v LogKVQ /t REG_DWORD /d 1 /f
status=0
"$root/tools/wine-run" "$viewer" "${args[@]}" || status=$?
exit "$status"
