# The libFuzzer targets of tests/fuzz: built with clang (preset "fuzz", build-fuzz/) and
# run on their seeds in tests/fuzz/corpus/<target>.
FUZZERS=(protocol_line_fuzzer settings_fuzzer cipher_fuzzer integer_text_fuzzer)

# usage: run_fuzzers SECONDS CORPUS_DIR FINDINGS_DIR [FUZZER...]
# Runs each fuzzer for SECONDS, new inputs going to CORPUS_DIR/<target> (the seeds in the
# repository are only read). An input that crashes or breaks a property is kept in
# FINDINGS_DIR and the end of the fuzzer's log is shown. One line per fuzzer, then a count.
run_fuzzers() {
    local seconds=$1 corpus=$2 findings=$3
    shift 3
    local fuzzers=("$@") fuzzer passed=0 failed=0
    [ ${#fuzzers[@]} -gt 0 ] || fuzzers=("${FUZZERS[@]}")
    mkdir -p "$findings"
    for fuzzer in "${fuzzers[@]}"; do
        mkdir -p "$corpus/$fuzzer"
        local log=$findings/$fuzzer.log
        if build-fuzz/tests/fuzz/"$fuzzer" -max_total_time="$seconds" -timeout=10 \
            -rss_limit_mb=2048 -artifact_prefix="$findings/$fuzzer-" \
            "$corpus/$fuzzer" "tests/fuzz/corpus/$fuzzer" >"$log" 2>&1; then
            echo "$fuzzer: $(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log") runs in ${seconds} s," \
                "$(find "$corpus/$fuzzer" -type f | wc -l) new inputs, no finding"
            passed=$((passed + 1))
        else
            echo "$fuzzer: FINDING (input kept in $findings):"
            tail -n 25 "$log"
            failed=$((failed + 1))
        fi
    done
    echo "fuzz: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
