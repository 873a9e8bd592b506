#!/usr/bin/env bash
# Runs inside a private network namespace (loopback only): starts the private database
# server, runs the suite of the given build folder, stops the server whatever happens.
set -euo pipefail
build=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
. "$here/private-mariadb.sh"

ip link set lo up
work=$(mktemp -d /tmp/precivox-test.XXXXXX)
trap 'stop_private_mariadb; rm -rf "$work"' EXIT

export PRECIVOX_TEST_DB_HOST=127.0.0.1
export PRECIVOX_TEST_DB_PORT=3306
export PRECIVOX_TEST_DB_PASSWORD=precivox-test
start_private_mariadb "$work/mariadb" "$PRECIVOX_TEST_DB_PASSWORD"

export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --timeout 300 "$@"
