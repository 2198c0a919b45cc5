# Wayland: the program on Qt's wayland platform under a headless compositor (weston) that has no tray.
# The client's protocol log (WAYLAND_DEBUG) shows which windows it makes; weston-screenshooter photographs them.

wayland_missing() {
  command -v weston >/dev/null || { echo "weston"; return; }
  ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 || echo "qt6-wayland"
}

start_weston() {
  WESTON_SOCKET="wayland-velloran-$1"
  weston --backend=headless-backend.so --use-pixman --width=1024 --height=768 --socket="$WESTON_SOCKET" \
    --idle-time=0 --no-config --debug >"$CASE/weston.log" 2>&1 &
  WESTON=$!
  PIDS+=($WESTON)
  wait_until 10 test -S "$XDG_RUNTIME_DIR/$WESTON_SOCKET"
}

stop_weston() {
  kill -TERM "$WESTON" 2>/dev/null
  wait_until 5 not running "$WESTON" || kill -9 "$WESTON" 2>/dev/null
  wait "$WESTON" 2>/dev/null
}

start_wayland_app() {
  env -u DISPLAY QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$WESTON_SOCKET" WAYLAND_DEBUG=client \
    "$PROG/velloran" "$@" >>"$CASE/wayland.log" 2>&1 &
  APP=$!
  PIDS+=($APP)
}

# A toplevel window with this title was made (Qt adds " — Velloran" to the other windows' titles).
wayland_window() { grep -Eq "xdg_toplevel@[0-9]+\.set_title\(\"$1\"\)" "$CASE/wayland.log"; }

wayland_shot() {
  command -v weston-screenshooter >/dev/null || return 0
  local dir="$CASE/shot-$1"
  mkdir -p "$dir"
  (cd "$dir" && WAYLAND_DISPLAY="$WESTON_SOCKET" weston-screenshooter >/dev/null 2>&1)
  local picture
  picture=$(ls "$dir"/*.png 2>/dev/null | head -n 1)
  [ -n "$picture" ] && mv "$picture" "$SHOTS/$1.png"
}

# Shows the program's own messages, without the protocol log, when a Wayland case fails.
wayland_log() { grep -v '^\[' "$CASE/wayland.log" | tail -n 15 | sed 's/^/    | /'; }

case_wayland_windows() {
  new_case wayland-windows
  local missing
  missing=$(wayland_missing)
  [ -z "$missing" ] || { echo "note: skipped, $missing not installed"; return 0; }
  "$TOOL" write "$PROG/tasks.tsk" \
    0 "Alarm Clock" +2 0 1 "Wake up" -- \
    1 Memo +2 0 1 "Buy milk" -- \
    3 https://example.org/missed -3600 0 1 -- \
    7 /tmp/later +86400 0 1 || return 1
  start_weston windows || { echo "    weston did not start"; return 1; }
  start_wayland_app
  # The splash first, then the main window; the first scan opens the alarm and the memo.
  if ! wait_until 20 wayland_window 'Velloran' || ! wait_until 15 wayland_window 'Alarm Clock.*' ||
    ! wait_until 5 wayland_window 'Memo.*'; then
    wayland_log
    stop_app
    stop_weston
    return 1
  fi
  sleep 0.5
  wayland_shot wayland-windows
  kill -TERM "$APP"
  wait_until 5 wayland_window 'Exit.*' && sleep 0.3 && wayland_shot wayland-exit-countdown
  wait_until 15 not running "$APP" || { kill -9 "$APP"; stop_weston; return 1; }
  wait "$APP"
  local code=$?
  stop_weston
  [ "$code" -eq 0 ] || { echo "    exit code $code"; wayland_log; return 1; }
  local dump
  dump=$("$TOOL" dump "$PROG/tasks.tsk")
  echo "$dump" | awk '$2==0 && $6==0 {a=1} $2==1 && $6==0 {m=1} $3=="https://example.org/missed" && $6==0 {w=1}
    $3=="/tmp/later" && $6==1 {l=1} END {exit !(a && m && w && l)}' &&
    ! grep -q missed "$CASE/opened.log" 2>/dev/null
}
check "Wayland: the main window, an alarm and a memo show; SIGTERM saves tasks.tsk and exits after the countdown" case_wayland_windows

case_wayland_hidden_start() {
  new_case wayland-hidden
  local missing
  missing=$(wayland_missing)
  [ -z "$missing" ] || { echo "note: skipped, $missing not installed"; return 0; }
  "$TOOL" write "$PROG/tasks.tsk" 7 /tmp/later +86400 0 1 || return 1
  start_weston hidden || return 1
  start_wayland_app hide
  # No tray here: the hidden start minimises the main window instead of hiding it where nobody can reach it.
  wait_until 15 grep -Eq 'xdg_toplevel@[0-9]+\.set_minimized\(\)' "$CASE/wayland.log"
  local minimised=$?
  running "$APP" && ! wayland_window 'SplashForm.*'
  local ok=$?
  stop_app
  stop_weston
  [ "$minimised" -eq 0 ] && [ "$ok" -eq 0 ] || { wayland_log; return 1; }
}
check "Wayland without a tray: a hidden start minimises the main window, with no splash" case_wayland_hidden_start
