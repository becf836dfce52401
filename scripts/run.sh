#!/usr/bin/env bash
# Installs what is missing, builds a Release tree and starts the calculator.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-packages.sh"

build="$root/build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build"

app="$build/app/kolv"
if [ ! -x "$app" ]; then
    echo "The calculator is not part of this build yet; only the property library was built." >&2
    exit 1
fi
exec "$app" "$@"
