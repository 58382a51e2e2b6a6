#!/usr/bin/env bash
# Non-blank lines of C++ and CMake in the tests and in the
# product (src, cli and sim; bench and fuzz count on neither
# side), and the tests' share of the product, kept at 35% at most.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
    find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name 'CMakeLists.txt' -o -name '*.cmake' \) \
        -print0 | xargs -0 cat | grep -cv '^[[:space:]]*$'
}
tests=$(count tests)
product=$(count src cli sim)
echo "tests   $tests"
echo "product $product (src, cli, sim)"
awk -v t="$tests" -v p="$product" 'BEGIN { printf "share   %.1f%%\n", 100 * t / p }'
