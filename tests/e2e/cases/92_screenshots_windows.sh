# Screenshots of the splash, about, preferences, alarm clock and memo windows at 96 dpi and at 2x, for
# a person to look at: the shaped windows over the bare desktop, the others as their client area.

# Places in the alarm and memo windows at 96 dpi, relative to their top left corner.
WINDOWS_TURN_OFF_BT=(160 108)
WINDOWS_MEMO_CLOSE=(371 35)

# Opens a window from a menu of the main window, takes its picture and closes it again.
# Usage: menu_window_shot MAIN MENU_KEY ITEM_KEY TITLE SHOT_NAME CLOSE_KEY
menu_window_shot() {
  local main=$1 menu=$2 item=$3 title=$4 name=$5 close=$6 window
  press "$main" "$menu"
  sleep 0.3
  xdotool key "$item"
  wait_until 5 visible_window "^$title" || { echo "    no $title window"; return 1; }
  sleep 0.3
  window=$(window_id "^$title")
  shot "$name" "$window"
  press "$window" "$close"
  wait_until 5 not visible_window "^$title" || { echo "    $close left $title open"; return 1; }
}

windows_at_scale() {
  local scale=$1 suffix=$2
  new_case "windows$suffix"
  # Both are due at the first scan after the tasks are loaded, which is after the splash.
  "$TOOL" write "$PROG/tasks.tsk" \
    1 Memo -1 0 3 'Memo for the window pictures' -- \
    0 'Alarm Clock' -1 0 3 'Alarm for the window pictures' Chimes.wav || return 1
  QT_SCALE_FACTOR=$scale start_app
  wait_until 10 visible_window '^SplashForm$' || { echo "    no splash"; return 1; }
  sleep 0.5
  shot "window-splash$suffix" "$(window_id '^SplashForm$')"
  wait_until 10 visible_window '^Velloran$' || return 1
  local main
  main=$(window_id '^Velloran$')
  # The main window goes to the tray, so that the desktop alone is behind the shaped windows.
  press "$main" alt+r
  wait_until 10 visible_window '^Memo$' || { echo "    no memo window"; return 1; }
  wait_until 10 visible_window '^Alarm Clock$' || { echo "    no alarm window"; return 1; }
  local memo alarm
  memo=$(window_id '^Memo$')
  alarm=$(window_id '^Alarm Clock$')
  xdotool windowmove "$memo" 40 60 windowmove "$alarm" 1000 60
  sleep 0.5
  shot_on_desktop "window-memo$suffix" "$memo"
  shot_on_desktop "window-alarm-clock$suffix" "$alarm"
  click_window "$alarm" $((WINDOWS_TURN_OFF_BT[0] * scale)) $((WINDOWS_TURN_OFF_BT[1] * scale))
  click_window "$memo" $((WINDOWS_MEMO_CLOSE[0] * scale)) $((WINDOWS_MEMO_CLOSE[1] * scale))
  wait_until 5 not visible_window '^Alarm Clock$' || { echo "    Turn off left the alarm"; return 1; }
  wait_until 5 not visible_window '^Memo$' || { echo "    the close picture left the memo"; return 1; }

  local x y
  read -r x y < <(tray_icon_position)
  xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
  wait_until 10 visible_window '^Velloran$' || { echo "    no main window from the tray"; return 1; }
  main=$(window_id '^Velloran$')
  menu_window_shot "$main" alt+h a About "window-about$suffix" alt+o || return 1
  menu_window_shot "$main" alt+f p Preferences "window-preferences$suffix" alt+c || return 1
}

case_window_screenshots() {
  local ok=0
  windows_at_scale 1 "" || ok=1
  running "$APP" && stop_app
  [ $ok = 0 ] || return 1
  windows_at_scale 2 "-2x" || ok=1
  running "$APP" && stop_app
  return $ok
}
check "screenshots of the splash, about, preferences, alarm and memo windows at 96 dpi and at 2x" \
  case_window_screenshots
