# An alarm due while a terminal is fullscreen is seen: its window over the terminal, or its notification,
# which mako draws above fullscreen windows.

case_sway_alarm_over_fullscreen() {
  sway_case sway-alarm-fullscreen
  "$TOOL" write "$PROG/tasks.tsk" 0 "Alarm Clock" +8 0 1 "Wake up over the terminal" || return 1
  own "$PROG/tasks.tsk"
  start_terminal fullscreen-shell || { end_case; return 1; }
  "${DESKTOP[@]}" swaymsg '[title="^fullscreen-shell$"] fullscreen enable' >/dev/null
  start_app hide
  wait_hidden_in_tray || { end_case; return 1; }
  sleep 0.5
  shot alarm-fullscreen-before
  local ok=0 seen=""
  wait_until 20 window_exists 'Alarm Clock' || { echo "    the alarm did not ring"; ok=1; }
  sleep 1.5
  shot alarm-fullscreen
  window_visible 'Alarm Clock' && seen="its window is visible"
  if [ -z "$seen" ] && mako_has 'Wake up over the terminal' &&
    notices_drawn "$SHOTS/sway-alarm-fullscreen-before.png" "$SHOTS/sway-alarm-fullscreen.png"; then
    seen="mako shows its notice over the terminal"
  fi
  [ "$ok" -eq 0 ] && { [ -n "$seen" ] || { echo "    the alarm rang unseen behind the fullscreen terminal"; show_windows; ok=1; }; }
  echo "    ${seen:-not seen}"
  end_case || ok=1
  return $ok
}
check "sway: an alarm due over a fullscreen terminal is seen" case_sway_alarm_over_fullscreen
