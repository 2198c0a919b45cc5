#!/usr/bin/env bash
# Keeps the list of files that `make install` put under a prefix, and removes exactly those files again.
#   install-record.sh save MANIFEST PREFIX   after cmake --install: keep the list in the program directory
#   install-record.sh remove PREFIX          remove the listed files; never tasks.tsk or other user files
# The list lives in the installed program directory, which the launcher PREFIX/bin/velloran points to, so
# that uninstalling needs neither the build folder nor the options it was built with.
set -euo pipefail

program_directory() {
  local prefix=$1 launcher="$1/bin/velloran"
  if [ -L "$launcher" ] || [ -e "$launcher" ]; then
    dirname "$(readlink -f "$launcher")"
  else
    echo "$prefix/share/velloran"
  fi
}

absolute() { case "$1" in /*) echo "${1%/}" ;; *) echo "$PWD/${1%/}" ;; esac; }

case "${1:-}" in
save)
  manifest=$2
  prefix=$(absolute "$3")
  folder=$(program_directory "$prefix")
  [ -d "$folder" ] || { echo "no program directory at $folder" >&2; exit 1; }
  cp "$manifest" "$folder/install-manifest.txt"
  echo "Velloran installed in $folder; start it from the applications menu or with $prefix/bin/velloran"
  ;;
remove)
  prefix=$(absolute "$2")
  folder=$(program_directory "$prefix")
  record="$folder/install-manifest.txt"
  if [ ! -f "$record" ]; then
    echo "Nothing to uninstall: no Velloran installed by make install under $prefix" >&2
    exit 1
  fi
  folders=()
  while IFS= read -r path || [ -n "$path" ]; do
    [ -n "$path" ] || continue
    case "$path" in
    "$prefix"/*) ;;
    *) echo "skipped (outside $prefix): $path" >&2; continue ;;
    esac
    # The user's tasks are never part of an install, whatever a damaged list says.
    [ "$(basename "$path")" = tasks.tsk ] && continue
    if [ -L "$path" ] || [ -f "$path" ]; then
      rm -f -- "$path"
      folders+=("$(dirname "$path")")
    fi
  done <"$record"
  rm -f -- "$record"
  # Folders left empty go (such as icons/hicolor/48x48/apps), except the standard ones every desktop has.
  keep=" $prefix $prefix/bin $prefix/share $prefix/share/applications $prefix/share/icons"
  keep+=" $prefix/share/icons/hicolor $prefix/share/metainfo $prefix/share/man $prefix/share/man/man1"
  keep+=" $prefix/share/doc $folder "
  for dir in "${folders[@]}"; do
    while [[ $dir == "$prefix"/* && $keep != *" $dir "* ]] && rmdir -- "$dir" 2>/dev/null; do
      dir=$(dirname "$dir")
    done
  done
  if rmdir -- "$folder" 2>/dev/null; then
    echo "Velloran removed from $prefix"
  else
    echo "Velloran removed from $prefix; kept $folder, which holds your files:"
    ls -A "$folder" | sed 's/^/  /'
  fi
  ;;
*)
  echo "usage: $0 save MANIFEST PREFIX | remove PREFIX" >&2
  exit 2
  ;;
esac
