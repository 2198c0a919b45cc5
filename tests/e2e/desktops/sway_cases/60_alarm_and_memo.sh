# An alarm and a memo due together: both windows are on screen and neither covers the other completely.

# True when the first place (x y w h) lies wholly inside the second.
inside() { [ "$1" -ge "$5" ] && [ "$2" -ge "$6" ] && [ $(($1 + $3)) -le $(($5 + $7)) ] && [ $(($2 + $4)) -le $(($6 + $8)) ]; }

case_sway_alarm_and_memo() {
  sway_case sway-alarm-memo
  "$TOOL" write "$PROG/tasks.tsk" 0 "Alarm Clock" +8 0 1 "Ringing" -- 1 Memo +8 0 1 "A note beside the alarm" || return 1
  own "$PROG/tasks.tsk"
  start_app hide
  wait_hidden_in_tray || { end_case; return 1; }
  shot alarm-and-memo-before
  local ok=0
  if ! wait_until 25 window_exists 'Alarm Clock' || ! wait_until 5 window_exists Memo; then
    echo "    the alarm and the memo did not both open"
    show_windows
    end_case
    return 1
  fi
  sleep 1.5
  shot alarm-and-memo
  show_windows
  local alarm memo
  alarm=$(window_state 'Alarm Clock' | cut -d' ' -f5-)
  memo=$(window_state Memo | cut -d' ' -f5-)
  window_visible 'Alarm Clock' && window_visible Memo || { echo "    not both visible"; ok=1; }
  # shellcheck disable=SC2086 # the places are four numbers each
  if inside $alarm $memo || inside $memo $alarm; then
    # sway places floating windows itself (in the middle), whatever place a program asks for: there the
    # notices are what shows both.
    echo "    one window covers the other: alarm $alarm, memo $memo"
    if mako_has Ringing && mako_has 'A note beside the alarm' &&
      notices_drawn "$SHOTS/sway-alarm-and-memo-before.png" "$SHOTS/sway-alarm-and-memo.png" 2; then
      echo "    both notices show in mako"
    else
      ok=1
    fi
  fi
  end_case || ok=1
  return $ok
}
check "sway: an alarm and a memo due together are both visible, neither covering the other" case_sway_alarm_and_memo
