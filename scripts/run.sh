#!/usr/bin/env bash
# Installs what is missing, builds Orvane and draws the home view with the headless renderer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-packages.sh
cmake --preset release
cmake --build --preset release
picture="$PWD/build/release/orvane-home.png"
./build/release/tools/orvane-render -o "$picture" --stats
echo "The home view is drawn in $picture"
