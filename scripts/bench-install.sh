#!/usr/bin/env bash
# Install benchmark (not part of the tests): a generated product of about 1000 files and 100 MB
# (program code, text, pictures, already-compressed files, nested folders) installed under Wine
# by our engine, walked through its wizard by walk_setup and run unattended (/S /D=), and by an
# NSIS installer built by makensis and run silently (/S /D=). Prints the three times (the wizard's
# also without the engine's fixed pauses, which /S does not make), the ratios, and the peak memory
# of each setup process; a 1 MB product shows whether our memory grows with the payload. It also
# prints what checking the setup's checksums at start-up costs (checksum_time: the stub's reader
# on the setup and on a copy read unchecked).
#
#   bash scripts/bench-install.sh [WORK_FOLDER]     (default build/bench-install)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=bench-common.sh
source "$root/scripts/bench-common.sh"
cd "$root"
work="$(realpath -m "${1:-build/bench-install}")"

bash scripts/deps.sh
# The wizard needs a display: without one, the whole script runs again under a virtual one.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
bench_need_nsis
[ -d build/native ] || cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release
[ -d build/win32 ] || bash scripts/configure.sh
cmake --build build/native --target veskbuild
cmake --build build/win32 --target Setup walk_setup time_process checksum_time

rm -rf "$work"
mkdir -p "$work"

echo "== generating the products"
python3 scripts/bench-product.py "$work" build/win32

# Our project and the NSIS script for one product folder.
write_projects() {
    bench_write_project "$1/project.xml" "$2" pages
    bench_write_nsis "$1/nsis.nsi" "$2" nsis-setup.exe
}

export WINEPREFIX="$root/build/win32/wineprefix"
wine_run="$root/build/win32/wine-run.sh"

# "<ms> <peak KB>" of one run of the program named $1 by the command $2...
measured_run() { bench_measured_run "$work" "$@"; }
run_ours() { measured_run Setup.exe "$wine_run" build/win32/tests/walk_setup.exe "$1"; }
run_silent() { measured_run Setup.exe "$wine_run" build/win32/tests/time_process.exe "$1" /S "/D=$2"; }
run_nsis() { measured_run nsis-setup.exe "$wine_run" build/win32/tests/time_process.exe "$1" /S "/D=$2"; }

