#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UBSan (warnings are errors), runs
# every test, then runs each benchmark once as a smoke test. The last line it prints is the
# tally of the tests.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-packages.sh"

build="$root/build-test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOLV_SANITIZE=ON \
    -DKOLV_WERROR=ON
cmake --build "$build"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1
status=0
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" | tee "$build/ctest.log" ||
    status=1

# The benchmark library's own notes about its build and the CPU go to the log; a failing run
# shows it.
for bench in "$build"/bench/*_bench; do
    echo "Benchmark smoke run: $(basename "$bench")"
    if ! "$bench" --benchmark_min_time=0.01 >"$build/$(basename "$bench").log" 2>&1; then
        cat "$build/$(basename "$bench").log"
        echo "Benchmark smoke run failed: $(basename "$bench")"
        status=1
    fi
done

summary=$(grep -E '^[0-9]+% tests passed' "$build/ctest.log" | tail -1 || true)
passed=$(sed -nE 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2-\1/p' <<<"$summary")
if [ -n "$passed" ]; then
    total=${passed%-*}
    failed=${passed#*-}
    echo "$((total - failed)) passed, $failed failed"
else
    echo "0 passed, 1 failed (ctest gave no summary)"
    status=1
fi
exit $status
