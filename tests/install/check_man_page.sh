#!/usr/bin/env bash
# The manual page velloran(1): groff and man render it without a warning, `make install` puts it where man
# finds it under the prefix's share/man, and its header names the release that packaging/changelog and
# the metainfo name.
# Usage: check_man_page.sh SOURCE_DIR BUILD_DIR
set -u
source_dir=$1
build=$2
page=$build/packaging/velloran.1
failed=0
fail() { echo "FAIL: $*"; failed=1; }
[ -f "$page" ] || { echo "FAIL: no manual page at $page"; exit 1; }

# Warnings go to standard error; the page itself is thrown away.
warnings=$(groff -ww -man -Tutf8 "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "groff -ww warns: $warnings"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man --warnings warns: $warnings"

# One release: the page's header, the changelog's newest entry and the metainfo's newest release.
changelog=$source_dir/packaging/changelog
release="$(dpkg-parsechangelog -l "$changelog" -S Version) $(date -u -d "$(dpkg-parsechangelog -l "$changelog" -S Date)" +%F)"
header=$(sed -n 's/^\.TH VELLORAN 1 "\([^"]*\)" "Velloran \([^"]*\)".*/\2 \1/p' "$page")
metainfo=$(grep -o '<release version="[^"]*" date="[^"]*"' "$build"/packaging/*.metainfo.xml | head -n 1 |
  sed 's/.*version="\([^"]*\)" date="\([^"]*\)"/\1 \2/')
[ "$header" = "$release" ] || fail "the page's header names '$header', the changelog '$release'"
[ "$metainfo" = "$release" ] || fail "the metainfo names '$metainfo', the changelog '$release'"

# What `make install PREFIX=...` installs, the default component; named, so that the build's
# install_manifest.txt, which a `make install` running meanwhile reads, stays that install's own.
# man then finds the page through that prefix's share/man alone.
prefix=$(mktemp -d /tmp/velloran-man-XXXXXX)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" --component Unspecified >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
installed=$prefix/share/man/man1/velloran.1.gz
found=$(MANPATH="$prefix/share/man" man -w velloran 2>&1)
[ "$found" = "$installed" ] || fail "man -w velloran found '$found', not $installed"
shown=$(MANPATH="$prefix/share/man" MANWIDTH=80 man -P cat velloran 2>&1)
grep -q '^ *velloran - personal task scheduler' <<<"$shown" || fail "man velloran shows no NAME line"
for section in SYNOPSIS OPTIONS FILES ENVIRONMENT "EXIT STATUS" "SEE ALSO"; do
  grep -q "^$section\$" <<<"$shown" || fail "man velloran shows no $section section"
done
[ "$failed" -eq 0 ] && echo "manual page renders cleanly and man finds it under the install prefix"
exit $failed
