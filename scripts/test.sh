#!/usr/bin/env bash
# Installs what is missing, builds Orvane and runs every test headless: the end-to-end tests
# drive the real program on a private Xvfb display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-packages.sh
cmake --preset release
cmake --build --preset release
bash scripts/xvfb-session.sh ctest --preset release
