#!/usr/bin/env bash
# A fuzz target whose unit timed out among the others is run again alone, with the same limit, before the
# time-out is called a finding; any other failure is a finding at once. Stand-in targets answer as libFuzzer
# does: on their corpus they report a unit past its time limit (or a crash) and leave it; run on one unit they
# end within the limit or report the time-out again. Usage: fuzz_judge_test.sh <tools/fuzz_judge.sh>
set -euo pipefail
source "$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# A stand-in target: `first` is what its run on the corpus reports (timeout or crash), `alone` what a run
# on one unit does (pass or timeout). Each start is counted in <work>/<target>.starts.
stand_in() {
    local path=$1 first=$2 alone=$3
    cat >"$path" <<STANDIN
#!/usr/bin/env bash
echo start >>"$work/\$(basename "$path").starts"
case "\${@: -1}" in
*/corpus)
    prefix=\$(printf '%s\n' "\$@" | sed -n 's/^-artifact_prefix=//p')
    echo unit >"\${prefix}$first-0123abcd"
    if [ "$first" = timeout ]; then
        echo "==1== ERROR: libFuzzer: timeout after 21 seconds"
        echo "artifact_prefix='\$prefix'; Test unit written to \${prefix}timeout-0123abcd"
        exit 70
    fi
    echo "==1== ERROR: AddressSanitizer: heap-buffer-overflow"
    echo "artifact_prefix='\$prefix'; Test unit written to \${prefix}crash-0123abcd"
    exit 1 ;;
*)
    if [ "$alone" = pass ]; then
        echo "Executed \${@: -1} in 1700 ms"
        exit 0
    fi
    echo "==2== ERROR: libFuzzer: timeout after 21 seconds"
    exit 70 ;;
esac
STANDIN
    chmod +x "$path"
}

# name, what the corpus run reports, what a run alone does, the verdict (0 passes), starts, what the log says
while read -r name first alone verdict starts says; do
    findings="$work/$name" corpus="$work/$name/corpus"
    mkdir -p "$corpus"
    stand_in "$work/fuzz_$name" "$first" "$alone"
    fuzz_run "$work/fuzz_$name" 10 20 "$findings" "$corpus"
    got=0
    fuzz_judge "$work/fuzz_$name" 20 "$findings" || got=1
    ran=$(wc -l <"$work/fuzz_$name.starts")
    if [ "$got" != "$verdict" ] || [ "$ran" != "$starts" ] || ! grep -q "$says" "$findings/log.txt"; then
        echo "FAIL $name: verdict $got (wanted $verdict), started $ran times (wanted $starts), log:"
        cat "$findings/log.txt"
        failures=$((failures + 1))
    fi
done <<'ROWS'
busy timeout pass 0 2 ^==.Alone.it.ended.within.20s
slow timeout timeout 1 2 ^==.Alone.it.failed.again
crash crash pass 1 1 AddressSanitizer
ROWS
[ "$failures" = 0 ] && echo "fuzz_judge: every row passed"
exit "$failures"
