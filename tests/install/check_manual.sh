#!/usr/bin/env bash
# The manual beside the program, in English and in each translation: every link leads to a page and anchor
# that exist, every English page is in the help project, and Velloran.chm (when chmcmd built it) holds every
# page.
# Usage: check_manual.sh SOURCE_DIR BUILD_DIR
set -u
source_dir=$1/docs/manual
manual=$2/manual
failed=0
fail() { echo "FAIL: $*"; failed=1; }

[ -f "$manual/index.html" ] || { echo "FAIL: no manual at $manual"; exit 1; }
pages=$(cd "$source_dir" && ls *.html)
# Every link of a page in a folder of the manual leads to a page and anchor that exist.
check_links() {
  local folder=$1 page=$2 link file anchor
  grep -q "<title>" "$folder/$page" || fail "$folder/$page has no title"
  for link in $(grep -o 'href="[^"]*"' "$folder/$page" | sed 's/^href="//; s/"$//'); do
    case "$link" in http://* | https://* | mailto:*) continue ;; esac
    file=${link%%#*}
    anchor=
    [[ $link == *#* ]] && anchor=${link#*#}
    [ -n "$file" ] || file=$page
    [ -f "$folder/$file" ] || { fail "$folder/$page links to missing $file"; continue; }
    if [ -n "$anchor" ] && ! grep -q "id=\"$anchor\"" "$folder/$file"; then
      fail "$folder/$page links to missing anchor $file#$anchor"
    fi
  done
}
for page in $pages; do
  [ -f "$manual/$page" ] || fail "$page not copied beside the program"
  grep -qx "$page" "$source_dir/velloran.hhp" || fail "$page missing from velloran.hhp"
  check_links "$manual" "$page"
done
# The manual in other languages: the same pages, in that language, each with its anchors.
for translated in "$source_dir"/*/; do
  language=$(basename "$translated")
  for page in $pages; do
    [ -f "$translated/$page" ] || { fail "$language/$page missing"; continue; }
    [ -f "$manual/$language/$page" ] || fail "$language/$page not copied beside the program"
    grep -q "<html lang=\"$language\">" "$translated/$page" || fail "$language/$page is not marked as $language"
    for id in $(grep -o 'id="[^"]*"' "$source_dir/$page"); do
      grep -q "$id" "$translated/$page" || fail "$language/$page lacks the English page's $id"
    done
    [ -f "$manual/$language/$page" ] && check_links "$manual/$language" "$page"
  done
done
# Contents and index entries name pages and anchors that exist.
for file in contents.hhc keywords.hhk; do
  for target in $(grep -o 'name="Local" value="[^"]*"' "$source_dir/$file" | sed 's/.*value="//; s/"$//'); do
    page=${target%%#*}
    [ -f "$manual/$page" ] || fail "$file names missing $page"
    [[ $target == *#* ]] && ! grep -q "id=\"${target#*#}\"" "$manual/$page" && fail "$file names missing $target"
  done
done

chm="$2/Velloran.chm"
if command -v chmcmd >/dev/null; then
  [ -s "$chm" ] || fail "chmcmd is installed but Velloran.chm was not built"
  if command -v chmls >/dev/null && [ -s "$chm" ]; then
    listing=$(chmls list "$chm" 2>/dev/null)
    for page in $pages; do
      grep -q "/$page\$" <<<"$listing" || fail "Velloran.chm lacks $page"
    done
  fi
else
  echo "note: chmcmd not installed (Debian package fp-utils); Velloran.chm not checked"
fi
[ "$failed" -eq 0 ] && echo "manual complete: $(wc -w <<<"$pages") pages"
exit $failed
