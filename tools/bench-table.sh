#!/usr/bin/env bash
# Prints the FIGURE rows the benchmarks wrote (figure, value, target) as one table.
set -euo pipefail
printf '\n| Figure | Value | Target |\n|---|---|---|\n'
grep -h '^FIGURE' "$@" | awk -F'\t' '{ printf "| %s | %s | %s |\n", $2, $3, ($4 == "" ? "-" : $4) }'
