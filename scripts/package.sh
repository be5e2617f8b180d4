#!/usr/bin/env bash
# Builds the Debian package corvel-duvu_<version>_<arch>.deb in build-package/ (a Release
# build of its own, without tests, with the web edition's site) and checks it with lintian,
# which must report no error.
#
# Lintian reports no error and no warning on it. Of its notes we accept one: the spelling
# "occured" in both programs is in the failure report's fixed text, which students and
# teachers know word for word.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-package"
"$root/scripts/install-deps.sh" dpkg-dev fakeroot file lintian
# The web edition goes into the package too (share/corvel-duvu/web).
"$root/scripts/build-web.sh"
# Debian's own compiler and linker flags, with every hardening option.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCORVEL_BUILD_TESTS=OFF -DCORVEL_BUILD_BENCH=OFF -DCORVEL_WEB_SITE="$root/build-web/site" >/dev/null
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/corvel-duvu_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/corvel-duvu_*.deb)
lintian --fail-on error --tag-display-limit 0 "$deb"
echo "$deb"
