# The tray: its menu on the right button, restore on a double click of any button on the XEmbed tray
# and on a StatusNotifier panel, Run in background back to the tray, and the tray's guards while the
# windows it opened are up.

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

# Sends the main window back to the tray with "Run in background".
back_to_tray() {
  press "$(window_id '^Velloran$')" alt+r
  wait_until 10 not visible_window '^Velloran$' || { echo "    Run in background left the window"; return 1; }
}

# After a double click: the main window is back and no tray menu is left open over it.
restored_without_menu() {
  wait_until 10 visible_window '^Velloran$' || { echo "    $1 did not restore"; return 1; }
  never_within 1 menu_window_since "$2" || { echo "    $1 left a menu open"; return 1; }
}

xembed_double_clicks() {
  start_app hide
  sleep 2
  visible_window '^Velloran$' && { echo "    the hidden start shows the window"; return 1; }
  local x y button before
  read -r x y < <(tray_icon_position)
  for button in 1 2 3; do
    before=$(windows_of "$APP")
    xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 "$button"
    restored_without_menu "a double click of button $button" "$before" || return 1
    back_to_tray || return 1
  done
  # A single right click still opens the menu, and only the menu.
  tray_menu_by_click || return 1
  never_within 1 visible_window '^Velloran$' || { echo "    a right click restored"; return 1; }
  xdotool key Escape
}

case_xembed_double_clicks() {
  new_case tray-double-clicks
  local ok=0
  xembed_double_clicks || ok=1
  stop_app
  return $ok
}
check "left, right and middle double clicks on the XEmbed tray icon each restore, with no menu left" \
  case_xembed_double_clicks

sni_double_clicks() {
  start_app hide
  local item
  item=$(sni_item) || { echo "    no tray icon on the bus"; return 1; }
  sleep 1
  wait_until 5 not visible_window '^Velloran$' || { echo "    the main window stays"; return 1; }
  xdotool mousemove 900 500
  local method before
  for method in Activate ContextMenu SecondaryActivate; do
    before=$(windows_of "$APP")
    sni_call "$item" "$method" && sleep 0.08 && sni_call "$item" "$method" || return 1
    restored_without_menu "a double $method" "$before" || return 1
    back_to_tray || return 1
  done
  # Two calls further apart than a double click are two single ones: the menu, and no window.
  tray_menu_over_dbus "$item" || return 1
  xdotool key Escape
  wait_until 5 window_gone "$MENU_WINDOW" || return 1
  sleep 1
  sni_call "$item" Activate && sleep 1 && sni_call "$item" Activate || return 1
  never_within 1 visible_window '^Velloran$' || { echo "    two slow clicks restored"; return 1; }
}

case_sni_double_clicks() {
  new_case tray-sni-double-clicks
  start_sni_panel
  case $? in
  0) ;;
  2)
    echo "    note: no dbus-daemon or sni_watcher; the StatusNotifier tray is not checked"
    return 0
    ;;
  *)
    stop_sni_panel
    return 1
    ;;
  esac
  local ok=0
  sni_double_clicks || ok=1
  [ -n "${APP:-}" ] && running "$APP" && stop_app
  stop_sni_panel
  return $ok
}
check "double Activate, ContextMenu and SecondaryActivate on a StatusNotifier tray each restore" \
  case_sni_double_clicks

# How many windows of a title are up.
count_of() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }

# Chooses an item of the XEmbed tray icon's menu by its access key.
tray_choose() {
  tray_menu_by_click || return 1
  choose_in_menu "$1"
}

xembed_guards() {
  start_app hide
  sleep 2
  tray_choose n || return 1
  wait_until 10 visible_window '^Task Setup$' || { echo "    the tray opened no editor"; return 1; }
  # The editor is up: the icon still answers, and its New Task item opens no second editor.
  tray_choose n || return 1
  sleep 1
  [ "$(count_of '^Task Setup$')" -eq 1 ] || { echo "    $(count_of '^Task Setup$') editors"; return 1; }
  # Preferences has a guard of its own: it opens beside the editor, once.
  tray_choose p || return 1
  wait_until 10 visible_window '^Preferences$' || { echo "    no Preferences beside the editor"; return 1; }
  shot tray-guards-editor-and-preferences
  tray_choose p || return 1
  tray_choose n || return 1
  sleep 1
  [ "$(count_of '^Preferences$')" -eq 1 ] || { echo "    $(count_of '^Preferences$') Preferences windows"; return 1; }
  [ "$(count_of '^Task Setup$')" -eq 1 ] || { echo "    $(count_of '^Task Setup$') editors"; return 1; }
  # Closing the windows leaves none: nothing was queued behind them.
  press "$(window_id '^Preferences$')" alt+c
  wait_until 5 not visible_window '^Preferences$' || { echo "    Cancel left Preferences open"; return 1; }
  press "$(window_id '^Task Setup$')" alt+c
  wait_until 5 not visible_window '^Task Setup$' || { echo "    Cancel left the editor open"; return 1; }
  never_within 1 visible_window '^(Task Setup|Preferences)$' || { echo "    a window came after the first"; return 1; }
}

case_xembed_guards() {
  new_case tray-guards
  local ok=0
  xembed_guards || ok=1
  stop_app
  return $ok
}
check "on the XEmbed tray, New Task and Preferences open once each while the editor and Preferences are up" \
  case_xembed_guards
