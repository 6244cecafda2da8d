#!/usr/bin/env bash
# Builds the Debian package from the build tree with its CPack configuration and checks its
# name, control fields and file list.
#   check_debian_package.sh BUILD_DIR EXPECTED_FILES VERSION
set -euo pipefail
build=$1 expected=$2 version=$3

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log" >&2; exit 1; }
deb=$out/penmoji_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { fail "no $deb"; ls "$out" >&2; exit 1; }

# The package holds what the install tree holds, under the same paths.
. "$(dirname "$0")/list_tree.sh"
dpkg-deb -x "$deb" "$out/root"
diff -u <(LC_ALL=C sort "$expected") <(list_tree "$out/root") || fail "the package's files differ from $expected"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = penmoji ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
depends=$(field Depends)
for needed in fonts-mona qt6-translations-l10n libqt6widgets6 libc6; do
  [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks $needed: $depends"
done

# The font alias in /etc is a conffile, as Debian keeps a system's configuration.
dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles >"$out/conffiles"
grep -qx /etc/fonts/conf.avail/50-penmoji-mona.conf "$out/conffiles" || fail "conffiles"
# The programs are stripped.
if objdump -h "$out/root/usr/bin/penmoji-render" 2>/dev/null | grep -q debug_info; then
  fail "penmoji-render keeps its debug information"
fi

[ "$failed" -eq 0 ] && echo "package $(basename "$deb") OK"
exit "$failed"
