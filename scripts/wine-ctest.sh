#!/usr/bin/env bash
# Runs ctest in build/win32 (extra arguments go to ctest) with one Wine server kept up for the
# whole run, so each test case, a Wine process of its own, finds Wine started. Needs an X display
# (run it under xvfb-run); the server is stopped before this script ends.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
wine_run="$root/build/win32/wine-run.sh"
export WINEPREFIX="$root/build/win32/wineprefix"

# The prefix is set up first: setting it up waits for the server to end.
"$wine_run" || exit 1
wineserver -p </dev/null >/dev/null || exit 1
trap 'wineserver -k; wineserver -w' EXIT
ctest --test-dir "$root/build/win32" "$@"
