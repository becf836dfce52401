#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UBSan (warnings are errors), checks
# the report engine's layers and the layout of the sources, runs every test (printer tests
# against a CUPS scheduler of its own when none runs) and the fuzz targets, then runs each
# benchmark once as a smoke test. The last line it prints is the tally of the tests.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-packages.sh"

build="$root/build-test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOLV_SANITIZE=ON \
    -DKOLV_WERROR=ON
cmake --build "$build"

source "$root/scripts/cups-ci.sh"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1
status=0
# The report engine's folders include one another one way only, the designer's model folder
# includes and links no widgets, and the READMEs of both map their units.
python3 "$root/scripts/check-report-layers.py" || status=1
# Every C++ source and header is laid out as the root .clang-format says (test data, under a
# data/ folder, stays as it was made); `clang-format -i` on a file it names mends it.
git -C "$root" ls-files -z -- '*.cpp' '*.h' ':!:*/data/*' |
    (cd "$root" && xargs -0 clang-format --dry-run -Werror) || status=1
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" | tee "$build/ctest.log" ||
    status=1
cups_ci_stop

"$root/scripts/fuzz.sh" || status=1

# The benchmark library's notes about its build and the CPU go to a log, shown on failure.
for bench in "$build"/bench/*_bench; do
    echo "Benchmark smoke run: $(basename "$bench")"
    "$bench" --benchmark_min_time=0.01 >"$build/bench.log" 2>&1 ||
        { cat "$build/bench.log"; status=1; }
done

# Keep this last: the tally of the tests is the closing line.
exec "$root/scripts/test-summary.sh" "$build/ctest.log" "$status"
