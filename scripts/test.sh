#!/usr/bin/env bash
# Installs what is missing, builds, and runs every check: the format of the sources,
# the floors of the tree (no include climbs, and the check still catches one),
# the core tests under AddressSanitizer and UBSan, a minute of fuzzing of the document
# reader, every test of the normal build (windows run offscreen), and last the window
# tests again under valgrind memcheck.
set -euo pipefail
cd "$(dirname "$0")/.."

step() {
  local name=$1
  shift
  local start=$SECONDS
  echo "=== $name"
  "$@"
  echo "=== $name: $((SECONDS - start)) s"
}

step build bash scripts/setup.sh
step format bash scripts/check-format.sh
step layers bash -c 'bash scripts/check-layers.sh && bash scripts/check-layers.sh --self-test'
step sanitizers bash scripts/test-sanitized.sh
step fuzz bash scripts/fuzz.sh 60
export QT_QPA_PLATFORM=offscreen
step tests ctest --test-dir build --output-on-failure --no-tests=error -j "$(nproc)" --timeout 300
step memcheck bash scripts/test-memcheck.sh
