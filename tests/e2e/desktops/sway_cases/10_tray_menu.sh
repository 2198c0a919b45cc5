# The tray menu from a right click on the icon in waybar: the panel draws it from the menu the program
# exports, item by item, and "Preferences" opens the preferences window.

case_sway_tray_menu() {
  sway_case sway-tray-menu
  start_app
  wait_until 20 window_focused Velloran || { echo "    no main window"; show_windows; end_case; return 1; }
  # The pointer rests on the icon first, so that only the menu differs between the two pictures.
  pointer move "$TRAY_ICON_X" "$TRAY_ICON_Y"
  sleep 1
  shot tray-menu-before
  pointer click right
  sleep 1
  shot tray-menu
  # The menu is what changed on screen: with its eight items it is far taller than the empty stub a
  # panel shows for an icon that exports no menu, or the icon's tooltip, which the click takes away.
  local area height
  area=$(changed_area "$SHOTS/sway-tray-menu-before.png" "$SHOTS/sway-tray-menu.png")
  height=$(area_height "${area:-0x0+0+0}")
  echo "    the menu covers ${area:-nothing}"
  local ok=0
  [ "${height:-0}" -ge 120 ] || { echo "    no tray menu with items (changed area ${area:-none})"; ok=1; }
  # waybar opens the menu at the pointer, right-aligned to the screen's edge; "Preferences" is its third
  # item, below two items of 25 pixels and a separator. (The menu takes no keys: it hangs from the panel,
  # which never has the keyboard.) Another item would open another window.
  if [ "$ok" -eq 0 ]; then
    click_at $((TRAY_ICON_X - 90)) $((TRAY_ICON_Y + 64))
    wait_until 10 window_exists Preferences || { echo "    Preferences did not open"; show_windows; ok=1; }
    shot tray-menu-preferences
    key Escape
  else
    key Escape
  fi
  end_case || ok=1
  return $ok
}
check "sway: a right click on the icon in waybar shows the tray menu's items; Preferences opens Preferences" case_sway_tray_menu
