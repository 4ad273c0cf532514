# Sourced by tools/fuzz.sh: how one fuzz target is run and how its failure is judged. The targets run side by
# side, so a unit may time out only because the machine is busy: such a unit is run again alone, with the
# same limit, before it is called a finding, and the target's log says so.

# Runs the target at `binary` for `seconds` on its corpus folder, each unit within `limit` seconds; its output
# goes to <findings>/log.txt, what it leaves to <findings>/, its exit code to <findings>/status.
fuzz_run() {
    local binary=$1 seconds=$2 limit=$3 findings=$4 corpus=$5
    local code=0
    rm -f "$findings/status"
    "$binary" -max_total_time="$seconds" -timeout="$limit" -rss_limit_mb=2048 \
        -artifact_prefix="$findings/" -print_final_stats=1 "$corpus" >"$findings/log.txt" 2>&1 || code=$?
    echo "$code" >"$findings/status"
}

# The unit a target's log says ran past its time limit; nothing when the log tells of no time-out.
fuzz_timed_out_unit() {
    grep -q 'ERROR: libFuzzer: timeout' "$1" || return 0
    sed -n 's/^.*Test unit written to \(.*\)$/\1/p' "$1" | tail -1
}

# 0 when the target's run passed, or when its only failure was a unit past its time limit that, run again
# alone with the same limit, ends within it; otherwise 1: a finding. Call it with no other target running.
fuzz_judge() {
    local binary=$1 limit=$2 findings=$3 log="$3/log.txt" unit
    [ "$(cat "$findings/status" 2>/dev/null)" = 0 ] && return 0
    unit=$(fuzz_timed_out_unit "$log")
    [ -n "$unit" ] && [ -f "$unit" ] || return 1
    echo "== $unit ran past ${limit}s among the other targets: running it again alone, within the same ${limit}s" >>"$log"
    if "$binary" -timeout="$limit" -rss_limit_mb=2048 "$unit" >>"$log" 2>&1; then
        echo "== Alone it ended within ${limit}s: the machine was busy, this is no finding" >>"$log"
        return 0
    fi
    echo "== Alone it failed again: a finding" >>"$log"
    return 1
}
