# A second start typed in a terminal has no launcher's token; it asks sway for one with the user's answer
# to its question, and the running window comes to the front of the focused terminal.

question_gone_and_second_ended() { ! window_exists 'Application running' && not running "$SECOND"; }

# Starts the second copy from the focused terminal's place, answers its question with the given action
# ("enter" or "click"), and waits for the question to go.
answer_second_start() {
  start_second
  wait_until 15 window_focused 'Application running' ||
    { echo "    no question, or not focused"; show_windows; return 1; }
  shot "second-start-question-$1"
  if [ "$1" = click ]; then
    # OK is the first of the two buttons at the question's lower right.
    local focused visible fullscreen urgent x y w h
    read -r focused visible fullscreen urgent x y w h < <(window_state 'Application running')
    click_at $((x + w - 139)) $((y + h - 25))
  else
    key Return
  fi
  wait_until 10 question_gone_and_second_ended || { echo "    the question stayed"; show_windows; return 1; }
  wait "$SECOND"
  local code=$?
  [ "$code" -eq 255 ] || { echo "    the second start ended with $code, not -1"; return 1; }
}

case_sway_second_start_from_tray() {
  sway_case sway-second-start-tray
  start_app hide
  wait_hidden_in_tray || { end_case; return 1; }
  start_terminal shell || { end_case; return 1; }
  local ok=0
  answer_second_start enter || ok=1
  if [ "$ok" -eq 0 ]; then
    wait_until 5 window_focused Velloran || { echo "    the window did not come to the front"; show_windows; ok=1; }
  fi
  sleep 0.5
  shot second-start-from-tray
  end_case || ok=1
  return $ok
}
check "sway: a second start from a terminal, Enter on its question: the window comes out of the tray, focused" \
  case_sway_second_start_from_tray

# The window is on screen beside the terminal, which has the focus. sway does with an activation what
# its focus_on_window_activation says: "urgent" by default marks the window, "focus" gives it the focus.
# Either needs a token that sway takes: without one nothing at all happens.
case_sway_second_start_over_terminal() {
  sway_case sway-second-start-shown
  start_app
  wait_until 20 window_focused Velloran || { echo "    no main window"; end_case; return 1; }
  start_terminal shell || { end_case; return 1; }
  local ok=0
  answer_second_start enter || ok=1
  if [ "$ok" -eq 0 ]; then
    wait_until 5 window_urgent Velloran || { echo "    sway was not asked to activate the window"; show_windows; ok=1; }
    shot second-start-urgent
  fi
  "${DESKTOP[@]}" swaymsg focus_on_window_activation focus >/dev/null
  "${DESKTOP[@]}" swaymsg '[title="^shell$"] focus' >/dev/null
  if [ "$ok" -eq 0 ] && wait_until 5 window_focused shell; then
    answer_second_start click || ok=1
    [ "$ok" -eq 0 ] && { wait_until 5 window_focused Velloran || { echo "    the window did not take the focus"; show_windows; ok=1; }; }
    sleep 0.5
    shot second-start-over-terminal
  fi
  "${DESKTOP[@]}" swaymsg focus_on_window_activation urgent >/dev/null
  end_case || ok=1
  return $ok
}
check "sway: a second start from a focused terminal, OK on its question: sway activates the window with its token" \
  case_sway_second_start_over_terminal
