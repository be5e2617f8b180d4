#!/usr/bin/env bash
# Installs the package scripts/package.sh builds, checks the installed program as a lab
# machine would use it, and removes the package again. CI runs it after the tests, as root.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" desktop-file-utils appstream man-db
deb=$("$root/scripts/package.sh" | tail -n 1)

work=$(mktemp -d)
apt-get install -y -qq "$deb" >/dev/null
trap 'rm -rf "$work"; apt-get remove -y -qq corvel-duvu >/dev/null' EXIT
share=/usr/share
app_id=org.corvelduvu.CorvelDuvu

corvel-duvu --version
corvel-duvu-batch --version
man -w corvel-duvu corvel-duvu-batch
desktop-file-validate "$share/applications/$app_id.desktop"
appstreamcli validate --no-net "$share/metainfo/$app_id.metainfo.xml"

# The installed batch program writes the same report as the tested build, byte for byte.
export SOURCE_DATE_EPOCH=1765000000
/usr/bin/corvel-duvu-batch --quiet --sections all --report "$work/installed.txt" \
  "$share/corvel-duvu/examples/correlated.net"
"$root/build/src/batch/corvel-duvu-batch" --quiet --sections all --report "$work/built.txt" \
  "$root/examples/correlated.net"
cmp "$work/installed.txt" "$work/built.txt"
echo "installed corvel-duvu-batch: the same report as the build"

# The installed web edition is the site the build made, file for file.
diff -r "$share/corvel-duvu/web" "$root/build-web/site"
echo "installed web edition: the built site"

# The installed window program opens on (a copy of) the installed sample files.
"$root/tests/acceptance/headless.sh" /usr/bin/python3 \
  "$root/tests/acceptance/installed_program.py" /usr/bin/corvel-duvu "$share/corvel-duvu/examples"
