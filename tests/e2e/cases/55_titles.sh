# Every window's title as the window manager shows it: _NET_WM_NAME, compared whole.

# Places relative to each window's top left corner.
TITLES_NEW_TASK=(36 49)
TITLES_SAVE_BT=(474 364)
TITLES_TURN_OFF_BT=(160 108)
TITLES_MEMO_CLOSE=(371 35)

# The whole titles of a program's windows that the window manager holds, sorted, one a line.
window_titles() {
  local id
  for id in $(xprop -root _NET_CLIENT_LIST | sed 's/^[^#]*#//; s/,/ /g'); do
    xprop -id "$id" _NET_WM_PID 2>/dev/null | grep -q " = $1\$" || continue
    xprop -id "$id" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'
  done | sort
}

titles_are() {
  local pid=$1
  shift
  [ "$(window_titles "$pid")" = "$(printf '%s\n' "$@" | sort)" ]
}

# Waits until exactly the titles given are up, in any order.
expect_titles() {
  local pid=$1
  shift
  wait_until 10 titles_are "$pid" "$@" && return 0
  echo "    titles: [$(window_titles "$pid" | paste -sd '|')], expected [$(printf '%s\n' "$@" | sort | paste -sd '|')]"
  return 1
}

title_steps() {
  wait_until 15 titles_are "$APP" "Alarm Clock" "Memo" || expect_titles "$APP" "Alarm Clock" "Memo" || return 1
  click_window "$(window_id '^Alarm Clock$')" "${TITLES_TURN_OFF_BT[@]}"
  click_window "$(window_id '^Memo$')" "${TITLES_MEMO_CLOSE[@]}"
  expect_titles "$APP" || return 1

  local first=$APP second
  start_app
  second=$APP
  APP=$first
  expect_titles "$second" "Application running" || return 1
  press "$(window_id '^Application running$')" Return
  wait "$second"
  expect_titles "$APP" "Velloran" || return 1
  local main
  main=$(window_id '^Velloran$')

  click_window "$main" "${TITLES_NEW_TASK[@]}"
  expect_titles "$APP" "Velloran" "Task Setup" || return 1
  # Save with nothing chosen is refused.
  click_window "$(window_id '^Task Setup$')" "${TITLES_SAVE_BT[@]}"
  expect_titles "$APP" "Velloran" "Task Setup" "Warning" || return 1
  press "$(window_id '^Warning$')" Return
  expect_titles "$APP" "Velloran" "Task Setup" || return 1
  press "$(window_id '^Task Setup$')" alt+c
  expect_titles "$APP" "Velloran" || return 1

  press "$main" alt+f
  sleep 0.3
  xdotool key p
  expect_titles "$APP" "Velloran" "Preferences" || return 1
  press "$(window_id '^Preferences$')" alt+c
  expect_titles "$APP" "Velloran" || return 1

  press "$main" alt+h
  sleep 0.3
  xdotool key a
  expect_titles "$APP" "Velloran" "About" || return 1
  press "$(window_id '^About$')" Return
  expect_titles "$APP" "Velloran" || return 1

  # Exit asks first; No keeps the program.
  press "$main" alt+f
  sleep 0.3
  xdotool key x
  expect_titles "$APP" "Velloran" "Exit" || return 1
  press "$(window_id '^Exit$')" n
  expect_titles "$APP" "Velloran" || return 1

  # A close request counts down in a window of the same title.
  kill -TERM "$APP"
  expect_titles "$APP" "Velloran" "Exit" || return 1
  wait_until 15 not running "$APP"
}

case_window_titles() {
  new_case titles
  "$TOOL" write "$PROG/tasks.tsk" \
    1 Memo +2 0 1 'Memo of the title case' -- \
    0 'Alarm Clock' +3 0 1 'Alarm of the title case' missing.wav || return 1
  start_app hide
  local ok=0
  title_steps || ok=1
  running "$APP" && stop_app
  return $ok
}
check "every window's _NET_WM_NAME is its whole caption, from the alarm to the exit countdown" \
  case_window_titles
