#!/usr/bin/env bash
# Builds the Debian package build-deb/precivox_<version>_amd64.deb (Release).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" dpkg-dev
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-deb --target precivox precivox-terminal
(cd build-deb && cpack -G DEB >/dev/null)
ls build-deb/precivox_*.deb
