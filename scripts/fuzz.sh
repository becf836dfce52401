#!/usr/bin/env bash
# Builds the libFuzzer targets tests/fuzz/<name>_fuzz.cpp with clang (AddressSanitizer and UBSan)
# in build-fuzz and runs each for a bounded number of inputs (KOLV_FUZZ_RUNS, default 200000),
# starting from its seed corpus tests/fuzz/<name>_corpus/ and dictionary tests/fuzz/<name>.dict
# when present; tests/fuzz/<name>.args adds flags of its own. A crash, hang or sanitizer report
# fails the script; the input that caused it is left in build-fuzz/findings/.
# The rest of the tree (the calculator, the tests, the benchmarks) must compile with clang as
# well: what the fuzz targets do not need is checked without being built.
# How to add a target: see tests/fuzz/CMakeLists.txt.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-fuzz"
runs=${KOLV_FUZZ_RUNS:-200000}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKOLV_WERROR=ON \
    -DKOLV_FUZZ=ON -DKOLV_BUILD_TESTS=ON -DKOLV_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target fuzz_targets
# Sources that include moc output need it generated before they are checked.
mapfile -t autogen < <(ninja -C "$build" -t targets all |
    sed -nE 's/^([A-Za-z0-9_]+_autogen): phony$/\1/p')
cmake --build "$build" --target "${autogen[@]}" >/dev/null
python3 "$root/scripts/clang-syntax-check.py" "$build"

findings="$build/findings"
mkdir -p "$findings"
export QT_QPA_PLATFORM=offscreen
for target in "$build"/tests/fuzz/*_fuzz; do
    name=$(basename "$target" _fuzz)
    args=(-runs="$runs" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
          -artifact_prefix="$findings/${name}-")
    [[ -f "$root/tests/fuzz/$name.dict" ]] && args+=(-dict="$root/tests/fuzz/$name.dict")
    if [[ -f "$root/tests/fuzz/$name.args" ]]; then
        read -r -a extra <"$root/tests/fuzz/$name.args"
        args+=("${extra[@]}")
    fi
    # libFuzzer writes new inputs to the first folder; the committed seeds stay untouched.
    work=$(mktemp -d)
    seeds=()
    [[ -d "$root/tests/fuzz/${name}_corpus" ]] && seeds=("$root/tests/fuzz/${name}_corpus")
    echo "Fuzzing $name for $runs inputs"
    status=0
    "$target" "${args[@]}" "$work" "${seeds[@]}" 2>"$build/$name.log" || status=$?
    rm -rf "$work"
    grep -E "stat::number_of_executed_units|Done " "$build/$name.log" || true
    if [[ $status -ne 0 ]]; then
        tail -n 60 "$build/$name.log"
        echo "Fuzz target $name failed; its input is in $findings"
        exit 1
    fi
done
