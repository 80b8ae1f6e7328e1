#!/usr/bin/env bash
# Runs a libFuzzer target for a fixed time and prints a short summary: executions,
# speed, coverage reached and corpus size. The full output stays in a log beside the
# working corpus. Usage: run-fuzzer.sh FUZZER SECONDS WORK_CORPUS SEED_CORPUS
set -euo pipefail

fuzzer=$1
seconds=$2
work_corpus=$3
seed_corpus=$4
log="$work_corpus.log"

mkdir -p "$work_corpus"
echo "fuzz: $(basename "$fuzzer") for ${seconds}s, seeds from $seed_corpus, full output in $log"
status=0
"$fuzzer" -max_total_time="$seconds" -print_final_stats=1 "$work_corpus" "$seed_corpus" >"$log" 2>&1 || status=$?

if [ "$status" -ne 0 ]; then
    echo "fuzz: $(basename "$fuzzer") FAILED with status $status; the end of its output:"
    tail -n 60 "$log"
    exit "$status"
fi
# libFuzzer's last status line holds the coverage reached; its final stats the totals.
final=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1)
executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
coverage=$(sed -n 's/.* cov: \([0-9]*\) ft: \([0-9]*\) corp: \([0-9]*\/[0-9A-Za-z]*\).*/\1 edges, \2 features, corpus \3/p' <<<"$final")
echo "fuzz: $executions executions ($speed exec/s), $coverage, no failure"
