#!/usr/bin/env bash
# Memory while an alarm rings: the sound back end is loaded at the first sound, so start-up memory does
# not show what it costs. Velloran with one alarm due at start, in a headless session (Xvfb, openbox,
# trayer) with a PulseAudio server of the run's own; 8 s after start, with the alarm's stream on the
# server, the proportional set size (PSS) is read from /proc/PID/smaps_rollup.
# Usage: sound_memory.sh BUILD_FOLDER
set -u
BUILD=$(realpath "${1:-build}")
SETTLE_SECONDS=${SETTLE_SECONDS:-8}
BENCH=sound-memory
source "$(dirname "$0")/bench_programs.sh"
TOOL="$BUILD/tests/e2e/task_tool"
[ -x "$TOOL" ] || { echo "missing $TOOL: build first"; exit 1; }
for tool in pulseaudio pactl; do
  command -v "$tool" >/dev/null || { echo "$BENCH: $tool is not installed (make deps)"; exit 1; }
done

mib() { awk -v kib="$1" 'BEGIN {printf "%.1f", kib / 1024}'; }

dir="$ROOT/pulse"
mkdir -p "$dir"
chmod 700 "$dir"
HOME="$dir" XDG_RUNTIME_DIR="$dir" XDG_CONFIG_HOME="$dir" pulseaudio -n --daemonize=no --exit-idle-time=-1 \
  --disallow-exit -L "module-native-protocol-unix auth-anonymous=1 socket=$dir/pulse-native" \
  -L "module-null-sink sink_name=benchsink" >"$ROOT/pulseaudio.log" 2>&1 &
PIDS+=($!)
export PULSE_SERVER="unix:$dir/pulse-native"
wait_until 15 pactl info || { echo "$BENCH: the sound server did not start"; exit 1; }

start_headless_session
prepare_velloran ringing 0
"$TOOL" write "$ROOT/ringing/prog/tasks.tsk" 0 'Alarm Clock' +2 0 1 'Memory while ringing' Chimes.wav ||
  { echo "$BENCH: cannot write the alarm"; exit 1; }
start_in "$ROOT/ringing" "$ROOT/ringing/prog/velloran" hide
app=${ROUND_PIDS[-1]}
sleep "$SETTLE_SECONDS"
if [ "$(pactl list short sink-inputs | grep -c .)" -ne 1 ]; then
  echo "$BENCH: the alarm is not heard"
  exit 1
fi
read -r pss anon file rss < <(awk '/^Rss:/ {r = $2} /^Pss:/ {p = $2} /^Pss_Anon:/ {a = $2} /^Pss_File:/ {f = $2}
                               END {print p, a, f, r}' "/proc/$app/smaps_rollup")
threads=$(ls "/proc/$app/task" | wc -l)
echo "Memory with an alarm ringing, ${SETTLE_SECONDS} s after start:"
printf 'Velloran PSS %s MiB (anon %s, file %s, RSS %s), %d threads\n' "$(mib "$pss")" "$(mib "$anon")" \
  "$(mib "$file")" "$(mib "$rss")" "$threads"
