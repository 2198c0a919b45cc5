#!/usr/bin/env bash
# The translation files and the texts marked in src/, kept in step.
#   translations.sh update LUPDATE              brings every velloran_*.ts up to date with src/ and gives
#                                               the new texts their translation from glossary_<language>.tsv
#   translations.sh check LUPDATE LRELEASE      fails when a .ts is not what `update` would make of it, or
#                                               when a text has no finished translation, here or in the
#                                               desktop entries and the metainfo
# Both read the source folder beside this one. `check` exits 77 (skipped) when lupdate is not installed.
set -u
mode=$1
lupdate=$2
here=$(dirname "$(realpath "$0")")
sources=$(dirname "$here")/src
# No line numbers: a .ts changes only when the texts do. Texts gone from the sources are dropped; the
# glossary keeps their German, and gives new texts theirs: lupdate's guesses from similar texts are off.
options=(-locations none -no-obsolete -source-language en -extensions cpp,h,ui
         -disable-heuristic sametext -disable-heuristic similartext -disable-heuristic number)

ts_files=("$here"/velloran_*.ts)
case $mode in
update)
  "$lupdate" "${options[@]}" "$sources" -ts "${ts_files[@]}" || exit 1
  # New texts take their translation from the language's glossary; what it lacks is listed.
  for ts in "${ts_files[@]}"; do
    glossary="$here/glossary_$(basename "${ts%.ts}" | sed 's/^velloran_//').tsv"
    [ -f "$glossary" ] || continue
    echo "Filling $(basename "$ts") from $(basename "$glossary")"
    python3 "$here/fill_from_glossary.py" fill "$ts" "$glossary" || exit 1
  done
  ;;
check)
  lrelease=$3
  command -v "$lupdate" >/dev/null || { echo "skipped: lupdate is not installed (qt6-l10n-tools)"; exit 77; }
  work=$(mktemp -d /tmp/velloran-translations-XXXXXX)
  trap 'rm -rf "$work"' EXIT
  failed=0
  for ts in "${ts_files[@]}"; do
    name=$(basename "$ts")
    cp "$ts" "$work/$name"
    "$lupdate" -silent "${options[@]}" "$sources" -ts "$work/$name" || { echo "FAIL: lupdate on $name"; failed=1; continue; }
    if ! cmp -s "$ts" "$work/$name"; then
      echo "FAIL: $name is not up to date with the texts in src/ (build the target update_translations):"
      diff -u "$ts" "$work/$name" | head -n 60
      failed=1
    fi
    summary=$("$lrelease" "$work/$name" -qm "$work/${name%.ts}.qm" 2>&1) || { echo "$summary"; echo "FAIL: lrelease on $name"; failed=1; continue; }
    unfinished=$(sed -n 's/.*Generated [0-9]* translation(s) ([0-9]* finished and \([0-9]*\) unfinished).*/\1/p' <<<"$summary")
    untranslated=$(sed -n 's/.*Ignored \([0-9]*\) untranslated source text(s).*/\1/p' <<<"$summary")
    if [ -z "$unfinished" ]; then
      echo "$summary"
      echo "FAIL: no summary from lrelease for $name"
      failed=1
    elif [ "$unfinished" != 0 ] || [ "${untranslated:-0}" != 0 ]; then
      echo "FAIL: $name has ${untranslated:-0} untranslated and $unfinished unfinished texts:"
      python3 "$here/fill_from_glossary.py" unfinished "$work/$name"
      failed=1
    else
      echo "$name: $(grep -o 'Generated [0-9]* translation(s)' <<<"$summary"), all finished"
    fi
  done
  # What the desktop shows from outside the program: the menu entry, the autostart entry, the metainfo.
  languages=$(for ts in "${ts_files[@]}"; do basename "${ts%.ts}" | sed 's/^velloran_//'; done | paste -sd,)
  root=$(dirname "$here")
  python3 "$here/check_desktop_texts.py" "$languages" "$root/resources/velloran.desktop" \
    "$root/src/registry/autostart.cpp" "$root"/packaging/*.metainfo.xml.in || failed=1
  exit $failed
  ;;
*)
  echo "usage: translations.sh update LUPDATE | check LUPDATE LRELEASE" >&2
  exit 2
  ;;
esac
