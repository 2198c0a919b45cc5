#!/usr/bin/env bash
# Runs notify_screenshots on its own virtual X display with a window manager, where shaped windows work.
# Usage: notify_screenshots.sh PROGRAM FOLDER [RATIO]. Exit code 77 (skipped) where Xvfb or openbox is
# missing. With RATIO 2 the windows are drawn at twice their size, on a screen twice as large.
set -u
PROGRAM=$(realpath "$1")
FOLDER=$2
command -v Xvfb >/dev/null && command -v openbox >/dev/null || { echo "skipped: needs Xvfb and openbox"; exit 77; }
WORK=$(mktemp -d /tmp/velloran-shots-XXXXXX)
PIDS=()
cleanup() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

exec {fd}<> <(:)
RATIO=${3:-1}
Xvfb -displayfd "$fd" -screen 0 "$((1280 * RATIO))x$((800 * RATIO))x24" -nolisten tcp -noreset >"$WORK/xvfb.log" 2>&1 &
PIDS+=($!)
read -r -t 15 number <&"$fd" || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb HOME="$WORK" XDG_RUNTIME_DIR="$WORK" QT_SCALE_FACTOR="$RATIO"
chmod 700 "$WORK"
openbox >"$WORK/openbox.log" 2>&1 &
PIDS+=($!)
for _ in $(seq 75); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break
  sleep 0.2
done
"$PROGRAM" "$FOLDER"
