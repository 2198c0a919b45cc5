# The tray: its menu on the right button, restore on a double click, Run in background back to the tray.

case_tray() {
  new_case tray
  start_app hide
  sleep 2
  visible_window '^Velloran$' && { stop_app; return 1; }
  local x y
  read -r x y < <(tray_icon_position)
  xdotool mousemove "$x" "$y" click 3
  sleep 1
  shot tray-menu
  xdotool key Escape
  sleep 0.3
  xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
  wait_until 10 visible_window '^Velloran$' || { stop_app; return 1; }
  local window
  window=$(window_id '^Velloran$')
  press "$window" alt+r
  wait_until 10 not visible_window '^Velloran$'
  local ok=$?
  stop_app
  return $ok
}
check "the tray menu opens, a double click restores, Run in background hides again" case_tray
