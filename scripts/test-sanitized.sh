#!/usr/bin/env bash
# Runs the core tests (and the fuzzer's corpus) built with AddressSanitizer and UBSan
# in ./build-sanitize: any finding fails its test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/sanitize-build.sh
export UBSAN_OPTIONS=print_stacktrace=1
ctest --test-dir build-sanitize --output-on-failure --no-tests=error -j "$(nproc)" --timeout 300
