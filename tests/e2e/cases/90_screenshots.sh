# Screenshots of the main window with a task of every kind and its menus, at 96 dpi and at 2x, for a
# person to look at.

eight_kinds() {
  "$TOOL" write "$1" \
    0 'Alarm Clock' +86400 1 1 'Wake up' -- \
    1 Memo +90000 0 1 'Call the dentist' -- \
    2 /usr/bin/backup-tool +100000 1 3 'Nightly backup' -- \
    3 https://example.org/news +110000 2 1 'Morning news' -- \
    4 /home/user/Music/wake.ogg +120000 3 1 -- \
    5 /home/user/Videos/lesson.mp4 +130000 4 0 'Lesson' -- \
    6 /home/user/Documents/report.odt +140000 2 1 'Weekly report' -- \
    7 /home/user/todo.txt +150000 0 5
}

screenshots_at_scale() {
  local scale=$1 suffix=$2
  new_case "screens$suffix"
  eight_kinds "$PROG/tasks.tsk" || return 1
  QT_SCALE_FACTOR=$scale start_app
  wait_until 15 visible_window '^Velloran$' || { stop_app; return 1; }
  local window
  window=$(window_id '^Velloran$')
  xdotool windowactivate --sync "$window" 2>/dev/null
  sleep 0.5
  shot "main-window-eight-kinds$suffix" "$window"
  press "$window" alt+t
  sleep 0.5
  shot "tasks-menu$suffix"
  xdotool key Escape
  stop_app
}

case_screenshots() {
  screenshots_at_scale 1 "" && screenshots_at_scale 2 "-2x"
}
check "screenshots of the main window and its menus at 96 dpi and at 2x" case_screenshots
