#!/usr/bin/env bash
# Installs what the builds and tests need from Debian's packages (run as root).
# Skips apt entirely when everything is there already.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libgmock-dev
  g++-mingw-w64-x86-64 mingw-w64-tools binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth x11-utils imagemagick
  snmpd snmp libsnmp-dev
  nsis fp-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# The help and language-file generators need a python3; any will do.
command -v python3 >/dev/null 2>&1 || missing+=(python3)
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q "${missing[@]}"
# The package starts an agent on port 161; our tests run their own.
(systemctl disable --now snmpd 2>/dev/null || service snmpd stop 2>/dev/null || pkill -x snmpd) >/dev/null 2>&1 || true
