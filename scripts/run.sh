#!/usr/bin/env bash
# Installs what is missing, builds a Release tree and starts the calculator.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-packages.sh"

build="$root/build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --target kolv sestedit

exec "$build/app/kolv" "$@"
