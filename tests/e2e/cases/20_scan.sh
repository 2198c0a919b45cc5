# The scan: due tasks reach xdg-open as stored; SIGTERM saves the advanced tasks.

case_due_tasks_open() {
  new_case due-tasks
  "$TOOL" write "$PROG/tasks.tsk" \
    3 'https://example.org/search?q=a b&x=$(id)' +3 0 1 -- \
    7 "$CASE/some file; with 'quotes'.txt" +4 0 1 -- \
    6 "/never/opened.odt" +3600 0 1 || return 1
  start_app hide
  wait_until 20 bash -c "[ \$(wc -l < '$CASE/opened.log' 2>/dev/null || echo 0) -ge 2 ]" || { stop_app; return 1; }
  stop_app
  diff <(sort "$CASE/opened.log") <(printf '%s\n' 'https://example.org/search?q=a b&x=$(id)' \
    "$CASE/some file; with 'quotes'.txt" | sort)
}
check "due Web Address and General tasks reach xdg-open with their targets as stored" case_due_tasks_open

case_dash_name_is_no_option() {
  new_case dash-name
  : >"$PROG/--help.txt"
  "$TOOL" write "$PROG/tasks.tsk" 7 "--help.txt" +2 0 1 || return 1
  start_app hide
  wait_until 20 test -s "$CASE/opened.log" || { stop_app; return 1; }
  stop_app
  # Relative to the program directory, which is the program's and the opener's current directory.
  [ "$(cat "$CASE/opened.log")" = "./--help.txt" ] && [ -f "$PROG/$(cat "$CASE/opened.log")" ]
}
check "a file task named --help.txt reaches xdg-open as ./--help.txt, not as an option" case_dash_name_is_no_option

case_sigterm_saves() {
  new_case sigterm
  "$TOOL" write "$PROG/tasks.tsk" \
    7 /tmp/once +2 0 1 -- \
    7 /tmp/weekly +2 2 1 -- \
    7 /tmp/later +86400 0 1 || return 1
  local weekly_before
  weekly_before=$("$TOOL" dump "$PROG/tasks.tsk" | awk '$3=="/tmp/weekly" {print $4}')
  start_app hide
  wait_until 20 bash -c "[ \$(wc -l < '$CASE/opened.log' 2>/dev/null || echo 0) -ge 2 ]" || { stop_app; return 1; }
  kill -TERM "$APP"
  sleep 1
  wait_until 5 visible_window '^Exit$' && shot exit-countdown "$(window_id '^Exit$')"
  wait_until 15 not running "$APP" || return 1
  local dump
  dump=$("$TOOL" dump "$PROG/tasks.tsk")
  echo "$dump" | awk '$3=="/tmp/once" && $6==0 {found=1} END {exit !found}' &&
    echo "$dump" | awk -v before="$weekly_before" '$3=="/tmp/weekly" && $4==before+604800 && $6==1 {f=1} END {exit !f}' &&
    echo "$dump" | awk '$3=="/tmp/later" && $6==1 {f=1} END {exit !f}'
}
check "SIGTERM writes tasks.tsk with the advanced and disabled tasks, then exits after the countdown" case_sigterm_saves

# An Executable task's program is started from where the editor checked it: the program folder first,
# then PATH for a bare name, always by the absolute path found. Each program writes the path it ran as.
case_programs_start_where_checked() {
  new_case programs
  local name
  for name in "$PROG/date" "$PROG/velloran-e2e-own" "$CASE/bin/velloran-e2e-on-path" "$CASE/bin/date"; do
    printf '#!/bin/sh\nprintf "%%s\\n" "$0" >> "%s/ran.log"\n' "$CASE" >"$name"
    chmod +x "$name"
  done
  "$TOOL" write "$PROG/tasks.tsk" \
    2 date +2 0 1 -- \
    2 velloran-e2e-own +2 0 1 -- \
    2 velloran-e2e-on-path +2 0 1 || return 1
  start_app hide
  wait_until 20 bash -c "[ \$(wc -l < '$CASE/ran.log' 2>/dev/null || echo 0) -ge 3 ]" || { stop_app; return 1; }
  sleep 1
  kill -9 "$APP"
  wait "$APP" 2>/dev/null
  diff <(sort "$CASE/ran.log") <(printf '%s\n' "$PROG/date" "$PROG/velloran-e2e-own" \
    "$CASE/bin/velloran-e2e-on-path" | sort)
}
check "a program task starts the program folder's date before PATH's, its own program, and one from PATH" \
  case_programs_start_where_checked
