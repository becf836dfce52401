#!/usr/bin/env bash
# Prints the closing line of scripts/test.sh, "N passed, N failed, N skipped", from ctest's log,
# and exits with failure when a test or an earlier step (status given as the second argument)
# failed. ctest counts a skipped test as passed; here it is counted apart.
#   test-summary.sh CTEST_LOG STATUS
set -uo pipefail
log=$1
status=${2:-0}

summary=$(grep -E '^[0-9]+% tests passed' "$log" 2>/dev/null | tail -1)
counts=$(sed -nE 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2 \1/p' <<<"$summary")
if [ -z "$counts" ]; then
    echo "0 passed, 1 failed (ctest gave no summary)"
    exit 1
fi
read -r total failed <<<"$counts"
skipped=$(grep -cE '^[[:space:]]+[0-9]+ - .* \(Skipped\)$' "$log")
echo "$((total - failed - skipped)) passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ] && [ "$status" -eq 0 ]
