#!/usr/bin/env bash
# Configures and builds the core as WebAssembly into build-wasm/ with Debian's Emscripten:
# the core's tests, the module a web page drives (src/web/) and the engine's speed program.
# `NATIVE_BATCH=PATH` names a corvel-duvu-batch for the test that compares the module's
# reports with the batch program's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
emcmake cmake -S "$root" -B "$root/build-wasm" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCORVEL_NATIVE_BATCH="${NATIVE_BATCH:-}" >/dev/null
cmake --build "$root/build-wasm" -j "$(nproc)"
