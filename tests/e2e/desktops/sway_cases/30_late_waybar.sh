# A panel that comes after a hidden start: the window, left on screen for want of a tray, goes into the
# tray as soon as waybar's tray is there, and its icon shows.

case_sway_late_waybar() {
  sway_case sway-late-waybar
  stop_waybar
  start_app hide
  wait_until 15 window_exists Velloran || { echo "    no main window"; end_case; return 1; }
  # Without a tray the hidden window stays reachable (sway has no minimised windows).
  sleep 2
  window_exists Velloran || { echo "    the window vanished with no tray to find it in"; end_case; return 1; }
  shot late-waybar-before
  start_waybar
  local ok=0
  wait_until 10 not window_exists Velloran || { echo "    the window stayed out of the late tray"; show_windows; ok=1; }
  in_tray || { echo "    no icon in the late tray"; ok=1; }
  sleep 1
  shot late-waybar
  # The icon is in the panel: the right end of the bar is no longer plain.
  local area
  area=$(changed_area "$SHOTS/sway-late-waybar-before.png" "$SHOTS/sway-late-waybar.png")
  echo "    changed after waybar: ${area:-nothing}"
  end_case || ok=1
  return $ok
}
check "sway: a waybar started after a hidden start takes the window into its tray" case_sway_late_waybar
