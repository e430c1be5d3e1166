#!/usr/bin/env bash
# Builds the Debian package of the tool: out/veskinstall_<version>_<arch>.deb with veskbuild, the
# engine stub and the uninstaller, the documents, the demo project and the manual page
# veskbuild(1) (cmake/Packaging.cmake). Install it with `dpkg -i`, or unpack it anywhere with
# `dpkg -x`: veskbuild finds its stubs from its own place.
#   --built   the trees are built already (scripts/test.sh): package them as they are
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

[ "${1:-}" = "--built" ] || bash scripts/configure.sh
work="$root/build/package"
rm -rf "$work"
# CPack installs veskbuild and the documents from build/native and the two Windows programs from
# build/win32, then makes the package in build/package.
cpack --config build/native/CPackConfig.cmake -B "$work" >/dev/null
deb="$(ls "$work"/veskinstall_*.deb)"
mkdir -p out
mv "$deb" out/
echo "Built: out/$(basename "$deb")"
