#!/bin/bash
# Fails when a C++ file of the project differs from what clang-format-14 makes of it
# (.clang-format at the top). `scripts/check-format.sh --fix` formats them in place.
set -euo pipefail
cd "$(dirname "$0")/.."
fix=${1:-}
bad=()
while IFS= read -r -d '' file; do
    if ! clang-format-14 --style=file "$file" | cmp -s - "$file"; then
        bad+=("$file")
    fi
done < <(git ls-files -z -- '*.cpp' '*.h' '*.c')
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
