#!/usr/bin/env bash
# Fails if a C++ source of src/, tests/ or bench/ differs from what clang-format 14
# makes of it with the committed .clang-format. `clang-format -i FILE` mends a file.
set -euo pipefail
cd "$(dirname "$0")/.."

files() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h'
  else
    find src tests bench \( -name '*.cpp' -o -name '*.h' \) -print0
  fi
}

if ! files | xargs -0 -r -n 40 -P "$(nproc)" clang-format-14 --dry-run -Werror; then
  echo "Sources differ from .clang-format: run clang-format-14 -i on the files above." >&2
  exit 1
fi
echo "format: every source matches .clang-format"
