#!/usr/bin/env bash
# Starts Velloran; on a machine without a display, on a virtual one, and says so.
set -euo pipefail
program="$1"
shift

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$program" "$@"
fi

echo "No display found: starting Velloran on a virtual X display (Xvfb) with a window manager and a tray."
echo "Stop it with Ctrl+C."
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null || true; }
trap cleanup EXIT
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
read -r -t 10 number <&"$fd"
export DISPLAY=":$number"
echo "Virtual display $DISPLAY"
openbox >/dev/null 2>&1 &
pids+=($!)
trayer --edge bottom --align right --widthtype request --height 24 >/dev/null 2>&1 &
pids+=($!)
"$program" "$@"
