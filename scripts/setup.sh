#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test. Safe to run again.
set -euo pipefail
packages=(
  build-essential g++ cmake pkg-config git
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libgtk-3-dev libmpv-dev libavformat-dev
  libpng-dev
  libfontconfig-dev fonts-dejavu-core
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick ffmpeg python3
  libx11-dev locales desktop-file-utils
  clang libclang-rt-14-dev
  libcli11-dev libexpat1-dev libgps-dev gpsd gpsd-clients python3-gps procps
  dpkg-dev debhelper fakeroot lintian appstream mmdebstrap
  libproj-dev proj-data gettext libgettextpo-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The checks also run under a German locale (decimal comma) to prove numbers stay '.'.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  if ! grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen
fi
