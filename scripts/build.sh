#!/usr/bin/env bash
# The main job: builds everything into out/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/configure.sh"
(cd "$root" && out/bin/veskbuild build examples/demo/project.xml -o out/demo)
echo "Built: $root/out/bin/veskbuild, $root/out/stub/Setup.exe"
