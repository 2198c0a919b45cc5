#!/usr/bin/env bash
# Runs every fuzz target from its kept corpus in fuzz/corpus/<target>/; a finding fails the run.
#   run.sh FOLDER SECONDS        each target for SECONDS (CI); the kept corpus is left as it is
#   run.sh --long FOLDER RUNS    each target to RUNS executions; then what it found is merged into the
#                                kept corpus, minimised: only inputs that reach something new are kept
# FUZZ_TARGETS="fuzz_a fuzz_b" runs only those, so that targets can run side by side.
set -euo pipefail
long=0
if [ "${1:-}" = "--long" ]; then
  long=1
  shift
fi
folder="$1"
amount="$2"
corpus_root="$(cd "$(dirname "$0")" && pwd)/corpus"
# Inputs that crash land beside the targets, never in the source tree.
artifacts="$(cd "$folder" && pwd)/findings"
mkdir -p "$artifacts"
common=(-len_control=0 -timeout=10 -print_final_stats=1 -artifact_prefix="$artifacts/")

# Inputs as long as the files they stand for need: a task file or a journal of a few records; a
# settings value is a few hundred bytes, and 4 KB holds every structure of it at twice the rate.
max_len() {
  case "$1" in
    fuzz_registry_file) echo 4096 ;;
    *) echo 16000 ;;
  esac
}

for target in "$folder"/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  if [ -n "${FUZZ_TARGETS:-}" ] && [[ " $FUZZ_TARGETS " != *" $name "* ]]; then
    continue
  fi
  kept="$corpus_root/$name"
  limit=(-max_len="$(max_len "$name")")
  mkdir -p "$kept"
  work=$(mktemp -d)
  merged=$(mktemp -d)
  trap 'rm -rf "$work" "$merged"' EXIT
  cp -r "$kept/." "$work/"
  if [ "$long" = 1 ]; then
    echo "fuzzing $name for $amount runs from $(ls "$kept" | wc -l) kept inputs (progress in $artifacts/$name.log)"
    status=0
    "$target" -runs="$amount" "${common[@]}" "${limit[@]}" "$work" >"$artifacts/$name.log" 2>&1 || status=$?
    tail -n 8 "$artifacts/$name.log"
    # 72 is libFuzzer's answer to kill -INT: a long run stopped early still keeps what it found.
    [ "$status" -eq 0 ] || [ "$status" -eq 72 ] || exit "$status"
    "$target" -merge=1 "${common[@]}" "${limit[@]}" "$merged" "$kept" "$work" > "$artifacts/$name.merge.log" 2>&1
    # Inputs libFuzzer named (by their SHA-1) give way to the merged set; seeds written by hand stay.
    find "$kept" -maxdepth 1 -type f -regextype egrep -regex '.*/[0-9a-f]{40}' -delete
    cp -n "$merged"/* "$kept/"
    echo "$name: kept corpus now $(ls "$kept" | wc -l) inputs, $(du -sk "$kept" | cut -f1) KiB"
  else
    echo "fuzzing $name for ${amount}s from $(ls "$kept" | wc -l) kept inputs"
    "$target" -max_total_time="$amount" "${common[@]}" "${limit[@]}" "$work" 2>&1 | tail -n 12
  fi
  rm -rf "$work" "$merged"
  trap - EXIT
done
