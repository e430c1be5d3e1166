#!/usr/bin/env bash
# Runs every test: native unit tests, Windows-built tests under Wine, and a short run of each
# fuzz target. Exits non-zero when anything fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

bash scripts/configure.sh

echo "== native tests"
ctest --test-dir build/native -j "$(nproc)" --output-on-failure

echo "== Windows tests under Wine"
if [ -n "${DISPLAY:-}" ]; then
    ctest --test-dir build/win32 --output-on-failure
else
    xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir build/win32 --output-on-failure
fi

echo "== fuzz smoke run"
FUZZ_SECONDS="${FUZZ_SECONDS:-10}" bash scripts/fuzz.sh
