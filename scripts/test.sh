#!/usr/bin/env bash
# Installs what is missing, checks that the C++ files are formatted, builds Orvane and runs
# every test headless: the end-to-end tests drive the real program on a private Xvfb display.
# Three builds, each compiling only what it runs:
#   release  the whole suite, end-to-end tests and the seeded random GUI run included, and a
#            brief smoke run of each benchmark;
#   asan     the unit and widget tests, the renderer's tests and the short end-to-end path,
#            under AddressSanitizer and UndefinedBehaviorSanitizer;
#   fuzz     each libFuzzer target for 10 seconds over its seeds (scripts/fuzz.sh takes a
#            longer time too).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-packages.sh

step() {
  local started=$SECONDS
  "$@"
  echo "test.sh: $* took $((SECONDS - started)) s"
}

step bash scripts/check-format.sh
step bash scripts/check-layers.sh
step cmake --preset release
step cmake --build --preset release
step bash scripts/xvfb-session.sh ctest --preset release
step cmake --preset asan
step cmake --build --preset asan
step bash scripts/xvfb-session.sh ctest --preset asan
step bash scripts/fuzz.sh 10
echo "test.sh: everything passed in $SECONDS s"
