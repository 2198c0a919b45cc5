#!/usr/bin/env bash
# Idle cost: how often Velloran wakes while it waits in the tray. Velloran starts hidden with 1 000 tasks
# (none due), beside a bare Qt window with a tray icon, in one headless session (Xvfb, openbox, trayer);
# after they settle, the context switches of all their threads (voluntary and nonvoluntary, from
# /proc/PID/task/*/status) are counted over IDLE_SECONDS (60). Idle, Velloran should wake only for its
# 5-second scan: 12 a minute, at most 20. Run once on the X11 tray and once on a StatusNotifier host (a
# session bus with the tests' watcher) where that is built. It measures and prints; it fails only when a
# program does not start.
# Usage: idle_wakeups.sh BUILD_FOLDER
set -u
BUILD=$(realpath "${1:-build}")
WATCHER="$BUILD/tests/e2e/sni_watcher"
IDLE_SECONDS=${IDLE_SECONDS:-60}
SETTLE_SECONDS=${SETTLE_SECONDS:-10}
BENCH=idle
source "$(dirname "$0")/bench_programs.sh"

# Each thread's context switches, one "thread-id count" a line.
switches() {
  local task
  for task in /proc/"$1"/task/*; do
    echo "${task##*/} $(awk '/ctxt_switches/ {sum += $2} END {print sum + 0}' "$task/status" 2>/dev/null)"
  done
}
# The switches between two readings: a thread that ended since the first counts nothing more, a new one
# all of its own.
switches_between() {
  awk 'NR == FNR {before[$1] = $2; next} {sum += $2 - ($1 in before ? before[$1] : 0)} END {print sum + 0}' \
    <(echo "$1") <(echo "$2")
}
per_thread() {
  local task
  for task in /proc/"$1"/task/*; do
    printf '%s %s, ' "$(cat "$task/comm" 2>/dev/null)" \
      "$(awk '/ctxt_switches/ {sum += $2} END {print sum + 0}' "$task/status" 2>/dev/null)"
  done
}

# One round: both programs start together; Velloran hidden, in the tray once it settles.
measure_round() {
  local label=$1
  prepare_velloran "velloran-$label" 1000
  ROUND_PIDS=()
  start_in "$ROOT/bare-$label" "$BARE"
  local bare=${ROUND_PIDS[-1]}
  start_in "$ROOT/velloran-$label" "$ROOT/velloran-$label/prog/velloran" hide
  local app=${ROUND_PIDS[-1]}
  sleep "$SETTLE_SECONDS"
  if [ ! -d "/proc/$app" ] || [ ! -d "/proc/$bare" ]; then
    echo "$label: a program ended during start-up"
    stop_pids "${ROUND_PIDS[@]}"
    return 1
  fi
  if xdotool search --onlyvisible --name '^Velloran$' >/dev/null; then
    echo "$label: the Velloran window is on screen, not in the tray"
  fi
  local app_before bare_before app_after bare_after threads app_count bare_count
  app_before=$(switches "$app")
  bare_before=$(switches "$bare")
  sleep "$IDLE_SECONDS"
  app_after=$(switches "$app")
  bare_after=$(switches "$bare")
  app_count=$(switches_between "$app_before" "$app_after")
  bare_count=$(switches_between "$bare_before" "$bare_after")
  threads=$(per_thread "$app")
  printf '%-16s over %d s: Velloran %4d context switches, bare Qt tray window %4d\n' "$label" "$IDLE_SECONDS" \
    "$app_count" "$bare_count"
  echo "                 Velloran's threads since start: ${threads%, }"
  local per_minute=$((app_count * 60 / IDLE_SECONDS))
  if [ "$per_minute" -le 20 ]; then
    echo "                 Velloran: $per_minute a minute, within the mark of 20 (12 is the scan)"
  else
    echo "                 Velloran: $per_minute a minute, OVER the mark of 20 (12 is the scan)"
  fi
  stop_pids "${ROUND_PIDS[@]}"
  ROUND_PIDS=()
}

start_headless_session
echo "Idle wake-ups, hidden in the tray with 1 000 tasks, ${SETTLE_SECONDS} s after start:"
status=0
# The X11 round has no session bus, so that no StatusNotifier host of the machine's own takes the icon.
unset DBUS_SESSION_BUS_ADDRESS
measure_round "X11 tray" || status=1
if command -v dbus-daemon >/dev/null && [ -x "$WATCHER" ]; then
  dbus-daemon --session --nofork --print-address=1 >"$ROOT/bus-address" 2>"$ROOT/bus.log" &
  PIDS+=($!)
  wait_until 5 test -s "$ROOT/bus-address"
  DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$ROOT/bus-address")
  export DBUS_SESSION_BUS_ADDRESS
  "$WATCHER" "$ROOT/tray-items" >"$ROOT/watcher.log" 2>&1 &
  PIDS+=($!)
  wait_until 5 dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
    org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher string:ProtocolVersion ||
    echo "StatusNotifier: the watcher did not answer"
  measure_round "StatusNotifier" || status=1
else
  echo "StatusNotifier: skipped (needs dbus-daemon and $WATCHER)"
fi
exit $status
