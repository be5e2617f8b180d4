#!/usr/bin/env bash
# Configures and builds the core as WebAssembly into build-wasm/ with Debian's Emscripten,
# with its tests, which `ctest --test-dir build-wasm` runs under node.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
emcmake cmake -S "$root" -B "$root/build-wasm" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build-wasm" -j "$(nproc)"
