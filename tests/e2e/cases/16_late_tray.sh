# A tray that comes after the program, as at logon when the panel starts late, and one that restarts.
# These cases run on a display of their own that starts without a tray.

start_trayless_display() {
  OUTER_DISPLAY=$DISPLAY
  TRAYLESS_PIDS=()
  TRAYER=
  start_x_server 1280x1024 "$CASE/xvfb.log" || return 1
  TRAYLESS_PIDS+=($X_SERVER_PID)
  start_window_manager "$CASE/openbox.log" || return 1
  TRAYLESS_PIDS+=($WINDOW_MANAGER_PID)
}

end_trayless_display() {
  kill "${TRAYLESS_PIDS[@]}" 2>/dev/null
  wait "${TRAYLESS_PIDS[@]}" 2>/dev/null
  export DISPLAY=$OUTER_DISPLAY
}

start_trayer() {
  trayer --edge top --align right --widthtype request --height 24 --SetDockType true >>"$CASE/trayer.log" 2>&1 &
  TRAYER=$!
  PIDS+=($!)
}

# The program's icon is docked in trayer's panel.
docked() {
  local panel
  panel=$(xdotool search --classname panel 2>/dev/null | head -n 1)
  [ -n "$panel" ] && xwininfo -tree -id "$panel" 2>/dev/null | grep -q '"Velloran": ("velloran"'
}

late_tray_steps_x11() {
  start_app hide
  local window
  wait_until 10 main_window || { echo "    no main window"; return 1; }
  window=$(main_window)
  wait_until 5 minimised "$window" || { echo "    not minimised without a tray"; return 1; }
  sleep 8
  start_trayer
  timed 2 "icon in the tray" docked || return 1
  timed 2 "window back in the tray" in_tray "$window" || return 1
  shot late-tray-docked
  # A panel restart: the window is reachable while the panel is gone, and goes back with the icon.
  kill "$TRAYER"
  wait "$TRAYER" 2>/dev/null
  timed 3 "window minimised without the panel" minimised "$window" || return 1
  start_trayer
  timed 2 "icon back with the panel" docked || return 1
  timed 2 "window back in the tray" in_tray "$window" || return 1
}

case_late_x11_tray() {
  new_case late-tray-x11
  start_trayless_display || { end_trayless_display; return 1; }
  local ok=0
  late_tray_steps_x11 || ok=1
  stop_app || ok=1
  [ -n "$TRAYER" ] && kill "$TRAYER" 2>/dev/null
  end_trayless_display
  return $ok
}
check "a hidden start without a tray minimises; trayer 10 s later takes the icon and the window" case_late_x11_tray

registered_items() { grep -c . "$CASE/tray-items" 2>/dev/null || echo 0; }
registered_more_than() { [ "$(registered_items)" -gt "$1" ]; }

start_watcher() {
  "$(dirname "$TOOL")/sni_watcher" "$CASE/tray-items" >>"$CASE/watcher.log" 2>&1 &
  WATCHER=$!
  PIDS+=($!)
}

late_tray_steps_status_notifier() {
  start_app hide
  local window
  wait_until 10 main_window || { echo "    no main window"; return 1; }
  window=$(main_window)
  wait_until 5 minimised "$window" || { echo "    not minimised without a tray"; return 1; }
  sleep 8
  start_watcher
  timed 2 "icon registered with the watcher" registered_more_than 0 || return 1
  timed 2 "window back in the tray" in_tray "$window" || return 1
  kill "$WATCHER"
  wait "$WATCHER" 2>/dev/null
  timed 3 "window minimised without the watcher" minimised "$window" || return 1
  start_watcher
  timed 2 "icon registered again" registered_more_than 1 || return 1
  timed 2 "window back in the tray" in_tray "$window" || return 1
}

case_late_status_notifier_watcher() {
  if ! command -v dbus-daemon >/dev/null || [ ! -x "$(dirname "$TOOL")/sni_watcher" ]; then
    echo "    note: no dbus-daemon or sni_watcher; skipped"
    return 0
  fi
  new_case late-tray-sni
  start_trayless_display || { end_trayless_display; return 1; }
  dbus-daemon --session --nofork --print-address=1 >"$CASE/bus-address" 2>"$CASE/bus.log" &
  local bus=$!
  PIDS+=("$bus")
  wait_until 5 test -s "$CASE/bus-address" || return 1
  local outer_bus=${DBUS_SESSION_BUS_ADDRESS-}
  DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$CASE/bus-address")
  export DBUS_SESSION_BUS_ADDRESS
  local ok=0
  late_tray_steps_status_notifier || ok=1
  stop_app || ok=1
  kill "${WATCHER:-}" "$bus" 2>/dev/null
  if [ -n "$outer_bus" ]; then export DBUS_SESSION_BUS_ADDRESS=$outer_bus; else unset DBUS_SESSION_BUS_ADDRESS; fi
  end_trayless_display
  return $ok
}
check "a hidden start without a tray minimises; a StatusNotifier watcher 10 s later takes the icon and the window" \
  case_late_status_notifier_watcher
