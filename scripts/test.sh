#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite twice: the
# normal build in build/, then the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-deps.sh
# Most tests spend their time waiting on a device, so ctest runs more of them
# than there are cores; the line sweeps are many entries for that reason.
jobs=$(( $(nproc) * 2 ))
time scripts/build.sh build
time (cd build && ctest --output-on-failure --timeout 900 -j"$jobs")

time scripts/build.sh build-asan -DTAVIK_SANITIZE=ON
# Only what comes from outside the project is suppressed; each file says why.
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The line sweeps take every fifth point here; the normal build takes every one.
export TAVIK_SWEEP_STRIDE=5
time (cd build-asan && ctest --output-on-failure --timeout 900 -j"$jobs")
