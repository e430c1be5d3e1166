#!/usr/bin/env bash
# Compression benchmark (not part of the tests): two products, each packed five ways in the same
# run: our setup with LZSS bodies, with LZMA bodies and with solid LZMA blocks, and NSIS (Debian's
# makensis, installed when missing) with zlib and with solid LZMA; `xz -9e` of a tar of the
# product shows the practical limit. The products: "generated", the "large" product of
# scripts/bench-product.py (about 1000 files, 100 MB, a quarter of it random bytes), and
# "system", real files of this machine (scripts/bench-system-product.py: Wine's DLLs, fonts,
# documents, PNG pictures; about 1750 files, 95 MB). Prints per product the setup sizes, the
# build times, the silent install times under Wine (ours /S, NSIS /S; best of three, every run
# into a fresh folder, checked file by file) with the peak memory of each setup process, the stub
# sizes, and the goals beside them.
#
#   bash scripts/bench-compression.sh [WORK_FOLDER]     (default build/bench-compression)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=bench-common.sh
source "$root/scripts/bench-common.sh"
cd "$root"
work="$(realpath -m "${1:-build/bench-compression}")"

bash scripts/deps.sh
bench_need_nsis
[ -d build/native ] || cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release
[ -d build/win32 ] || bash scripts/configure.sh
cmake --build build/native --target veskbuild
cmake --build build/win32 --target Setup time_process

rm -rf "$work"
mkdir -p "$work"
echo "== gathering the products"
python3 scripts/bench-product.py "$work/made" build/win32 >/dev/null
mkdir -p "$work/generated"
mv "$work/made/large/product" "$work/generated/product"
rm -rf "$work/made"
python3 scripts/bench-system-product.py "$work/system"

export WINEPREFIX="$root/build/win32/wineprefix"
wine_run="$root/build/win32/wine-run.sh"
veskbuild=build/native/builder/veskbuild
stub=build/win32/src/app/Setup.exe

seconds() { awk "BEGIN { printf \"%.1f\", $2 - $1 }"; }
ratio() { awk "BEGIN { printf \"%.2f\", $1 / $2 }"; }

# "<ms> <peak KB>" of one silent run of the setup $1 into the Windows folder $2.
silent_run() {
    bench_measured_run "$work" "$(basename "$1")" "$wine_run" build/win32/tests/time_process.exe \
        "$1" /S "/D=$2"
}

