#!/usr/bin/env bash
# The installed program, headless, against the test server: it starts, opens its
# connection, lists a simulated terminal, keeps it alive, answers its scans and closes
# on SIGTERM with exit code 0. Run by ctest inside the test namespace.
set -euo pipefail
build=$1
source_dir=$2
work=$(mktemp -d /tmp/precivox-smoke.XXXXXX)
pid=
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*" >&2
    echo "--- precivox log:" >&2
    cat "$work/precivox.log" >&2 2>/dev/null || true
    exit 1
}

cmake --install "$build" --prefix "$work/install" >/dev/null
bin=$work/install/bin
db=smoke_$$
sql() { mariadb --no-defaults -uroot -p"$PRECIVOX_TEST_DB_PASSWORD" \
    -h"$PRECIVOX_TEST_DB_HOST" -P"$PRECIVOX_TEST_DB_PORT" "$@"; }
sql -e "DROP DATABASE IF EXISTS $db; CREATE DATABASE $db CHARACTER SET latin1"
trap 'sql -e "DROP DATABASE IF EXISTS $db" || true; cleanup' EXIT
sql "$db" <"$source_dir/data/sql/schema.sql"
sql "$db" <"$source_dir/data/sql/sample-store.sql"

senha=$(printf '%s' "$PRECIVOX_TEST_DB_PASSWORD" | "$bin/precivox" --encipher-password)
printf '[ip]\ndatabase=%s\nlocal=%s\nsenha=%s\n[FilialMatriz]\nCodLogica=1\n' \
    "$db" "$PRECIVOX_TEST_DB_HOST" "$senha" >"$bin/sistema_yor.ini"

port=17510
(cd / && exec "$bin/precivox" --headless --listen "127.0.0.1:$port") 2>"$work/precivox.log" &
pid=$!
for _ in $(seq 50); do
    grep -q "listening on 127.0.0.1:$port" "$work/precivox.log" && break
    sleep 0.1
done
grep -q "listening on 127.0.0.1:$port" "$work/precivox.log" || fail "the terminal server did not start"
if grep -q "box" "$work/precivox.log"; then fail "a message box at start-up"; fi

# One scan answered, and keep-alives while the terminal stays connected.
answer=$("$bin/precivox-terminal" --port "$port" --number 5 --timeout 10 7895555123457) ||
    fail "no answer to the scan"
[ "$answer" = "NOTFOUND" ] || fail "unexpected answer '$answer'"
{ sleep 3.5; } | "$bin/precivox-terminal" --port "$port" --number 6 2>"$work/terminal.err" ||
    fail "the waiting terminal failed"
alive=$(sed -n 's/.* \([0-9][0-9]*\) keep-alives received.*/\1/p' "$work/terminal.err")
[ "${alive:-0}" -ge 2 ] || fail "expected at least 2 keep-alives in 3.5 s, got '${alive:-none}'"
grep -q "terminals connected: 1 127.0.0.1:6" "$work/precivox.log" || fail "terminal 6 not listed"
grep -q 'scan: terminal 5, barcode "7895555123457", NOTFOUND' "$work/precivox.log" ||
    fail "no log line for the scan"

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "exit code $status after SIGTERM"
grep -q "stopped" "$work/precivox.log" || fail "no orderly stop"
echo "headless program: started, listed, kept alive, answered, stopped"
