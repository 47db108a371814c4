#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets (clang with AddressSanitizer and UndefinedBehaviorSanitizer, every source
# instrumented for coverage) and runs each from its seed corpus for the given time, as many at a
# time as there are processors, then prints their executions, speed, peak resident memory and
# coverage. What a run finds is kept in
# <build-dir>/fuzz/findings/; the corpus it grows in <build-dir>/fuzz/corpus/.
# Usage: tools/run-fuzz.sh [seconds per target, default 60] [build-dir, default build-clang]
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
build_dir="${2:-$source_dir/build-clang}"

"$source_dir/tools/setup.sh"

CC=clang CXX=clang++ cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUANE_SANITIZE=address,undefined -DQUANE_FUZZ=ON -DQUANE_PLAYER=OFF >/dev/null

export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

# The longest input of each target: a state up to a megabyte (far beyond the bound the module
# refuses above), files of some size, host call sequences as the harness reads them.
declare -A max_len=([state]=1048576 [host]=4096 [midi]=65536 [preset]=65536 [plugin-state]=65536)

targets=(state host midi preset plugin-state)
cmake --build "$build_dir" -j"$(nproc)" --target "${targets[@]/#/quane-fuzz-}"

findings="$build_dir/fuzz/findings"
mkdir -p "$findings"

# One target's run; its summary line and status land beside its log.
fuzz_target() {
    local target="$1" corpus="$build_dir/fuzz/corpus/$1" log="$build_dir/fuzz/$1.log"
    mkdir -p "$corpus"
    # New inputs go to the first folder; the committed seeds are only read.
    local target_status=0
    "$build_dir/tests/fuzz/quane-fuzz-$target" -max_total_time="$seconds" -max_len="${max_len[$target]}" -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$findings/$target-" \
        "$corpus" "$source_dir/tests/fuzz/corpus/$target" >"$log" 2>&1 || target_status=$?

    local executions speed coverage peak
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" || true)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" || true)
    coverage=$(grep -E '^#[0-9]+' "$log" | tail -1 | sed -n 's/.*cov: \([0-9]*\) ft: \([0-9]*\).*corp: \([0-9]*\).*/\1 edges, \2 features, corpus of \3 inputs/p' || true)
    peak=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log" || true)
    echo "fuzz $target: ${seconds} s, ${executions:-?} executions, ${speed:-?} per second, peak ${peak:-?} MB resident, coverage ${coverage:-?}" >"$log.summary"
    echo "$target_status" >"$log.status"
}

# As many targets at a time as there are processors: each runs single-threaded, and the time
# bounds the targets check are the processor time of their own thread.
for target in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do
        wait -n || true
    done
    fuzz_target "$target" &
done
wait

status=0
for target in "${targets[@]}"; do
    log="$build_dir/fuzz/$target.log"
    cat "$log.summary"
    if [ "$(cat "$log.status")" -ne 0 ]; then
        echo "fuzz $target FAILED (status $(cat "$log.status")); the input is in $findings, the log in $log:" >&2
        tail -40 "$log" >&2
        status=1
    fi
done
exit "$status"
