#!/usr/bin/env bash
# Installs what is missing, builds and runs the tests. Every suite runs inside a private
# network namespace with a private MariaDB server on 127.0.0.1:3306.
#   1. plain:  every test of build/ (RelWithDebInfo);
#   2. asan:   every test again under AddressSanitizer and UndefinedBehaviorSanitizer
#              (build-asan/, preset asan);
#   3. tsan:   the terminal library's tests under ThreadSanitizer (build-tsan/, preset tsan);
#   4. fuzz:   each fuzz target for FUZZ_SECONDS (default 25) on its seeds (build-fuzz/,
#              clang, preset fuzz); scripts/fuzz.sh runs them longer.
# Extra arguments run the plain stage only and go to ctest (for example -R Terminal).
# Build logs go to <build folder>/build.log and are shown when a build fails; of ctest's
# output the lines of passing tests are left out.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/packages.sh
. scripts/lib/fuzz.sh

in_namespace() {
    if [ "$(id -u)" -eq 0 ]; then unshare -n "$@"; else unshare -rn "$@"; fi
}

build() {
    local folder=$1
    shift
    if ! cmake --build "$folder" "$@" >"$folder/build.log" 2>&1; then
        tail -n 60 "$folder/build.log"
        echo "The build of $folder failed; its log: $folder/build.log" >&2
        return 1
    fi
}

# usage: suite BUILD_FOLDER [ctest arguments]
suite() {
    in_namespace scripts/lib/in-test-namespace.sh "$@" |
        awk '!/^ +Start +[0-9]+: / && !/ Passed +[0-9.]+ sec$/'
}

stage_times=
stage() {
    echo "== $1"
    stage_started=$SECONDS
}
stage_done() {
    stage_times+="${stage_times:+, }$1 $((SECONDS - stage_started)) s"
}

if [ $# -gt 0 ]; then
    ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
else
    ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
fi

stage "plain: build/ and every test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
build build
suite build "$@"
stage_done plain
[ $# -eq 0 ] || exit 0

stage "asan: build-asan/ and every test under AddressSanitizer and UBSan"
# Every check on, leaks included, with no suppressions. The options hold for the build as
# well, which runs the test programs to list their tests.
export ASAN_OPTIONS=detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake --preset asan >/dev/null
build build-asan
suite build-asan
stage_done asan
unset ASAN_OPTIONS UBSAN_OPTIONS

stage "tsan: build-tsan/ and the terminal library's tests under ThreadSanitizer"
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
cmake --preset tsan >/dev/null
build build-tsan --target terminal_protocol_tests terminal_server_tests terminal_simulator_tests
suite build-tsan/tests/terminal
stage_done tsan

stage "fuzz: build-fuzz/ and each fuzz target for ${FUZZ_SECONDS:-25} s"
cmake --preset fuzz >/dev/null
build build-fuzz --target precivox_fuzzers
corpus=$(mktemp -d /tmp/precivox-fuzz.XXXXXX)
trap 'rm -rf "$corpus"' EXIT
run_fuzzers "${FUZZ_SECONDS:-25}" "$corpus" build-fuzz/findings
stage_done fuzz

echo "== stage times: $stage_times"
