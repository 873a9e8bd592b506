#!/usr/bin/env bash
# The main job on a fresh machine: builds and installs Precivox into build/demo, starts a
# private MariaDB server with the sample store, starts Precivox against it, and scans a
# few of the store's barcodes with the terminal simulator, printing each answer.
#
#   scripts/demo.sh          scans, prints the answers, stops everything, exits 0
#   scripts/demo.sh --serve  leaves Precivox serving on 127.0.0.1:7510 until Ctrl-C
#
# Everything listens on loopback only. The scripted run happens inside a private network
# namespace, so it cannot clash with servers already running on this machine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
. scripts/lib/packages.sh
serve=0
case "${1:-}" in
"") ;;
--serve) serve=1 ;;
*) echo "usage: scripts/demo.sh [--serve]" >&2; exit 2 ;;
esac

if [ -z "${PRECIVOX_DEMO_INSIDE:-}" ]; then
    ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build
    rm -rf build/demo
    cmake --install build --prefix build/demo >/dev/null
    if [ "$serve" -eq 0 ]; then
        export PRECIVOX_DEMO_INSIDE=1
        if [ "$(id -u)" -eq 0 ]; then exec unshare -n "$0"; else exec unshare -rn "$0"; fi
    fi
else
    ip link set lo up
fi

. scripts/lib/private-mariadb.sh
. scripts/lib/sample-store.sh
work=$(mktemp -d /tmp/precivox-demo.XXXXXX)
precivox_pid=
cleanup() {
    [ -n "$precivox_pid" ] && kill "$precivox_pid" 2>/dev/null && wait "$precivox_pid" 2>/dev/null
    stop_private_mariadb
    rm -rf "$work"
}
trap cleanup EXIT

password=precivox-demo
start_private_mariadb "$work/mariadb" "$password"
load_sample_store "$password" gerente
install=$root/build/demo/bin
write_settings "$install" "$password" gerente

mode=--headless
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ "$serve" -eq 1 ]; then
    mode=
fi
# Prices are shown with the separators of the locale: the store's, Brazilian Portuguese.
LANG=pt_BR.UTF-8 "$install/precivox" $mode --listen 127.0.0.1:7510 2>"$work/precivox.log" &
precivox_pid=$!
for _ in $(seq 50); do
    grep -q "listening" "$work/precivox.log" 2>/dev/null && break
    sleep 0.1
done

if [ "$serve" -eq 1 ]; then
    echo "Precivox is serving on 127.0.0.1:7510 (log: $work/precivox.log). Connect a terminal:"
    echo "  $install/precivox-terminal --number 2 7891317202644"
    echo "  nc 127.0.0.1 7510     then type: HELLO 3   and   SCAN 7891317202644"
    echo "Ctrl-C stops Precivox and the database server."
    tail -f "$work/precivox.log" &
    wait "$precivox_pid" || true
    exit 0
fi

# The sample store lists the barcodes that show each way a price is found.
awk '
    /^-- +barcode +case +description +price/ { column = index($0, "description"); next }
    column && /^-- demo: / {
        case_text = substr($0, 25, column - 25)
        sub(/ +$/, "", case_text)
        print $3 "\t" case_text
    }' data/sql/sample-store.sql >"$work/cases"
echo "Scanning at terminal 1 (one scan per second, as the terminals are polled):"
"$install/precivox-terminal" --number 1 --timeout 15 $(cut -f1 "$work/cases") >"$work/answers"
paste "$work/cases" "$work/answers" | awk -F'\t' '{ printf "  %s  %-45s %s\n", $1, $2, $3 }'
kill "$precivox_pid"
wait "$precivox_pid" || true
precivox_pid=
echo
echo "Precivox's log of those scans:"
grep "^scan:" "$work/precivox.log"
