#!/bin/bash
# Installs what is needed, builds and runs every test. CI runs exactly this.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
# Widget tests use the offscreen platform themselves; the end-to-end tests need a real X server.
export QTWEBENGINE_DISABLE_SANDBOX=1
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build --output-on-failure -j2
