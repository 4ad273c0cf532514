#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a fixed time from seeds written by the
# program's own writers. Any crash, sanitizer report, time-out, memory blow-up or differing read-back
# fails the run (a unit that timed out among the other targets only when it times out again run alone);
# the input that caused it is kept in the build folder. The whole run takes one fixed time however many
# targets there are: FUZZ_SECONDS (default 180) is the wall time of the fuzzing, shared out among the
# targets, which run side by side on FUZZ_JOBS slots (default: the machine's cores).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TESSALINE_FUZZ_BUILD_DIR:-build-fuzz}
total=${FUZZ_SECONDS:-180}
slots=${FUZZ_JOBS:-$(nproc)}
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALINE_WERROR=ON \
    -DTESSALINE_FUZZ=ON -DTESSALINE_LINE_TABLES=ON -DTESSALINE_TESTS=OFF -DTESSALINE_BENCH=OFF
cmake --build "$build" --target fuzz_targets --parallel "$slots"

export QT_QPA_PLATFORM=offscreen
# A target ended by its time limit leaves its scratch folders behind: they go into the build folder, never
# into the machine's temporary folder, and each run starts with none.
export TMPDIR="$(realpath -m "$build/fuzz-tmp")"
rm -rf "$TMPDIR"
mkdir -p "$TMPDIR"
# Qt keeps caches for the life of the process; they are not leaks of the code under test.
export ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
seeds="$build/fuzz-seeds"
rm -rf "$seeds"
"$build/fuzz/fuzz_write_seeds" "$seeds"

# The targets run side by side, FUZZ_JOBS at once; a unit may take at most `limit` seconds.
limit=20
source tools/fuzz_judge.sh
run_target() {
    local target=$1 seeds_of=$2
    local corpus="$build/fuzz-corpus/$target" findings="$build/fuzz-findings/$target"
    mkdir -p "$corpus" "$findings"
    cp -n "$seeds/$seeds_of"/* "$corpus"/ || true # keeps what earlier runs found
    fuzz_run "$build/fuzz/fuzz_$target" "$seconds" "$limit" "$findings" "$corpus"
}

pairs=(PlistXml:xml PlistBinary:binary KeyedArchive:keyed ItemArchive:item ClipboardData:clipboard DesignFile:design
    ZipUnpack:zip WorkbookReader:workbook SheetWriter:sheet SeriesFile:series TextImport:text EmailSettings:settings
    PictureFolders:folders PictureCheck:pictures)
# Each target's share of slots times wall time, at least 10 s.
seconds=$((total * slots / ${#pairs[@]}))
[ "$seconds" -ge 10 ] || seconds=10
echo "== Fuzzing ${#pairs[@]} targets for ${seconds}s each, $slots at a time (about ${total}s in all)"
targets=()
for pair in "${pairs[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$slots" ]; do
        wait -n || true
    done
    run_target "${pair%%:*}" "${pair##*:}" &
    targets+=("${pair%%:*}")
done

wait

# Judged one at a time, now that nothing else runs: a unit timed out among the others is run again alone.
status=0
for target in "${targets[@]}"; do
    log="$build/fuzz-findings/$target/log.txt"
    if fuzz_judge "$build/fuzz/fuzz_$target" "$limit" "$build/fuzz-findings/$target"; then
        echo "$target: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log" | tail -1)"
        grep '^== Alone' "$log" || true
    else
        status=1
        echo "$target: FINDING (see $log)"
        tail -40 "$log"
    fi
done
exit $status
