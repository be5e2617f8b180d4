#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Corvel Duvu need.
# Runs apt-get only when something is missing, so it is quick on a prepared machine.
# Works as root or through sudo. Packages named as arguments are installed too (the coverage
# script asks for gcovr that way).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config help2man librsvg2-bin
  libgtest-dev libgmock-dev libbenchmark-dev libfmt-dev libfast-float-dev
  emscripten nodejs googletest chromium firefox-esr
  qt6-base-dev libqt6opengl6-dev qt6-charts-dev qt6-svg-dev libcups2-dev
  xvfb xauth xdotool imagemagick poppler-utils
  fonts-liberation2 fonts-dejavu-core locales
  at-spi2-core dbus dbus-x11 python3-pyatspi orca
  cups cups-client printer-driver-cups-pdf
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
