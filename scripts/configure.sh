#!/usr/bin/env bash
# Configures and builds both trees and installs the programs into out/:
#   out/bin/veskbuild     the host tool (native)
#   out/stub/Setup.exe    the engine stub (32-bit Windows)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

bash scripts/deps.sh

jobs="$(nproc)"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$root/out" >/dev/null
cmake --build build/native -j "$jobs"
cmake --install build/native >/dev/null

cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_INSTALL_PREFIX="$root/out" >/dev/null
cmake --build build/win32 -j "$jobs"
cmake --install build/win32 >/dev/null
