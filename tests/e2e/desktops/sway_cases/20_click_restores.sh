# A click on the icon in waybar brings the window back from the tray: waybar sends one Activate a press.

case_sway_click_restores() {
  sway_case sway-click-restores
  start_app hide
  # The hidden start shows the window for a moment, then it goes into the tray.
  wait_until 15 window_exists Velloran
  wait_until 10 not window_exists Velloran || { echo "    the window did not go into the tray"; show_windows; end_case; return 1; }
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
