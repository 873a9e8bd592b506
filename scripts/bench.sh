#!/usr/bin/env bash
# Builds the benchmarks (Release, into build-bench/) and runs them inside a private network
# namespace with a private MariaDB server on 127.0.0.1:3306; nothing leaves loopback.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != "--in-namespace" ]; then
    . scripts/lib/packages.sh
    ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build-bench --target price_query_bench rule_path_bench
    if [ "$(id -u)" -eq 0 ]; then
        exec unshare -n "$0" --in-namespace
    else
        exec unshare -rn "$0" --in-namespace
    fi
fi

. scripts/lib/private-mariadb.sh
ip link set lo up
work=$(mktemp -d /tmp/precivox-bench.XXXXXX)
trap 'stop_private_mariadb; rm -rf "$work"' EXIT

export PRECIVOX_TEST_DB_HOST=127.0.0.1
export PRECIVOX_TEST_DB_PORT=3306
export PRECIVOX_TEST_DB_PASSWORD=precivox-bench
start_private_mariadb "$work/mariadb" "$PRECIVOX_TEST_DB_PASSWORD"
build-bench/bench/price_query_bench
build-bench/bench/rule_path_bench