bench() {
    local name="$1" dir="$work/$1" setup_name="VeskBench${1^}"
    local drive="$WINEPREFIX/drive_c/$setup_name"
    write_projects "$dir" "$setup_name"
    echo "== building both installers of the $name product"
    local start end
    start=$(date +%s.%N)
    build/native/builder/veskbuild build "$dir/project.xml" -o "$dir/vesk" \
        --stub build/win32/src/app/Setup.exe --quiet
    end=$(date +%s.%N)
    echo "veskbuild: $(awk "BEGIN { printf \"%.1f\", $end - $start }") s"
    start=$(date +%s.%N)
    (cd "$dir" && makensis -V1 nsis.nsi)
    end=$(date +%s.%N)
    echo "makensis:  $(awk "BEGIN { printf \"%.1f\", $end - $start }") s"
    echo "checksums: $("$wine_run" build/win32/tests/checksum_time.exe "$dir/vesk/Setup.exe" | tr -d '\r')"

    # The pauses the engine makes on purpose: the worker's 300 ms after the first status and each
    # of seven phases and 3 ms after every folder and every file-list entry, the loading dialog's
    # 300 ms before it unpacks, and the 100 ms of the wizard's end timer.
    local listing folders entries
    listing="$(build/native/builder/veskbuild list "$dir/vesk/Setup.exe")"
    folders=$(sed -n 's/^Folders: *\([0-9]*\)/\1/p' <<<"$listing")
    entries=$(sed -n 's/^Files: *\([0-9]*\)/\1/p' <<<"$listing")
    local worker_pauses=$((8 * 300 + 3 * (folders + entries)))
    local pauses=$((worker_pauses + 300 + 100))

    # Best of three runs each, every run into a fresh folder and without an earlier install's
    # folder in the registry.
    local ours_ms=0 ours_kb=0 silent_ms=0 silent_kb=0 nsis_ms=0 nsis_kb=0 ms kb
    for round in 1 2 3; do
        rm -rf "$drive"
        "$wine_run" reg delete "HKLM\\SOFTWARE\\VeskSoft\\VeskInstall\\$setup_name" /f >/dev/null 2>&1 || true
        read -r ms kb < <(run_ours "$dir/vesk/Setup.exe")
        [ -n "$ms" ] || { echo "our setup did not complete; see $work/runs.log" >&2; exit 1; }
        diff -rq "$dir/product" "$drive/Vesk" >/dev/null || { echo "our install differs" >&2; exit 1; }
        if [ "$ours_ms" -eq 0 ] || [ "$ms" -lt "$ours_ms" ]; then ours_ms=$ms; fi
        [ "$kb" -gt "$ours_kb" ] && ours_kb=$kb
        "$wine_run" reg delete "HKLM\\SOFTWARE\\VeskSoft\\VeskInstall\\$setup_name" /f >/dev/null 2>&1 || true
        read -r ms kb < <(run_silent "$dir/vesk/Setup.exe" "C:\\$setup_name\\Silent")
        [ -n "$ms" ] || { echo "our /S setup did not complete; see $work/runs.log" >&2; exit 1; }
        diff -rq "$dir/product" "$drive/Silent" >/dev/null || { echo "our /S install differs" >&2; exit 1; }
        if [ "$silent_ms" -eq 0 ] || [ "$ms" -lt "$silent_ms" ]; then silent_ms=$ms; fi
        [ "$kb" -gt "$silent_kb" ] && silent_kb=$kb
        read -r ms kb < <(run_nsis "$dir/nsis-setup.exe" "C:\\$setup_name\\Nsis")
        diff -rq "$dir/product" "$drive/Nsis" >/dev/null || { echo "NSIS's install differs" >&2; exit 1; }
        if [ "$nsis_ms" -eq 0 ] || [ "$ms" -lt "$nsis_ms" ]; then nsis_ms=$ms; fi
        [ "$kb" -gt "$nsis_kb" ] && nsis_kb=$kb
    done
    rm -rf "$drive"
    local bytes files
    bytes=$(du -sb "$dir/product" | cut -f1)
    files=$(find "$dir/product" -type f | wc -l)
    echo "product: $files files, $((bytes / 1000000)) MB; setups: ours $(du -sb "$dir/vesk" | cut -f1) bytes, NSIS $(stat -c %s "$dir/nsis-setup.exe") bytes"
    echo "ours:  ${ours_ms} ms, of which ${pauses} ms fixed pauses (worker ${worker_pauses}, loading dialog 300, end timer 100)"
    echo "       -> $((ours_ms - pauses)) ms without them; peak memory ${ours_kb} KB"
    echo "ours /S: ${silent_ms} ms (no pauses); peak memory ${silent_kb} KB"
    echo "NSIS:  ${nsis_ms} ms (/S); peak memory ${nsis_kb} KB"
    echo "ratio (ours without pauses / NSIS): $(awk "BEGIN { printf \"%.2f\", ($ours_ms - $pauses) / $nsis_ms }")"
    echo "ratio (ours /S / NSIS /S): $(awk "BEGIN { printf \"%.2f\", $silent_ms / $nsis_ms }")"

    # One more /S run of each under strace: the system calls of the setup's processes (Wine's
    # server round trips among them: every request is a write and a read on its pipe, every
    # handle a recvmsg) per installed file.
    local ours_calls nsis_calls
    "$wine_run" reg delete "HKLM\\SOFTWARE\\VeskSoft\\VeskInstall\\$setup_name" /f >/dev/null 2>&1 || true
    ours_calls=$(bench_syscalls "$work/strace-ours" "$wine_run" build/win32/tests/time_process.exe \
        "$dir/vesk/Setup.exe" /S "/D=C:\\$setup_name\\Silent")
    nsis_calls=$(bench_syscalls "$work/strace-nsis" "$wine_run" build/win32/tests/time_process.exe \
        "$dir/nsis-setup.exe" /S "/D=C:\\$setup_name\\Nsis")
    rm -rf "$drive"
    bench_print_syscalls "$files" "$ours_calls" "$nsis_calls"
}

# One Wine server for every run, so no run pays for starting it.
"$wine_run" >/dev/null 2>&1 || true  # the prefix, set up once
wineserver -p
trap 'wineserver -k; wineserver -w' EXIT
bench large
bench small
