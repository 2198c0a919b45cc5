# The command line and the bus: requests on the tasks with no display and no running Velloran, and through
# the running one, whose scan then carries the task out; the desktop entry's action opens Task Setup.

# The program without a display, its standard output and error kept apart; sets OUT, ERR, CODE.
headless() {
  OUT=$(env -u DISPLAY -u WAYLAND_DISPLAY "$PROG/velloran" "$@" 2>"$CASE/stderr")
  CODE=$?
  ERR=$(cat "$CASE/stderr")
}
# The whole text and the exit status that a request gave.
gave() {
  local code=$1 out=$2 err=${3:-}
  [ "$CODE" = "$code" ] && [ "$OUT" = "$out" ] && [ "$ERR" = "$err" ] && return 0
  echo "    exit $CODE, out: $OUT"
  echo "    err: $ERR"
  return 1
}
SOURCE_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
BAD_DATE_TEXT='"2030-02-30 10:00" is not a date and time written as YYYY-MM-DD HH:MM or YYYY-MM-DD HH:MM:SS.'

case_command_line_without_display() {
  new_case command-line-alone
  headless --version && gave 0 "Velloran $(sed -n 's/^project(Velloran VERSION \([0-9.]*\).*/\1/p' "$SOURCE_DIR/CMakeLists.txt")" || return 1
  headless --help && [ "$CODE" = 0 ] && [ "$(echo "$OUT" | head -n 1)" = "Usage: velloran [hide]" ] || return 1
  headless --list --yaml
  [ "$CODE" = 2 ] && [ "$(echo "$ERR" | head -n 1)" = 'Unknown option "--yaml".' ] || { echo "    $ERR"; return 1; }
  local at
  at=$(date -d '+1 day' '+%Y-%m-%d 09:30')
  headless --add memo --at "$at" --note $'Buy\tbread'
  local id=$OUT
  [ "$CODE" = 0 ] && [[ $id =~ ^[0-9]+$ ]] || { echo "    add: $CODE $OUT $ERR"; return 1; }
  headless --list && gave 0 "$id	memo	$at:00	once	enabled	Memo	Buy\\tbread" || return 1
  "$TOOL" dump "$PROG/tasks.tsk" | grep -q "^$id 1 Memo " || { echo "    tasks.tsk: $("$TOOL" dump "$PROG/tasks.tsk")"; return 1; }
  headless --add alarm --at "2030-02-30 10:00" && gave 2 "" "$BAD_DATE_TEXT" || return 1
  headless --disable "$id" && gave 0 "" || return 1
  headless --list --json && gave 0 "[
 {\"id\": $id, \"kind\": \"memo\", \"next\": \"$at:00\", \"repeat\": \"once\", \"enabled\": false, \"target\": \"Memo\", \"description\": \"Buy\\tbread\"}
]" || return 1
  headless --remove "$id" && gave 0 "" || return 1
  headless --remove "$id" && gave 2 "" "No task has the id $id." || return 1
  [ "$("$TOOL" dump "$PROG/tasks.tsk" | grep -c .)" = 0 ]
}
check "no display, no Velloran running: --version, --help, add, list, tasks.tsk holds it, remove" \
  case_command_line_without_display

# An interface's methods and signals with their arguments' types, from introspection XML.
interface_shape() {
  sed -n '/<interface name="org.velloran.Velloran1">/,/<\/interface>/p' |
    grep -oE '<(method|signal) name="[^"]*"|type="[^"]*" direction="[^"]*"'
}
bus_call() {
  gdbus call --session --dest org.velloran.Velloran --object-path /org/velloran/Velloran \
    --method "org.velloran.Velloran1.$1" "${@:2}" 2>&1
}

case_command_line_through_running_velloran() {
  new_case command-line-running
  start_sni_panel || return 1
  start_app hide
  wait_until 15 test -S "$XDG_RUNTIME_DIR/velloran/velloran.socket" || { stop_sni_panel; return 1; }
  local ok=0 at id
  at=$(date -d '+10 seconds' '+%Y-%m-%d %H:%M:%S')
  headless --add alarm --at "$at" --note "Tea"
  id=$OUT
  [ "$CODE" = 0 ] && [[ $id =~ ^[0-9]+$ ]] || { echo "    add: $CODE $OUT $ERR"; ok=1; }
  # Applied by the running Velloran: its journal has it, tasks.tsk not yet.
  headless --list && gave 0 "$id	alarm	$at	once	enabled	Alarm Clock	Tea" || ok=1
  [ "$("$TOOL" dump "$PROG/tasks.tsk" 2>/dev/null | grep -c .)" = 0 ] || { echo "    written by the command line"; ok=1; }
  gdbus introspect --session --dest org.velloran.Velloran --object-path /org/velloran/Velloran |
    grep -qxF "  interface org.velloran.Velloran1 {" || { echo "    no interface on the bus"; ok=1; }
  # The description in the repository is what the program offers.
  [ "$(gdbus introspect --xml --session --dest org.velloran.Velloran --object-path /org/velloran/Velloran |
    interface_shape)" = "$(interface_shape <"$SOURCE_DIR/packaging/org.velloran.Velloran1.xml")" ] ||
    { echo "    the interface differs from packaging/org.velloran.Velloran1.xml"; ok=1; }
  local reply
  reply=$(bus_call Add "{'kind': <'alarm'>, 'at': <'2030-02-30 10:00'>}")
  [ "$reply" = "Error: GDBus.Error:org.velloran.Velloran1.Error.InvalidTask: $BAD_DATE_TEXT" ] ||
    { echo "    bus: $reply"; ok=1; }
  reply=$(bus_call Remove 7)
  [ "$reply" = "Error: GDBus.Error:org.velloran.Velloran1.Error.UnknownTask: No task has the id 7." ] ||
    { echo "    bus: $reply"; ok=1; }
  wait_until 25 visible_window '^Alarm Clock$' || { echo "    the alarm did not ring"; ok=1; }
  headless --remove "$id" && gave 0 "" || ok=1
  headless --list && gave 0 "" || ok=1
  # The desktop entry's action, as a launcher runs it: Task Setup in the running Velloran.
  local action
  action=$(sed -n '/^\[Desktop Action new-memo\]/,/^$/s/^Exec=velloran //p' "$SOURCE_DIR/resources/velloran.desktop")
  "$PROG/velloran" $action >"$CASE/new-memo.log" 2>&1 || { echo "    $action: $(cat "$CASE/new-memo.log")"; ok=1; }
  wait_until 10 visible_window '^Task Setup$' || { echo "    no Task Setup"; ok=1; }
  visible_window "^Task Setup$" && shot task-setup-from-new-memo "$(window_id "^Task Setup$")"
  stop_app || ok=1
  # With none running, the action starts Velloran with Task Setup open.
  action=$(sed -n '/^\[Desktop Action new-alarm\]/,/^$/s/^Exec=velloran //p' "$SOURCE_DIR/resources/velloran.desktop")
  start_app $action
  wait_until 15 visible_window '^Task Setup$' || { echo "    no Task Setup from $action"; ok=1; }
  visible_window "^Task Setup$" && shot task-setup-from-new-alarm "$(window_id "^Task Setup$")"
  stop_app || ok=1
  stop_sni_panel
  return $ok
}
check "through the running Velloran: add, list, the bus's errors, the task rings, remove, New Memo" \
  case_command_line_through_running_velloran
