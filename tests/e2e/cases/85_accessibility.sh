# What a screen reader finds: every showing control of each window has a role and a name, read through
# AT-SPI on a session bus and an accessibility bus of the case's own; a memo closed and an alarm
# snoozed through AT-SPI actions alone.

A11Y_TOOL="$(dirname "$0")/accessibility.py"
ALREADY_RUNNING_TEXT="Application is already running. Look in the icon tray for the application
icon and double click on the icon to open.
If icon is not visable in the icon tray click OK to open, otherwise
select cancel and double click in icon tray to open."
A11Y_BUS=""
A11Y_LAUNCHER=""
A11Y_OUTER_BUS=""

a11y() { /usr/bin/python3 "$A11Y_TOOL" "$@"; }

accessibility_bus_up() {
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress | grep -q unix
}

# Returns 2 where the bus launcher or pyatspi is missing.
start_accessibility_bus() {
  [ -x /usr/libexec/at-spi-bus-launcher ] && command -v dbus-daemon >/dev/null &&
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || return 2
  dbus-daemon --session --nofork --print-address=1 >"$CASE/bus-address" 2>"$CASE/bus.log" &
  A11Y_BUS=$!
  PIDS+=("$A11Y_BUS")
  wait_until 5 test -s "$CASE/bus-address" || return 1
  A11Y_OUTER_BUS=${DBUS_SESSION_BUS_ADDRESS-}
  DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$CASE/bus-address")
  export DBUS_SESSION_BUS_ADDRESS
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$CASE/at-spi.log" 2>&1 &
  A11Y_LAUNCHER=$!
  PIDS+=("$A11Y_LAUNCHER")
  wait_until 10 accessibility_bus_up || { echo "    the accessibility bus did not start"; return 1; }
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}

stop_accessibility_bus() {
  unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON
  if [ -n "$A11Y_LAUNCHER" ]; then
    # The launcher's own bus and registry are its children.
    local children
    children=$(ps -o pid= --ppid "$A11Y_LAUNCHER" 2>/dev/null)
    kill "$A11Y_LAUNCHER" 2>/dev/null
    for pid in $children; do kill "$pid" 2>/dev/null; done
  fi
  [ -n "$A11Y_BUS" ] && kill "$A11Y_BUS" 2>/dev/null
  A11Y_LAUNCHER=""
  A11Y_BUS=""
  # The launcher names its bus on the display; no later program may look for it there.
  xprop -root -remove AT_SPI_BUS 2>/dev/null
  if [ -n "$A11Y_OUTER_BUS" ]; then export DBUS_SESSION_BUS_ADDRESS=$A11Y_OUTER_BUS; else unset DBUS_SESSION_BUS_ADDRESS; fi
  A11Y_OUTER_BUS=""
}

# Runs the steps given with the buses up; a missing launcher or pyatspi passes with a note.
with_accessibility_bus() {
  start_accessibility_bus
  case $? in
  0) ;;
  2)
    echo "    note: no at-spi-bus-launcher, dbus-daemon or pyatspi; accessibility is not checked"
    stop_accessibility_bus
    return 0
    ;;
  *)
    stop_accessibility_bus
    return 1
    ;;
  esac
  local ok=0
  "$@" || ok=1
  [ -n "${APP:-}" ] && running "$APP" && stop_app
  stop_accessibility_bus
  return $ok
}

