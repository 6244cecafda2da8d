#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build tree into a temporary DESTDIR under /usr, as the package does, and checks the
# tree with the tools desktops and Debian read it with.
#   check_install_tree.sh BUILD_DIR EXPECTED_FILES APP_ID EXAMPLE.pmj
set -euo pipefail
build=$1 expected=$2 app_id=$3 example=$4

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null

# Exactly the expected files and links, nothing more.
. "$(dirname "$0")/list_tree.sh"
if ! diff -u <(LC_ALL=C sort "$expected") <(list_tree "$root"); then
  fail "the installed tree differs from $expected"
fi

share=$root/usr/share
desktop-file-validate "$share/applications/$app_id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/$app_id.metainfo.xml" >/dev/null ||
  fail "appstreamcli validate: $(appstreamcli validate --no-net "$share/metainfo/$app_id.metainfo.xml")"
for page in "$share"/man/man1/*.1.gz; do
  warnings=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man --warnings -l $page: $warnings"
done

# The renderer's page documents every option its --help lists.
manual=$(MANWIDTH=200 LC_ALL=C man -l "$share/man/man1/penmoji-render.1.gz" 2>/dev/null)
for heading in OPTIONS "EXIT STATUS" EXAMPLES; do
  grep -q "^$heading" <<<"$manual" || fail "penmoji-render.1 has no $heading"
done
options=$("$root/usr/bin/penmoji-render" --help | awk '/^  -/ { print $1; if ($1 ~ /,$/) print $2 }')
for option in ${options//,/}; do
  grep -qF -- "$option" <<<"$manual" || fail "penmoji-render.1 does not document $option"
done

# Both helps fit a terminal of 80 columns, counted in characters, without wrapping.
for program in penmoji-render penmoji; do
  wide=$(env -u DISPLAY "$root/usr/bin/$program" --help | LC_ALL=C.UTF-8 awk 'length > 79')
  [ -z "$wide" ] || fail "$program --help has lines wider than 79 columns:"$'\n'"$wide"
done

# The pieces name each other: the entry's icon and type, the metadata's launchable.
grep -qx "Icon=$app_id" "$share/applications/$app_id.desktop" || fail "desktop Icon="
mime_type=$(sed -n 's/^MimeType=\(.*\);$/\1/p' "$share/applications/$app_id.desktop")
grep -q "<mediatype>$mime_type</mediatype>" "$share/metainfo/$app_id.metainfo.xml" ||
  fail "metainfo does not provide $mime_type"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" \
  "$share/metainfo/$app_id.metainfo.xml" || fail "metainfo launchable"

# The shared MIME database reads the type and maps .pmj to it (built inside the temporary tree,
# whose file list was checked above).
mime_errors=$(XDG_DATA_DIRS=$share XDG_DATA_HOME=$share update-mime-database "$share/mime" 2>&1)
[ -z "$mime_errors" ] || fail "update-mime-database: $mime_errors"
grep -q "^50:$mime_type:\*\.pmj$" "$share/mime/globs2" || fail "globs2 has no *.pmj for $mime_type"

# Each fixed-size icon is as large as its folder says (width and height from the PNG header).
for png in "$share"/icons/hicolor/*x*/*/*.png; do
  size=${png#"$share"/icons/hicolor/}
  size=${size%%x*}
  read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
    awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$width $height" = "$size $size" ] || fail "$png is ${width}x$height"
done

# The installed programs run: the renderer prints its version and renders an example, the
# editor starts and is still running when the timeout ends it.
"$root/usr/bin/penmoji-render" --version | grep -q '^penmoji-render [0-9]' || fail "--version"
"$root/usr/bin/penmoji-render" --encoding utf-8 "$example" | grep -q . || fail "rendering $example"
# It finds its modules where they were installed: SVG in, a picture out, the picture traced.
work=$(mktemp -d)
trap 'rm -rf "$root" "$work"' EXIT
"$root/usr/bin/penmoji-render" "$example" --export-svg "$work/example.svg" &&
  "$root/usr/bin/penmoji-render" "$work/example.svg" -o "$work/art.png" &&
  "$root/usr/bin/penmoji-render" --quiet --trace "$work/art.png" -o "$work/traced.txt" ||
  fail "the installed penmoji-render's modules"
# The editor answers --help and --version in a terminal without a display, as over ssh.
for check in '--help:^Usage: penmoji ' '--version:^penmoji [0-9]'; do
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 10 \
    "$root/usr/bin/penmoji" "${check%%:*}" 2>&1) && grep -q "${check#*:}" <<<"$out" ||
    fail "penmoji ${check%%:*} without a display: $out"
done
status=0
QT_QPA_PLATFORM=offscreen timeout 2 "$root/usr/bin/penmoji" >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "penmoji ended with status $status before the timeout"

[ "$failed" -eq 0 ] && echo "install tree OK"
exit "$failed"
