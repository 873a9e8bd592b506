#!/usr/bin/env bash
# The installed program as a store runs it: headless, against the sample store, with
# several simulated terminals scanning every case the sample store lists (plain prices,
# branch prices, promotions, additional barcodes, rule-engine prices, not found), the
# terminal list and keep-alives, a configuration reply, and SIGTERM. Run by ctest inside
# the test namespace.
set -euo pipefail
build=$1
source_dir=$2
. "$(dirname "$0")/installed_program.sh"

# Every case the sample store lists: "barcode<TAB>expected answer".
awk '
    /^-- +barcode +case +description +price/ { column = index($0, "description"); next }
    column && /^-- (demo: | +)[0-9]{13} / {
        match($0, /[0-9]{13}/)
        barcode = substr($0, RSTART, 13)
        rest = substr($0, column)
        if (rest ~ /^\(not found\)/) { print barcode "\tNOTFOUND"; next }
        n = split(rest, parts, /  +/)
        print barcode "\tPRICE " parts[1] " " parts[n]
    }' "$source_dir/data/sql/sample-store.sql" >"$work/cases"
[ "$(wc -l <"$work/cases")" -ge 20 ] || fail "the sample store lists too few cases"

port=17511
start_precivox "$port"

# A terminal that only listens, for the list and the keep-alives.
{ sleep 4; } | "$bin/precivox-terminal" --port "$port" --number 40 2>"$work/idle.err" &
idle=$!

# Four terminals scan at once, each its share of the cases in order.
split -n r/4 "$work/cases" "$work/share."
terminal=30
scanners=()
for share in "$work"/share.*; do
    terminal=$((terminal + 1))
    "$bin/precivox-terminal" --port "$port" --number "$terminal" --timeout 30 \
        $(cut -f1 "$share") >"$share.got" 2>"$share.err" &
    scanners+=($!)
done
for scanner in "${scanners[@]}"; do
    wait "$scanner" || true
done
for share in "$work"/share.??; do
    if ! diff <(cut -f2 "$share") "$share.got" >"$share.diff"; then
        paste "$share" "$share.got" >&2
        fail "answers differ from the sample store's list ($(basename "$share"))"
    fi
done

# A configuration sent by a terminal is taken and shown.
exec 3<>"/dev/tcp/127.0.0.1/$port"
printf 'HELLO 50\nCONFIG 10.0.0.1\t10.0.0.50\t255.255.255.0\tBEM\tVINDO\tA\tLOJA\t200\n' >&3
for _ in $(seq 30); do
    grep -q "configuration reply" "$work/precivox.log" && break
    sleep 0.1
done
exec 3>&-
grep -q 'configuration reply: 10.0.0.1 10.0.0.50 255.255.255.0 "BEM" "VINDO" "A" "LOJA" 200' \
    "$work/precivox.log" || fail "the configuration reply was not shown"

wait "$idle" || fail "the idle terminal failed"
alive=$(sed -n 's/.* \([0-9][0-9]*\) keep-alives received.*/\1/p' "$work/idle.err")
[ "${alive:-0}" -ge 3 ] || fail "expected at least 3 keep-alives in 4 s, got '${alive:-none}'"
grep -q "terminals connected: .*127.0.0.1:40" "$work/precivox.log" || fail "terminal 40 not listed"
grep -q 'PRICE "AZEITE EXTRA VIRGEM" 32,58, rule (product): Praticando Preço 1 do produto. | ' \
    "$work/precivox.log" || fail "the rule path is not explained in the log"

stop_precivox
echo "end to end: $(wc -l <"$work/cases") cases answered as listed, list, keep-alives, configuration, SIGTERM"
