#!/usr/bin/env bash
# Runs the window tests (./build/tests/gui_tests, built by scripts/setup.sh) under
# valgrind memcheck, one process per test suite, side by side. Any invalid read, write
# or free, and any use of uninitialised memory, fails the run: AddressSanitizer does
# not see inside Qt, where a window, box or sheet deleted while Qt still handles its
# event is touched again.
#
#   bash scripts/test-memcheck.sh                 every suite
#   bash scripts/test-memcheck.sh SheetControllerTest ModalSessionTest
#
# Only what is shown to lie outside this program is suppressed (scripts/memcheck.supp,
# each entry with its reason). The X11 suites run on an X display of their own (Xvfb);
# every other suite offscreen. A run in which nothing ran fails: a missing test program, no
# suite, or a suite that ran no test.
set -euo pipefail
cd "$(dirname "$0")/.."

tests=build/tests/gui_tests
logs=build/memcheck
rm -rf "$logs"
mkdir -p "$logs"

if [ ! -x "$tests" ]; then
  echo "memcheck: $tests is missing: build it first (scripts/setup.sh)" >&2
  exit 1
fi

export QT_QPA_PLATFORM=offscreen
# PCRE2's compiled patterns read whole vector words at a string's end, past its last
# character, which memcheck cannot tell from a fault in the program: the patterns are
# interpreted instead.
export QT_ENABLE_REGEXP_JIT=0

# Not run here: DocumentLockTest names the program holding a lock by the running
# executable, which under valgrind is valgrind's own; it has no window.
excluded=(DocumentLockTest)

listed=$("$tests" --gtest_list_tests)
if [ $# -gt 0 ]; then
  suites=("$@")
else
  mapfile -t suites < <(sed -n 's/^\([A-Za-z0-9_]*\)\.$/\1/p' <<<"$listed")
  for x in "${excluded[@]}"; do
    for i in "${!suites[@]}"; do [ "${suites[$i]}" = "$x" ] && unset 'suites[i]'; done
  done
fi
if [ ${#suites[@]} -eq 0 ]; then
  echo "memcheck: no test suite to run" >&2
  exit 1
fi

# A suite of many tests runs as several processes side by side, a share of its tests
# each (a test of a window can take minutes under memcheck, and the run lasts as long
# as its longest process): one per 4 tests, at most 4. Jobs: "suite index count".
jobs=()
for suite in "${suites[@]}"; do
  count=$(awk -v s="$suite." '$0 == s {inside = 1; next} /^[^ ]/ {inside = 0} inside {n++} END {print n + 0}' <<<"$listed")
  shares=$(((count + 3) / 4))
  [ "$shares" -gt 4 ] && shares=4
  [ "$shares" -lt 1 ] && shares=1
  for ((i = 0; i < shares; i++)); do jobs+=("$count $suite $i $shares"); done
done
# The largest suites first, so that none of their shares starts last.
mapfile -t jobs < <(printf '%s\n' "${jobs[@]}" | sort -k1,1nr -k2,2 | cut -d' ' -f2-)

run_suite() {
  local suite=$1 index=$2 shares=$3
  local log=$logs/$suite.log
  [ "$shares" -gt 1 ] && log=$logs/$suite.$((index + 1))-of-$shares.log
  local display=()
  if [[ "$suite" == X11* ]]; then display=(env QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24"); fi
  GTEST_TOTAL_SHARDS=$shares GTEST_SHARD_INDEX=$index \
    "${display[@]}" valgrind --tool=memcheck --error-exitcode=99 --leak-check=no --num-callers=40 \
    --suppressions=scripts/memcheck.supp \
    "$tests" --gtest_filter="$suite.*" >"$log" 2>&1 || {
    echo "$log"
    return 1
  }
  # A suite, or share, that passed no test (a name no test has, every test skipped)
  # checked nothing.
  grep -Eq '^\[  PASSED  \] [1-9][0-9]* tests?\.' "$log" || {
    echo "ran no test" >>"$log"
    echo "$log"
    return 1
  }
}
export -f run_suite
export tests logs

start=$SECONDS
failed=()
# The log of each suite or share that fails is named in $logs/failed; it tells why.
printf '%s\n' "${jobs[@]}" | xargs -P "$(nproc)" -L1 bash -c 'run_suite "$@" >>"'"$logs"'/failed" || true' run_suite
if [ -f "$logs/failed" ]; then mapfile -t failed <"$logs/failed"; fi

for log in "${failed[@]}"; do
  echo "=== memcheck: $(basename "$log" .log) failed"
  grep -E "^==[0-9]+== (Invalid|Conditional|Use of|Syscall|Mismatched|Source and)" -A30 "$log" | head -150 || true
  grep -E "^\[  FAILED  \]|ERROR SUMMARY|^ran no test" "$log" || true
done
echo "memcheck: ${#suites[@]} suites, ${#failed[@]} failed, $((SECONDS - start)) s (logs in $logs)"
[ ${#failed[@]} -eq 0 ]
