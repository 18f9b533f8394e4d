#!/usr/bin/env bash
# Runs the fuzz targets built by fuzz/build.sh (all, or those named) for SECONDS each, as many at a time as there are
# cores, starting from the seed corpus; prints each target's executions and coverage, and fails
# when a target finds an input that breaks a property (the input is kept under WORK_DIR).
#   fuzz/run.sh BUILD_DIR SECONDS [WORK_DIR [TARGET...]]
# WORK_DIR (default: a new temporary folder) holds the growing corpora, logs and crash inputs;
# give the same folder again to go on from an earlier run's corpora.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$1"
seconds="$2"
work="${3:-$(mktemp -d)}"
targets=(flight_fare_read flight_fares_read package_fare_read package_fares_read batch_feeds)
if (( $# > 3 )); then
    targets=("${@:4}")
fi

mkdir -p "$work/corpus" "$work/logs" "$work/crashes"
python3 "$root/fuzz/seed_corpus.py" "$work/corpus" >/dev/null

for target in "${targets[@]}"; do
    while (( $(jobs -rp | wc -l) >= $(nproc) )); do wait -n || true; done
    (
        status=0
        "$build/$target" "$work/corpus/$target" -max_total_time="$seconds" -timeout=30 \
            -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$work/crashes/$target-" \
            >"$work/logs/$target.log" 2>&1 || status=$?
        echo "$status" >"$work/logs/$target.status"
    ) &
done
wait

failed=0
for target in "${targets[@]}"; do
    log="$work/logs/$target.log"
    if [[ "$(cat "$work/logs/$target.status")" != 0 ]]; then
        failed=1
        echo "=== $target FAILED; input kept in $work/crashes/, log $log"
        grep -v -E '^#[0-9]+' "$log" | tail -n 40
        continue
    fi
    last="$(grep -E '^#[0-9]+.*cov:' "$log" | tail -n 1)"
    runs="$(grep -E 'stat::number_of_executed_units' "$log" | awk '{print $2}')"
    echo "$target: ${runs:-?} executions; ${last#* }"
done
exit "$failed"
