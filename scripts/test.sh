#!/usr/bin/env bash
# Installs what is missing, builds Orvane and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-packages.sh
cmake --preset release
cmake --build --preset release
ctest --preset release
