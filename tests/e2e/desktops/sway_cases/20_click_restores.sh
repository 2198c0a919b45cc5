# A click on the icon in waybar brings the window back from the tray: waybar sends one Activate a press.

case_sway_click_restores() {
  sway_case sway-click-restores
  start_app hide
  wait_hidden_in_tray || { end_case; return 1; }
  shot click-restores-before
  click_at "$TRAY_ICON_X" "$TRAY_ICON_Y" left
  local ok=0
  wait_until 5 window_focused Velloran || { echo "    a click on the icon did not bring the window back"; show_windows; ok=1; }
  sleep 0.5
  shot click-restores
  end_case || ok=1
  return $ok
}
check "sway: a click on the icon in waybar brings the window back from the tray, focused" case_sway_click_restores
