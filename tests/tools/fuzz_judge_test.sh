#!/usr/bin/env bash
# A unit timed out among the other fuzz targets is run again alone, with the same limit, before it is called a
# finding; any other failure is one at once. The stand-in target answers as libFuzzer does: on its corpus it
# reports the failure ($FIRST: timeout or crash) and leaves the unit; run on that unit alone it passes or times
# out again ($ALONE). Usage: fuzz_judge_test.sh <tools/fuzz_judge.sh>
set -euo pipefail
source "$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/target" <<'STANDIN'
#!/usr/bin/env bash
echo start >>"$STARTS"
if [ -d "${@: -1}" ]; then
    prefix=$(printf '%s\n' "$@" | sed -n 's/^-artifact_prefix=//p')
    touch "${prefix}$FIRST-1"
    echo "==1== ERROR: $([ "$FIRST" = timeout ] && echo libFuzzer: timeout || echo AddressSanitizer: SEGV)"
    echo "Test unit written to ${prefix}$FIRST-1"
    exit 70
fi
[ "$ALONE" = pass ] || { echo "==2== ERROR: libFuzzer: timeout"; exit 70; }
STANDIN
chmod +x "$work/target"
failures=0
# the stand-in's two answers, then the verdict (0 passes), its starts and what the log says last
while read -r FIRST ALONE verdict starts says; do
    export FIRST ALONE STARTS="$work/$FIRST-$ALONE.starts"
    findings="$work/$FIRST-$ALONE" && mkdir -p "$findings/corpus"
    fuzz_run "$work/target" 10 20 "$findings" "$findings/corpus"
    got=0 && { fuzz_judge "$work/target" 20 "$findings" || got=1; }
    if [ "$got/$(wc -l <"$STARTS")" != "$verdict/$starts" ] || ! tail -1 "$findings/log.txt" | grep -q "$says"; then
        echo "FAIL $FIRST $ALONE: verdict $got, $(wc -l <"$STARTS") starts; log:" && cat "$findings/log.txt"
        failures=$((failures + 1))
    fi
done <<'ROWS'
timeout pass 0 2 Alone.it.ended.within.20s
timeout timeout 1 2 Alone.it.failed.again
crash pass 1 1 written.to.*crash-1
ROWS
exit "$failures"
