#!/usr/bin/env bash
# Builds Tessaral twice (warnings as errors; AddressSanitizer + UBSan) and runs every test in both.
set -euo pipefail
cd "$(dirname "$0")/.."
# The start-up tests also run the program on a headless Wayland compositor (with Qt's
# Wayland plugin) and on an X server; the program itself needs neither.
bash scripts/deps.sh weston qt6-wayland xvfb
export TESSARAL_REQUIRE_SERVERS=1

jobs=$(nproc)

# Builds and tests get a temporary folder of their own, which must be empty again
# afterwards: a test that leaves files behind fails the run.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tessaral-ci-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch

run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  (cd "$dir" && ctest --output-on-failure -j "$jobs" --timeout 600)
  if [ -n "$(ls -A "$TMPDIR")" ]; then
    echo "The build or the tests left these in $TMPDIR:" >&2
    ls -lA "$TMPDIR" >&2
    exit 1
  fi
}

echo "== normal build (warnings as errors) =="
run_suite build -DTESSARAL_WERROR=ON -DTESSARAL_TESTS=ON -DTESSARAL_BENCH=ON

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build =="
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
# Qt and the system libraries keep no frame pointers: only the slow unwinder records whole
# stacks, and the suppressions name functions deep in them.
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0:fast_unwind_on_malloc=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
run_suite build-asan -DTESSARAL_SANITIZE=ON -DTESSARAL_TESTS=ON -DTESSARAL_BENCH=OFF
