#!/usr/bin/env bash
# Terminal capacity, by hand (about 2.5 minutes), never in CI: the installed program runs
# headless against the sample store while first 1 terminal, then 1,000 terminals stay
# connected for 60 s each; the first terminal scans about once a second. Reports the
# program's CPU and memory, the keep-alives received and the scans' answer times.
# Builds build-bench/ (Release) and runs inside a private network namespace with a private
# MariaDB server on 127.0.0.1:3306; nothing leaves loopback.
#   bench/capacity/capacity.sh [SECONDS [TERMINALS]]
set -euo pipefail
cd "$(dirname "$0")/../.."

if [ "${1:-}" != "--in-namespace" ]; then
    . scripts/lib/packages.sh
    ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build-bench -j2 --target precivox precivox-terminal terminal_load >/dev/null
    if [ "$(id -u)" -eq 0 ]; then
        exec unshare -n "$0" --in-namespace "$@"
    else
        exec unshare -rn "$0" --in-namespace "$@"
    fi
fi
shift
seconds=${1:-60}
terminals=${2:-1000}
barcode=7891317202644 # plain price: ARROZ TIPO 1 5KG
port=17510

# A descriptor for every terminal, in the program and in the load generator alike.
wanted=$((terminals + 256))
if [ "$(ulimit -Sn)" != unlimited ] && [ "$(ulimit -Sn)" -lt "$wanted" ]; then
    ulimit -Sn "$wanted" 2>/dev/null || {
        echo "The open-files limit $(ulimit -Hn) is below the $wanted that $terminals" \
            "terminals need." >&2
        exit 1
    }
fi

. scripts/lib/private-mariadb.sh
. scripts/lib/sample-store.sh
ip link set lo up
work=$(mktemp -d /tmp/precivox-capacity.XXXXXX)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    stop_private_mariadb
    rm -rf "$work"
}
trap cleanup EXIT

password=precivox-capacity
start_private_mariadb "$work/mariadb" "$password"
load_sample_store "$password" gerente

cmake --install build-bench --prefix "$work/install" >/dev/null
program=$work/install/bin/precivox
write_settings "$(dirname "$program")" "$password" gerente
log=$work/precivox.log
LANG=pt_BR.UTF-8 "$program" --headless --listen "127.0.0.1:$port" 2>"$log" &
pid=$!
for _ in $(seq 50); do
    grep -q "listening on" "$log" && break
    sleep 0.1
done
sleep 2 # past the start-up's first ticks

# The program's own time per scan, from its log: the answer time less the wait for a tick.
program_scan_times() {
    sed -n 's/^scan: terminal 1, .*(\([0-9]*\) ms)$/\1/p' | sort -n |
        awk '{ v[NR] = $1 } END {
            if (NR == 0) { print "- -"; exit }
            m = int(NR * 0.5) + 1; p = int(NR * 0.99) + 1; if (p > NR) p = NR
            print v[m], v[p] }'
}

run() {
    local count=$1 before
    before=$(wc -l <"$log")
    echo "== $count terminal(s), $seconds s"
    build-bench/bench/capacity/terminal_load --port "$port" --terminals "$count" \
        --seconds "$seconds" --barcode "$barcode" --program-pid "$pid" \
        --summary "$work/summary-$count"
    tail -n +"$((before + 1))" "$log" | program_scan_times >"$work/own-$count"
    echo "precivox's own time per scan (its log): median $(cut -d' ' -f1 "$work/own-$count") ms," \
        "p99 $(cut -d' ' -f2 "$work/own-$count") ms"
    echo
    sleep 2 # the terminals' departure settles before the next run
}

run 1
run "$terminals"

# The figures' names come from terminal_load's summary file.
# shellcheck disable=SC1090,SC2154
row() {
    local count=$1
    (
        . "$work/summary-$count"
        read -r own_median own_p99 <"$work/own-$count"
        printf '| %s | %s %% | %s MiB | %s MiB | %s of %s | %s s | %.0f ms | %.0f ms | %s ms | %s ms |\n' \
            "$terminals" "$cpu_percent" "$(awk "BEGIN { printf \"%.1f\", $peak_kib / 1024 }")" \
            "$(awk "BEGIN { printf \"%.1f\", $resident_end_kib / 1024 }")" \
            "$keepalives" "$keepalives_expected" "$longest_silence_seconds" \
            "$answer_median_ms" "$answer_p99_ms" "$own_median" "$own_p99"
    )
}
echo "| Terminals | Precivox CPU (one core) | Peak memory | Resident at the end |" \
    "Keep-alives received of expected | Longest silence | Scan answer median | p99 |" \
    "Own time median | p99 |"
echo "|---|---|---|---|---|---|---|---|---|---|"
row 1
row "$terminals"
echo
echo "program log: $(grep -c '^scan: ' "$log") scans," \
    "$(grep -c -e "^error box" -e 'I/O thread error' -e 'dropped' "$log" || true) lines about" \
    "errors or dropped lines"
