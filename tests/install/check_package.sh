#!/usr/bin/env bash
# The Debian package, built by cpack from this build folder: lintian finds no error and no warning, it has
# no ldconfig in its scripts, and where root may install packages it installs with dpkg -i, lists and shows
# its manual page, copyright file and changelog, and dpkg -r leaves nothing of it but a user's own file.
# Usage: check_package.sh BUILD_DIR     exit 77 (skipped) when a tool is missing
set -u
build=$1
for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 77; }
done
failed=0
fail() { echo "FAIL: $*"; failed=1; }
work=$(mktemp -d /tmp/velloran-package-XXXXXX)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(ls "$work"/out/velloran_*.deb) || { echo "FAIL: cpack made no velloran_*.deb"; exit 1; }

# Errors and warnings fail; the informational tags are shown for the record.
lintian --display-info --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 || fail "lintian failed"
cat "$work/lintian.log"
grep -q '^[EW]: ' "$work/lintian.log" && fail "lintian reports errors or warnings"
# Built hardened as Debian's own packages are: checked buffer functions, relocations read-only at start.
grep '^I: .* hardening-' "$work/lintian.log" && fail "the programs are not hardened"

dpkg-deb -e "$deb" "$work/control" || fail "dpkg-deb -e"
grep -l ldconfig "$work"/control/* 2>/dev/null | grep -q . && fail "a maintainer script calls ldconfig"
# Only the package's own layout: the program directory of `make install` must not come along.
dpkg-deb -c "$deb" | grep -q ' \./usr/share/velloran/' && fail "the package holds /usr/share/velloran"

if [ "$(id -u)" -ne 0 ]; then
  echo "note: not root, so the package is not installed; built and checked only"
  exit $failed
fi
if dpkg-query -W velloran >/dev/null 2>&1 && [ "$(dpkg-query -W -f='${db:Status-Status}' velloran)" != not-installed ]; then
  echo "note: a velloran package is installed on this machine already; it is left alone and this one not installed"
  exit $failed
fi

# Other programs may hold the package database for a moment; wait for them rather than fail.
dpkg_locked() {
  local i
  for i in $(seq 60); do
    "$@" >"$work/dpkg.log" 2>&1 && return 0
    grep -q 'lock' "$work/dpkg.log" || { cat "$work/dpkg.log"; return 1; }
    sleep 2
  done
  cat "$work/dpkg.log"
  return 1
}
trap 'dpkg --purge velloran >/dev/null 2>&1; rm -rf "$work"' EXIT
dpkg_locked dpkg -i "$deb" || { echo "FAIL: dpkg -i"; exit 1; }

listed=$(dpkg -L velloran)
for file in /usr/share/man/man1/velloran.1.gz /usr/share/doc/velloran/copyright /usr/share/doc/velloran/changelog.gz \
  /usr/bin/velloran; do
  grep -qx "$file" <<<"$listed" || fail "dpkg -L velloran does not list $file"
done
# The manual page names where the package's full manual is; the package puts it there.
manual=/usr/lib/velloran/manual/index.html
[ -f "$manual" ] || fail "$manual is not installed"
shown=$(env -u MANPATH MANWIDTH=80 man -P cat velloran 2>&1)
grep -q "$manual" <<<"$shown" || fail "man velloran does not show the page that names $manual"
[ "$(env -u MANPATH man -w velloran 2>&1)" = /usr/share/man/man1/velloran.1.gz ] || fail "man -w velloran"

# A task file that root's own run left in the program directory is the user's, and stays.
program_dir=$(dirname "$(readlink -f /usr/bin/velloran)")
echo tasks >"$program_dir/tasks.tsk"
dpkg_locked dpkg -r velloran || fail "dpkg -r"
[ "$(dpkg-query -W -f='${db:Status-Status}' velloran 2>/dev/null)" = not-installed ] ||
  [ -z "$(dpkg-query -W velloran 2>/dev/null)" ] || fail "velloran is still known to dpkg after dpkg -r"
while IFS= read -r path; do
  [ "$path" = /. ] && continue
  if [ -L "$path" ] || [ -f "$path" ]; then
    fail "dpkg -r left $path"
  elif [ -d "$path" ] && [ "$path" != "$program_dir" ] && ! dpkg -S "$path" >/dev/null 2>&1; then
    fail "dpkg -r left the folder $path"
  fi
done <<<"$listed"
[ "$(ls -A "$program_dir" 2>/dev/null)" = tasks.tsk ] || fail "$program_dir holds more than the user's tasks.tsk"
rm -f "$program_dir/tasks.tsk"
rmdir "$program_dir"
[ "$failed" -eq 0 ] && echo "package passes lintian, installs, shows its manual page and is removed whole"
exit $failed
