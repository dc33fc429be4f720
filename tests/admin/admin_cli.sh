#!/usr/bin/env bash
# korvena-admin from the outside: install, check, demo, profile, and their failures.
set -u
ADMIN=$1
PORT=${KORVENA_TEST_PORT:?port of the private test server}
DB=kt_admin_cli_$$
CONN=(--host 127.0.0.1 --port "$PORT" --user korvena --password korvena --database "$DB")
failures=0
passed=0

expect() { # expect NAME EXPECTED_EXIT PATTERN -- command...
  local name=$1 want=$2 pattern=$3; shift 4
  local out rc
  out=$("$@" 2>&1); rc=$?
  if [ "$rc" -ne "$want" ] || ! grep -q -- "$pattern" <<<"$out"; then
    echo "FAIL: $name (exit $rc, want $want; output:)"; echo "$out" | head -20
    failures=$((failures + 1))
  else
    passed=$((passed + 1))
  fi
}

cleanup() { mariadb --no-defaults -h127.0.0.1 -P"$PORT" -ukorvena -pkorvena -e "DROP DATABASE IF EXISTS \`$DB\`" 2>/dev/null; }
trap cleanup EXIT

expect "usage without command" 2 "Használat" -- "$ADMIN"
expect "unknown command" 2 "Ismeretlen parancs" -- "$ADMIN" nincs
for c in install check demo profile; do
  expect "$c --help" 0 "korvena-admin $c" -- "$ADMIN" "$c" --help
done
expect "install" 0 "" -- "$ADMIN" install "${CONN[@]}"
expect "install refuses an existing database" 1 "már létezik" -- "$ADMIN" install "${CONN[@]}"
expect "check complete" 0 "A nyilvántartás teljes" -- "$ADMIN" check "${CONN[@]}"
expect "demo" 0 "" -- "$ADMIN" demo "${CONN[@]}" --documents 300
expect "demo refuses a filled register" 1 "" -- "$ADMIN" demo "${CONN[@]}" --documents 10
mariadb --no-defaults -h127.0.0.1 -P"$PORT" -ukorvena -pkorvena "$DB" -e "ALTER TABLE iktato DROP COLUMN megjegyzes; DROP PROCEDURE sp_boritek;"
expect "check names what is missing" 1 "megjegyzes" -- "$ADMIN" check "${CONN[@]}"
expect "check names a missing routine" 1 "sp_boritek" -- "$ADMIN" check "${CONN[@]}"
expect "bad port" 1 "Érvénytelen port" -- "$ADMIN" check --host 127.0.0.1 --port abc --database x
expect "refused connection" 1 "Hiba" -- "$ADMIN" check --host 127.0.0.1 --port 1 --user korvena --password korvena --database x
INI=$(mktemp -d)/Korvena.ini
expect "profile stored" 0 "ConStr1" -- "$ADMIN" profile "${CONN[@]}" --ini "$INI" --name "Próba"
expect "profile not stored twice" 0 "már szerepel" -- "$ADMIN" profile "${CONN[@]}" --ini "$INI" --name "Próba"

echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
