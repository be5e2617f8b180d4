#!/usr/bin/env bash
# Builds Corvel Duvu and opens it on the sample training files in examples/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
cd "$root/examples"
if [ -x "$root/build/src/app/corvel-duvu" ]; then
  exec "$root/build/src/app/corvel-duvu" "$@"
fi
# Until the window exists: train on a sample file headlessly and show the report.
exec "$root/build/src/batch/corvel-duvu-batch" --rule delta --rate 0.5 --report /dev/stdout \
  --sections all correlated.net
