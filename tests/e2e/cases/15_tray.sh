# The tray: on the XEmbed tray its menu on the right button and restore on a double click of any
# button; on a StatusNotifier panel the menu read over DBusMenu and restore on each Activate; Run in
# background back to the tray, and the tray's guards while the windows it opened are up.

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

# The tray menu's entries as a StatusNotifier panel reads them over DBusMenu, and a choice made there.
sni_menu() { "$(dirname "$TOOL")/sni_watcher" --menu "$1"; }
sni_choose() { "$(dirname "$TOOL")/sni_watcher" --click "$1" "$2"; }

# The panel decides what a click is and says so with Activate (or SecondaryActivate): each one restores.
# A panel that asks for the menu with ContextMenu gets the menu, and only the menu.
sni_clicks() {
  start_app hide
  local item
  item=$(sni_item) || { echo "    no tray icon on the bus"; return 1; }
  sleep 1
  wait_until 5 not visible_window '^Velloran$' || { echo "    the main window stays"; return 1; }
  xdotool mousemove 900 500
  local method before
  for method in Activate SecondaryActivate Activate; do
    before=$(windows_of "$APP")
    sni_call "$item" "$method" || return 1
    restored_without_menu "one $method" "$before" || return 1
    # A second one on a window already shown changes nothing.
    sni_call "$item" "$method" || return 1
    never_within 1 menu_window_since "$before" || { echo "    a second $method opened a menu"; return 1; }
    visible_window '^Velloran$' || { echo "    a second $method hid the window"; return 1; }
    back_to_tray || return 1
  done
  tray_menu_over_dbus "$item" || return 1
  never_within 1 visible_window '^Velloran$' || { echo "    ContextMenu restored"; return 1; }
  xdotool key Escape
  wait_until 5 window_gone "$MENU_WINDOW"
}

# Runs a case's steps (the second argument) in a fresh program folder on a StatusNotifier panel of its
# own, and ends what they left.
on_sni_panel() {
  new_case "$1"
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
  "$2" || ok=1
  [ -n "${APP:-}" ] && running "$APP" && stop_app
  stop_sni_panel
  return $ok
}

check "each Activate and SecondaryActivate on a StatusNotifier tray restores; ContextMenu opens the menu" \
  on_sni_panel tray-sni-clicks sni_clicks

sni_exported_menu() {
  start_app hide
  local item
  item=$(sni_item) || { echo "    no tray icon on the bus"; return 1; }
  wait_until 5 sni_menu "$item" || { echo "    no menu over DBusMenu"; return 1; }
  sleep 1
  wait_until 5 not visible_window '^Velloran$' || { echo "    the main window stays"; return 1; }
  local entries expected
  entries=$(sni_menu "$item" | paste -sd '|')
  expected='_Open Task Scheduler|Create _New Task|-|_Preferences|-|_About|-|_Exit Task Scheduler'
  [ "$entries" = "$expected" ] || { echo "    the panel reads: $entries"; return 1; }
  # Each entry works from the panel, and the tray's guards hold while the windows it opened are up.
  sni_choose "$item" 'Create _New Task' || return 1
  wait_until 10 visible_window '^Task Setup$' || { echo "    New Task opened no editor"; return 1; }
  sni_choose "$item" 'Create _New Task' || return 1
  sni_choose "$item" '_Preferences' || return 1
  wait_until 10 visible_window '^Preferences$' || { echo "    no Preferences beside the editor"; return 1; }
  shot tray-sni-menu-editor-and-preferences
  sni_choose "$item" '_Preferences' || return 1
  sleep 1
  [ "$(count_of '^Task Setup$')" -eq 1 ] || { echo "    $(count_of '^Task Setup$') editors"; return 1; }
  [ "$(count_of '^Preferences$')" -eq 1 ] || { echo "    $(count_of '^Preferences$') Preferences windows"; return 1; }
  press "$(window_id '^Preferences$')" alt+c
  wait_until 5 not visible_window '^Preferences$' || { echo "    Cancel left Preferences open"; return 1; }
  press "$(window_id '^Task Setup$')" alt+c
  wait_until 5 not visible_window '^Task Setup$' || { echo "    Cancel left the editor open"; return 1; }
  never_within 1 visible_window '^(Task Setup|Preferences)$' || { echo "    a window came after the first"; return 1; }
  sni_choose "$item" '_Open Task Scheduler' || return 1
  wait_until 10 visible_window '^Velloran$' || { echo "    Open did not restore"; return 1; }
  back_to_tray || return 1
  sni_choose "$item" '_About' || return 1
  wait_until 10 visible_window '^About' || { echo "    About did not open"; return 1; }
  press "$(window_id '^About')" Escape
  wait_until 5 not visible_window '^About' || { echo "    About stays"; return 1; }
  # Exit asks first; Yes ends the program.
  sni_choose "$item" '_Exit Task Scheduler' || return 1
  wait_until 10 visible_window '^Exit$' || { echo "    Exit asked nothing"; return 1; }
  press "$(window_id '^Exit$')" alt+y
  wait_until 10 not running "$APP" || { echo "    Yes did not end the program"; return 1; }
}

# How many windows of a title are up.
count_of() { search_windows --onlyvisible --name "$1" | wc -l; }

check "a StatusNotifier panel reads the tray menu over DBusMenu; each entry works there, guards included" \
  on_sni_panel tray-sni-menu sni_exported_menu

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
