#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian package into a fresh Debian root, as a user's apt-get would (with the
# recommended packages), uses it there without a display, and purges it. Needs root and the
# network; not part of the test suite.
#   debootstrap --variant=minbase bookworm ROOT http://deb.debian.org/debian
#   check_package_in_root.sh ROOT PACKAGE.deb
set -euo pipefail
root=$1 deb=$2

failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

mount -t proc proc "$root/proc"
trap 'umount "$root/proc"' EXIT
cp "$deb" "$root/tmp/"
package=/tmp/$(basename "$deb")

in_root apt-get update -qq
before=$(in_root dpkg-query -W -f '${Package}\n' | wc -l)
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$package" >/dev/null
after=$(in_root dpkg-query -W -f '${Package}\n' | wc -l)
echo "installed penmoji and $((after - before - 1)) packages it needs or recommends"

doc=/usr/share/doc/penmoji
in_root penmoji-render --version | grep -q '^penmoji-render ' || fail "penmoji-render --version"
in_root penmoji-render --encoding utf-8 "$doc/examples/face.pmj" | grep -q . ||
  fail "rendering the example"
in_root penmoji --help | grep -q '^Usage: penmoji' || fail "penmoji --help without a display"
status=0
in_root env QT_QPA_PLATFORM=offscreen timeout 5 penmoji "$doc/examples/face.pmj" >/dev/null 2>&1 ||
  status=$?
[ "$status" -eq 124 ] || fail "penmoji ended with status $status before the timeout"
# bash-completion, when installed, loads the completion by the command's name.
in_root apt-get install -y -qq bash-completion >/dev/null
in_root bash -c '. /usr/share/bash-completion/bash_completion
  for program in penmoji-render penmoji; do
    _completion_loader "$program"; complete -p "$program" >/dev/null || exit 1
  done' || fail "bash-completion does not load the completions"
in_root fc-match "MS PGothic" | grep -qi mona || fail "the font alias does not choose Mona"

in_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq penmoji >/dev/null
left=$(cd "$root" && ls -d etc/fonts/conf.avail/50-penmoji-mona.conf etc/fonts/conf.d/50-penmoji-mona.conf \
  usr/bin/penmoji* usr/share/doc/penmoji 2>/dev/null || true)
[ -z "$left" ] || fail "left after purging: $left"

[ "$failed" -eq 0 ] && echo "package in a fresh root OK"
exit "$failed"
