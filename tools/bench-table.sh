#!/usr/bin/env bash
# Prints the FIGURE rows the benchmarks wrote (figure, value, target) as one table, under
# a line that says when, on which commit and on what machine they were measured.
set -euo pipefail
printf '\n%s, commit %s; %s CPUs, %s; load average %s\n' "$(date -u '+%Y-%m-%d %H:%M UTC')" \
    "$(git rev-parse --short HEAD 2>/dev/null || echo unknown)" "$(nproc)" \
    "$(grep -m1 '^model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')" "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '\n| Figure | Value | Target |\n|---|---|---|\n'
grep -h '^FIGURE' "$@" | awk -F'\t' '{ printf "| %s | %s | %s |\n", $2, $3, ($4 == "" ? "-" : $4) }'
