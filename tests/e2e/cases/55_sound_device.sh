# The alarm follows the sound output: a sink that goes away while the alarm rings, then a new one that
# becomes the default, and a sound server that restarts.

# The sink names of the run's Velloran alarm streams (application.name "Velloran", media.role "alarm"),
# one a line.
velloran_alarm_sinks() {
  local names
  names=$(pactl list short sinks | awk '{print $1, $2}')
  pactl list sink-inputs | awk '
    function flush() { if (sink != "" && app && role) print sink; sink = ""; app = 0; role = 0 }
    /^Sink Input #/ { flush() }
    /^\tSink: / { sink = $2 }
    /application.name = "Velloran"/ { app = 1 }
    /media.role = "alarm"/ { role = 1 }
    END { flush() }' | while read -r index; do
    awk -v i="$index" '$1 == i {print $2}' <<<"$names"
  done
}
alarm_on_sink() { [ "$(velloran_alarm_sinks)" = "$1" ]; }
no_sink_left() { [ -z "$(pactl list short sinks)" ]; }
sink_module() { pactl list short modules | awk -v s="sink_name=$1" '$0 ~ s {print $1; exit}'; }

case_alarm_follows_the_output() {
  new_case sound-device
  pactl load-module module-null-sink sink_name=e2e_speaker >/dev/null || return 1
  pactl set-default-sink e2e_speaker
  "$TOOL" write "$PROG/tasks.tsk" 0 'Alarm Clock' +2 0 1 'Alarm that follows the output' Chimes.wav || return 1
  start_app hide
  local result=0
  wait_until 15 alarm_on_sink e2e_speaker || { echo "    | the alarm does not ring on e2e_speaker"; result=1; }
  # The speaker goes; the run's own sink is still there.
  pactl unload-module "$(sink_module e2e_speaker)"
  local start=$SECONDS
  if wait_until 5 alarm_on_sink testsink; then
    echo "    | on the remaining sink $((SECONDS - start)) s after its sink went"
  else
    echo "    | not on the remaining sink 5 s after its sink went: $(velloran_alarm_sinks)"
    result=1
  fi
  # Every sink goes for a while, then a new one comes and becomes the default.
  pactl unload-module "$(sink_module testsink)"
  wait_until 5 no_sink_left
  sleep 3
  pactl load-module module-null-sink sink_name=e2e_headphones >/dev/null
  pactl set-default-sink e2e_headphones
  start=$SECONDS
  if wait_until 5 alarm_on_sink e2e_headphones; then
    echo "    | on the new sink $((SECONDS - start)) s after it came"
  else
    echo "    | not on the new sink 5 s after it came: $(velloran_alarm_sinks)"
    result=1
  fi
  running "$APP" || { echo "    | the program ended"; result=1; }
  stop_app
  # The run's sink again, as the default, for the cases after this one.
  pactl load-module module-null-sink sink_name=testsink >/dev/null
  pactl set-default-sink testsink
  pactl unload-module "$(sink_module e2e_headphones)"
  return $result
}
case_alarm_survives_a_sound_server_restart() {
  new_case sound-server-restart
  "$TOOL" write "$PROG/tasks.tsk" 0 'Alarm Clock' +2 0 1 'Alarm through a restart' Chimes.wav || return 1
  start_app hide
  local result=0
  wait_until 15 alarm_on_sink testsink || { echo "    | the alarm does not ring"; result=1; }
  kill "$SOUND_SERVER_PID"
  wait "$SOUND_SERVER_PID" 2>/dev/null
  sleep 1
  launch_sound_server
  wait_until 15 pactl info || { echo "    | the sound server did not start again"; result=1; }
  local start=$SECONDS
  if wait_until 5 alarm_on_sink testsink; then
    echo "    | ringing again $((SECONDS - start)) s after the server came back"
  else
    echo "    | silent 5 s after the server came back"
    result=1
  fi
  running "$APP" || { echo "    | the program ended"; result=1; }
  stop_app
  return $result
}

if [ "$SOUND_SERVER" = 1 ]; then
  check "a ringing alarm moves to the default output within 5 s when its sink goes and a new one comes" \
    case_alarm_follows_the_output
  check "a ringing alarm rings again within 5 s of its sound server coming back" \
    case_alarm_survives_a_sound_server_restart
else
  echo "note: no sound server; the sound device cases are skipped"
fi
