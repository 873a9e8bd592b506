#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs every test inside a private
# network namespace with a private MariaDB server on 127.0.0.1:3306.
# Extra arguments go to ctest (for example -R Terminal).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build

if [ "$(id -u)" -eq 0 ]; then
    unshare -n scripts/lib/in-test-namespace.sh build "$@"
else
    unshare -rn scripts/lib/in-test-namespace.sh build "$@"
fi
