#!/usr/bin/env bash
# Fails when a C++ file is not formatted as .clang-format says, naming each such file.
# Fix with: clang-format -i <file>. Checks the files git knows (tracked or new, not ignored);
# without git, every *.cpp and *.h outside the build directories.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang-format >/dev/null; then
  echo "check-format.sh: clang-format is missing; run: bash scripts/install-packages.sh" >&2
  exit 2
fi
if ! files=$(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' 2>/dev/null); then
  files=$(find . -path ./build -prune -o -path ./.git -prune -o \
    -type f \( -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||' | sort)
fi

existing=()
while IFS= read -r file; do
  # A file deleted in the work tree is still listed by git until the deletion is committed.
  [[ -f $file ]] && existing+=("$file")
done <<<"$files"

# Without files clang-format would read standard input.
((${#existing[@]} > 0)) || { echo "check-format.sh: no C++ files found" >&2; exit 1; }
# One run over every file; each violation is reported as <file>:<line>:<column>: error: ...
if ! report=$(clang-format --dry-run --Werror "${existing[@]}" 2>&1); then
  grep -oE '^[^:]+:[0-9]+:[0-9]+: error' <<<"$report" | cut -d: -f1 | sort -u |
    sed 's/^/check-format.sh: not formatted: /' >&2 || echo "$report" >&2
  echo "check-format.sh: run clang-format -i on the files above" >&2
  exit 1
fi
echo "check-format.sh: ${#existing[@]} files formatted"
