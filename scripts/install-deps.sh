#!/usr/bin/env bash
# Installs everything needed to build, test and look at Korvelan II on Debian 12 (run as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
  cmake ninja-build g++ pkg-config \
  qt6-base-dev qt6-serialport-dev qt6-svg-dev \
  libgtest-dev libgmock-dev googletest libbenchmark-dev libcli11-dev nlohmann-json3-dev \
  xvfb xauth x11-apps imagemagick xdotool poppler-utils libwmf-bin fonts-urw-base35 \
  socat fonts-liberation2 locales clang clang-format libclang-rt-14-dev \
  desktop-file-utils libxml2-utils shared-mime-info librsvg2-bin dpkg-dev fakeroot \
  qt6-translations-l10n
# The tests also run under a German locale; generate it once.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
  sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen
fi
