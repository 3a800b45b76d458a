#!/usr/bin/env bash
# Installs what is missing, builds Orvane and runs every test headless: the end-to-end tests
# drive the real program on a private Xvfb display. The whole suite runs twice: in the
# optimised build, and under AddressSanitizer and UndefinedBehaviorSanitizer. Then each
# fuzz target runs for 20 seconds over its seeds (scripts/fuzz.sh takes a longer time too).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-packages.sh
cmake --preset release
cmake --build --preset release
bash scripts/xvfb-session.sh ctest --preset release
cmake --preset asan
cmake --build --preset asan
bash scripts/xvfb-session.sh ctest --preset asan
bash scripts/fuzz.sh 20
