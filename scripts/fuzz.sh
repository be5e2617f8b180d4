#!/usr/bin/env bash
# Runs the loader's fuzz target (libFuzzer, with AddressSanitizer and UndefinedBehaviorSanitizer)
# for SECONDS seconds (default 60) from its checked-in corpus, in build-fuzz/ (a clang build of
# its own). A finding fails the run and is named: copy it into tests/trainingset/fuzz_findings/,
# where the ordinary suite replays it. CI runs it after the README's test command.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
seconds=${1:-60}
"$root/scripts/install-deps.sh" clang libclang-rt-14-dev
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCORVEL_FUZZ=ON \
  -DCORVEL_BUILD_GUI=OFF -DCORVEL_BUILD_BENCH=OFF -DCORVEL_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target loader_fuzz
work="$root/fuzz/corpus-work"
mkdir -p "$work"
cd "$build"
"$build/fuzz/loader_fuzz" -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=2048 \
  -dict="$root/fuzz/loader.dict" "$work" "$root/fuzz/corpus" 2>&1 | tail -n 5 || {
  echo "the fuzzer found a fault: $(ls "$build"/crash-* "$build"/leak-* "$build"/timeout-* 2>/dev/null)" >&2
  exit 1
}
