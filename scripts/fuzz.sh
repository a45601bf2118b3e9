#!/usr/bin/env bash
# Runs every fuzz target of build-sanitize for the given number of seconds, one after the other
# (one process each: the machine is shared). New inputs go to a scratch corpus, findings to
# fuzz-findings/<target>/. Usage: scripts/fuzz.sh [seconds per target] [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-5}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(data_file_fuzz card_file_fuzz pelo_fuzz smartmedia_fuzz language_file_fuzz
           settings_file_fuzz cp1252_fuzz filter_condition_fuzz)
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for target in "${targets[@]}"; do
  mkdir -p "$scratch/$target" "fuzz-findings/$target"
  echo "== $target ($seconds s)"
  status=0
  ASAN_OPTIONS=detect_leaks=0 "build-sanitize/bin/$target" -max_total_time="$seconds" \
    -print_final_stats=1 -artifact_prefix="fuzz-findings/$target/" "$scratch/$target" "fuzz/corpus/$target" \
    > "$scratch/$target.log" 2>&1 || status=$?
  grep -E "^(stat::number_of_executed_units|stat::average_exec_per_sec|SUMMARY)" "$scratch/$target.log" || true
  if [ "$status" -ne 0 ]; then
    tail -40 "$scratch/$target.log"
    echo "$target found a fault (input in fuzz-findings/$target/)"
    exit 1
  fi
done
