# Commands on the selection change the list; the file follows only at the next save point.

case_delete_reaches_file_at_save() {
  new_case delete
  "$TOOL" write "$PROG/tasks.tsk" \
    7 /tmp/first +86400 0 1 -- \
    7 /tmp/second +172800 0 1 || return 1
  local before
  before=$(md5sum <"$PROG/tasks.tsk")
  start_app
  wait_until 15 visible_window '^Velloran$' || return 1
  local window
  window=$(window_id '^Velloran$')
  xdotool windowactivate --sync "$window"
  # First row of the list: 64 px below the client's top, plus the header.
  xdotool mousemove --window "$window" 200 108 click 1
  sleep 0.3
  xdotool key --window "$window" alt+n
  sleep 0.3
  xdotool mousemove --window "$window" 200 126 click 1
  sleep 0.3
  xdotool key --window "$window" alt+d
  sleep 0.5
  shot main-window-after-commands "$window"
  [ "$(md5sum <"$PROG/tasks.tsk")" = "$before" ] || { stop_app; return 1; }
  stop_app
  local dump
  dump=$("$TOOL" dump "$PROG/tasks.tsk")
  [ "$(echo "$dump" | wc -l)" -eq 1 ] && echo "$dump" | awk '$3=="/tmp/first" && $6==0 {f=1} END {exit !f}'
}
check "Delete and Enable/Disable reach tasks.tsk only at the next save point" case_delete_reaches_file_at_save
