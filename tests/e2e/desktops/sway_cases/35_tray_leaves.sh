# The tray goes while the window is in it and comes back: waybar ends and starts again, or sway reloads
# its configuration and so restarts waybar as its bar. The program runs on with a handful of window
# requests, and the tray that comes back takes the window again.

# The hidden window goes back into the tray that came back; it was reachable meanwhile (sway has no
# minimised windows: it is on screen).
back_in_tray() {
  wait_until 10 in_tray || { echo "    no icon in the tray that came back"; return 1; }
  wait_until 5 not window_exists Velloran || { echo "    the window stayed out of the tray"; show_windows; return 1; }
}

case_sway_waybar_restart() {
  sway_case sway-waybar-restart
  with_gap_logs start_app hide
  wait_hidden_in_tray || { end_case; return 1; }
  gap_begin
  stop_waybar
  local ok=0
  wait_until 5 window_exists Velloran || { echo "    the window is unreachable without the tray"; ok=1; }
  sleep 2
  start_waybar
  back_in_tray || ok=1
  gap_end 4 || ok=1
  end_case || ok=1
  return $ok
}
check "sway: waybar ended and started again with the window in the tray: reachable meanwhile, back in the tray" \
  case_sway_waybar_restart

case_sway_reload() {
  sway_case sway-reload
  stop_waybar
  printf 'bar {\n  swaybar_command waybar\n}\n' >"$SESSION/sway-bar.conf"
  "${DESKTOP[@]}" swaymsg reload >/dev/null
  with_gap_logs start_app hide
  local ok=0
  wait_hidden_in_tray || ok=1
  if [ $ok = 0 ]; then
    gap_begin
    "${DESKTOP[@]}" swaymsg reload >/dev/null
    sleep 2
    back_in_tray || ok=1
    gap_end 4 || ok=1
  fi
  : >"$SESSION/sway-bar.conf"
  "${DESKTOP[@]}" swaymsg reload >/dev/null
  end_case || ok=1
  return $ok
}
check "sway: a reload of sway's configuration, which restarts its bar, with the window in the tray" case_sway_reload
