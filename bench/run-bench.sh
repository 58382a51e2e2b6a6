#!/usr/bin/env bash
# Builds tavikctl and the bench program (optimised) and times tavikctl's
# whole-table read, verify and program against the simulated device paced at
# 57600 baud, program --changed, eight devices programmed at once, 32 devices
# programmed by one tavikctl, how fast SIGINT cancels, and the CPU one 3.1 s
# timeout costs. Usage: bench/run-bench.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${TAVIK_BENCH_BUILD:-build}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" --target tavikbench tavikctl >/dev/null
# The built-in device's state and the error log stay out of the user's folders.
export XDG_DATA_HOME
XDG_DATA_HOME=$(mktemp -d)
trap 'rm -rf "$XDG_DATA_HOME"' EXIT
"$dir/bench/tavikbench" "${1:-3}"
