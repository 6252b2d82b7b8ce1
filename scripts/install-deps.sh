#!/bin/bash
# Installs what building, running and testing ミトーン needs on Debian 12 (run as root).
set -euo pipefail
packages=(
    cmake g++ make pkg-config ccache lld
    qt6-base-dev qt6-webengine-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    qt6-translations-l10n libgl-dev libfontconfig-dev
    libgtest-dev
    fonts-ipafont-gothic
    xvfb xauth xdotool imagemagick poppler-utils hyperfine python3 libxcb1-dev
    clang libclang-rt-14-dev clang-format-14
    dpkg-dev file lintian desktop-file-utils
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q "${missing[@]}"
fi
