#!/usr/bin/env bash
# Memory at start-up: Velloran with 1 000 and with 100 000 tasks beside a bare Qt window with a tray
# icon and a menu, in one headless session (Xvfb, openbox, trayer). Each pair starts together with its
# window shown; 8 s later the proportional set size (PSS) of both is read from /proc/PID/smaps_rollup.
# The pair runs once without and once with a session bus.
# Usage: startup_memory.sh BUILD_FOLDER
set -u
BUILD=$(realpath "${1:-build}")
SETTLE_SECONDS=${SETTLE_SECONDS:-8}
BENCH=memory
source "$(dirname "$0")/bench_programs.sh"

# PSS, its anonymous and file parts, and RSS, in KiB. The file part shrinks as other programs map the
# same libraries, so a busy machine lowers both programs' figures; the anonymous part does not move.
pss_of() {
  awk '/^Rss:/ {rss = $2} /^Pss:/ {pss = $2} /^Pss_Anon:/ {anon = $2} /^Pss_File:/ {file = $2}
       END {print pss, anon, file, rss}' "/proc/$1/smaps_rollup"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
mib() { awk -v kib="$1" 'BEGIN {printf "%.1f", kib / 1024}'; }

# One pair: the bare window and Velloran with COUNT tasks, started together. Prints one line.
measure_pair() {
  local label=$1 count=$2
  shift 2
  local bare_dir="$ROOT/bare-$label-$count" app_dir="$ROOT/velloran-$label-$count"
  prepare_velloran "velloran-$label-$count" "$count"
  ROUND_PIDS=()
  start_in "$bare_dir" "$@" "$BARE"
  local bare_pid=${ROUND_PIDS[-1]}
  start_in "$app_dir" "$@" "$app_dir/prog/velloran"
  local app_pid=${ROUND_PIDS[-1]}
  sleep "$SETTLE_SECONDS"
  if ! xdotool search --onlyvisible --name '^Velloran$' >/dev/null; then
    echo "$label, $count tasks: the Velloran window is not shown"
    stop_pids "${ROUND_PIDS[@]}"
    return 1
  fi
  # Under a session bus the programs run as children of dbus-run-session.
  if [ $# -gt 0 ]; then
    bare_pid=$(pgrep -P "$bare_pid" -x bare_qt_tray) || bare_pid=0
    app_pid=$(pgrep -P "$app_pid" -x velloran) || app_pid=0
    ROUND_PIDS=("$bare_pid" "$app_pid" "${ROUND_PIDS[@]}")
  fi
  local bare app
  read -r -a bare <<<"$(pss_of "$bare_pid")"
  read -r -a app <<<"$(pss_of "$app_pid")"
  printf '%-11s %6d tasks: Velloran PSS %6s MiB (anon %6s, file %5s, RSS %6s)  bare PSS %5s MiB (anon %4s, file %5s, RSS %5s)  ratio PSS %s, anon %s, RSS %s\n' \
    "$label" "$count" "$(mib "${app[0]}")" "$(mib "${app[1]}")" "$(mib "${app[2]}")" "$(mib "${app[3]}")" \
    "$(mib "${bare[0]}")" "$(mib "${bare[1]}")" "$(mib "${bare[2]}")" "$(mib "${bare[3]}")" \
    "$(ratio "${app[0]}" "${bare[0]}")" "$(ratio "${app[1]}" "${bare[1]}")" "$(ratio "${app[3]}" "${bare[3]}")"
  echo "${app[0]} ${app[1]}" >"$ROOT/pss-$label-$count"
  stop_pids "${ROUND_PIDS[@]}"
  ROUND_PIDS=()
}

start_headless_session
echo "Start-up memory, ${SETTLE_SECONDS} s after start, window shown:"
status=0
measure_pair no-bus 1000 || status=1
measure_pair no-bus 100000 || status=1
if command -v dbus-run-session >/dev/null; then
  measure_pair session-bus 1000 dbus-run-session -- || status=1
fi
if [ -f "$ROOT/pss-no-bus-1000" ] && [ -f "$ROOT/pss-no-bus-100000" ]; then
  # The anonymous part is what the tasks add; the file part moves with what else runs on the machine.
  read -r small_pss small_anon <"$ROOT/pss-no-bus-1000"
  read -r large_pss large_anon <"$ROOT/pss-no-bus-100000"
  awk -v sp="$small_pss" -v lp="$large_pss" -v sa="$small_anon" -v la="$large_anon" 'BEGIN {
    printf "Memory per task over 99 000 tasks: %.0f bytes of PSS, %.0f bytes of anonymous memory\n",
      (lp - sp) * 1024 / 99000, (la - sa) * 1024 / 99000 }'
fi
exit $status
