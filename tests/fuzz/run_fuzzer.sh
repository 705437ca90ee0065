#!/bin/sh
# Runs one libFuzzer target for a bounded time over a scratch corpus and its seeds.
# usage: run_fuzzer.sh FUZZER SECONDS CORPUS_DIR [SEED_DIR]
set -eu
fuzzer=$1 seconds=$2 corpus=$3 seeds=${4:-}
mkdir -p "$corpus"
if [ -n "$seeds" ] && [ -d "$seeds" ]; then
  exec "$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 "$corpus" "$seeds"
fi
exec "$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 "$corpus"