a11y_windows_steps() {
  start_app
  wait_until 15 visible_window '^Velloran$' || { echo "    no main window"; return 1; }
  local main ok=0
  main=$(window_id '^Velloran$')
  a11y walk Velloran || ok=1
  a11y role Velloran "Task list" table || ok=1

  # A second start's message, word for word.
  local first=$APP second
  start_app
  second=$APP
  APP=$first
  wait_until 15 visible_window '^Application running$' || { echo "    no second start message"; return 1; }
  a11y walk "Application running" || ok=1
  a11y label "Application running" "$ALREADY_RUNNING_TEXT" || ok=1
  press "$(window_id '^Application running$')" Escape
  wait "$second"

  press "$main" alt+f
  sleep 0.3
  xdotool key n
  wait_until 10 visible_window '^Task Setup$' || { echo "    no editor"; return 1; }
  a11y walk "Task Setup" || ok=1
  a11y walk-pages "Task Setup" || ok=1
  press "$(window_id '^Task Setup$')" alt+c
  wait_until 5 not visible_window '^Task Setup$' || return 1

  press "$main" alt+f
  sleep 0.3
  xdotool key p
  wait_until 10 visible_window '^Preferences$' || { echo "    no Preferences"; return 1; }
  a11y walk Preferences || ok=1
  press "$(window_id '^Preferences$')" alt+c
  wait_until 5 not visible_window '^Preferences$' || return 1

  press "$main" alt+h
  sleep 0.3
  xdotool key a
  wait_until 10 visible_window '^About$' || { echo "    no About"; return 1; }
  a11y walk About || ok=1
  a11y role About "https://velloran.org/" link || ok=1
  a11y role About "support@velloran.org" link || ok=1
  # A link's action opens it, as a click does.
  a11y press About "https://velloran.org/" || ok=1
  wait_until 5 grep -qx 'https://velloran.org/' "$CASE/opened.log" || { echo "    the link's action opened nothing"; ok=1; }
  press "$(window_id '^About$')" Return
  wait_until 5 not visible_window '^About$' || return 1

  press "$main" alt+f
  sleep 0.3
  xdotool key x
  wait_until 10 visible_window '^Exit$' || { echo "    no Exit question"; return 1; }
  a11y walk Exit || ok=1
  press "$(window_id '^Exit$')" n
  wait_until 5 not visible_window '^Exit$' || return 1

  kill -TERM "$APP"
  wait_until 10 visible_window '^Exit$' || { echo "    no exit countdown"; return 1; }
  a11y walk Exit || ok=1
  wait_until 15 not running "$APP"
  return $ok
}

case_accessible_windows() {
  new_case accessibility
  "$TOOL" write "$PROG/tasks.tsk" 7 /tmp/later +86400 0 1 'A task for later' || return 1
  with_accessibility_bus a11y_windows_steps
}
check "main window, second start, Task Setup (every page), Preferences, About, exit windows: every control named" \
  case_accessible_windows

a11y_notification_steps() {
  start_app hide
  wait_until 15 visible_window '^Memo$' || { echo "    no memo window"; return 1; }
  wait_until 15 visible_window '^Alarm Clock$' || { echo "    no alarm window"; return 1; }
  local ok=0 role
  # AT-SPI calls a top-level window with a title bar's role a frame; the alarm, which appears without
  # the focus, is an alert, which a screen reader announces as it shows.
  for window in Memo:frame "Alarm Clock:alert"; do
    a11y walk "${window%:*}" || ok=1
    role=$(a11y window-role "${window%:*}")
    [ "$role" = "${window#*:}" ] || { echo "    ${window%:*} reports the role '$role'"; ok=1; }
  done
  a11y role Memo Close "push button" || ok=1
  a11y role "Alarm Clock" "Note:" text || ok=1

  # Snooze, by its action alone: the alarm stays, snoozing and silent.
  a11y showing "Alarm Clock" Snoozing && { echo "    snoozing before Snooze"; ok=1; }
  a11y press "Alarm Clock" Snooze || return 1
  wait_until 5 a11y showing "Alarm Clock" Snoozing || { echo "    Snooze did not snooze"; return 1; }
  visible_window '^Alarm Clock$' || { echo "    Snooze closed the alarm"; return 1; }
  if [ "$SOUND_SERVER" = 1 ]; then
    wait_until 5 not sound_playing || { echo "    the alarm still rings after Snooze"; return 1; }
  fi
  # The memo's close picture, by its action alone.
  a11y press Memo Close || return 1
  wait_until 5 not visible_window '^Memo$' || { echo "    Close left the memo"; return 1; }
  a11y press "Alarm Clock" "Turn off alarm" || return 1
  wait_until 5 not visible_window '^Alarm Clock$' || { echo "    Turn off left the alarm"; return 1; }
  return $ok
}

case_accessible_notifications() {
  new_case accessibility-notify
  "$TOOL" write "$PROG/tasks.tsk" \
    1 Memo +2 0 1 'Memo read by a screen reader' -- \
    0 'Alarm Clock' +3 0 1 'Alarm read by a screen reader' Chimes.wav || return 1
  with_accessibility_bus a11y_notification_steps
}
check "alarm and memo windows named, an alert and a window; Snooze and the memo's Close through AT-SPI alone" \
  case_accessible_notifications
