#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds; a finding fails the run.
set -euo pipefail
folder="$1"
seconds="$2"
corpus_root="$(dirname "$0")/corpus"
for target in "$folder"/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  work=$(mktemp -d)
  [ -d "$corpus_root/$name" ] && cp -r "$corpus_root/$name/." "$work/"
  echo "fuzzing $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -max_len=16000 -len_control=0 -timeout=10 -print_final_stats=1 "$work" 2>&1 | tail -n 12
  rm -rf "$work"
done
