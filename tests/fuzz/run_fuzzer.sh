#!/usr/bin/env bash
# Runs one fuzz harness for SECONDS from the seeds in SEEDS. What it finds
# beyond them goes to OUT/corpus/<harness> (the seeds are read, never written);
# an input that breaks a rule or trips a sanitizer is kept as
# OUT/findings/<harness>-crash-*, and the run fails with the harness's log.
#   run_fuzzer.sh HARNESS SEEDS OUT SECONDS
set -euo pipefail
harness=$1 seeds=$2 out=$3 seconds=$4
name=$(basename "$harness")
mkdir -p "$out/corpus/$name" "$out/findings"
log=$out/$name.log
# Absolute paths: a harness may change its working directory.
if "$harness" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=4096 \
    -artifact_prefix="$out/findings/$name-" "$out/corpus/$name" "$seeds" >"$log" 2>&1; then
    echo "$name: $(grep -E '^Done [0-9]+ runs' "$log"), no finding"
else
    tail -n 60 "$log"
    echo "$name: FINDING, see $log"
    exit 1
fi
