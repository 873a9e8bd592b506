#!/usr/bin/env bash
# Runs the fuzz targets longer than the tests do, by hand: builds build-fuzz/ (clang,
# AddressSanitizer, UndefinedBehaviorSanitizer) and runs each target, or the ones named,
# for SECONDS (default 600). The corpus grows in build-fuzz/corpus/ from run to run;
# findings are kept in build-fuzz/findings/. A finding is a bug to fix: fix it, then add
# the input to tests/fuzz/corpus/<target>/ as a seed.
#   scripts/fuzz.sh [SECONDS] [FUZZER...]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/packages.sh
. scripts/lib/fuzz.sh
seconds=${1:-600}
shift || true
ensure_packages "${BUILD_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
cmake --preset fuzz >/dev/null
cmake --build build-fuzz --target precivox_fuzzers
run_fuzzers "$seconds" build-fuzz/corpus build-fuzz/findings "$@"
