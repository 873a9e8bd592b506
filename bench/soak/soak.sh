#!/usr/bin/env bash
# Soak, by hand (about 11 minutes), never in CI: 300 terminals scan the sample store at
# random for 10 minutes against the headless program while the database server is
# stopped and started again twice, at a third and at two thirds of the time. Builds
# build-soak/ (Release) and runs inside a private network namespace with a private MariaDB
# server on 127.0.0.1:3306; nothing leaves loopback.
#   bench/soak/soak.sh [SECONDS [TERMINALS]]
set -euo pipefail
cd "$(dirname "$0")/../.."

if [ "${1:-}" != "--in-namespace" ]; then
    . scripts/lib/packages.sh
    ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    cmake -S . -B build-soak -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build-soak --target precivox soak_terminals >/dev/null
    if [ "$(id -u)" -eq 0 ]; then
        exec unshare -n "$0" --in-namespace "$@"
    else
        exec unshare -rn "$0" --in-namespace "$@"
    fi
fi
shift
seconds=${1:-600}
terminals=${2:-300}

. scripts/lib/private-mariadb.sh
. scripts/lib/sample-store.sh
ip link set lo up
work=$(mktemp -d /tmp/precivox-soak.XXXXXX)
program=build-soak/app/precivox
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    # A restart leaves a server that this shell did not start: stop it by its pid file.
    [ -f "$work/mariadb/mysqld.pid" ] && kill "$(cat "$work/mariadb/mysqld.pid")" 2>/dev/null
    stop_private_mariadb
    rm -rf "$work"
}
trap cleanup EXIT

password=precivox-soak
start_private_mariadb "$work/mariadb" "$password"
load_sample_store "$password" gerente
# Every barcode of the store, and two that are nowhere.
{
    sql_as_root "$password" -N gerente -e "SELECT barras FROM produto UNION SELECT barras FROM barras"
    printf '7895555123457\n0000000000000\n'
} >"$work/barcodes"

write_settings "$(dirname "$program")" "$password" gerente
port=17600
"$program" --headless --listen "127.0.0.1:$port" 2>"$work/precivox.log" &
pid=$!
for _ in $(seq 50); do
    grep -q "listening on" "$work/precivox.log" && break
    sleep 0.1
done

build-soak/bench/soak/soak_terminals --port "$port" --terminals "$terminals" \
    --seconds "$seconds" --barcodes "$work/barcodes" --program-pid "$pid" \
    --restart-at $((seconds / 3)) --restart-at $((2 * seconds / 3)) \
    --restart-command ". scripts/lib/private-mariadb.sh && restart_private_mariadb $work/mariadb"

log=$work/precivox.log
echo "program log: $(grep -c '^scan: ' "$log") scans, $(grep -c '^scan: .*, error: ' "$log")" \
    "ended with an error, $(grep -c '^error box' "$log") error boxes," \
    "$(grep -c 'dropped' "$log") lines about dropped scans"
grep '^scan: .*, error: ' "$log" | sed 's/^scan: terminal [0-9]*, barcode "[0-9]*", //' |
    sort | uniq -c || true
