#!/usr/bin/env bash
# Builds the libFuzzer targets (preset `fuzz`, clang with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for the given number of seconds (default 20),
# starting from a copy of its seeds in fuzz/corpus, so a run never grows the committed seeds.
# Ends with a non-zero status at the first finding; the input that caused it is kept under
# build/fuzz/findings. Needs the packages of scripts/install-packages.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [seconds per target, default 20]" >&2
  exit 2
fi
if ! command -v clang++ >/dev/null; then
  echo "fuzz.sh: clang++ is missing; run: bash scripts/install-packages.sh" >&2
  exit 2
fi

targets=(fuzz_number_reading fuzz_render_options fuzz_engine_state fuzz_png_text)

cmake --preset fuzz
cmake --build --preset fuzz

build=build/fuzz
rm -rf "$build/runs"
mkdir -p "$build/findings"
# Stack traces for undefined behaviour too; the instrumented code already stops at it.
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}

for target in "${targets[@]}"; do
  corpus="$build/runs/$target"
  mkdir -p "$corpus"
  cp -R "fuzz/corpus/$target/." "$corpus/"
  log="$build/runs/$target.log"
  echo "== $target: $seconds s"
  status=0
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/findings/$target-" "$corpus" >"$log" 2>&1 ||
    status=$?
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" |
    sort -u || true
  if ((status != 0)); then
    tail -n 60 "$log" >&2
    echo "fuzz.sh: $target found a fault (status $status); log: $log," \
      "input: $(ls -t "$build/findings/$target-"* 2>/dev/null | head -n 1)" >&2
    exit 1
  fi
done
echo "fuzz.sh: no findings in ${#targets[@]} targets, $seconds s each"
