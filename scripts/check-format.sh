#!/bin/bash
# Fails when a C++ file of the project differs from what clang-format-14 makes of it
# (.clang-format at the top). `scripts/check-format.sh --fix` formats them in place.
set -euo pipefail
cd "$(dirname "$0")/.."
fix=${1:-}
# clang-format's dry run names every place it would change, many files to a process.
mapfile -t bad < <(git ls-files -z -- '*.cpp' '*.h' '*.c' |
    xargs -0 -n 50 -P "$(nproc)" clang-format-14 --dry-run --style=file 2>&1 |
    sed -n 's/^\(.*\):[0-9]*:[0-9]*: warning: code should be clang-formatted.*/\1/p' | sort -u)
if ((${#bad[@]})); then
    if [ "$fix" = --fix ]; then
        clang-format-14 -i --style=file "${bad[@]}"
        printf 'formatted %s\n' "${bad[@]}"
        exit 0
    fi
    echo "These files differ from clang-format-14 --style=file (scripts/check-format.sh --fix):"
    printf '  %s\n' "${bad[@]}"
    exit 1
fi
echo "format: every C++ file as clang-format-14 writes it"
