# The desktop's session: the program asks not to be restarted with a saved session (the autostart entry
# starts it at logon), a checkpoint leaves it running, and a log-off ends it through its close path
# without waiting on a question nobody answers. The program sits in the tray, where the session's quit
# alone would not reach its main window.

SESSION_TOOL="$(dirname "$TOOL")/session_manager"

# Starts the test session manager for the case; its address goes to the program through SESSION_MANAGER.
start_session_manager() {
  "$SESSION_TOOL" "$CASE/session.log" "$@" >"$CASE/session-address" 2>"$CASE/session.err" &
  SESSION=$!
  PIDS+=($!)
  wait_until 5 test -s "$CASE/session-address"
}

start_app_in_session() {
  SESSION_MANAGER=$(head -n 1 "$CASE/session-address") "$PROG/velloran" "$@" >>"$CASE/velloran.log" 2>&1 &
  APP=$!
  PIDS+=($APP)
}

session_said() { grep -qx "$1" "$CASE/session.log"; }

case_session_checkpoint() {
  [ -x "$SESSION_TOOL" ] || { echo "    note: no session_manager tool; skipped"; return 0; }
  new_case session-checkpoint
  start_session_manager checkpoint 2 both || return 1
  start_app_in_session hide
  wait_until 15 session_said save-yourself-done || { echo "    no answer to the checkpoint"; stop_app; return 1; }
  # 3 is "restart never": a saved session brings no second copy beside the autostart entry's.
  grep -x 'property RestartStyleHint.*' "$CASE/session.log" | sed 's/^/    /'
  session_said 'property RestartStyleHint 3' || { stop_app; return 1; }
  sleep 2
  running "$APP" || { echo "    a checkpoint ended the program"; return 1; }
  stop_app
}
check "the session is told never to restart the program, and a checkpoint (state and data) leaves it running" case_session_checkpoint

case_session_logout() {
  [ -x "$SESSION_TOOL" ] || { echo "    note: no session_manager tool; skipped"; return 0; }
  new_case session-logout
  "$TOOL" write "$PROG/tasks.tsk" 7 /tmp/once +2 0 1 -- 7 /tmp/later +86400 0 1 || return 1
  start_session_manager logout 6 both || return 1
  start_app_in_session hide
  wait_until 15 session_said save-yourself || { stop_app; return 1; }
  local start=$SECONDS
  wait_until 15 not running "$APP" || { echo "    still running 15 s after the log-off"; stop_app; return 1; }
  wait "$APP"
  local code=$?
  echo "    ended $((SECONDS - start)) s after the log-off, exit code $code"
  # The due task ran and was saved as done on the way out.
  [ "$code" -eq 0 ] && "$TOOL" dump "$PROG/tasks.tsk" | awk '$3=="/tmp/once" && $6==0 {found=1} END {exit !found}'
}
check "a log-off (state and data) saves tasks.tsk and ends the program through the countdown" case_session_logout

case_session_logout_failed_save() {
  [ -x "$SESSION_TOOL" ] || { echo "    note: no session_manager tool; skipped"; return 0; }
  new_case session-logout-failed-save
  start_session_manager logout 3 local || return 1
  start_app_in_session hide
  sleep 1
  # A folder where the task file should be makes the save fail, even for root.
  mkdir -p "$PROG/tasks.tsk/inside"
  wait_until 15 session_said save-yourself || { stop_app; return 1; }
  local start=$SECONDS
  wait_until 15 not running "$APP" || { echo "    still running 15 s after the log-off"; stop_app; return 1; }
  wait "$APP"
  local code=$?
  echo "    ended $((SECONDS - start)) s after the log-off, exit code $code"
  [ "$code" -eq 0 ] && grep -q "Your tasks could not be saved" "$CASE/velloran.log"
}
check "a log-off (state only) with a save that fails ends the program within 15 s, asking nothing" case_session_logout_failed_save
