#!/usr/bin/env bash
# Builds Corvel Duvu and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"
