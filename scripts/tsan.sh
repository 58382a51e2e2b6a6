#!/usr/bin/env bash
# Builds the core, the simulated device and their tests with ThreadSanitizer
# in build-tsan/ and runs the tests whose device serves on its own thread
# while the program under test talks to it: the link, the dialogues, the
# simulator, the failing-line sweeps (every fifth point) and tavikctl's.
# Not part of the test command: a run takes a while, and Qt's own libraries
# are not instrumented (see tests/sanitizer/tsan.supp).
# Usage: scripts/tsan.sh [CTEST-REGEX]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-deps.sh
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVIK_SANITIZE_THREAD=ON \
    -DCMAKE_UNITY_BUILD=ON -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" >/dev/null
# The window is left out: it runs on one thread, and the tests here do not start it.
cmake --build build-tsan --parallel "$(nproc)" --target tst_link tst_dialogues tst_sim tst_failingline \
    tst_tavikctl tavikctl tavik-sim
# Every process (the tests, and the tavikctl and tavik-sim they start) writes
# its reports to a file of its own, so that none is lost in captured output.
reports=$root/build-tsan/tsan-reports
rm -rf "$reports"
mkdir -p "$reports"
export TSAN_OPTIONS="halt_on_error=0:second_deadlock_stack=1:die_after_fork=0:log_path=$reports/report:suppressions=$root/tests/sanitizer/tsan.supp"
export TAVIK_SWEEP_STRIDE=5
cd build-tsan
result=0
ctest --output-on-failure --timeout 1800 -j"$(nproc)" \
    -R "${1:-tst_link|tst_dialogues|tst_sim|failingline|tst_tavikctl}" || result=$?
# A report anywhere fails the run, even in a test that otherwise passed.
count=$(cat "$reports"/report.* 2>/dev/null | grep -c 'WARNING: ThreadSanitizer' || true)
if [ "$count" -gt 0 ]; then
    echo "ThreadSanitizer: $count reports, in $reports"
    exit 1
fi
echo "ThreadSanitizer: no reports"
exit "$result"
