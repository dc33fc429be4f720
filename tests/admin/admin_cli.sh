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

# The demo's sample attachments go to the data folder's storage folder: the test's own.
KORVENA_DATA=$(mktemp -d)
export KORVENA_DATA
FAKES=()
cleanup() {
  rm -rf "$KORVENA_DATA"
  mariadb --no-defaults -h127.0.0.1 -P"$PORT" -ukorvena -pkorvena -e "DROP DATABASE IF EXISTS \`$DB\`" 2>/dev/null
  for pid in "${FAKES[@]}"; do kill "$pid" 2>/dev/null; done
}
trap cleanup EXIT

# A misbehaving server (tests/db/fake_mariadb.py MODE RECORD): sets FAKE_PORT.
start_fake() {
  local out
  out=$(mktemp)
  python3 "$(dirname "$0")/../db/fake_mariadb.py" "$1" "$2" >"$out" &
  FAKES+=($!)
  for _ in $(seq 1 100); do [ -s "$out" ] && break; sleep 0.1; done
  FAKE_PORT=$(head -n 1 "$out")
  rm -f "$out"
}

expect "usage without command" 2 "Használat" -- "$ADMIN"
expect "unknown command" 2 "Ismeretlen parancs" -- "$ADMIN" nincs
for c in install check verify demo profile backup restore-check index-attachments; do
  expect "$c --help" 0 "korvena-admin $c" -- "$ADMIN" "$c" --help
done
expect "install" 0 "" -- "$ADMIN" install "${CONN[@]}"
expect "install refuses an existing database" 1 "már létezik" -- "$ADMIN" install "${CONN[@]}"
expect "check complete" 0 "A nyilvántartás teljes" -- "$ADMIN" check "${CONN[@]}"
NOPW=(--host 127.0.0.1 --port "$PORT" --user korvena --database "$DB")
expect "password from KORVENA_PASSWORD" 0 "A nyilvántartás teljes" -- env KORVENA_PASSWORD=korvena "$ADMIN" check "${NOPW[@]}"
expect "--password wins over the variable" 0 "A nyilvántartás teljes" -- env KORVENA_PASSWORD=rossz "$ADMIN" check "${NOPW[@]}" --password korvena
expect "no password and no terminal: nothing waits for one" 1 "(1045)" -- sh -c 'exec "$@" </dev/null' sh env -u KORVENA_PASSWORD "$ADMIN" check "${NOPW[@]}"
# At a terminal the password is asked for and not shown.
expect "password asked at a terminal, without echo" 0 "teljes" -- python3 - "$ADMIN" "${NOPW[@]}" <<'PY'
import os, pty, subprocess, sys, time
env = {k: v for k, v in os.environ.items() if k != "KORVENA_PASSWORD"}
master, slave = pty.openpty()
proc = subprocess.Popen([sys.argv[1], "check"] + sys.argv[2:], stdin=slave, stdout=slave, stderr=slave, env=env)
os.close(slave)
seen = b""
def read_until(token, seconds=30):
    global seen
    end = time.time() + seconds
    while token not in seen and time.time() < end:
        try:
            seen += os.read(master, 1024)
        except OSError:
            break
