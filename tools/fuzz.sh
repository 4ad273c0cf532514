#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a fixed time from seeds written by the
# program's own writers. Any crash, sanitizer report, time-out, memory blow-up or differing read-back
# fails the run; the input that caused it is kept in the build folder. FUZZ_SECONDS sets the time per
# target (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TESSALINE_FUZZ_BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALINE_WERROR=ON \
    -DTESSALINE_FUZZ=ON -DTESSALINE_TESTS=OFF -DTESSALINE_BENCH=OFF
cmake --build "$build" --target fuzz_targets --parallel "$(nproc)"

export QT_QPA_PLATFORM=offscreen
# Qt keeps caches for the life of the process; they are not leaks of the code under test.
export ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
seeds="$build/fuzz-seeds"
rm -rf "$seeds"
"$build/fuzz/fuzz_write_seeds" "$seeds"

status=0
summary=()
for pair in PlistXml:xml PlistBinary:binary KeyedArchive:keyed ItemArchive:item ClipboardData:clipboard DesignFile:design; do
    target=${pair%%:*}
    corpus="$build/fuzz-corpus/$target"
    mkdir -p "$corpus" "$build/fuzz-findings/$target"
    cp -n "$seeds/${pair##*:}"/* "$corpus"/ || true # keeps what earlier runs found
    log="$build/fuzz-findings/$target/log.txt"
    echo "== Fuzzing $target for ${seconds}s"
    if "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
        -artifact_prefix="$build/fuzz-findings/$target/" -print_final_stats=1 "$corpus" >"$log" 2>&1; then
        summary+=("$target: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log" | tail -1)")
    else
        status=1
        summary+=("$target: FINDING (see $log)")
        tail -40 "$log"
    fi
done
printf '%s\n' "${summary[@]}"
exit $status
