#!/usr/bin/env bash
# Builds the suite with AddressSanitizer (leak checking on) and UndefinedBehaviorSanitizer in
# build-sanitize/ (a build of its own) and runs it: the core, the batch program and the pages
# offscreen. Any report fails the run. CI runs it after the README's test command.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-sanitize"
"$root/scripts/install-deps.sh"
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVEL_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$sanitizers" -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" >/dev/null
cmake --build "$build" -j "$(nproc)"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The acceptance and printing tests drive whole other programs (Orca, CUPS, the AT-SPI
# registry) whose own faults are not ours to report; everything else runs.
ctest --test-dir "$build" -LE "acceptance|printing" --output-on-failure -j "$(nproc)"
