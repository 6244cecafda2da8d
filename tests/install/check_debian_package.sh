#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks a Debian package built from debian/ by tools/build-debian-package.sh: lintian's verdict,
# its control fields, its file list against the install tree's, the documentation, and that the
# programs are hardened and stripped.
#   check_debian_package.sh PACKAGE.deb SOURCE_DIR
set -euo pipefail
deb=$1 source_dir=$2

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

# No error and no warning; what lintian only informs about or finds pedantic is shown.
lintian --pedantic --display-info --tag-display-limit 0 -- "$deb" >"$out/lintian" 2>&1 || true
grep -E '^[EW]: ' "$out/lintian" >&2 && fail "lintian reports errors or warnings"
grep -E '^[IPX]: ' "$out/lintian" | sed 's/^/lintian: /' || true

field() { dpkg-deb -f "$deb" "$1"; }
version=$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Version)
[ "$(field Package)" = penmoji ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
has() { [[ ", $2," == *", $3"[\ ,]* ]] || fail "$1 lacks $3: $2"; }
for needed in fonts-mona qt6-translations-l10n libqt6widgets6 libqt6svg6 libopencv-imgproc406 libc6; do
  has Depends "$(field Depends)" "$needed"
done
has Recommends "$(field Recommends)" qt6-image-formats-plugins

# The package holds what the install tree holds, and the documentation.
. "$(dirname "$0")/list_tree.sh"
app_id=$(sed -n 's/^set(PENMOJI_APP_ID \(.*\))$/\1/p' "$source_dir/CMakeLists.txt")
doc=/usr/share/doc/penmoji
{
  sed -e "s/@PENMOJI_APP_ID@/$app_id/g" \
    -e "s|@CMAKE_INSTALL_LIBDIR@|lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)|g" \
    "$(dirname "$0")/installed_files.txt.in"
  printf '%s\n' "$doc/README.md.gz" "$doc/changelog.gz" "$doc/copyright"
  (cd "$source_dir" && git ls-files examples | grep -v '/\.' | sed "s|^|$doc/|")
} | LC_ALL=C sort >"$out/expected"
dpkg-deb -x "$deb" "$out/root"
diff -u "$out/expected" <(list_tree "$out/root") ||
  fail "the package's files differ from the install tree's and the documentation"

# The font alias in /etc is a conffile, as Debian keeps a system's configuration.
dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles >"$out/conffiles"
grep -qx /etc/fonts/conf.avail/50-penmoji-mona.conf "$out/conffiles" || fail "conffiles"
cmp -s "$out/root$doc/copyright" "$source_dir/debian/copyright" || fail "copyright"

# Built with dpkg-buildflags' hardening: a position-independent executable, relocations made
# read-only and bound at start, the stack protector and fortified functions; and stripped.
# penmoji-render makes no call that fortifying changes, so the editor alone shows it.
fortified=0
for program in penmoji penmoji-render; do
  binary=$out/root/usr/bin/$program
  dynamic=$(readelf -d "$binary")
  symbols=$(readelf --dyn-syms -W "$binary")
  grep -q 'FLAGS_1.*\bNOW\b.*\bPIE\b' <<<"$dynamic" || fail "$program is not PIE with bindnow"
  readelf -lW "$binary" | grep -q GNU_RELRO || fail "$program has no RELRO"
  grep -q '__stack_chk_fail' <<<"$symbols" || fail "$program has no stack protector"
  grep -q '__[a-z]*_chk@' <<<"$symbols" && fortified=$((fortified + 1))
  readelf -SW "$binary" | grep -qE '\.(debug_info|comment) ' && fail "$program is not stripped"
done
[ "$fortified" -gt 0 ] || fail "neither program calls a fortified function"
# The renderer's modules: relocations read-only and bound at load, stripped.
for module in "$out"/root/usr/lib/*/penmoji/*.so; do
  readelf -d "$module" | grep -q 'FLAGS.*\bNOW\b' || fail "$module is not bound at load"
  readelf -lW "$module" | grep -q GNU_RELRO || fail "$module has no RELRO"
  readelf -SW "$module" | grep -qE '\.(debug_info|comment) ' && fail "$module is not stripped"
done

[ "$failed" -eq 0 ] && echo "package $(basename "$deb") OK"
exit "$failed"
