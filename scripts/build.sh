#!/usr/bin/env bash
# The main job: builds everything into out/, builds the demo installer from examples/demo, runs
# it under Wine and removes the demo again with its uninstaller: the whole life of a product.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/configure.sh
# VESK_DEMO_COMPRESSION=lzma builds the demo with LZMA bodies (default: the project's, LZSS).
out/bin/veskbuild build examples/demo/project.xml -o out/demo \
    ${VESK_DEMO_COMPRESSION:+--compression "$VESK_DEMO_COMPRESSION"}
echo "Built: out/bin/veskbuild, out/stub/Setup.exe, out/stub/Vesk-UnInstall.exe, out/demo/"

echo "Running out/demo/Setup.exe under Wine, walking its wizard with every default,"
echo "then removing the demo again through its uninstall entry"
# walk_setup presses the buttons a user would, in the setup's wizard and then in the uninstaller's
# window; a picture of every window goes to build/demo-screenshots. Wine's server is waited for,
# so the display is not taken away under it.
demo='build/win32/wine-run.sh build/win32/tests/walk_setup.exe out/demo/Setup.exe build/demo-screenshots --uninstall | tee build/demo-walk.log
rc=${PIPESTATUS[0]}; WINEPREFIX="$PWD/build/win32/wineprefix" wineserver -w; exit $rc'
run=(bash -c "$demo")
[ -n "${DISPLAY:-}" ] || run=(xvfb-run -a -s "-screen 0 1024x768x24" bash -c "$demo")
if "${run[@]}"; then
    installed="$(sed -n 's/^installed into: //p' build/demo-walk.log | tr -d '\r')"
    # Drive C: of Wine's prefix is its drive_c folder.
    here="$(printf '%s' "$installed" | sed -e 's|^[Cc]:|build/win32/wineprefix/drive_c|' -e 's|\\|/|g')"
    uninstalled="$(sed -n 's/^uninstalled: //p' build/demo-walk.log | tr -d '\r')"
    echo "The demo setup ran to its end and installed Vesk Demo into $installed"
    echo "  (on this machine: $here)."
    echo "Its uninstaller then removed it again: $uninstalled"
    echo "Screenshots: build/demo-screenshots/"
else
    echo "The demo's install or uninstall failed (exit code $?); see build/demo-walk.log." >&2
    exit 1
fi
