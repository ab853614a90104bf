#!/usr/bin/env bash
# Configures and builds TARGETS (all if none) in ./build-sanitize: the core, its tests
# and the fuzzer of the document reader, compiled by clang with AddressSanitizer,
# UBSan and libFuzzer's coverage. The windows are left out: their tests run in the
# normal build.
set -euo pipefail
cd "$(dirname "$0")/.."

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# -O1 and line tables: quicker to build than -O2 -g and enough for the sanitizers'
# stacks; assertions stay on.
CC=clang CXX=clang++ cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" \
  -DKIVO_BUILD_GUI=OFF -DKIVO_BUILD_BENCH=OFF -DKIVO_BUILD_FUZZ=ON -DKIVO_SANITIZE=address,undefined >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build build-sanitize -j "$(nproc)" "${targets[@]}"
