# Sourced by the tests of the installed program, with $build and $source_dir set: installs
# the program into a temporary folder, loads the sample store into a database of its own on
# the test server (127.0.0.1), writes the settings file, and cleans up on exit.
. "$source_dir/scripts/lib/sample-store.sh"
work=$(mktemp -d /tmp/precivox-program.XXXXXX)
db=program_$$
pid=
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    sql_as_root "$PRECIVOX_TEST_DB_PASSWORD" -e "DROP DATABASE IF EXISTS $db" 2>/dev/null || true
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
load_sample_store "$PRECIVOX_TEST_DB_PASSWORD" "$db"
write_settings "$bin" "$PRECIVOX_TEST_DB_PASSWORD" "$db"

# Starts the program headless on 127.0.0.1:PORT from another current folder (the settings
# file is found beside the program), its log in $work/precivox.log.
start_precivox() {
    local port=$1
    (cd / && LANG=pt_BR.UTF-8 exec "$bin/precivox" --headless --listen "127.0.0.1:$port") \
        2>"$work/precivox.log" &
    pid=$!
    for _ in $(seq 50); do
        grep -q "listening on 127.0.0.1:$port" "$work/precivox.log" && return 0
        sleep 0.1
    done
    fail "the terminal server did not start"
}

# SIGTERM closes the program in order, with exit code 0.
stop_precivox() {
    kill -TERM "$pid"
    local status=0
    wait "$pid" || status=$?
    pid=
    [ "$status" -eq 0 ] || fail "exit code $status after SIGTERM"
    grep -q "stopped" "$work/precivox.log" || fail "no orderly stop"
}
