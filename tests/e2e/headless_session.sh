# A headless desktop for the end-to-end cases and the memory benchmark: a virtual X display, a window
# manager and a tray. Source this file; set ROOT (a folder for the logs) and an array PIDS first.

# Waits until a command succeeds, polling every 0.2 s, for at most the given seconds.
wait_until() {
  local seconds=$1
  shift
  local end=$((SECONDS + seconds))
  while ! "$@" >/dev/null 2>&1; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.2
  done
}

# Starts Xvfb with a screen of the given size (WIDTHxHEIGHT), logging to the given file; exports DISPLAY
# once the display answers, and sets X_SERVER_PID. Without -noreset the server starts over each time its
# last client leaves (the check below is one) and refuses connections meanwhile.
start_x_server() {
  local size=$1 log=$2 fd number
  exec {fd}<> <(:)
  Xvfb -displayfd "$fd" -screen 0 "${size}x24" -nolisten tcp -noreset >"$log" 2>&1 &
  X_SERVER_PID=$!
  PIDS+=($X_SERVER_PID)
  read -r -t 15 number <&"$fd" || { echo "Xvfb did not start"; return 1; }
  export DISPLAY=":$number"
  wait_until 15 xprop -root -len 0 || { echo "display $DISPLAY does not answer"; return 1; }
}

# xprop succeeds on any display that answers, with or without the property: look for the window.
window_manager_running() {
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# Starts openbox on DISPLAY, logging to the given file, and waits until it manages the display; sets
# WINDOW_MANAGER_PID.
start_window_manager() {
  openbox >>"$1" 2>&1 &
  WINDOW_MANAGER_PID=$!
  PIDS+=($WINDOW_MANAGER_PID)
  wait_until 15 window_manager_running || { echo "no window manager on $DISPLAY"; return 1; }
}

# Starts the display, the window manager and a tray (trayer); exports DISPLAY.
start_headless_session() {
  start_x_server 1920x1200 "$ROOT/xvfb.log" || exit 1
  start_window_manager "$ROOT/openbox.log" || exit 1
  trayer --edge top --align right --widthtype request --height 24 --SetDockType true >"$ROOT/trayer.log" 2>&1 &
  PIDS+=($!)
  wait_until 15 xdotool search --classname panel || echo "note: no tray window found"
}
