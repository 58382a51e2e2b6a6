#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite twice: the
# normal build in build/, then the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-deps.sh

# Most tests spend their time waiting on a device, so ctest runs more of them
# than there are cores, and the sanitizer build uses the cores they leave
# idle meanwhile: niced, it gives way whenever a test wants to run. Not at
# the lowest priority, which on a machine kept busy by others starves it: it
# is niced only while the normal tests run, and takes its full share after.
jobs=$(( $(nproc) * 2 ))
# Both builds compile as unity builds, which halves their time on two cores.
# A unity build can hide a missing include; scripts/run.sh on a fresh clone
# compiles file by file, and so does any build configured without the switch.
SECONDS=0
scripts/build.sh build -DCMAKE_UNITY_BUILD=ON
echo "normal build: ${SECONDS} s"
# A group of its own, so that the compilers it starts are reniced with it.
setsid nice -n 5 scripts/build.sh build-asan -DTAVIK_SANITIZE=ON -DCMAKE_UNITY_BUILD=ON \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1" >build-asan.log 2>&1 &
asan_build=$!
# Outside the terminal's group, a Ctrl+C would not reach it.
trap 'kill -- "-$asan_build" 2>/dev/null || true' EXIT
normal_result=0
(cd build && ctest --output-on-failure --timeout 900 -j"$jobs") || normal_result=$?
echo "normal tests done: ${SECONDS} s"
# Only root may raise a priority again; anyone else's build stays niced.
renice -n 0 -g "$asan_build" >/dev/null 2>&1 || true
asan_result=0
if wait "$asan_build"; then
    echo "sanitizer build done: ${SECONDS} s"
    # Only what comes from outside the project is suppressed; each file says why.
    export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
    export LSAN_OPTIONS="suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    # The line sweeps take every twentieth point here; the normal build takes every one.
    export TAVIK_SWEEP_STRIDE=20
    (cd build-asan && ctest --output-on-failure --timeout 900 -j"$jobs") || asan_result=$?
else
    asan_result=$?
    cat build-asan.log
    echo "sanitizer build failed"
fi
outcome() { [ "$1" -eq 0 ] && echo passed || echo "FAILED ($1)"; }
echo "all done: ${SECONDS} s"
echo "normal tests: $(outcome "$normal_result")"
echo "sanitizer tests: $(outcome "$asan_result")"
[ "$normal_result" -eq 0 ] && [ "$asan_result" -eq 0 ]
