#!/usr/bin/env bash
# The .deb as a user gets it: built by CPack from the existing build, its contents
# and control fields, the desktop entry and metainfo through their validators, the
# manual page in Hungarian, and the packaged korvena-admin creating a register
# from a folder that holds no source tree.
set -u
BUILD=$1
PORT=${KORVENA_TEST_PORT:?port of the private test server}
WORK=$(mktemp -d)
DB=kt_package_$$
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
cleanup() {
  mariadb --no-defaults -h127.0.0.1 -P"$PORT" -ukorvena -pkorvena -e "DROP DATABASE IF EXISTS \`$DB\`" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

if ! cpack --config "$BUILD/CPackConfig.cmake" -B "$WORK/out" >"$WORK/cpack.log" 2>&1; then
  cat "$WORK/cpack.log"; echo "FAIL: cpack"; exit 1
fi
DEB=$(ls "$WORK"/out/korvena_*.deb 2>/dev/null | head -n 1)
[ -n "$DEB" ] || { cat "$WORK/cpack.log"; echo "FAIL: no korvena_*.deb"; exit 1; }

contents=$(dpkg-deb -c "$DEB" | awk '{print $NF}')
for f in ./usr/bin/korvena ./usr/bin/korvena-admin \
         ./usr/share/applications/hu.korvena.Korvena.desktop \
         ./usr/share/metainfo/hu.korvena.Korvena.metainfo.xml \
         ./usr/share/icons/hicolor/scalable/apps/hu.korvena.Korvena.svg \
         ./usr/share/man/man1/korvena-admin.1.gz; do
  grep -qxF -- "$f" <<<"$contents" || fail "missing from the package: $f"
done
# Nothing of the build or the tests travels along.
extra=$(grep -vE '^\./usr/(bin/korvena(-admin)?|share/(applications|metainfo|icons|man)(/.*)?|bin/|share/|)$|^\./$|^\./usr/$' <<<"$contents")
[ -z "$extra" ] || fail "unexpected files in the package: $extra"

# Every library the binaries link is a dependency, by the Debian package that holds it.
depends=$(dpkg-deb -f "$DEB" Depends)
depends_names=$(tr ',|' '\n\n' <<<"$depends" | awk '{print $1}')
needed=$(for b in "$BUILD"/src/korvena "$BUILD"/src/korvena-admin; do
           readelf -d "$b" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; done | sort -u)
[ -n "$needed" ] || fail "no linked libraries found"
for so in $needed; do
  held=$(dpkg -S "*/$so" 2>/dev/null || true)
  pkg=$(grep ":amd64: .*/$so\$" <<<"$held" | head -n 1 | cut -d: -f1)
  # Some library packages carry no architecture qualifier (libzint): take the one in the native folders.
  [ -n "$pkg" ] || pkg=$(grep -E "^[^:]+: (/usr)?/lib/(x86_64-linux-gnu/)?$so\$" <<<"$held" | head -n 1 | cut -d: -f1)
  [ -n "$pkg" ] || { fail "no package holds $so"; continue; }
  grep -qxF -- "$pkg" <<<"$depends_names" || fail "Depends lacks $pkg ($so): $depends"
done
grep -qxF qt6-qpa-plugins <<<"$depends_names" || fail "Depends lacks the Qt platform plugins"
grep -q "mariadb-client" <<<"$(dpkg-deb -f "$DEB" Recommends)" || fail "Recommends lacks mariadb-client"
[ "$(dpkg-deb -f "$DEB" Package)" = korvena ] || fail "package name"

ROOT=$WORK/root
dpkg-deb -x "$DEB" "$ROOT"
desktop-file-validate "$ROOT/usr/share/applications/hu.korvena.Korvena.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$ROOT/usr/share/metainfo/hu.korvena.Korvena.metainfo.xml" || fail "appstreamcli validate"

man=$(zcat "$ROOT/usr/share/man/man1/korvena-admin.1.gz")
for pattern in '^\.SH NÉV' '^\.SH LEÍRÁS' '^\.SS install' 'kiszolgáló portja' '^\.SS profile'; do
  grep -q "$pattern" <<<"$man" || fail "manual page lacks $pattern"
done
if command -v man >/dev/null; then
  warnings=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$ROOT/usr/share/man/man1/korvena-admin.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "manual page warnings: $warnings"
fi

# The installed tool from an empty folder: the register's SQL must come with the binary.
mkdir "$WORK/elsewhere"
(
  cd "$WORK/elsewhere" || exit 1
  ADMIN=$ROOT/usr/bin/korvena-admin
  CONN=(--host 127.0.0.1 --port "$PORT" --user korvena --password korvena --database "$DB")
  "$ADMIN" install "${CONN[@]}" || { echo "FAIL: packaged korvena-admin install"; exit 1; }
  "$ADMIN" check "${CONN[@]}" | grep -q "A nyilvántartás teljes" || { echo "FAIL: packaged korvena-admin check"; exit 1; }
) || failures=$((failures + 1))

[ "$failures" -eq 0 ] && echo "package ok: $(basename "$DEB")"
[ "$failures" -eq 0 ]
