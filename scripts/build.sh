#!/bin/bash
# Configures and builds into build/ (the program is build/mitoon).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/compiler-cache.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
