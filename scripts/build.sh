#!/usr/bin/env bash
# The main job: builds everything into out/, builds the demo installer from examples/demo and
# runs it under Wine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/configure.sh
out/bin/veskbuild build examples/demo/project.xml -o out/demo
echo "Built: out/bin/veskbuild, out/stub/Setup.exe, out/demo/"

echo "Running out/demo/Setup.exe under Wine"
run=(build/win32/wine-run.sh)
[ -n "${DISPLAY:-}" ] || run=(xvfb-run -a build/win32/wine-run.sh)
if "${run[@]}" out/demo/Setup.exe; then
    echo "The demo setup found and read its payload."
else
    echo "The demo setup failed (exit code $?)." >&2
    exit 1
fi
