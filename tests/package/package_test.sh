#!/usr/bin/env bash
# The .deb as a user gets it: built by CPack from the existing build, its contents
# and control fields, lintian, the desktop entry and metainfo through their
# validators, the manual pages in Hungarian, the packaged korvena-admin creating a
# register from a folder that holds no source tree, and the packaged korvena
# started by an ordinary user on the administrator's shared profile.
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
         ./usr/share/man/man1/korvena-admin.1.gz ./usr/share/man/man1/korvena.1.gz \
         ./usr/share/doc/korvena/copyright ./usr/share/doc/korvena/changelog.gz; do
  grep -qxF -- "$f" <<<"$contents" || fail "missing from the package: $f"
done
# Nothing of the build or the tests travels along.
extra=$(grep -vE '^\./usr/(bin/korvena(-admin)?|share/(applications|metainfo|icons|man|doc)(/.*)?|bin/|share/|)$|^\./$|^\./usr/$' <<<"$contents")
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

# Debian's own checks, errors and warnings alike.
if command -v lintian >/dev/null; then
  tags=$(lintian --no-cfg "$DEB" 2>&1 | grep -E '^[EW]: ')
  [ -z "$tags" ] || fail "lintian: $tags"
else
  fail "lintian is not installed (scripts/install-deps)"
fi
for field in Maintainer; do
  [ "$(dpkg-deb -f "$DEB" $field)" = "Korvena fejlesztők <fejlesztok@korvena.hu>" ] || fail "$field: $(dpkg-deb -f "$DEB" $field)"
done

ROOT=$WORK/root
dpkg-deb -x "$DEB" "$ROOT"
desktop-file-validate "$ROOT/usr/share/applications/hu.korvena.Korvena.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$ROOT/usr/share/metainfo/hu.korvena.Korvena.metainfo.xml" || fail "appstreamcli validate"

grep -q '<project_license>GPL-3.0-or-later</project_license>' "$ROOT/usr/share/metainfo/hu.korvena.Korvena.metainfo.xml" ||
  fail "metainfo licence"
grep -q '^License: GPL-3.0-or-later' "$ROOT/usr/share/doc/korvena/copyright" || fail "copyright licence"

man=$(zcat "$ROOT/usr/share/man/man1/korvena-admin.1.gz")
for pattern in '^\.SH NÉV' '^\.SH LEÍRÁS' '^\.SS install' 'kiszolgáló portja' '^\.SS profile'; do
  grep -q "$pattern" <<<"$man" || fail "manual page lacks $pattern"
done
man=$(zcat "$ROOT/usr/share/man/man1/korvena.1.gz")
for pattern in '^\.SH NÉV' '^\.SH ADATMAPPA' 'KORVENA_DATA' '/usr/local/share/Korvena' 'XDG_DATA_HOME' '^\.SH A KORVENA.INI FÁJL' '^\.SH KÖRNYEZET'; do
  grep -q "$pattern" <<<"$man" || fail "manual page of korvena lacks $pattern"
done
if command -v man >/dev/null; then
  for page in korvena-admin korvena; do
    warnings=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$ROOT/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "manual page warnings ($page): $warnings"
  done
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

# An ordinary user (nobody, with a home of its own) starts the packaged program:
# the administrator's all-users Korvena.ini holds one profile and the folder is
# closed to the user. The program must come up on that profile (its connection
# shows on the server) and keep its own Korvena.ini, the user's alone, in the
# user's data folder, writing nothing beside the program or into the shared folder.
if [ "$(id -u)" -ne 0 ] || ! command -v setpriv >/dev/null; then
  echo "SKIP: the ordinary-user start needs root to change to another user"
else
  (
    CONN=(--host 127.0.0.1 --port "$PORT" --user korvena --password korvena --database "$DB")
    ALL=$WORK/all-users/Korvena
    USERHOME=$WORK/home
    mkdir -p "$ALL" "$USERHOME"
    chmod 711 "$WORK"
    chmod 755 "$WORK/all-users" "$ALL"
    mkdir -m 700 "$USERHOME/run"
    chown -R nobody:nogroup "$USERHOME"
    "$ROOT/usr/bin/korvena-admin" profile "${CONN[@]}" --ini "$ALL/Korvena.ini" --name "Közös" >/dev/null ||
      { echo "FAIL: korvena-admin profile"; exit 1; }
    chmod 644 "$ALL/Korvena.ini"
    snapshot() { (cd "$ROOT" && find . -printf '%p %s %m\n' | sort; cd "$ALL" && find . -printf '%p %s %m\n' | sort; md5sum "$ALL/Korvena.ini"); }
    before=$(snapshot)

    setpriv --reuid=nobody --regid=nogroup --clear-groups \
      env -i PATH=/usr/bin:/bin HOME="$USERHOME" XDG_RUNTIME_DIR="$USERHOME/run" LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen \
      KORVENA_ALL_USERS_DATA="$ALL" KORVENA_VENDOR_URL=http://127.0.0.1:9 \
      "$ROOT/usr/bin/korvena" >"$WORK/korvena.out" 2>&1 &
    pid=$!
    connected=0
    for _ in $(seq 1 120); do
      n=$(mariadb --no-defaults -h127.0.0.1 -P"$PORT" -ukorvena -pkorvena -N -e \
            "SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE DB='$DB' AND ID<>CONNECTION_ID()" 2>/dev/null)
      [ "${n:-0}" -gt 0 ] && { connected=1; break; }
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.5
    done
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
    rc=0
    [ "$connected" -eq 1 ] || { echo "FAIL: korvena as an ordinary user did not connect on the shared profile"; cat "$WORK/korvena.out"; rc=1; }
    own=$USERHOME/.local/share/Korvena/Korvena.ini
    if [ -f "$own" ]; then
      [ "$(stat -c '%a %U' "$own")" = "600 nobody" ] || { echo "FAIL: the user's Korvena.ini is $(stat -c '%a %U' "$own")"; rc=1; }
      grep -q '^ConStr1=' "$own" || { echo "FAIL: the user's Korvena.ini lacks the shared profile"; rc=1; }
    else
      echo "FAIL: no Korvena.ini in the user's data folder"; ls -laR "$USERHOME" "$ROOT/usr/bin"; rc=1
    fi
    [ "$before" = "$(snapshot)" ] || { echo "FAIL: the program wrote beside itself or into the shared folder"; diff <(echo "$before") <(snapshot); rc=1; }
    exit $rc
  ) || failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] && echo "package ok: $(basename "$DEB")"
[ "$failures" -eq 0 ]
