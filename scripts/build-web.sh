#!/usr/bin/env bash
# Builds the web edition into build-web/site: the core as WebAssembly (build-wasm/), the
# pages' TypeScript checked and bundled by esbuild (from npm, as web/package-lock.json
# pins them), the sample training files and the service worker. No browser is downloaded.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
# Debian's own node leaves npm to a package of its own.
command -v npm >/dev/null || "$root/scripts/install-deps.sh" npm
if [ ! -f "$root/build-wasm/CMakeCache.txt" ]; then
  emcmake cmake -S "$root" -B "$root/build-wasm" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$root/build-wasm" --target corvel_web -j "$(nproc)"
cd "$root/web"
# npm ci only when the lock file changed since the last install.
if [ ! -f node_modules/.package-lock.json ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then
  PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error
fi
npx --no-install tsc --noEmit -p .
node build.mjs "$root/build-web/site" "$root/build-wasm/src/web" "$root/examples"
