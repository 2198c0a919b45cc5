# Due Alarm Clock and Memo tasks: their windows, the alarm's sound, Snooze and Turn off, and the sweep
# that frees closed windows.

# Qt gives up a closed window's X window at once, but the widget keeps its drawing buffer, shared
# with the X server, until it is destroyed: counting those mappings shows what the sweep freed.
window_buffers() { grep -c -E 'memfd:xorg|/SYSV' "/proc/$1/maps"; }
buffers_at_most() { [ "$(window_buffers "$1")" -le "$2" ]; }

case_notification_windows() {
  new_case notify
  [ "$SOUND_SERVER" = 1 ] || echo "    note: no sound server, the sound is not checked"
  # The memo first, so that its short alert has ended before the alarms ring; the scan runs every
  # five seconds, so each task shows at its own scan.
  "$TOOL" write "$PROG/tasks.tsk" \
    1 Memo +2 0 1 'Memo from the e2e run' -- \
    0 'Alarm Clock' +8 0 1 'Alarm from the e2e run' Chimes.wav -- \
    0 'Alarm Clock' +19 0 1 'Alarm whose sound is missing' missing.wav || return 1
  start_app hide
  local ok=0
  notification_steps || ok=1
  running "$APP" || { echo "    the program ended"; ok=1; }
  stop_app
  return $ok
}

notification_steps() {
  wait_until 15 visible_window '^Memo$' || { echo "    no memo window"; return 1; }
  local memo
  memo=$(window_id '^Memo$')
  sleep 0.5
  shot_on_desktop memo-window "$memo"

  wait_until 10 visible_window '^Alarm Clock$' || { echo "    no alarm window"; return 1; }
  local alarm
  alarm=$(window_id '^Alarm Clock$')
  expect_sound playing "the alarm rings" || return 1
  shot_on_desktop alarm-clock-window "$alarm"
  click_window "$alarm" "${SNOOZE_BT[@]}"
  expect_sound silent "after Snooze" || return 1
  visible_window '^Alarm Clock$' || { echo "    Snooze closed the alarm"; return 1; }
  sleep 0.3
  shot_on_desktop alarm-clock-snoozing "$alarm"
  click_window "$alarm" "${TURN_OFF_BT[@]}"
  wait_until 5 not visible_window '^Alarm Clock$' || { echo "    Turn off left the alarm"; return 1; }
  expect_sound silent "after Turn off" || return 1

  # A sound that is not there: the built-in alarm rings instead.
  wait_until 10 visible_window '^Alarm Clock$' || { echo "    no second alarm window"; return 1; }
  alarm=$(window_id '^Alarm Clock$')
  expect_sound playing "the alarm with a missing sound file" || return 1
  local shown
  shown=$(window_buffers "$APP")
  click_window "$alarm" "${TURN_OFF_BT[@]}"
  wait_until 5 not visible_window '^Alarm Clock$' || { echo "    Turn off left the second alarm"; return 1; }
  expect_sound silent "after the second Turn off" || return 1
  click_window "$memo" "${MEMO_CLOSE[@]}"
  wait_until 5 not visible_window '^Memo$' || { echo "    the close picture left the memo"; return 1; }

  # Closed windows are only hidden until the sweep, which runs every 30 seconds, destroys them.
  local kept
  kept=$(window_buffers "$APP")
  if [ "$kept" -ne "$shown" ] || [ "$kept" -lt 3 ]; then
    echo "    window buffers: $shown while shown, $kept after closing"
    return 1
  fi
  wait_until 35 buffers_at_most "$APP" $((kept - 3)) ||
    { echo "    the sweep freed no window: $(window_buffers "$APP") buffers, $kept before"; return 1; }
  # After the sweep the program goes on: the scan still runs and nothing else shows.
  sleep 1
  not visible_window '^Alarm Clock$' && not visible_window '^Memo$'
}

check "due alarm and memo windows: sound, Snooze, Turn off, the close picture, freed by the sweep" \
  case_notification_windows

# Killed the moment the alarm loads its sound module, before its window was shown: the next start shows
# and rings it, and the start after that does not again.
case_alarm_killed_while_shown() {
  command -v strace >/dev/null || { echo "    strace is not installed"; return 1; }
  new_case alarm-killed
  "$TOOL" write "$PROG/tasks.tsk" 0 'Alarm Clock' +2 1 1 'Alarm killed while shown' Chimes.wav || return 1
  strace -f -o "$CASE/strace.log" -P "$PROG/velloran-sound.so" -e trace=openat \
    -e inject=openat:signal=SIGKILL:when=1 "$PROG/velloran" hide >>"$CASE/velloran.log" 2>&1 &
  APP=$!
  PIDS+=($APP)
  wait_until 20 not running "$APP" || { echo "    not killed at the sound module"; kill -9 "$APP"; return 1; }
  wait "$APP" 2>/dev/null
  grep -q 'killed by SIGKILL' "$CASE/strace.log" && not visible_window '^Alarm Clock$' ||
    { echo "    not killed at the sound module: $(tail -n 3 "$CASE/strace.log")"; return 1; }
  start_app hide
  local ok=0
  wait_until 15 visible_window '^Alarm Clock$' || { echo "    the next start shows no alarm"; ok=1; }
  [ $ok = 1 ] || expect_sound playing "the alarm shown at the next start" || ok=1
  [ $ok = 1 ] || click_window "$(window_id '^Alarm Clock$')" "${TURN_OFF_BT[@]}"
  wait_until 10 visible_window '^Velloran$' && press "$(window_id '^Velloran$')" Return
  stop_app || ok=1
  [ $ok = 0 ] || return 1
  # Shown once it is on the screen: the start after that has nothing to show.
  start_app hide
  never_within 8 visible_window '^Alarm Clock$' || { echo "    shown again at the third start"; ok=1; }
  stop_app || ok=1
  "$TOOL" dump "$PROG/tasks.tsk" | awk -v now="$(date +%s)" '{exit !($(NF-2) > now + 3600)}' ||
    { echo "    the Daily did not move on: $("$TOOL" dump "$PROG/tasks.tsk")"; ok=1; }
  return $ok
}
check "killed while the alarm loads its sound, the next start rings it, and only that start" \
  case_alarm_killed_while_shown
