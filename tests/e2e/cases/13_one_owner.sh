# One owner per task file: whoever starts Velloran on a program folder, and whatever runtime folder they
# have, the tasks run in one process only; a start while that one is closing takes over once it ended.

# The lock file names the process, which holds the lock (flock(1) cannot take it). flock(1) is asked only
# then: it makes a missing file, and it holds the lock for a moment where no one else does, which a start
# could find.
task_file_held_by() {
  [ "$(head -n 1 "$PROG/tasks.tsk.lock" 2>/dev/null)" = "$1" ] && ! flock -n "$PROG/tasks.tsk.lock" true
}
# Lines the recording xdg-open wrote, one per task run.
runs() { cat "$CASE/opened.log" 2>/dev/null | grep -c .; }
ran() { [ "$(runs)" -ge 1 ]; }

# Starts the program with XDG_RUNTIME_DIR as given ("" leaves it unset, with a temporary folder of the
# case's own); sets APP.
start_with_runtime() {
  local runtime=$1
  shift
  if [ -n "$runtime" ]; then
    mkdir -p -m 700 "$runtime"
    XDG_RUNTIME_DIR=$runtime "$PROG/velloran" "$@" >>"$CASE/velloran.log" 2>&1 &
  else
    mkdir -p "$CASE/tmp"
    (unset XDG_RUNTIME_DIR && TMPDIR="$CASE/tmp" exec "$PROG/velloran" "$@") >>"$CASE/velloran.log" 2>&1 &
  fi
  APP=$!
  PIDS+=($APP)
}

# The window a second start shows, with its title; the first start's own window may still be up.
window_of_titled() {
  local window
  for window in $(windows_of "$1"); do
    xprop -id "$window" _NET_WM_NAME 2>/dev/null | grep -qxF "_NET_WM_NAME(UTF8_STRING) = \"$2\"" &&
      { echo "$window"; return 0; }
  done
  return 1
}

# Waits for a second start's window of that title, answers it with Return and checks that the start
# ended with 255.
answered_and_ended_with_255() {
  local pid=$1 title=$2 window
  wait_until 15 window_of_titled "$pid" "$title" || { echo "    no window \"$title\""; return 1; }
  window=$(window_of_titled "$pid" "$title")
  [ -n "${3:-}" ] && shot "$3" "$window"
  # The window stays up while the task falls due and runs, in the first start.
  wait_until 25 ran || echo "    the task did not run"
  press "$window" Return
  wait_until 10 not running "$pid" || { echo "    the second start did not end"; return 1; }
  wait "$pid"
  local code=$?
  [ "$code" -eq 255 ] || { echo "    the second start ended with $code"; return 1; }
}

case_one_user_three_runtime_folders() {
  new_case owner-runtimes
  "$TOOL" write "$PROG/tasks.tsk" 7 /tmp/due-once +8 0 1 || return 1
  start_app hide
  local first=$APP ok=0
  wait_until 15 task_file_held_by "$APP" || { echo "    the task file was not locked"; stop_app; return 1; }
  # Another runtime folder, then none: each start finds this user's running one and offers it back.
  local runtime
  for runtime in "$CASE/runtime2" ""; do
    start_with_runtime "$runtime" hide
    answered_and_ended_with_255 "$APP" "Application running" || ok=1
    running "$first" || { echo "    the first start ended"; ok=1; }
  done
  APP=$first
  stop_app || ok=1
  [ "$(runs)" -eq 1 ] || { echo "    the task ran $(runs) times"; ok=1; }
  return $ok
}
check "one user with another runtime folder, or none, on one program folder: the due task runs once" \
  case_one_user_three_runtime_folders

case_two_users_one_program_folder() {
  command -v setpriv >/dev/null && command -v useradd >/dev/null || { echo "    note: skipped, no setpriv or useradd"; return 0; }
  local user=velloran-e2e
  id -u "$user" >/dev/null 2>&1 ||
    useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$user" || return 1
  new_case owner-users
  "$TOOL" write "$PROG/tasks.tsk" 7 /tmp/due-once +8 0 1 || return 1
  # A program folder that every local user may write, and the other user's own folders.
  chmod 711 "$ROOT"
  chmod 755 "$CASE"
  chmod 777 "$PROG"
  touch "$CASE/opened.log"
  chmod 666 "$CASE/opened.log"
  mkdir -p -m 700 "$CASE/other/home" "$CASE/other/config" "$CASE/other/runtime"
  chown -R "$user" "$CASE/other"
  start_app hide
  local first=$APP ok=0
  wait_until 15 task_file_held_by "$APP" || { echo "    the task file was not locked"; stop_app; return 1; }
  [ "$(stat -c %a "$PROG/tasks.tsk.lock")" = 666 ] || { echo "    lock file mode $(stat -c %a "$PROG/tasks.tsk.lock")"; ok=1; }
  (cd / && exec setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups --reset-env -- \
    env HOME="$CASE/other/home" XDG_CONFIG_HOME="$CASE/other/config" XDG_RUNTIME_DIR="$CASE/other/runtime" \
    DISPLAY="$DISPLAY" PATH="$PATH" "$PROG/velloran" hide) >>"$CASE/velloran.log" 2>&1 &
  local second=$!
  PIDS+=($second)
  answered_and_ended_with_255 "$second" Velloran task-file-in-use || ok=1
  local text
  text=$(told)
  [ "$text" = "Another Velloran (process $first) uses the task file \"$PROG/tasks.tsk\" and carries out its tasks.
This Velloran does not start, so that no task runs twice." ] || { echo "    the message was: $text"; ok=1; }
  APP=$first
  stop_app || ok=1
  [ "$(runs)" -eq 1 ] || { echo "    the task ran $(runs) times"; ok=1; }
  return $ok
}
check "two users on one shared program folder: the due task runs once, the second user is told" \
  case_two_users_one_program_folder

case_start_during_the_exit_countdown() {
  new_case owner-countdown
  start_app hide
  local first=$APP ok=0
  wait_until 15 task_file_held_by "$APP" || { echo "    the task file was not locked"; stop_app; return 1; }
  kill -TERM "$first"
  sleep 1
  start_app hide
  local second=$APP
  wait_until 15 not running "$first" || { echo "    the first did not end"; ok=1; }
  wait "$first"
  local code=$?
  [ "$code" -eq 0 ] || { echo "    the first ended with $code"; ok=1; }
  # The second waited for it and now runs in its place, without a question.
  wait_until 10 task_file_held_by "$second" && running "$second" || { echo "    nothing runs after the first ended"; ok=1; }
  never_within 3 visible_window '^Application running$' || { echo "    the second start asked"; ok=1; }
  running "$second" || { echo "    the second start ended"; ok=1; }
  [ "$(pgrep -c -f "^$PROG/velloran")" -eq 1 ] || { echo "    $(pgrep -c -f "^$PROG/velloran") running"; ok=1; }
  APP=$second
  stop_app || ok=1
  return $ok
}
check "SIGTERM, then a start 1 s later: the start waits for the countdown and runs in its place" \
  case_start_during_the_exit_countdown
