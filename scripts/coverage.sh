#!/usr/bin/env bash
# Measures how much of src/ the test suite runs: builds it with coverage counters in
# build-coverage/ (a build of its own), runs every test (the acceptance tests too, where their
# tools are installed), and prints the line, function and branch coverage of src/, then the
# files below 90% of their lines. Branches the compiler adds for exceptions are not counted.
# The counters are updated atomically, as training runs on several threads.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-coverage"
"$root/scripts/install-deps.sh" gcovr
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVEL_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="--coverage -fprofile-update=atomic" -DCMAKE_EXE_LINKER_FLAGS="--coverage" \
  >/dev/null
cmake --build "$build" -j "$(nproc)"
find "$build" -name '*.gcda' -delete
ctest --test-dir "$build" -j "$(nproc)" --output-on-failure || true

report=$(gcovr --root "$root" --filter "$root/src/" --exclude-throw-branches \
  --exclude-unreachable-branches --txt --print-summary "$build")
echo "$report" | grep -E '^(lines|functions|branches):'
echo "Files below 90% of their lines:"
echo "$report" | awk '$1 ~ /^src\// && $4 ~ /%$/ && $4 + 0 < 90 { print "  " $1 "  " $4 }'
