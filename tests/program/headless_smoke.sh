#!/usr/bin/env bash
# The installed program, headless, against the test server: it starts, opens its
# connection, lists a simulated terminal, keeps it alive, answers its scans and closes
# on SIGTERM with exit code 0. Run by ctest inside the test namespace.
set -euo pipefail
build=$1
source_dir=$2
. "$(dirname "$0")/installed_program.sh"

port=17510
start_precivox "$port"
if grep -q "box" "$work/precivox.log"; then fail "a message box at start-up"; fi

# One scan answered, and keep-alives while the terminal stays connected.
answer=$("$bin/precivox-terminal" --port "$port" --number 5 --timeout 10 7895555123457) ||
    fail "no answer to the scan"
[ "$answer" = "NOTFOUND" ] || fail "unexpected answer '$answer'"
{ sleep 3.5; } | "$bin/precivox-terminal" --port "$port" --number 6 2>"$work/terminal.err" ||
    fail "the waiting terminal failed"
alive=$(sed -n 's/.* \([0-9][0-9]*\) keep-alives received.*/\1/p' "$work/terminal.err")
[ "${alive:-0}" -ge 2 ] || fail "expected at least 2 keep-alives in 3.5 s, got '${alive:-none}'"
grep -q "terminals connected: 1 127.0.0.1:6" "$work/precivox.log" || fail "terminal 6 not listed"
grep -q 'scan: terminal 5, barcode "7895555123457", NOTFOUND' "$work/precivox.log" ||
    fail "no log line for the scan"

stop_precivox
echo "headless program: started, listed, kept alive, answered, stopped"
