# The task store in the real program: a task file it cannot read is left alone, and a kill between two
# save points neither loses a change nor runs a task again.

# Runs the program as nobody, an ordinary user for whom root's program folder is read-only, with the
# case's folders (the home folder stays root's unless the case gives it away). Arguments before "--" are
# a tracer that runs it (strace ...); those after it go to the program.
start_as_nobody() {
  local tracer=()
  while [ "$1" != -- ]; do tracer+=("$1"); shift; done
  shift
  chmod 711 "$ROOT"
  chmod 755 "$CASE"
  touch "$CASE/opened.log"
  chown -R nobody "$CASE/config" "$CASE/runtime" "$CASE/opened.log"
  (cd / && exec "${tracer[@]}" setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups --reset-env -- \
    env HOME="$HOME" XDG_CONFIG_HOME="$XDG_CONFIG_HOME" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" DISPLAY="$DISPLAY" \
    PATH="$PATH" "$PROG/velloran" "$@") >>"$CASE/velloran.log" 2>&1 &
  APP=$!
  PIDS+=($APP)
}

case_unreadable_task_file() {
  new_case unreadable
  "$TOOL" write "$PROG/tasks.tsk" 7 /tmp/kept +86400 0 1 || return 1
  chmod 000 "$PROG/tasks.tsk"
  local before
  before=$(md5sum <"$PROG/tasks.tsk")
  chmod 777 "$PROG"
  chown -R nobody "$CASE/home"
  start_as_nobody -- hide
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

case_first_copy_killed_at_its_rename() {
  command -v strace >/dev/null || { echo "    strace is not installed"; return 1; }
  new_case first-copy-killed
  "$TOOL" write "$PROG/tasks.tsk" 7 /tmp/due +4 0 1 -- 7 /tmp/later +86400 0 1 || return 1
  chown -R nobody "$CASE/home"
  local data="$HOME/.local/share/velloran" rename=rename,renameat,renameat2
  # The first start copies tasks.tsk into the data folder and is killed the moment it renames the copy.
  start_as_nobody strace -f -o "$CASE/strace.log" -e trace=$rename -e inject=$rename:signal=SIGKILL:when=1 -- hide
  wait_until 20 not running "$APP" || { echo "    the copying start was not stopped"; kill -9 "$APP"; return 1; }
  wait "$APP" 2>/dev/null
  grep -q 'killed by SIGKILL' "$CASE/strace.log" &&
    grep -q 'rename("'"$data"'/\.tasks\.tsk\.[^"]*", "'"$data"'/tasks.tsk"' "$CASE/strace.log" ||
    { echo "    not killed at the copy's rename: $(tail -n 3 "$CASE/strace.log")"; return 1; }
  [ ! -e "$data/tasks.tsk" ] || { echo "    the copy was made"; return 1; }
  # The next start copies again: the due task runs, and the later one is kept.
  start_as_nobody -- hide
  wait_until 20 grep -qx /tmp/due "$CASE/opened.log" || { echo "    the due task did not run"; stop_app; return 1; }
  stop_app
  "$TOOL" dump "$data/tasks.tsk" | grep -q /tmp/later || { echo "    the later task is not in the copy"; return 1; }
  [ "$(stat -c '%U %a' "$data/tasks.tsk")" = "nobody 600" ] || { echo "    the copy is not the user's alone"; return 1; }
  ! grep -q 'could not' "$CASE/velloran.log"
}
check "a read-only program folder with the first copy killed at its rename: the tasks are there at the next start" case_first_copy_killed_at_its_rename

case_read_only_home() {
  new_case read-only-home
  "$TOOL" write "$PROG/tasks.tsk" 7 /tmp/due +4 0 1 || return 1
  # The home folder stays root's: nobody can make the data folder in it.
  start_as_nobody -- hide
  wait_until 15 visible_window '^Velloran$' || { stop_app; return 1; }
  # The read-only program folder takes no lock beside its task file either: that is told first.
  grep -q 'Velloran cannot tell whether another Velloran uses the task file' "$CASE/velloran.log" &&
    press "$(window_id '^Velloran$')" Return
  wait_until 10 grep -q 'could not be kept in' "$CASE/velloran.log" || { stop_app; return 1; }
  wait_until 10 visible_window '^Velloran$' || { stop_app; return 1; }
  local box text
  box=$(window_id '^Velloran$')
  shot read-only-home "$box"
  text=$(told)
  grep -qxF "Velloran may not write to its program folder, and your tasks could not be kept in \"$HOME/.local/share/velloran/\":" <<<"$text" &&
    grep -qxF "Cannot create folder \"$HOME/.local\": Permission denied" <<<"$text" &&
    grep -qxF "The tasks of \"$PROG/tasks.tsk\" are shown, but changes to them cannot be saved. Velloran tries again at the next start." <<<"$text" ||
    { echo "    the message was: $text"; stop_app; return 1; }
  press "$box" Return
  # The program folder's tasks are there all the same: the due one runs.
  wait_until 20 grep -qx /tmp/due "$CASE/opened.log" || { echo "    the due task did not run"; stop_app; return 1; }
  stop_app
  [ ! -e "$HOME/.local" ]
}
check "a home folder the user cannot write to: told where the tasks could not be kept, the program folder's tasks run" case_read_only_home

case_start_after_a_close_whose_save_failed() {
  command -v strace >/dev/null || { echo "    strace is not installed"; return 1; }
  new_case close-save-failed
  "$TOOL" write "$PROG/tasks.tsk" 7 /tmp/once +2 0 1 -- 7 /tmp/later +86400 0 1 || return 1
  # The close's save cannot put the new tasks.tsk in place (an I/O error at its rename, the run's second
  # after the journal's first); its copy goes beside it.
  strace -f -o "$CASE/strace.log" -e trace=rename,renameat,renameat2 \
    -e inject=rename,renameat,renameat2:error=EIO:when=2 "$PROG/velloran" hide >>"$CASE/velloran.log" 2>&1 &
  local tracer=$!
  PIDS+=($tracer)
  # SIGTERM goes to the program itself, strace's child.
  wait_until 10 pgrep -P "$tracer" || { kill "$tracer"; return 1; }
  APP=$(pgrep -P "$tracer")
  wait_until 20 grep -qx /tmp/once "$CASE/opened.log" || { stop_app; return 1; }
  stop_app || return 1
  wait "$tracer" 2>/dev/null
  grep -q 'rename(.*"'"$PROG"'/tasks.tsk") = -1 EIO' "$CASE/strace.log" &&
    [ -s "$PROG/tasks.tsk.unsaved" ] || { echo "    the save did not fail at its rename"; return 1; }
  : >"$CASE/velloran.log"
  start_app hide
  wait_until 15 visible_window '^Velloran$' || { stop_app; return 1; }
  local box text
  box=$(window_id '^Velloran$')
  shot close-save-failed "$box"
  text=$(told)
  press "$box" Return
  sleep 7
  stop_app
  [ "$text" = "Your tasks could not be saved to \"$PROG/tasks.tsk\" when Velloran last ran. The changes made since they were last saved have been recovered and are saved at the next save; a copy of your tasks as they were then is in \"$PROG/tasks.tsk.unsaved\"." ] ||
    { echo "    the message was: $text"; return 1; }
  [ "$(wc -l <"$CASE/opened.log")" -eq 1 ] || { echo "    opened: $(tr '\n' ' ' <"$CASE/opened.log")"; return 1; }
}
check "the start after a close whose save failed says so and where the copy is, and runs nothing again" \
  case_start_after_a_close_whose_save_failed
