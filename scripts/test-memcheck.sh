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
# each entry with its reason). The X11 suite runs on an X display of its own (Xvfb); every
# other suite offscreen. A run in which nothing ran fails: a missing test program, no
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

if [ $# -gt 0 ]; then
  suites=("$@")
else
  listed=$("$tests" --gtest_list_tests)
  mapfile -t suites < <(sed -n 's/^\([A-Za-z0-9_]*\)\.$/\1/p' <<<"$listed")
  for x in "${excluded[@]}"; do
    for i in "${!suites[@]}"; do [ "${suites[$i]}" = "$x" ] && unset 'suites[i]'; done
  done
fi
if [ ${#suites[@]} -eq 0 ]; then
  echo "memcheck: no test suite to run" >&2
  exit 1
fi

run_suite() {
  local suite=$1
  local display=()
  if [ "$suite" = X11KeysTest ]; then display=(env QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24"); fi
  "${display[@]}" valgrind --tool=memcheck --error-exitcode=99 --leak-check=no --num-callers=40 \
    --suppressions=scripts/memcheck.supp \
    "$tests" --gtest_filter="$suite.*" >"$logs/$suite.log" 2>&1 || return 1
  # A suite that passed no test (a name no test has, every test skipped) checked nothing.
  grep -Eq '^\[  PASSED  \] [1-9][0-9]* tests?\.' "$logs/$suite.log" || {
    echo "ran no test" >>"$logs/$suite.log"
    return 1
  }
}
export -f run_suite
export tests logs

start=$SECONDS
failed=()
# Each suite that fails is named in $logs/failed; its log tells why.
printf '%s\n' "${suites[@]}" | xargs -P "$(nproc)" -I{} bash -c 'run_suite "$1" || echo "$1" >>"$0/failed"' "$logs" {}
if [ -f "$logs/failed" ]; then mapfile -t failed <"$logs/failed"; fi

for suite in "${failed[@]}"; do
  echo "=== memcheck: $suite failed"
  grep -E "^==[0-9]+== (Invalid|Conditional|Use of|Syscall|Mismatched|Source and)" -A30 "$logs/$suite.log" | head -150 || true
  grep -E "^\[  FAILED  \]|ERROR SUMMARY|^ran no test" "$logs/$suite.log" || true
done
echo "memcheck: ${#suites[@]} suites, ${#failed[@]} failed, $((SECONDS - start)) s (logs in $logs)"
[ ${#failed[@]} -eq 0 ]
