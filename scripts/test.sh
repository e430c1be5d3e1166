#!/usr/bin/env bash
# Runs every test: native unit tests, the Debian package's check, the threads' tests under
# ThreadSanitizer, Windows-built tests under Wine, and a short run of each fuzz target. Exits
# non-zero when anything fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
logs="$root/build/test-logs"
# Each stage names the seconds the run has taken when it starts, to see where the time goes.
stage() { echo "== $1 (at ${SECONDS} s)"; }

bash scripts/configure.sh
mkdir -p "$logs"

# Runs ctest with the given arguments, keeping its output to count the tests afterwards.
run_ctest() {
    local log="$1"
    shift
    "$@" 2>&1 | tee "$log"
    return "${PIPESTATUS[0]}"
}

stage "native tests"
run_ctest "$logs/native.log" ctest --test-dir build/native -j "$(nproc)" --output-on-failure

stage "Debian package"
# Packaged from the trees just built, unpacked into a clean folder and used there (a few seconds).
bash scripts/package.sh --built
bash scripts/check-package.sh

stage "install worker and records under ThreadSanitizer"
# Its own tree with only what the threads' tests need; a reported race fails the case.
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -DNDEBUG" -DVESK_BUILD_TSAN=ON \
    -DVESK_BUILD_BENCH=OFF >/dev/null
cmake --build build/tsan -j "$(nproc)" --target thread_tests
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
run_ctest "$logs/tsan.log" ctest --test-dir build/tsan --output-on-failure

stage "Windows tests under Wine"
# Two cases at a time: the tests lock out each other where they share the desktop or a key.
# A case is run a second time only when it failed: a Wine process now and then dies while it
# exits, after its test has passed. A case that fails twice still fails the run.
win_ctest=(bash scripts/wine-ctest.sh -j 2 --output-on-failure --repeat until-pass:2)
if [ -n "${DISPLAY:-}" ]; then
    run_ctest "$logs/win32.log" "${win_ctest[@]}"
else
    run_ctest "$logs/win32.log" xvfb-run -a -s "-screen 0 1024x768x24" "${win_ctest[@]}"
fi

stage "veskbuild try under Wine"
# One setup through the whole command, on its own virtual display and throwaway prefix.
run_ctest "$logs/try.log" bash scripts/try-check.sh build/try-check

stage "fuzz smoke run"
FUZZ_SECONDS="${FUZZ_SECONDS:-10}" bash scripts/fuzz.sh

# "<cases> <failed>" from ctest's summary line; skipped cases are those it lists as not run.
count() { sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\2 \1/p' "$1" | tail -1; }
skipped() { grep -cE '^[[:space:]]+[0-9]+ - .* \((Skipped|Disabled)\)$' "$1" || true; }
read -r native_total native_failed < <(count "$logs/native.log")
read -r tsan_total tsan_failed < <(count "$logs/tsan.log")
read -r win_total win_failed < <(count "$logs/win32.log")
total=$((native_total + tsan_total + win_total + 1))
failed=$((native_failed + tsan_failed + win_failed))
skips=$(($(skipped "$logs/native.log") + $(skipped "$logs/win32.log")))
echo "native: $native_total ctest cases, ThreadSanitizer: $tsan_total, Windows: $win_total ctest cases under Wine, veskbuild try: 1 run"
echo "Debian package: built and checked"
echo "$((total - failed - skips)) passed, $skips skipped, $failed failed in ${SECONDS} s"
