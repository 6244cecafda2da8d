#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages Penmoji builds, tests and runs with.
# Does nothing when all of them are already there.
set -euo pipefail

packages=(
  cmake
  ninja-build
  g++
  make
  libgtest-dev
  libbenchmark-dev
  qt6-base-dev
  qt6-base-dev-tools
  # Qt's own dialogs and buttons in Japanese (qtbase_ja.qm).
  qt6-translations-l10n
  qt6-svg-dev
  fonts-mona
  fontconfig
  libx11-dev
  # Tracing pictures into lines: thresholds, connected components, polyline simplification.
  libopencv-imgproc-dev
  # Icons, the package and the checks of the installation.
  librsvg2-bin
  # The Debian package: dpkg-buildpackage, debhelper and the checks of lintian.
  build-essential
  dpkg-dev
  debhelper
  lintian
  git
  desktop-file-utils
  appstream
  man-db
  shared-mime-info
  binutils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
