#!/usr/bin/env bash
# Builds Corvel Duvu and opens it on the sample training files in examples/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
cd "$root/examples"
exec "$root/build/src/app/corvel-duvu" "$@"
