#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package as a fresh machine would: `dpkg-buildpackage -us -uc -b` in a copy
# of the source tree (the files git tracks or would track, with their uncommitted changes), then
# checks the result with lintian and tests/install/check_debian_package.sh.
#   tools/build-debian-package.sh OUT_DIR
# Leaves OUT_DIR/penmoji_<version>_<arch>.deb, its debug symbols, .buildinfo and .changes.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)

version=$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Version)
stage=$out/source
tree=$stage/penmoji-$version
rm -rf "$stage"
mkdir -p "$tree"
(cd "$source_dir" && git ls-files -z --cached --others --exclude-standard |
  xargs -0 -r sh -c 'for f; do [ -e "$f" ] && printf "%s\0" "$f"; done' sh |
  tar --null -T - -cf -) | tar -C "$tree" -xf -

# dpkg-buildpackage writes its results beside the tree. Without the tests, their build
# dependencies are not needed either.
if [[ " ${DEB_BUILD_OPTIONS:-} " == *" nocheck "* ]]; then
  export DEB_BUILD_PROFILES="nocheck ${DEB_BUILD_PROFILES:-}"
fi
(cd "$tree" && dpkg-buildpackage -us -uc -b --jobs-try=auto)
rm -f "$out"/penmoji*_"$version"_*
mv "$stage"/penmoji*_"$version"_* "$out"/
rm -rf "$stage"

deb=$out/penmoji_${version}_$(dpkg --print-architecture).deb
bash "$source_dir/tests/install/check_debian_package.sh" "$deb" "$source_dir"
