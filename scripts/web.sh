#!/usr/bin/env bash
# Builds the web edition (scripts/build-web.sh) and serves it on http://localhost:8000
# (PORT=... for another port). Any web server can serve build-web/site the same way.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build-web.sh"
exec node "$root/web/serve.mjs" "$root/build-web/site" "${PORT:-8000}"
