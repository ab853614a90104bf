#!/usr/bin/env bash
# Fuzzes the document reader for SECONDS (default 60) with libFuzzer, AddressSanitizer
# and UBSan, starting from tests/fuzz/corpus. A crash, leak, hang or undefined
# behaviour fails the run; the input that made it is left in build-sanitize/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash scripts/sanitize-build.sh document_file_fuzzer

# New inputs go to build-sanitize/corpus; the committed corpus is only read.
mkdir -p build-sanitize/corpus build-sanitize/findings
export UBSAN_OPTIONS=print_stacktrace=1
if ! ./build-sanitize/tests/document_file_fuzzer -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
       -artifact_prefix=build-sanitize/findings/ build-sanitize/corpus tests/fuzz/corpus; then
  echo "The fuzzer found an input the document reader mishandles: see build-sanitize/findings/" >&2
  exit 1
fi