# Packs the product in $work/$1/product four ways, installs each, prints the table.
bench_product() {
    local label="$1" dir="$work/$1" name="VeskBench${1^}" method start key round ms kb
    local -A build_s size_b install_ms memory_kb setups
    bench_write_project "$dir/project.xml" "$name"
    bench_write_nsis "$dir/nsis-zlib.nsi" "$name" nsis-zlib.exe "SetCompressor zlib"
    bench_write_nsis "$dir/nsis-lzma.nsi" "$name" nsis-lzma.exe "SetCompressor /SOLID lzma"

    echo "== building the $label product's setups"
    for method in lzss lzma lzma-solid; do
        start=$(date +%s.%N)
        "$veskbuild" build "$dir/project.xml" -o "$dir/vesk-$method" --stub "$stub" \
            --compression "$method" --quiet
        build_s[$method]=$(seconds "$start" "$(date +%s.%N)")
        size_b[$method]=$(du -sb "$dir/vesk-$method" | cut -f1)
    done
    for method in zlib lzma; do
        start=$(date +%s.%N)
        (cd "$dir" && makensis -V1 "nsis-$method.nsi")
        build_s[nsis-$method]=$(seconds "$start" "$(date +%s.%N)")
        size_b[nsis-$method]=$(stat -c %s "$dir/nsis-$method.exe")
    done
    start=$(date +%s.%N)
    size_b[xz]=$(tar -C "$dir" --sort=name -cf - product | xz -9e -T1 | wc -c)
    build_s[xz]=$(seconds "$start" "$(date +%s.%N)")
    local dictionary
    dictionary=$("$veskbuild" build "$dir/project.xml" -o "$work/listing" --stub "$stub" \
        --compression lzma | sed -n 's/^ *method *//p')
    rm -rf "$work/listing"

    local drive="$WINEPREFIX/drive_c/$name"
    setups=([lzss]="$dir/vesk-lzss/Setup.exe" [lzma]="$dir/vesk-lzma/Setup.exe"
            [lzma-solid]="$dir/vesk-lzma-solid/Setup.exe"
            [nsis-zlib]="$dir/nsis-zlib.exe" [nsis-lzma]="$dir/nsis-lzma.exe")
    echo "== silent installs of the $label product under Wine, best of three"
    for round in 1 2 3; do
        for key in lzss lzma lzma-solid nsis-zlib nsis-lzma; do
            rm -rf "$drive"
            "$wine_run" reg delete "HKLM\\SOFTWARE\\VeskSoft\\VeskInstall\\$name" /f >/dev/null 2>&1 || true
            read -r ms kb < <(silent_run "${setups[$key]}" "C:\\$name\\Here")
            [ -n "$ms" ] || { echo "$key did not complete; see $work/runs.log" >&2; exit 1; }
            diff -rq "$dir/product" "$drive/Here" >/dev/null || { echo "$key's install differs" >&2; exit 1; }
            if [ -z "${install_ms[$key]:-}" ] || [ "$ms" -lt "${install_ms[$key]}" ]; then install_ms[$key]=$ms; fi
            if [ -z "${memory_kb[$key]:-}" ] || [ "$kb" -gt "${memory_kb[$key]}" ]; then memory_kb[$key]=$kb; fi
        done
    done
    rm -rf "$drive"

    local ours_stub nsis_zlib_stub nsis_lzma_stub nsis_ansi_stub bytes files
    ours_stub=$(stat -c %s "$stub")
    nsis_zlib_stub=$(stat -c %s /usr/share/nsis/Stubs/zlib-x86-unicode)
    nsis_lzma_stub=$(stat -c %s /usr/share/nsis/Stubs/lzma_solid-x86-unicode)
    nsis_ansi_stub=$(stat -c %s /usr/share/nsis/Stubs/zlib-x86-ansi)
    bytes=$(du -sb "$dir/product" | cut -f1)
    files=$(find "$dir/product" -type f | wc -l)
    echo
    echo "$label product: $files files, $bytes bytes; our LZMA bodies: $dictionary"
    printf '| %-16s | %12s | %7s | %10s | %11s | %9s |\n' setup "size (bytes)" "build" "/S install" "peak memory" "stub"
    printf '|%s|%s|%s|%s|%s|%s|\n' ------------------ -------------- --------- ------------ ------------- -----------
    row() {
        printf '| %-16s | %12s | %6ss | %7s ms | %8s KB | %9s |\n' "$1" "${size_b[$2]}" "${build_s[$2]}" \
            "${install_ms[$2]}" "${memory_kb[$2]}" "$3"
    }
    row "ours, LZSS" lzss "$ours_stub"
    row "ours, LZMA" lzma "$ours_stub"
    row "NSIS zlib" nsis-zlib "$nsis_zlib_stub"
    row "ours, LZMA-SOLID" lzma-solid "$ours_stub"
    row "NSIS LZMA solid" nsis-lzma "$nsis_lzma_stub"
    printf '| %-16s | %12s | %6ss | %10s | %11s | %9s |\n' "xz -9e of a tar" "${size_b[xz]}" \
        "${build_s[xz]}" - - -
    echo
    echo "goals (ours with LZMA, $label product):"
    echo "  size    $(ratio "${size_b[lzma]}" "${size_b[nsis-lzma]}") x NSIS LZMA solid (at most 1.15)," \
         "$(ratio "${size_b[lzma]}" "${size_b[nsis-zlib]}") x NSIS zlib (at most 0.60);" \
         "NSIS LZMA solid is $(ratio "${size_b[nsis-lzma]}" "${size_b[nsis-zlib]}") x NSIS zlib"
    echo "  /S      $(ratio "${install_ms[lzma]}" "${install_ms[nsis-lzma]}") x NSIS LZMA's time (at most 1.00)"
    echo "  stub    $(ratio "$ours_stub" "$nsis_ansi_stub") x NSIS's zlib x86-ansi stub (at most 1.50;" \
         "scripts/bench-stub-size.sh says where the bytes go)"
    echo "  memory  $((memory_kb[lzma] - memory_kb[lzss])) KB more than with LZSS bodies (the dictionary and the decoder's state)"
    echo "goals (ours with LZMA-SOLID and LZSS, $label product):"
    echo "  size    $(ratio "${size_b[lzma-solid]}" "${size_b[nsis-lzma]}") x NSIS LZMA solid (at most 0.98)," \
         "$(ratio "${size_b[lzma-solid]}" "${size_b[xz]}") x xz -9e (at most 1.03)"
    echo "  /S      $(ratio "${install_ms[lzma-solid]}" "${install_ms[nsis-lzma]}") x NSIS LZMA's time (at most 0.90);" \
         "LZSS $(ratio "${install_ms[lzss]}" "${install_ms[nsis-zlib]}") x NSIS zlib's (at most 0.90)"
    echo "  memory  $(ratio "${memory_kb[lzma-solid]}" "${memory_kb[nsis-lzma]}") x NSIS LZMA's peak (at most 2.00)"
    echo "  build   $(ratio "${build_s[lzma-solid]}" "${build_s[nsis-lzma]}") x makensis /SOLID lzma's time (at most 1.00)"
    echo
}

"$wine_run" >/dev/null 2>&1 || true
wineserver -p
trap 'wineserver -k; wineserver -w' EXIT
bench_product generated
bench_product system
