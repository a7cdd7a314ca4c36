#!/usr/bin/env bash
# Checks what the compiler does not: every C++ file formatted as .clang-format
# says, and no include of src/ reaching a folder on its own floor or above.
#   tools/lint.sh          check, and fail on a difference
#   tools/lint.sh --fix    format the files in place
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/deps.sh --lint
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then
  clang-format -i "${files[@]}"
else
  clang-format --dry-run --Werror "${files[@]}"
fi
./tools/check-floors.sh
