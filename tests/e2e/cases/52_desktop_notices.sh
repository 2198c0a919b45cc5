# Alarm and memo due together on a desktop with a real notification service (dunst, from Debian): both
# windows show side by side, each posts its notice, the notice's Snooze snoozes the alarm, a click on a
# notice brings its window forward, and closing a window withdraws its notice.

# The desktop's notification service on a session bus of the case's own, which starts nothing by
# itself; dbus-monitor records what passes on the notification interface. Returns 2 where dunst is
# missing.
start_notification_service() {
  command -v dunst >/dev/null && command -v dunstctl >/dev/null && command -v dbus-monitor >/dev/null || return 2
  cat >"$CASE/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$CASE/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
  dbus-daemon --config-file="$CASE/bus.conf" --nofork >"$CASE/bus-daemon.log" 2>&1 &
  PIDS+=($!)
  wait_until 5 test -S "$CASE/bus" || { echo "    no session bus"; return 1; }
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$CASE/bus"
  dbus-monitor --session "interface='org.freedesktop.Notifications'" >"$CASE/notices.log" 2>&1 &
  PIDS+=($!)
  # The context menu's chooser picks an action, as a user would in dunst's menu: the first Snooze, or
  # the first entry that the case's "choose" file matches.
  cat >"$CASE/bin/choose-snooze" <<'CHOOSE'
#!/bin/sh
case_dir=${0%/bin/*}
tee -a "$case_dir/menu.log" | grep -m 1 "$(cat "$case_dir/choose" 2>/dev/null || echo Snooze)"
CHOOSE
  chmod +x "$CASE/bin/choose-snooze"
  cat >"$CASE/dunstrc" <<CONF
[global]
    dmenu = $CASE/bin/choose-snooze
    font = DejaVu Sans 10
    width = 360
    origin = top-left
    offset = 10x10
CONF
  dunst -config "$CASE/dunstrc" >"$CASE/dunst.log" 2>&1 &
  PIDS+=($!)
  wait_until 10 service_on_bus || { echo "    dunst did not take the notification service"; return 1; }
}
stop_notification_service() { unset DBUS_SESSION_BUS_ADDRESS; }

service_on_bus() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    string:org.freedesktop.Notifications | grep -q true
}
kept_above() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
notices_shown() { [ "$(dunstctl count displayed 2>/dev/null)" = "$1" ]; }
active_window() { xprop -root _NET_ACTIVE_WINDOW | awk '{print $NF}'; }
is_active() { [ $((16#$(active_window | sed 's/^0x//'))) -eq "$1" ]; }

# The geometry of a window: "X Y WIDTH HEIGHT".
geometry_of() {
  # shellcheck disable=SC2034 # the eval sets all six
  local WINDOW X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$X $Y $WIDTH $HEIGHT"
}

case_desktop_notices() {
  new_case desktop-notices
  local status=0
  start_notification_service || status=$?
  if [ $status = 2 ]; then
    echo "    note: dunst is not installed; the desktop notices are not checked"
    return 0
  fi
  [ $status = 0 ] || return 1
  "$TOOL" write "$PROG/tasks.tsk" \
    0 'Alarm Clock' +3 0 1 'Catch the <8:10> train & bring the tickets' Chimes.wav -- \
    1 Memo +3 0 1 $'\r\nDentist at 4 pm\r\nBring the insurance card' -- \
    0 'Alarm Clock' +14 0 1 'Still ringing when the program ends' Chimes.wav -- || return 1
  start_app hide
  local ok=0
  desktop_notice_steps || ok=1
  running "$APP" || { echo "    the program ended"; ok=1; }
  stop_app
  # A program that ended leaves no notice behind whose buttons would reach nobody.
  [ $ok = 0 ] && { wait_until 5 notices_shown 0 || { echo "    a notice outlived the program"; ok=1; }; }
  stop_notification_service
  return $ok
}

desktop_notice_steps() {
  wait_until 15 visible_window '^Alarm Clock$' || { echo "    no alarm window"; return 1; }
  wait_until 5 visible_window '^Memo$' || { echo "    no memo window"; return 1; }
  local alarm memo
  alarm=$(window_id '^Alarm Clock$')
  memo=$(window_id '^Memo$')

  # Side by side on the screen, neither over the other.
  local ax ay aw ah mx my mw mh
  read -r ax ay aw ah < <(geometry_of "$alarm")
  read -r mx my mw mh < <(geometry_of "$memo")
  if [ $((ax + aw)) -gt "$mx" ] && [ $((mx + mw)) -gt "$ax" ] && [ $((ay + ah)) -gt "$my" ] &&
    [ $((my + mh)) -gt "$ay" ]; then
    echo "    the windows overlap: alarm $ax,$ay ${aw}x$ah, memo $mx,$my ${mw}x$mh"
    return 1
  fi

  wait_until 5 notices_shown 2 || { echo "    dunst shows $(dunstctl count displayed) notices, not 2"; return 1; }
  sleep 0.5
  shot desktop-notices-alarm-and-memo
  local log="$CASE/notices.log"
  # What the program asked of the service, whole: the alarm's texts, its urgency and buttons; the memo's
  # first line. Markup in the note reaches the service as text.
  for expected in 'string "Alarm Clock – Catch the <8:10> train & bring the tickets"' \
    'string "Catch the &lt;8:10&gt; train &amp; bring the tickets"' \
    'string "snooze"' 'string "Snooze"' 'string "Turn off alarm"' 'byte 2' \
    'string "Memo"' 'string "Dentist at 4 pm"' 'string "Velloran"'; do
    grep -qF "$expected" "$log" || { echo "    the notices lack: $expected"; return 1; }
  done

  kept_above "$alarm" || { echo "    the ringing alarm is not kept above other windows"; return 1; }
  # Snooze from dunst's context menu: the alarm snoozes and its notice goes; the memo's stays.
  dunstctl context
  wait_until 5 notices_shown 1 || { echo "    the alarm's notice stayed after its Snooze"; return 1; }
  grep -q 'string "snooze"' "$log" && grep -q 'member=ActionInvoked' "$log" ||
    { echo "    dunst sent no Snooze"; return 1; }
  grep -q 'member=CloseNotification' "$log" || { echo "    the program withdrew nothing"; return 1; }
  visible_window '^Alarm Clock$' || { echo "    Snooze from the notice closed the alarm"; return 1; }
  wait_until 5 not kept_above "$alarm" || { echo "    the snoozed alarm is still kept above others"; return 1; }
  expect_sound silent "after Snooze from the notice" || return 1
  sleep 0.3
  shot desktop-notices-alarm-snoozed

  # A click on the memo's notice brings the note forward.
  xdotool windowactivate --sync "$alarm" 2>/dev/null
  dunstctl action 0
  wait_until 5 is_active "$memo" || { echo "    the memo's notice did not bring the note forward"; return 1; }

  # Closing the note withdraws its notice.
  click_window "$memo" "${MEMO_CLOSE[@]}"
  wait_until 5 notices_shown 0 || { echo "    the memo's notice stayed after the note closed"; return 1; }
  click_window "$alarm" "${TURN_OFF_BT[@]}"
  wait_until 5 not visible_window '^Alarm Clock$' || { echo "    Turn off left the alarm"; return 1; }

  # The next alarm rings on until the program ends.
  wait_until 15 visible_window '^Alarm Clock$' || { echo "    no last alarm"; return 1; }
  wait_until 5 notices_shown 1 || { echo "    the last alarm posted no notice"; return 1; }
}

# Tasks that do nothing say so, by name: a program removed since, a file the opener cannot find (its
# exit status 2), a program path written on Windows. The scan's debug line, asked for, names the task.
case_failure_notices() {
  new_case failure-notices
  local status=0
  start_notification_service || status=$?
  [ $status = 2 ] && return 0
  [ $status = 0 ] || return 1
  printf '#!/bin/sh\nexit 2\n' >"$CASE/bin/xdg-open"
  "$TOOL" write "$PROG/tasks.tsk" \
    2 "$CASE/removed-program" +2 0 1 'Nightly backup' -- \
    6 "$CASE/home/report.pdf" +2 0 1 'Monthly report' -- \
    2 'C:\Windows\notepad.exe' +2 0 1 'Notes from Windows' -- || return 1
  QT_LOGGING_RULES="velloran.*.debug=true" start_app hide
  local ok=0
  wait_until 15 notices_shown 3 || { echo "    dunst shows $(dunstctl count displayed) notices, not 3"; ok=1; }
  sleep 0.5
  shot desktop-notices-failures
  for expected in 'string "The task “Nightly backup” did nothing"' \
    "string \"The program $CASE/removed-program is not there.\"" \
    'string "The task “Monthly report” did nothing"' "string \"$CASE/home/report.pdf is not there.\"" \
    'string "The task “Notes from Windows” did nothing"' \
    'string "C:\Windows\notepad.exe is a Windows path, which names nothing on this computer."'; do
    grep -qF "$expected" "$CASE/notices.log" || { echo "    the notices lack: $expected"; ok=1; }
  done
  grep -qE '^velloran: debug: velloran.tasks: scan at [0-9-]+ [0-9:]+ runs task [0-9]+, .*\(Nightly backup\)' \
    "$CASE/velloran.log" || { echo "    no debug line names the task the scan ran"; ok=1; }
  running "$APP" || { echo "    the program ended"; ok=1; }
  stop_app
  stop_notification_service
  return $ok
}

check "tasks that cannot open their target post a notice naming the task and the reason" case_failure_notices

check "alarm and memo due together: side by side, their notices on dunst, Snooze and a click from there" \
  case_desktop_notices

# Two alarms due together post notices named by their notes, and each one's Snooze in dunst's menu
# snoozes its own alarm. A daily alarm found two days late catches up three occurrences in three scans:
# the first one's notice says when it was due, the three share one notice that counts them, and Turn
# off there turns off all three.
case_notices_which_and_when() {
  new_case notices-which-and-when
  local status=0
  start_notification_service || status=$?
  [ $status = 2 ] && return 0
  [ $status = 0 ] || return 1
  local late=$((2 * 86400 + 3600)) since
  "$TOOL" write "$PROG/tasks.tsk" \
    0 'Alarm Clock' +4 0 1 'Take the pills' Chimes.wav -- \
    0 'Alarm Clock' +4 0 1 'Call the garage' Chimes.wav -- \
    0 'Alarm Clock' -$late 1 3 'Water the garden' Chimes.wav -- || return 1
  # As the task list writes the first occurrence's moment.
  since=$(date -d "@$("$TOOL" show "$PROG/tasks.tsk" | awk -F '\t' 'NR == 3 {print $4}')" +'%m/%d/%y - %I:%M%P')
  QT_LOGGING_RULES="velloran.window.debug=true" start_app hide
  local ok=0
  notices_which_and_when_steps "$since" || ok=1
  running "$APP" || { echo "    the program ended"; ok=1; }
  stop_app
  stop_notification_service
  return $ok
}

alarm_windows() { search_windows --onlyvisible --name '^Alarm Clock$' | wc -l; }
alarms_shown() { [ "$(alarm_windows)" = "$1" ]; }
# The line after a posted text's first line: the rest of a two-line notice body.
second_line_after() { grep -A 1 -xE "^ *string \"$1" "$CASE/notices.log" | sed -n 2p; }

notices_which_and_when_steps() {
  local since=$1 log="$CASE/notices.log"
  wait_until 25 alarms_shown 5 || { echo "    $(alarm_windows) alarm windows, not 5"; return 1; }
  wait_until 5 notices_shown 3 || { echo "    dunst shows $(dunstctl count displayed) notices, not 3"; return 1; }
  sleep 0.5
  shot desktop-notices-which-and-when
  for expected in 'string "Alarm Clock – Take the pills"' 'string "Alarm Clock – Call the garage"' \
    'string "Alarm Clock – Water the garden"'; do
    grep -qxE "^ *${expected}\$" "$log" || { echo "    no notice reads: $expected"; return 1; }
  done
  [ "$(second_line_after "Due $since")" = 'Water the garden"' ] ||
    { echo "    the first late occurrence's notice does not say \"Due $since\""; return 1; }
  [ "$(second_line_after "Due 3 times since $since")" = 'Water the garden"' ] ||
    { echo "    no notice says \"Due 3 times since $since\""; return 1; }

  # Snooze for the garage from dunst's menu: its alarm, and no other, snoozes.
  echo 'Snooze.*Call the garage' >"$CASE/choose"
  dunstctl context
  wait_until 5 notices_shown 2 || { echo "    the garage's Snooze left $(dunstctl count displayed) notices"; return 1; }
  grep -qxF 'velloran: debug: velloran.window: alarm "Call the garage" snoozed' "$CASE/velloran.log" ||
    { echo "    the garage's alarm did not snooze"; return 1; }
  ! grep -q 'snoozed' <(grep -v 'Call the garage' "$CASE/velloran.log") ||
    { echo "    another alarm snoozed:"; grep snoozed "$CASE/velloran.log"; return 1; }
  expect_sound playing "while the pills and the garden ring on" || return 1

  # Turn off in the garden's notice turns off its three occurrences.
  echo 'Turn off alarm.*Water the garden' >"$CASE/choose"
  dunstctl context
  wait_until 5 alarms_shown 2 || { echo "    $(alarm_windows) alarm windows after the garden's Turn off"; return 1; }
  [ "$(grep -c 'alarm "Water the garden" turned off' "$CASE/velloran.log")" = 3 ] ||
    { echo "    the garden's Turn off did not turn off its three alarms"; return 1; }
  notices_shown 1 || { echo "    dunst shows $(dunstctl count displayed) notices, not the pills' alone"; return 1; }
}

check "notices say which alarm and when: two at once each snoozed from its own, three late ones counted in one" \
  case_notices_which_and_when

# A program that a task starts while an alarm rings holds none of the program's descriptors: not the
# sound file being played, not the sound server's socket, not the task file's lock.
case_started_program_descriptors() {
  new_case started-program-descriptors
  cat >"$CASE/stays" <<'SCRIPT'
#!/bin/sh
echo $$ >"$0.pid.tmp"; mv "$0.pid.tmp" "$0.pid"; exec sleep 60
SCRIPT
  chmod +x "$CASE/stays"
  "$TOOL" write "$PROG/tasks.tsk" 0 'Alarm Clock' +2 0 1 'Ringing while a program starts' Chimes.wav -- \
    2 "$CASE/stays" +6 0 1 'Stays running' -- || return 1
  start_app hide
  local ok=0 pid open
  wait_until 15 visible_window '^Alarm Clock$' || { echo "    no alarm window"; ok=1; }
  expect_sound playing "while the alarm rings" || ok=1
  wait_until 15 test -s "$CASE/stays.pid" || { echo "    the program was not started"; ok=1; }
  pid=$(cat "$CASE/stays.pid" 2>/dev/null)
  if [ -n "$pid" ]; then
    [ "$SOUND_SERVER" = 1 ] && { ls -l "/proc/$APP/fd" | grep -q 'Chimes.wav' || echo "    note: the sound file was not open"; }
    open=$(ls "/proc/$pid/fd" | sort -n | tr '\n' ' ')
    kill "$pid"
    [ "$open" = "0 1 2 " ] || { echo "    the started program holds descriptors $open"; ok=1; }
  fi
  stop_app
  return $ok
}

check "a program started while an alarm rings holds only descriptors 0, 1 and 2" case_started_program_descriptors
