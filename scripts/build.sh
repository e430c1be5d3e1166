#!/usr/bin/env bash
# The main job: builds everything into out/, then tries the demo as every packager tries a setup
# (veskbuild try): its setup built from examples/demo, installed under Wine in a throwaway prefix
# by walking its wizard as a user would, read back, and removed again with its uninstaller: the
# whole life of a product.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/configure.sh
echo "Built: out/bin/veskbuild, out/stub/Setup.exe, out/stub/Vesk-UnInstall.exe, out/libexec/walk_setup.exe"

echo "Trying the demo: its setup built into out/try/setup, installed under Wine by walking its"
echo "wizard with every default, then removed again through its uninstall entry"
# VESK_DEMO_COMPRESSION=lzma builds the demo with LZMA bodies (default: the project's, LZSS).
log=build/demo-try.log
mkdir -p build
set +e
out/bin/veskbuild try examples/demo/project.xml -o out/try \
    ${VESK_DEMO_COMPRESSION:+--compression "$VESK_DEMO_COMPRESSION"} | tee "$log"
rc=${PIPESTATUS[0]}
set -e
# 0: installed and removed without a trace; 4: installed and removed, but something stayed
# behind (the summary above names it); anything else: the install or the removal failed.
if [ "$rc" -eq 0 ] || [ "$rc" -eq 4 ]; then
    installed="$(sed -n 's/^  installed into //p' "$log")"
    uninstalled="$(sed -n 's/^  uninstalled: //p' "$log")"
    echo "The demo setup ran to its end and installed Vesk Demo into $installed"
    echo "  (in the throwaway Wine prefix out/try/prefix, removed after the run)."
    echo "Its uninstaller then removed it again: $uninstalled"
    if [ "$rc" -eq 4 ]; then
        echo "Warning: the demo's removal left traces behind (the findings above)." >&2
    fi
    echo "Pictures of every window: out/try/pages/; the report: out/try/report.html"
else
    echo "Trying the demo failed (exit code $rc); see $log and out/try/report.html." >&2
    exit 1
fi
