#!/usr/bin/env bash
# The installed desktop entry and AppStream metainfo pass desktop-file-validate and appstream-util
# validate-relax, and what they name is installed: the launcher, the icon, the desktop entry.
# Usage: validate_desktop_files.sh BUILD_DIR     exit 77 (skipped) when a validator is missing
set -u
build=$1
missing=()
command -v desktop-file-validate >/dev/null || missing+=(desktop-file-validate)
command -v appstream-util >/dev/null || missing+=(appstream-util)
if [ ${#missing[@]} -gt 0 ]; then
  echo "skipped: ${missing[*]} not installed (Debian packages desktop-file-utils, appstream-util)"
  exit 77
fi
scratch=$(mktemp -d /tmp/velloran-validate-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
# A prefix with a blank makes the entry quote its Exec.
prefix="$scratch/my prefix"
# The default component, what `make install` installs, named so as to leave install_manifest.txt alone.
cmake --install "$build" --prefix "$prefix" --component Unspecified >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

failed=0
fail() { echo "FAIL: $*"; failed=1; }
entry="$prefix/share/applications/velloran.desktop"
metainfo=$(ls "$prefix"/share/metainfo/*.metainfo.xml 2>/dev/null | head -n 1)
[ -f "$entry" ] || fail "no desktop entry installed"
[ -n "$metainfo" ] || fail "no metainfo installed"
desktop-file-validate "$entry" || fail "desktop-file-validate $entry"
appstream-util validate-relax --nonet "$metainfo" || fail "appstream-util validate-relax $metainfo"

# Exec names the installed launcher, quoted for the blank; the launcher reaches the program.
exec_line=$(grep -m 1 '^Exec=' "$entry")
[ "$exec_line" = "Exec=\"$prefix/bin/velloran\"" ] || fail "Exec is $exec_line"
# The actions "New Alarm" and "New Memo" reach the same launcher.
[ "$(grep -cxE "Exec=\"$prefix/bin/velloran\" --new (alarm|memo)" "$entry")" = 2 ] ||
  fail "the actions' Exec lines: $(grep '^Exec=' "$entry" | tail -n +2 | tr '\n' ' ')"
[ -f "$prefix/share/dbus-1/interfaces/org.velloran.Velloran1.xml" ] || fail "no D-Bus interface description installed"
[ -x "$prefix/bin/velloran" ] && [ "$(readlink -f "$prefix/bin/velloran")" = "$(readlink -f "$prefix/share/velloran/velloran")" ] ||
  fail "launcher does not lead to the program"
icon=$(sed -n 's/^Icon=//p' "$entry")
for size in 16 24 32 48 64 128 256; do
  [ -f "$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png" ] || fail "no ${size} px icon $icon"
done
[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon"
grep -q "<launchable type=\"desktop-id\">$(basename "$entry")</launchable>" "$metainfo" ||
  fail "metainfo does not launch $(basename "$entry")"
[ "$failed" -eq 0 ] && echo "desktop entry and metainfo valid"
exit $failed
