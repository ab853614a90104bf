#!/usr/bin/env bash
# Fails when a source of src/ includes a file of a folder on a higher floor than its
# own. The floors are read from the "floors:" line of docs/ARCHITECTURE.md, bottom up,
# folders of one floor separated by spaces and floors by "|"; a gui/ folder stands on
# its subsystem's floor. A folder the line does not name is refused too, so that a new
# folder gets its floor before it gets code.
#
#   bash scripts/check-layers.sh             # the project's src/
#   bash scripts/check-layers.sh --self-test # plants a climbing include in a copy and
#                                            # expects the check to fail on it
set -euo pipefail
cd "$(dirname "$0")/.."

check() {
  local src=$1 doc=$2
  local floors
  floors=$(grep -m1 '^floors:' "$doc" | sed 's/^floors://') || {
    echo "layers: no floors: line in $doc" >&2
    return 2
  }
  python3 - "$src" "$floors" <<'PY'
import os, re, sys
src, floors = sys.argv[1], sys.argv[2]
rank = {}
for i, floor in enumerate(floors.split('|')):
    for folder in floor.split():
        rank[folder] = i
bad = []
for root, _, files in os.walk(src):
    for f in sorted(files):
        if not f.endswith(('.h', '.cpp')):
            continue
        path = os.path.join(root, f)
        parts = os.path.relpath(path, src).split(os.sep)
        me = parts[0] if len(parts) > 1 else None
        if me is None:
            continue
        if me not in rank:
            bad.append(f"{path}: folder {me}/ has no floor in the floors: line")
            continue
        with open(path, errors='ignore') as lines:
            for n, line in enumerate(lines, 1):
                m = re.match(r'\s*#\s*include\s+"([^"/]+)/', line)
                if not m:
                    continue
                top = m.group(1)
                if top not in rank:
                    bad.append(f"{path}:{n}: includes {top}/, which has no floor")
                elif rank[top] > rank[me]:
                    bad.append(f"{path}:{n}: {me}/ includes {top}/ from a higher floor")
for b in bad:
    print(b)
sys.exit(1 if bad else 0)
PY
}

if [ "${1:-}" = "--self-test" ]; then
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  cp -r src "$tmp/src"
  # The model may not know the application.
  printf '#include "app/AppController.h"\n' >> "$tmp/src/model/Date.h"
  if check "$tmp/src" docs/ARCHITECTURE.md > "$tmp/out"; then
    echo "layers: the check let a climbing include pass" >&2
    exit 1
  fi
  grep -q 'model/ includes app/' "$tmp/out" || { cat "$tmp/out" >&2; exit 1; }
  echo "layers: the check catches a climbing include"
  exit 0
fi

if ! check src docs/ARCHITECTURE.md; then
  echo "layers: an include climbs to a higher floor (see the floors: line of docs/ARCHITECTURE.md)" >&2
  exit 1
fi
echo "layers: no include climbs"
