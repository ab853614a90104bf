#!/usr/bin/env bash
# Fuzzes a reader for SECONDS (default 60) with libFuzzer, AddressSanitizer and UBSan:
# the document reader of every format version with every report built from what it
# read (TARGET document, the default, corpus tests/fuzz/corpus) or the journal text
# reader (TARGET shiwake-text, corpus tests/fuzz/shiwake-text-corpus). Inputs stay at
# most 16 KB, the size of the seeds: small books reach every record and every report.
# A crash, leak, hang or undefined behaviour fails the run; the input that made it is
# left in build-sanitize/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
target=${2:-document}
case "$target" in
  document) fuzzer=document_file_fuzzer; seeds=tests/fuzz/corpus; work=build-sanitize/corpus
            options=(-dict=tests/fuzz/document.dict) ;;
  shiwake-text) fuzzer=shiwake_text_fuzzer; seeds=tests/fuzz/shiwake-text-corpus; work=build-sanitize/shiwake-text-corpus
                options=() ;;
  *) echo "usage: $0 [SECONDS] [document|shiwake-text]" >&2; exit 2 ;;
esac
bash scripts/sanitize-build.sh "$fuzzer"

# New inputs go to the work corpus; the committed corpus is only read.
mkdir -p "$work" build-sanitize/findings
export UBSAN_OPTIONS=print_stacktrace=1
if ! "./build-sanitize/tests/$fuzzer" -max_total_time="$seconds" -timeout=10 -max_len=16384 "${options[@]}" -print_final_stats=1 \
       -artifact_prefix=build-sanitize/findings/ "$work" "$seeds"; then
  echo "The fuzzer found an input the $target reader mishandles: see build-sanitize/findings/" >&2
  exit 1
fi
