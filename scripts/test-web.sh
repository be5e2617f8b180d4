#!/usr/bin/env bash
# Builds the web edition and runs its browser tests (web/tests/) over the built site served
# on localhost: Debian's chromium through playwright-core, and firefox-esr through
# puppeteer-core where it is installed; the reports are compared with this build's
# corvel-duvu-batch. Neither browser is downloaded: both come from Debian.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build-web.sh"
cd "$root/web"
CORVEL_SITE="$root/build-web/site" CORVEL_BATCH="${NATIVE_BATCH:-$root/build/src/batch/corvel-duvu-batch}" \
  node --test --test-concurrency=1 tests/
