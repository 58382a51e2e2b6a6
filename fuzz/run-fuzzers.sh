#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a set time, one
# after the other, growing the corpus in a scratch copy. Prints each target's
# executions. Crashes, leaks and sanitizer reports stop a target and leave
# the input in the build folder (crash-*, leak-*, timeout-*): fix the fault,
# then add the input to fuzz/corpus/<target>/.
#
#   fuzz/run-fuzzers.sh [seconds per target, default 600] [build folder, default build-fuzz] [targets]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
root=$(pwd)
dir=$(realpath -m "${2:-build-fuzz}")
clang=${CLANGXX:-clang++-14}
targets=${3:-configfile devicereport serverbytes clipboard}

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER="$clang" \
    -DTAVIK_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$dir" --target $(printf '%s_fuzzer ' $targets)

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
for target in $targets; do
    work="$dir/fuzz-work/$target"
    mkdir -p "$work/corpus"
    cp -n fuzz/corpus/$target/* "$work/corpus/" 2>/dev/null || true
    log="$work/fuzz.log"
    echo "== $target: $seconds s"
    if (cd "$work" && "$dir/fuzz/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=4096 -print_final_stats=1 -dict="$root/fuzz/$target.dict" corpus "$root/fuzz/corpus/$target" \
        >fuzz.log 2>&1); then
        result=clean
    else
        result="FOUND SOMETHING (see $log)"
        status=1
    fi
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
    units=$(ls "$work/corpus" | wc -l)
    echo "$target: $runs executions in $seconds s, corpus $units inputs, $result"
done
exit $status
