#!/usr/bin/env bash
# Builds Corvel Duvu and runs every test; then builds the core as WebAssembly and runs its
# tests under node, the module's reports against this build's corvel-duvu-batch, and the web
# edition's tests in Debian's chromium (where Emscripten, node and chromium are installed,
# which the install script sees to).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"
if command -v em++ >/dev/null && command -v node >/dev/null; then
  NATIVE_BATCH="$root/build/src/batch/corvel-duvu-batch" "$root/scripts/build-wasm.sh"
  ctest --test-dir "$root/build-wasm" --output-on-failure -j "$(nproc)"
  if [ -x /usr/bin/chromium ]; then
    NATIVE_BATCH="$root/build/src/batch/corvel-duvu-batch" "$root/scripts/test-web.sh"
  fi
fi
