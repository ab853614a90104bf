#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (windows run offscreen).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --no-tests=error -j "$(nproc)" --timeout 300
