#!/usr/bin/env bash
# Whether the property library of the working tree answers exactly as that of another revision
# (default: main): builds both in Release in a scratch folder, runs tools/numerics_identity.cpp
# of the working tree against each on the seed states of the base revision and compares the
# two texts byte for byte. Prints the number of lines and, when they differ, how many, by call
# and pair code, and the first differing pairs; exits 1 then. IDENTITY_KEEP=folder keeps the
# two texts there.
# Usage, from anywhere in the repository: scripts/numerics-identity.sh [revision]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
base=${1:-main}
w=$(mktemp -d)
trap 'rm -rf "$w"' EXIT

git -C "$root" rev-parse --verify --quiet "$base^{commit}" >/dev/null ||
    { echo "no such revision: $base"; exit 2; }
mkdir "$w/base"
git -C "$root" archive "$base" | tar -x -C "$w/base"

# The library alone, as the project builds it in Release.
build() { # source folder, build folder
    cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKOLV_BUILD_APP=OFF \
        -DKOLV_BUILD_TESTS=OFF -DKOLV_BUILD_BENCH=OFF >"$2.log" 2>&1 &&
        cmake --build "$2" --target numerics >>"$2.log" 2>&1 ||
        { cat "$2.log"; exit 2; }
    g++ -std=c++20 -O2 -I"$1" "$root/tools/numerics_identity.cpp" "$2/numerics/libnumerics.a" \
        -o "$2/identity"
}
build "$w/base" "$w/build-base"
build "$root" "$w/build-tree"
# Both ask the same questions: the seed states as the base revision completes them.
"$w/build-base/identity" --seeds >"$w/seeds.txt"
"$w/build-base/identity" <"$w/seeds.txt" >"$w/base.txt"
"$w/build-tree/identity" <"$w/seeds.txt" >"$w/tree.txt"

[ -n "${IDENTITY_KEEP:-}" ] && mkdir -p "$IDENTITY_KEEP" && cp "$w/base.txt" "$w/tree.txt" "$IDENTITY_KEEP"
lines=$(wc -l <"$w/tree.txt")
if cmp -s "$w/base.txt" "$w/tree.txt"; then
    echo "identical: $lines lines, $(sha256sum <"$w/tree.txt" | cut -c1-16)"
    exit 0
fi
changed=$(diff "$w/base.txt" "$w/tree.txt" | grep -c '^>' || true)
echo "DIFFERENT: $changed of $lines lines changed against $base; by call and pair code:"
diff "$w/base.txt" "$w/tree.txt" | awk '/^>/ { print $2, $3 }' | sort | uniq -c | sort -rn |
    awk '{ printf "  %s %s: %s\n", $2, $3, $1 }' | column -c 100
echo "The first ones (< $base, > tree):"
diff "$w/base.txt" "$w/tree.txt" | grep '^[<>]' | head -n 40
exit 1
