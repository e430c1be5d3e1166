#!/usr/bin/env bash
# First-window benchmark (not part of the tests): how long a user waits after starting a setup
# before any window of it is on screen, under Wine. Our engine (its loading dialog first, then
# its wizard) beside an NSIS installer built by makensis (its "verifying" window, or its first
# page when the check is quick), for a small setup and one of about 1 GB (stored, so both check
# the same bytes). Best of three runs each; first_window starts the setup and watches for its
# windows from inside Wine.
#
#   bash scripts/bench-first-window.sh [WORK_FOLDER]     (default build/bench-first-window)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=bench-common.sh
source "$root/scripts/bench-common.sh"
cd "$root"
work="$(realpath -m "${1:-build/bench-first-window}")"

bash scripts/deps.sh
# The windows need a display: without one, the whole script runs again under a virtual one.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
bench_need_nsis
[ -d build/native ] || cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release
[ -d build/win32 ] || bash scripts/configure.sh
cmake --build build/native --target veskbuild
cmake --build build/win32 --target Setup first_window

rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX="$root/build/win32/wineprefix"
wine_run="$root/build/win32/wine-run.sh"
first_window="build/win32/tests/first_window.exe"

# The product folder $1/product: a few small files, and with $2 MB of incompressible data as a
# .zip (which both builders store as it is) when $2 is given.
make_product() {
    mkdir -p "$1/product/docs"
    head -c 200000 /dev/urandom | base64 >"$1/product/docs/notes.txt"
    head -c 300000 /dev/urandom >"$1/product/app.bin"
    if [ -n "${2:-}" ]; then head -c "$(($2 * 1048576))" /dev/urandom >"$1/product/data.zip"; fi
}

# The smallest of the numbers on the lines of "$1" that start with "$2".
best() { sed -n "s/^$2: \([0-9]*\) ms.*/\1/p" <<<"$1" | sort -n | head -1; }

bench() {
    local name="$1" megabytes="${2:-}" dir="$work/$1" setup_name="VeskFirst${1^}"
    mkdir -p "$dir"
    make_product "$dir" "$megabytes"
    bench_write_project "$dir/project.xml" "$setup_name" pages
    bench_write_nsis "$dir/nsis.nsi" "$setup_name" nsis-setup.exe "SetCompress off"
    build/native/builder/veskbuild build "$dir/project.xml" -o "$dir/vesk" \
        --stub build/win32/src/app/Setup.exe --quiet
    (cd "$dir" && makensis -V1 nsis.nsi)
    local ours="" nsis="" out
    for _ in 1 2 3; do
        out="$("$wine_run" "$first_window" --wizard "$dir/vesk/Setup.exe" | tr -d '\r')"
        printf '%s\n' "$out" >>"$work/runs.log"
        ours+="$out"$'\n'
        out="$("$wine_run" "$first_window" "$dir/nsis-setup.exe" | tr -d '\r')"
        printf '%s\n' "$out" >>"$work/runs.log"
        nsis+="$out"$'\n'
    done
    echo "$name setup: ours $(du -sb "$dir/vesk" | cut -f1) bytes, NSIS $(stat -c %s "$dir/nsis-setup.exe") bytes"
    echo "  ours:  first window $(best "$ours" "first window") ms (the loading dialog), wizard $(best "$ours" wizard) ms"
    echo "  NSIS:  first window $(best "$nsis" "first window") ms"
}

# One Wine server for every run, so no run pays for starting it.
"$wine_run" >/dev/null 2>&1 || true  # the prefix, set up once
wineserver -p
trap 'wineserver -k; wineserver -w' EXIT
bench small
bench large 1000
