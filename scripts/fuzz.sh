#!/usr/bin/env bash
# Builds the libFuzzer targets with ASan and UBSan and runs each for FUZZ_SECONDS (default 60).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
seconds="${FUZZ_SECONDS:-60}"

bash scripts/deps.sh
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -DNDEBUG" \
    -DVESK_BUILD_FUZZ=ON -DVESK_BUILD_TESTS=OFF -DVESK_BUILD_BENCH=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc)"

shopt -s nullglob
targets=(build/fuzz/fuzz/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then
    echo "no fuzz targets built"
    exit 0
fi
# Runs one target on its corpus and prints its summary in one piece; non-zero on a fault.
run_target() {
    local target="$1" seconds="$2"
    local name corpus seeds
    name="$(basename "$target")"
    corpus="build/fuzz/corpus/$name"
    mkdir -p "$corpus"
    seeds="fuzz/seeds/${name#fuzz_}"
    [ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null
    # A target that needs a gigabyte has met an input whose size it does not bound: a fault.
    if ! "$target" -max_total_time="$seconds" -rss_limit_mb=1024 -print_final_stats=1 "$corpus" \
        2>build/fuzz/"$name".log; then
        { tail -50 build/fuzz/"$name".log; echo "$name found a fault"; } >&2
        return 1
    fi
    printf -- '-- %s for %ss\n%s\n%s\n' "$name" "$seconds" \
        "$(grep -E '^#[0-9]+.*DONE' build/fuzz/"$name".log | tail -1)" \
        "$(grep -E '^stat::peak_rss_mb' build/fuzz/"$name".log | tail -1)"
}
export -f run_target

# One target per core; the first fault stops the run with a non-zero exit.
printf '%s\n' "${targets[@]}" |
    xargs -P "$(nproc)" -I{} bash -c 'run_target "$1" "$2" || exit 255' _ {} "$seconds"
