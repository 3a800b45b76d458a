#!/usr/bin/env bash
# Installs what is missing, builds Orvane and starts it. Only the program and the renderer are
# built; the tests and the benchmarks are the test command's (scripts/test.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-packages.sh
cmake --preset release
cmake --build --preset release --target orvane orvane-render
exec ./build/release/src/app/orvane
