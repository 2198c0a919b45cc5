# Close requests at any moment: SIGTERM reaches the close path before the main window exists, a close
# the system asks for never waits on a message nobody answers, and a stray Escape cannot cancel it.

# Sends SIGTERM and waits for the program to end; sets CODE. Fails when it is still there after 15 s.
terminate_within_15s() {
  kill -TERM "$APP"
  local start=$SECONDS
  wait_until 15 not running "$APP" || { echo "    still running 15 s after SIGTERM"; kill -9 "$APP"; wait "$APP"; return 1; }
  wait "$APP"
  CODE=$?
  echo "    ended $((SECONDS - start)) s after SIGTERM, exit code $CODE"
}

case_sigterm_during_splash() {
  new_case close-splash
  "$TOOL" write "$PROG/tasks.tsk" 7 /tmp/later +86400 0 1 -- 3 https://example.org/kept +90000 0 1 || return 1
  local before
  before=$("$TOOL" dump "$PROG/tasks.tsk")
  start_app
  wait_until 15 visible_window '^SplashForm' || { echo "    no splash"; stop_app; return 1; }
  terminate_within_15s || return 1
  # The tasks were never lost to a save of the list before it was read.
  [ "$CODE" -eq 0 ] && [ "$("$TOOL" dump "$PROG/tasks.tsk")" = "$before" ]
}
check "SIGTERM during the splash ends the program through its close path, tasks.tsk kept" case_sigterm_during_splash

# The shown window named Velloran that is larger than a tray icon.
startup_error_box() {
  local id width
  for id in $(search_windows --onlyvisible --name '^Velloran$'); do
    width=$(xwininfo -id "$id" 2>/dev/null | awk '/Width:/ {print $2}')
    [ "${width:-0}" -gt 64 ] && { echo "$id"; return 0; }
  done
  return 1
}

case_sigterm_during_startup_error() {
  new_case close-startup-error
  "$TOOL" write "$PROG/tasks.tsk" 7 /tmp/later +86400 0 1 || return 1
  mkdir -p "$XDG_CONFIG_HOME/velloran"
  printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Corvantis Software\\Velloran]\n"Settings"="not settings"\n' \
    >"$XDG_CONFIG_HOME/velloran/registry.reg"
  start_app hide
  # The settings error comes while the main window is being made; it has the program's name as caption,
  # as the tray icon's window on X11 has.
  wait_until 15 startup_error_box || { echo "    no start-up error"; stop_app; return 1; }
  shot startup-error "$(startup_error_box)"
  terminate_within_15s || return 1
  [ "$CODE" -eq 0 ] && "$TOOL" dump "$PROG/tasks.tsk" | grep -q /tmp/later
}
check "SIGTERM while the start-up error is shown ends the program within 15 s" case_sigterm_during_startup_error

case_sigterm_with_failed_save() {
  new_case close-failed-save
  start_app hide
  sleep 2
  # A folder where the task file should be makes the save fail, even for root.
  mkdir -p "$PROG/tasks.tsk/inside"
  terminate_within_15s || return 1
  [ "$CODE" -eq 0 ] && grep -q "Your tasks could not be saved" "$CASE/velloran.log" &&
    ! visible_window '^Warning'
}
check "SIGTERM with a save that fails ends the program within 15 s, the failure in its log" case_sigterm_with_failed_save

case_sigterm_to_a_second_start() {
  new_case close-second-start
  start_app hide
  local first=$APP
  sleep 2
  start_app
  wait_until 15 visible_window '^Application running' || { APP=$first; stop_app; return 1; }
  terminate_within_15s || { APP=$first; stop_app; return 1; }
  local code=$CODE
  # The question is answered as Cancel would: the running copy stays in the tray.
  sleep 1
  local ok=0
  visible_window '^Velloran$' && { echo "    the running copy came back"; ok=1; }
  running "$first" || { echo "    the running copy ended"; ok=1; }
  APP=$first
  stop_app || ok=1
  [ "$code" -eq 255 ] && [ "$ok" -eq 0 ]
}
check "SIGTERM to a second start ends it as Cancel would, the running copy untouched" case_sigterm_to_a_second_start

# An Escape sent to the second start's question with "xdotool key --window": the key press closes the
# question, the release then goes to a window that no longer exists, xdotool stops with an X error, and
# the Escape key stays down, repeating into whatever window has the focus.
case_escape_on_second_start() {
  new_case close-escape
  start_app
  local first=$APP
  wait_until 15 visible_window '^Velloran$' || { stop_app; return 1; }
  start_app
  local second=$APP
  wait_until 15 visible_window '^Application running' || { APP=$first; stop_app; return 1; }
  xdotool key --window "$(window_id '^Application running')" Escape 2>/dev/null
  wait "$second"
  local code=$?
  APP=$first
  kill -TERM "$APP"
  wait_until 5 visible_window '^Exit$'
  local countdown=$?
  [ "$countdown" -eq 0 ] && shot exit-countdown-after-escape "$(window_id '^Exit$')"
  wait_until 15 not running "$APP"
  local ended=$?
  xdotool keyup Escape
  [ "$ended" -eq 0 ] || { echo "    still running 15 s after SIGTERM"; kill -9 "$APP"; }
  wait "$APP"
  local exit_code=$?
  [ "$code" -eq 255 ] && [ "$countdown" -eq 0 ] && [ "$ended" -eq 0 ] && [ "$exit_code" -eq 0 ]
}
check "after Escape on a second start's question, SIGTERM shows the countdown and ends the program" \
  case_escape_on_second_start
