# A throw-away MariaDB server for tests, the demo and the benchmarks: fresh data folder,
# loopback only.
# usage: start_private_mariadb DIR PASSWORD   (sets MARIADB_PID; socket DIR/mysqld.sock)
#        stop_private_mariadb
#        restart_private_mariadb DIR          (stops the server of DIR by the pid in its pid
#                                              file and starts it again on the same data)
start_private_mariadb() {
    local dir=$1 password=$2
    mkdir -p "$dir"
    if ! mariadb-install-db --no-defaults --datadir="$dir/data" --user="$(id -un)" \
        --auth-root-authentication-method=normal >"$dir/install.log" 2>&1; then
        echo "mariadb-install-db failed:" >&2
        cat "$dir/install.log" >&2
        return 1
    fi
    launch_private_mariadbd "$dir"
    if wait_for_private_mariadbd "$dir"; then
        mariadb --no-defaults -uroot --socket="$dir/mysqld.sock" -e "
            CREATE USER IF NOT EXISTS 'root'@'127.0.0.1' IDENTIFIED BY '$password';
            GRANT ALL PRIVILEGES ON *.* TO 'root'@'127.0.0.1' WITH GRANT OPTION;
            ALTER USER 'root'@'localhost' IDENTIFIED BY '$password';" && return 0
        echo "The private MariaDB server did not let root in." >&2
    fi
    stop_private_mariadb
    return 1
}

stop_private_mariadb() {
    [ -n "${MARIADB_PID:-}" ] || return 0
    kill "$MARIADB_PID" 2>/dev/null || true
    wait "$MARIADB_PID" 2>/dev/null || true
    MARIADB_PID=
}

restart_private_mariadb() {
    local dir=$1 pid
    pid=$(cat "$dir/mysqld.pid")
    kill "$pid"
    while kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
    launch_private_mariadbd "$dir"
    wait_for_private_mariadbd "$dir"
}

# The server's own messages go to DIR/error.log, also those before it opens that log.
launch_private_mariadbd() {
    local dir=$1
    mariadbd --no-defaults --datadir="$dir/data" --socket="$dir/mysqld.sock" \
        --port=3306 --bind-address=127.0.0.1 --user="$(id -un)" --skip-log-bin \
        --pid-file="$dir/mysqld.pid" --log-error="$dir/error.log" \
        --character-set-server=latin1 --collation-server=latin1_swedish_ci \
        --max-connections=500 </dev/null >>"$dir/error.log" 2>&1 &
    MARIADB_PID=$!
}

# Returns once the server answers on its socket; shows its log when it does not start.
wait_for_private_mariadbd() {
    local dir=$1 i
    for i in $(seq 150); do
        # A refused password still says that the server is up.
        mariadb-admin --no-defaults -uroot --socket="$dir/mysqld.sock" ping >/dev/null 2>&1 &&
            return 0
        kill -0 "$MARIADB_PID" 2>/dev/null || break
        sleep 0.2
    done
    echo "The private MariaDB server did not start. Its log:" >&2
    cat "$dir/error.log" >&2 2>/dev/null
    return 1
}
