#!/usr/bin/env bash
# Runs a test program on its own virtual X display of two screens, with no window manager and no
# compositing manager: the program plays the desktop's parts itself.
# Usage: on_x_display.sh PROGRAM [ARGUMENTS...]. Exit code 77 (skipped) where Xvfb is missing.
set -u
command -v Xvfb >/dev/null || { echo "skipped: needs Xvfb"; exit 77; }
WORK=$(mktemp -d /tmp/velloran-xtest-XXXXXX)
chmod 700 "$WORK"
XVFB=
cleanup() {
  [ -n "$XVFB" ] && kill "$XVFB" 2>/dev/null && wait "$XVFB" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 800x600x24 -screen 1 640x480x24 -nolisten tcp -noreset >"$WORK/xvfb.log" 2>&1 &
XVFB=$!
read -r -t 15 number <&"$fd" || { echo "Xvfb did not start"; cat "$WORK/xvfb.log"; exit 1; }
DISPLAY=":$number" QT_QPA_PLATFORM=xcb HOME="$WORK" XDG_RUNTIME_DIR="$WORK" "$@"
