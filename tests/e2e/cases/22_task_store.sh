# The task store in the real program: a task file it cannot read is left alone, and a kill between two
# save points neither loses a change nor runs a task again.

case_unreadable_task_file() {
  new_case unreadable
  local user=nobody
  "$TOOL" write "$PROG/tasks.tsk" 7 /tmp/kept +86400 0 1 || return 1
  chmod 000 "$PROG/tasks.tsk"
  local before
  before=$(md5sum <"$PROG/tasks.tsk")
  chmod 711 "$ROOT"
  chmod 777 "$CASE" "$PROG"
  touch "$CASE/opened.log"
  chown -R "$user" "$CASE/home" "$CASE/config" "$CASE/runtime" "$CASE/opened.log"
  (cd / && exec setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups --reset-env -- \
    env HOME="$HOME" XDG_CONFIG_HOME="$XDG_CONFIG_HOME" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" DISPLAY="$DISPLAY" \
    PATH="$PATH" "$PROG/velloran" hide) >>"$CASE/velloran.log" 2>&1 &
  APP=$!
  PIDS+=($APP)
  wait_until 15 visible_window '^Velloran$' || { stop_app; return 1; }
  local box text
  box=$(window_id '^Velloran$')
  shot unreadable-task-file "$box"
  text=$(told)
  grep -qxF "The task file \"$PROG/tasks.tsk\" could not be read: Permission denied." <<<"$text" &&
    grep -qxF "Velloran leaves it as it is and starts without its tasks. Tasks you create or change now are saved beside it." <<<"$text" ||
    { echo "    the message was: $text"; stop_app; return 1; }
  press "$box" Return
  sleep 1
  stop_app
  chmod 644 "$PROG/tasks.tsk"
  [ "$(md5sum <"$PROG/tasks.tsk")" = "$before" ] && "$TOOL" dump "$PROG/tasks.tsk" | grep -q /tmp/kept
}
check "a task file the user cannot read is told at start-up and left byte for byte as it was" case_unreadable_task_file

case_killed_run_does_not_run_again() {
  new_case killed
  "$TOOL" write "$PROG/tasks.tsk" \
    7 /tmp/daily +2 1 1 -- \
    7 /tmp/once-autodelete +2 0 5 -- \
    7 /tmp/later +86400 0 1 || return 1
  start_app hide
  wait_until 20 bash -c "[ \$(wc -l < '$CASE/opened.log' 2>/dev/null || echo 0) -ge 2 ]" || { stop_app; return 1; }
  kill -9 "$APP"
  wait "$APP" 2>/dev/null
  # The next start recovers the run's changes; its scans, running behind the message, find nothing due.
  start_app hide
  wait_until 15 visible_window '^Velloran$' || { stop_app; return 1; }
  local box text
  box=$(window_id '^Velloran$')
  text=$(told)
  sleep 8
  press "$box" Return
  sleep 1
  stop_app
  [ "$(wc -l <"$CASE/opened.log")" -eq 2 ] || { echo "    opened: $(tr '\n' ' ' <"$CASE/opened.log")"; return 1; }
  grep -qxF "Velloran did not end normally last time. The changes made to your tasks since they were last saved have been recovered." <<<"$text" ||
    { echo "    the message was: $text"; return 1; }
  local dump
  dump=$("$TOOL" dump "$PROG/tasks.tsk")
  echo "$dump" | awk '$3=="/tmp/daily" && $6==1 {d=1} $3=="/tmp/once-autodelete" {o=1} END {exit !(d && !o)}'
}
check "killed with SIGKILL after due tasks ran, the restarted program runs none of them again" case_killed_run_does_not_run_again

case_killed_at_the_replays_rename() {
  command -v strace >/dev/null || { echo "    strace is not installed"; return 1; }
  new_case replay-killed
  "$TOOL" write "$PROG/tasks.tsk" \
    7 /tmp/daily +2 1 1 -- \
    7 /tmp/once-autodelete +2 0 5 -- \
    7 /tmp/later +86400 0 1 || return 1
  start_app hide
  wait_until 20 bash -c "[ \$(wc -l < '$CASE/opened.log' 2>/dev/null || echo 0) -ge 2 ]" || { stop_app; return 1; }
  kill -9 "$APP"
  wait "$APP" 2>/dev/null
  # The next start replays the journal (the task file's, named after its full path) and is killed the
  # moment it renames the new journal over the old (its first rename); the start after that is killed
  # just after its rename, at the folder's fsync.
  local journal inject
  journal=$(ls "$HOME/.local/state/velloran"/tasks-*.journal)
  for inject in rename,renameat,renameat2:signal=SIGKILL:when=1 fsync:signal=SIGKILL:when=2; do
    [ -s "$journal" ] || { echo "    no journal to replay"; return 1; }
    strace -f -o "$CASE/strace.log" -e trace=rename,renameat,renameat2,fsync -e inject="$inject" \
      "$PROG/velloran" hide >>"$CASE/velloran.log" 2>&1 &
    APP=$!
    PIDS+=($APP)
    wait_until 20 not running "$APP" || { echo "    the replaying start was not stopped"; kill -9 "$APP"; return 1; }
    wait "$APP" 2>/dev/null
    grep -q 'killed by SIGKILL' "$CASE/strace.log" &&
      grep -q 'rename(".*/\.tasks-[0-9a-f]*\.journal\.[^"]*", "'"$journal"'"' "$CASE/strace.log" ||
      { echo "    not killed at the journal's rename: $(tail -n 3 "$CASE/strace.log")"; return 1; }
  done
  # Started again: the scans behind the recovery message find nothing due.
  start_app hide
  wait_until 15 visible_window '^Velloran$' || { stop_app; return 1; }
  sleep 8
  press "$(window_id '^Velloran$')" Return
  sleep 1
  stop_app
  [ "$(wc -l <"$CASE/opened.log")" -eq 2 ] || { echo "    opened: $(tr '\n' ' ' <"$CASE/opened.log")"; return 1; }
  "$TOOL" dump "$PROG/tasks.tsk" | awk '$3=="/tmp/daily" && $6==1 {d=1} $3=="/tmp/once-autodelete" {o=1} END {exit !(d && !o)}'
}
check "killed with SIGKILL at the replay's rename, the restarted program runs nothing twice" case_killed_at_the_replays_rename

case_killed_while_a_task_was_handed_over() {
  command -v strace >/dev/null || { echo "    strace is not installed"; return 1; }
  new_case handed-over-killed
  "$TOOL" write "$PROG/tasks.tsk" 7 /tmp/program-killed +2 0 1 'Program killed while started' || return 1
  # Killed when it records that the open was handed over: the first write into the journal itself (the
  # journal's first version is written to a temporary and renamed).
  local journal
  journal=$("$TOOL" journal-path "$PROG/tasks.tsk" "$HOME/.local/state/velloran/")
  mkdir -p "$(dirname "$journal")"
  strace -f -o "$CASE/strace.log" -P "$journal" -e trace=write -e inject=write:signal=SIGKILL:when=1 \
    "$PROG/velloran" hide >>"$CASE/velloran.log" 2>&1 &
  APP=$!
  PIDS+=($APP)
  wait_until 20 not running "$APP" || { echo "    not killed at the journal's write"; kill -9 "$APP"; return 1; }
  wait "$APP" 2>/dev/null
  grep -q 'killed by SIGKILL' "$CASE/strace.log" ||
    { echo "    not killed at the journal's write: $(tail -n 3 "$CASE/strace.log")"; return 1; }
  wait_until 5 test -s "$CASE/opened.log" || { echo "    the task was not opened before the kill"; return 1; }
  local due
  due=$("$TOOL" show "$PROG/tasks.tsk" | cut -f4)
  start_app hide
  wait_until 15 visible_window '^Velloran$' || { stop_app; return 1; }
  press "$(window_id '^Velloran$')" Return # the changes recovered
  wait_until 10 grep -q 'may not have run' "$CASE/velloran.log" || { stop_app; return 1; }
  wait_until 10 visible_window '^Velloran$' || { stop_app; return 1; }
  local box text
  box=$(window_id '^Velloran$')
  shot task-may-not-have-run "$box"
  text=$(told)
  press "$box" Return
  sleep 1
  stop_app
  # Told once, opened once, and the start after that tells nothing.
  start_app hide
  sleep 7
  stop_app
  [ "$(wc -l <"$CASE/opened.log")" -eq 1 ] || { echo "    opened: $(tr '\n' ' ' <"$CASE/opened.log")"; return 1; }
  [ "$(grep -c 'may not have run' "$CASE/velloran.log")" -eq 1 ] || { echo "    told $(told)"; return 1; }
  grep -qxF 'Velloran did not end normally last time, while it was starting the tasks below. They may not have run, and Velloran does not start them again:' <<<"$text" &&
    grep -qxF "• \"program-killed\" (Program killed while started), due $(date -d "@$due" '+%m/%d/%y - %I:%M%P')" <<<"$text" ||
    { echo "    the message was: $text"; return 1; }
}
check "killed after a task was handed to the system, the next start does not open it again and names it" \
  case_killed_while_a_task_was_handed_over
case_journal_of_the_release_before() {
  new_case release-before
  local state="$HOME/.local/state/velloran"
  "$TOOL" place-earlier-journal "$PROG/tasks.tsk" "$state/tasks.journal" || return 1
  start_app hide
  wait_until 15 visible_window '^Velloran$' || { stop_app; return 1; }
  local box text
  box=$(window_id '^Velloran$')
  shot release-before-recovered "$box"
  text=$(told)
  # Its scans, behind the message, find nothing due: the three tasks that run ran before the upgrade.
  sleep 8
  press "$box" Return
  sleep 1
  stop_app
  grep -qxF "Velloran did not end normally last time. The changes made to your tasks since they were last saved have been recovered." <<<"$text" ||
    { echo "    the message was: $text"; return 1; }
  [ ! -s "$CASE/opened.log" ] || { echo "    opened: $(tr '\n' ' ' <"$CASE/opened.log")"; return 1; }
  ls "$state" | grep -q journal && { echo "    left in the state folder: $(ls "$state")"; return 1; }
  # Each task as the old run left it: 2001 moved a year on, 2002 and 2004 gone, 2003 disabled, one added.
  "$TOOL" dump "$PROG/tasks.tsk" | awk -v year="$(date -d '2027-12-01 09:00' +%s)" '
    $1==2001 && $4==year {a++} $1==2002 || $1==2004 {gone=1} $1==2003 && $6==2 {c++} $1==2005 {e++}
    $3=="/tmp/old-added" {d++} END {exit !(a==1 && !gone && c==1 && e==1 && d==1 && NR==4)}'
}
check "a journal the release before left at a kill is applied: nothing runs twice, no deleted task is back" \
  case_journal_of_the_release_before

case_two_program_folders_one_killed() {
  new_case two-folders
  local first="$PROG" second="$CASE/prog2"
  mkdir -p "$second"
  cp -r "$first/." "$second/"
  "$TOOL" write "$first/tasks.tsk" 7 /tmp/first-daily +2 1 1 -- 7 /tmp/first-once +2 0 5 || return 1
  start_app hide
  wait_until 20 bash -c "[ \$(wc -l < '$CASE/opened.log' 2>/dev/null || echo 0) -ge 2 ]" || { stop_app; return 1; }
  kill -9 "$APP"
  wait "$APP" 2>/dev/null
  # The other copy runs its own tasks and ends normally; the first copy's journal is none of its business.
  PROG="$second"
  "$TOOL" write "$second/tasks.tsk" 7 /tmp/second-daily +2 1 1 -- 7 /tmp/second-once +2 0 5 || return 1
  local from text
  from=$(wc -l <"$CASE/velloran.log")
  start_app hide
  wait_until 20 bash -c "[ \$(wc -l < '$CASE/opened.log') -ge 4 ]" || { stop_app; return 1; }
  stop_app || return 1
  text=$(told | tail -n +$((from + 1)) | grep -i 'journal\|changes\|end normally')
  [ -z "$text" ] || { echo "    the second copy told: $text"; return 1; }
  # The first copy recovers its run; then each copy starts once more and runs nothing again.
  PROG="$first"
  start_app hide
  wait_until 15 visible_window '^Velloran$' || { stop_app; return 1; }
  text=$(told)
  sleep 8
  press "$(window_id '^Velloran$')" Return
  sleep 1
  stop_app || return 1
  grep -qxF "Velloran did not end normally last time. The changes made to your tasks since they were last saved have been recovered." <<<"$text" ||
    { echo "    the first copy told: $text"; return 1; }
  PROG="$second"
  start_app hide
  sleep 8
  stop_app || return 1
  sort "$CASE/opened.log" | uniq -c | awk '$1 != 1 {bad=1} END {exit bad || NR != 4}' ||
    { echo "    opened: $(tr '\n' ' ' <"$CASE/opened.log")"; return 1; }
  ls "$HOME/.local/state/velloran" | grep -q journal && { echo "    left: $(ls "$HOME/.local/state/velloran")"; return 1; }
  return 0
}
check "two program folders, one killed: each copy's tasks ran once and neither set the other's journal aside" \
  case_two_program_folders_one_killed