read_until(b"Jelsz")
time.sleep(0.3)  # the echo is switched off right after the prompt
os.write(master, b"korvena\n")
read_until(b"teljes")
proc.wait(60)
text = seen.decode("utf-8", "replace")
print(text)
after_prompt = text.split("Jelszó:", 1)[-1].split("\n", 1)[0]
sys.exit(1 if "korvena" in after_prompt or proc.returncode != 0 else 0)
PY
expect "demo" 0 "" -- "$ADMIN" demo "${CONN[@]}" --documents 300
expect "demo refuses a filled register" 1 "" -- "$ADMIN" demo "${CONN[@]}" --documents 10
expect "demo stored sample files" 0 "/Dok/.*-[0-9]*\.txt$" -- find "$KORVENA_DATA/Dok" -type f
expect "index-attachments needs a database" 2 "database" -- "$ADMIN" index-attachments --host 127.0.0.1 --port "$PORT"
expect "index-attachments reads the sample files" 0 "Kész.*beolvasva [1-9].*sikertelen 0" -- "$ADMIN" index-attachments "${CONN[@]}"
expect "index-attachments reads nothing twice" 0 "Kész.*: 0 állomány" -- "$ADMIN" index-attachments "${CONN[@]}"
F=$(find "$KORVENA_DATA/Dok" -name '*-*.txt' | head -n 1)
mv "$F" "$F.el"
expect "index-attachments --all names a missing file and fails" 1 "Sikertelen:" -- "$ADMIN" index-attachments "${CONN[@]}" --all
mv "$F.el" "$F"
BK=$(mktemp -d)
expect "backup as script" 0 "A mentés elkészült" -- "$ADMIN" backup "${CONN[@]}" --format script --output "$BK/mentes.sql"
expect "backup as zip" 0 "tomor.zip" -- "$ADMIN" backup "${CONN[@]}" --format zip --output "$BK/tomor"
expect "restore-check of the script" 0 "Minden tábla egyezik" -- "$ADMIN" restore-check "${CONN[@]}" "$BK/mentes.sql"
expect "restore-check of the zip" 0 "Minden tábla egyezik" -- "$ADMIN" restore-check "${CONN[@]}" "$BK/tomor.zip"
# One byte of one row changed: the first document's key.
python3 - "$BK/mentes.sql" "$BK/hibas.sql" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
row = data.index(b"INSERT IGNORE INTO `iktato` (")
row = data.index(b"\r\n(", row) + 3
data[row] = ord("7") if data[row] != ord("7") else ord("8")
open(sys.argv[2], "wb").write(data)
PY
expect "restore-check finds a changed byte" 1 "ELTÉR" -- "$ADMIN" restore-check "${CONN[@]}" "$BK/hibas.sql"
expect "restore-check leaves no scratch database" 0 "^0$" -- mariadb --no-defaults -h127.0.0.1 -P"$PORT" -ukorvena -pkorvena -N -e "SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE SCHEMA_NAME LIKE 'korvena\\_ellenorzes\\_%'"
expect "backup readable by its owner only" 0 "^600$" -- stat -c %a "$BK/mentes.sql"
# A full backup by the dump tool (USE, DROP TABLE, CREATE DATABASE) is refused, and the
# live register keeps a row written after the dump.
SQL=(mariadb --no-defaults -h127.0.0.1 -P"$PORT" -ukorvena -pkorvena -N "$DB")
mariadb-dump --no-defaults -h127.0.0.1 -P"$PORT" -ukorvena -pkorvena -c -C --single-transaction --force \
  --databases "$DB" > "$BK/teljes.sql"
