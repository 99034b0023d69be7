#!/usr/bin/env bash
# Configures and builds one of the two builds of the tree.
#   build.sh native   portable core and its tests (Linux, GoogleTest)
#   build.sh windows  Lumeo.exe, Koretta.dll, vnMUIDLL.dll and their tests (mingw-w64)
#   build.sh sanitize the native build with ASan and UBSan
#   build.sh fuzz     the libFuzzer targets (clang, ASan, UBSan)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
kind="${1:-native}"
case "$kind" in
  native)   args=(-DCMAKE_BUILD_TYPE=Debug) ;;
  sanitize) args=(-DCMAKE_BUILD_TYPE=Debug -DLUMEO_SANITIZE=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  fuzz)     args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMEO_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  windows)  args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake") ;;
  *) echo "unknown build: $kind" >&2; exit 2 ;;
esac
cmake -S "$root" -B "$root/build/$kind" -G Ninja "${args[@]}" >/dev/null
ninja -C "$root/build/$kind"
