#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UBSan, runs every test and the fuzz
# targets, then runs each benchmark once as a smoke test.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-packages.sh"

build="$root/build-test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOLV_SANITIZE=ON
cmake --build "$build"

source "$root/scripts/cups-ci.sh"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
"$root/scripts/fuzz.sh"

for bench in "$build"/bench/*_bench; do
    echo "Benchmark smoke run: $(basename "$bench")"
    "$bench" --benchmark_min_time=0.01 >/dev/null
done
