# Start-up: one instance per user, the hidden start, the second start's message.

case_second_start() {
  new_case second-start
  start_app
  local first=$APP
  wait_until 15 visible_window '^Velloran$' || return 1
  shot main-window "$(window_id '^Velloran$')"
  start_app
  local second=$APP
  wait_until 15 visible_window '^Application running$' || return 1
  shot application-running "$(window_id '^Application running$')"
  press "$(window_id '^Application running$')" Escape
  wait "$second"
  local code=$?
  [ "$code" -eq 255 ] && running "$first" && visible_window '^Velloran$' && [ ! -e "$PROG/tasks.tsk" ]
  local ok=$?
  APP=$first
  stop_app
  return $ok
}
check "a second start shows the message and exits with 255 while the first keeps running" case_second_start

case_hidden_start() {
  new_case hidden-start
  start_app HIDE
  sleep 2
  if visible_window '^Velloran$'; then stop_app; return 1; fi
  shot hidden-start-tray
  # A second start answered OK brings the first back; the tokens a launcher gave it go along.
  DESKTOP_STARTUP_ID="e2e-launcher-1-host-velloran-0_TIME$((SECONDS * 1000 + 1))" \
    XDG_ACTIVATION_TOKEN=e2e-token start_app
  local second=$APP
  wait_until 15 visible_window '^Application running$' || return 1
  press "$(window_id '^Application running$')" Return
  wait "$second"
  APP=$(pgrep -f "$PROG/velloran" | head -n 1)
  wait_until 10 visible_window '^Velloran$'
  local ok=$?
  stop_app
  return $ok
}
check "a start with HIDE goes to the tray; OK on a second start brings it back" case_hidden_start
