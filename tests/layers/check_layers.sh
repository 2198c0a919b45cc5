#!/usr/bin/env bash
# Each folder of src/ includes only from its own layer and the layers below it, so that the folders read
# as the program's layers: common, files, registry, store and scheduler without Qt; then the look and the
# desktop services on Qt; then the windows; then the program's entry.
set -u
src=$1/src
declare -A layer=([common]=0 [files]=1 [registry]=2 [store]=3 [scheduler]=4 [look]=5 [platform]=6
                  [prefs]=7 [editor]=7 [notify]=7 [shell]=7 [app]=8)
status=0
for folder in "$src"/*/; do
  name=$(basename "$folder")
  [ -n "${layer[$name]:-}" ] || { echo "src/$name is in no layer"; status=1; continue; }
  while IFS=: read -r file included; do
    target=${included%%/*}
    if [ -z "${layer[$target]:-}" ]; then
      echo "${file#"$1/"} includes $included, which is in no layer"
      status=1
    elif [ "${layer[$target]}" -gt "${layer[$name]}" ]; then
      echo "${file#"$1/"} includes $included from a higher layer"
      status=1
    fi
  done < <(grep -HoE '^#include "[a-z_]+/[^"]+"' "$folder"* | sed 's/#include "//; s/"$//')
done
exit $status
