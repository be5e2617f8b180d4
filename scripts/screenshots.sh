#!/usr/bin/env bash
# Takes the pictures in docs/ of every page built so far, from the program itself: it runs
# corvel-duvu under a virtual X server, drives it through the accessibility interface as a
# user would, and grabs each page's window. The program runs in a private folder,
# /home/student/examples (a copy of examples/ on a private, temporary /home that only this
# script sees), so the pictures show no folder of the machine they were taken on.
#
# Needs what scripts/install-deps.sh installs, and root or unprivileged user namespaces (for
# the private /home). Builds first when the program is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program="$root/build/src/app/corvel-duvu"
[ -x "$program" ] || "$root/scripts/build.sh"

if [ "${CORVEL_SCREENSHOTS_INSIDE:-}" != 1 ]; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(--map-root-user)
  exec unshare --mount "${as_root[@]}" env CORVEL_SCREENSHOTS_INSIDE=1 "$0" "$@"
fi

# Inside the private mount namespace: a fresh, empty /home for the student's folder.
mount -t tmpfs tmpfs /home
home=/home/student
mkdir -p "$home/examples"
cp "$root"/examples/*.net "$home/examples/"
cd "$home/examples"
HOME="$home" LC_ALL=C.UTF-8 CORVEL_DUVU="$program" CORVEL_DOCS="$root/docs" \
  PYTHONPATH="$root/tests/acceptance" \
  "$root/tests/acceptance/headless.sh" /usr/bin/python3 "$root/scripts/screenshots.py"

# The web edition's pages, in headless chromium over the built site at 1280 and 390 CSS
# pixels wide (scripts/web-screenshots.mjs); they show only the site's own sample files.
"$root/scripts/build-web.sh"
node "$root/scripts/web-screenshots.mjs" "$root/docs"