"${SQL[@]}" -e "INSERT INTO verzio (verzio) VALUES ('a mentés után')"
expect "restore-check refuses a dump tool's file" 1 "nem a program biztonsági mentése" -- "$ADMIN" restore-check "${CONN[@]}" "$BK/teljes.sql"
expect "the live register kept the later row" 0 "^1$" -- "${SQL[@]}" -e "SELECT COUNT(*) FROM verzio WHERE verzio = 'a mentés után'"
"${SQL[@]}" -e "DELETE FROM verzio WHERE verzio = 'a mentés után'"
head -c 5000 "$BK/mentes.sql" > "$BK/csonka.sql"
expect "restore-check of a cut file" 1 "" -- "$ADMIN" restore-check "${CONN[@]}" "$BK/csonka.sql"
expect "backup refuses a script named .zip" 2 "zip" -- "$ADMIN" backup "${CONN[@]}" --format script --output "$BK/x.zip"
rm -rf "$BK"
expect "verify the demo register" 0 "A változásnyom ép" -- "$ADMIN" verify "${CONN[@]}"
HEAD=$("$ADMIN" verify "${CONN[@]}" | grep -E '^[0-9]+:[0-9a-f]{64}$')
mariadb --no-defaults -h127.0.0.1 -P"$PORT" -ukorvena -pkorvena "$DB" -e "UPDATE iktato SET targy='x' WHERE iktato=5"
expect "plain client's change is in the trail without user code" 0 "^U.NULL.{\"targy\"" -- mariadb --no-defaults -h127.0.0.1 -P"$PORT" -ukorvena -pkorvena "$DB" -N -e "SELECT muvelet, felhkod, valtozas FROM iktato_nyom ORDER BY sorszam DESC LIMIT 1"
expect "verify after a plain client's change" 0 "A változásnyom ép" -- "$ADMIN" verify "${CONN[@]}"
expect "verify with the earlier head" 0 "a megadott fejjel együtt" -- "$ADMIN" verify "${CONN[@]}" --head "$HEAD"
expect "verify with a forged head" 1 "nem az, amit a megadott fej" -- "$ADMIN" verify "${CONN[@]}" --head "${HEAD%:*}:$(printf 'f%.0s' $(seq 64))"
expect "verify refuses a malformed head" 2 "Hibás lánc-fej" -- "$ADMIN" verify "${CONN[@]}" --head 12:abc
mariadb --no-defaults -h127.0.0.1 -P"$PORT" -ukorvena -pkorvena "$DB" -e "DELETE FROM iktato_nyom ORDER BY sorszam DESC LIMIT 1"
expect "verify names a deleted trail row" 1 "Hiányzik a nyom" -- "$ADMIN" verify "${CONN[@]}"
mariadb --no-defaults -h127.0.0.1 -P"$PORT" -ukorvena -pkorvena "$DB" -e "DROP TRIGGER tr_iktato_file_nyom_u"
expect "check names a missing trigger" 1 "tr_iktato_file_nyom_u" -- "$ADMIN" check "${CONN[@]}"
mariadb --no-defaults -h127.0.0.1 -P"$PORT" -ukorvena -pkorvena "$DB" -e "ALTER TABLE iktato DROP COLUMN megjegyzes; DROP PROCEDURE sp_boritek;"
expect "check names what is missing" 1 "megjegyzes" -- "$ADMIN" check "${CONN[@]}"
expect "check names a missing routine" 1 "sp_boritek" -- "$ADMIN" check "${CONN[@]}"
expect "bad port" 1 "Érvénytelen port" -- "$ADMIN" check --host 127.0.0.1 --port abc --database x
expect "refused connection" 1 "Hiba" -- "$ADMIN" check --host 127.0.0.1 --port 1 --user korvena --password korvena --database x
# A server that asks for the password in clear gets none.
REC=$(mktemp)
start_fake clear "$REC"
expect "clear-text login refused" 1 "Hiba" -- env KORVENA_PASSWORD=TopSecret1 "$ADMIN" check --host 127.0.0.1 --port "$FAKE_PORT" --user korvena --database x
expect "the fake server got the login" 0 "" -- grep -q "$(printf korvena | od -An -tx1 | tr -d ' \n')" "$REC"
expect "the fake server got no password" 1 "" -- grep -q "$(printf TopSecret1 | od -An -tx1 | tr -d ' \n')" "$REC"
# A server that logs in and then never answers ends the command with the lost-connection error.
start_fake silent "$REC"
expect "silent server ends with an error" 1 "(2013)" -- env KORVENA_PASSWORD=x "$ADMIN" check --host 127.0.0.1 --port "$FAKE_PORT" --user korvena --database x
rm -f "$REC"
INI=$(mktemp -d)/Korvena.ini
expect "profile stored" 0 "ConStr1" -- "$ADMIN" profile "${CONN[@]}" --ini "$INI" --name "Próba"
expect "profile not stored twice" 0 "már szerepel" -- "$ADMIN" profile "${CONN[@]}" --ini "$INI" --name "Próba"
expect "the local configuration is the owner's alone" 0 "^600$" -- stat -c %a "$INI"

echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
