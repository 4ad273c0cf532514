#!/usr/bin/env bash
# A fuzz unit timed out among the other targets is run again alone, with the same limit, before it is called a
# finding; any other failure is one at once. The stand-in target answers as libFuzzer does: on its corpus it
# reports $FIRST (timeout or crash) and leaves the unit; run on that unit alone it passes or times out ($ALONE).
set -euo pipefail
source "$1" # tools/fuzz_judge.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/target" <<'STANDIN'
#!/usr/bin/env bash
echo start >>"$STARTS"
if [ -d "${@: -1}" ]; then
    unit=$(printf '%s\n' "$@" | sed -n 's/^-artifact_prefix=//p')$FIRST-1 && touch "$unit"
    echo "ERROR: $([ "$FIRST" = timeout ] && echo libFuzzer: timeout || echo AddressSanitizer: SEGV)"
    echo "Test unit written to $unit" && exit 70
fi
[ "$ALONE" = pass ] || { echo "ERROR: libFuzzer: timeout" && exit 70; }
STANDIN
chmod +x "$work/target"
failures=0
while read -r FIRST ALONE verdict starts says; do # the verdict: 0 passes; what the log says last
    export FIRST ALONE STARTS="$work/$FIRST-$ALONE.starts" && findings="$work/$FIRST-$ALONE"
    mkdir -p "$findings/corpus" && fuzz_run "$work/target" 10 20 "$findings" "$findings/corpus"
    got=0 && { fuzz_judge "$work/target" 20 "$findings" || got=1; }
    if [ "$got/$(wc -l <"$STARTS")" != "$verdict/$starts" ] || ! tail -1 "$findings/log.txt" | grep -q "$says"; then
        echo "FAIL $FIRST $ALONE: verdict $got, $(wc -l <"$STARTS") starts" && cat "$findings/log.txt"
        failures=$((failures + 1))
    fi
done <<'ROWS'
timeout pass 0 2 Alone.it.ended.within.20s
timeout timeout 1 2 Alone.it.failed.again
crash pass 1 1 written.to.*crash-1
ROWS
exit "$failures"
