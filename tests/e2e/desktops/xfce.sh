#!/usr/bin/env bash
# End-to-end cases on XFCE 4.18 as Debian ships it: xfwm4 and xfce4-panel with its status tray, which is
# also the StatusNotifier watcher and host, on a virtual X display with a session bus. The program's icon
# is the panel's StatusNotifier item, its menu drawn by the panel from what the program exports. Every
# check looks at what a user sees: the window's map state, its _NET_WM_STATE and whole title, the task
# bar's list, and a screenshot in the screenshot folder.
# Usage: xfce.sh VELLORAN TASK_TOOL SCREENSHOT_FOLDER. Exits 77 (skipped) where XFCE is not installed.
set -u
HERE=$(dirname "$(realpath "$0")")
E2E=$(dirname "$HERE")
SKIPPED=77
for tool in xfwm4 xfce4-panel dbus-daemon dbus-send Xvfb xdotool xprop xwininfo import; do
  command -v "$tool" >/dev/null ||
    { echo "skipped: $tool is not installed (scripts/install-deps.sh installs it)"; exit $SKIPPED; }
done

# The helpers of the end-to-end cases (a program folder per case, windows, keys, screenshots), without
# their session; run_e2e.sh finds its files beside $0.
BASH_ARGV0="$E2E/run_e2e.sh"
E2E_HELPERS_ONLY=1 source "$E2E/run_e2e.sh" "$@"

# The desktop's own folders: the panel's settings live in xfconf, which the session bus starts.
DESKTOP="$ROOT/desktop"
mkdir -p "$DESKTOP/config/xfce4/xfconf/xfce-perchannel-xml" "$DESKTOP/runtime"
chmod 700 "$DESKTOP/runtime"
cp "$HERE/xfce4-panel.xml" "$DESKTOP/config/xfce4/xfconf/xfce-perchannel-xml/"
# The desktop's programs run with those folders; env execs each, so that the process id that the run
# records and ends is the program's own. No accessibility bus: nothing here reads it.
ON_DESKTOP=(env HOME="$DESKTOP" XDG_CONFIG_HOME="$DESKTOP/config" XDG_RUNTIME_DIR="$DESKTOP/runtime" NO_AT_BRIDGE=1)

start_xfce_session() {
  start_x_server 1280x800 "$ROOT/xvfb.log" || exit 1
  export XDG_CURRENT_DESKTOP=XFCE
  "${ON_DESKTOP[@]}" dbus-daemon --session --nofork --print-address=1 >"$ROOT/bus-address" 2>"$ROOT/bus.log" &
  PIDS+=($!)
  wait_until 5 test -s "$ROOT/bus-address" || { echo "no session bus"; exit 1; }
  DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$ROOT/bus-address")
  export DBUS_SESSION_BUS_ADDRESS
  "${ON_DESKTOP[@]}" xfwm4 --replace --compositor=off >>"$ROOT/xfwm4.log" 2>&1 &
  PIDS+=($!)
  wait_until 15 window_manager_running || { echo "xfwm4 does not manage $DISPLAY"; exit 1; }
  xsetroot -solid '#3a6ea5' 2>/dev/null || display -window root -size 16x16 'xc:#3a6ea5' >/dev/null 2>&1 || true
}

panel_window() { xdotool search --onlyvisible --classname xfce4-panel 2>/dev/null | head -n 1; }
# The panel is drawn and its tray is the StatusNotifier host.
panel_ready() {
  panel_window | grep -q . && watcher_property IsStatusNotifierHostRegistered | grep -q 'boolean true'
}

PANEL=""
start_panel() {
  "${ON_DESKTOP[@]}" xfce4-panel >>"$ROOT/panel.log" 2>&1 &
  PANEL=$!
  PIDS+=($PANEL)
  wait_until 15 panel_ready || { echo "    the panel did not start"; return 1; }
}

# The middle of the program's icon: the tray's only item, at the start of the panel along the top.
icon_x() { echo 11; }
icon_y() { echo 16; }
click_icon() { xdotool mousemove "$(icon_x)" "$(icon_y)" click "$@"; }
# Something is drawn where the icon goes: the empty panel there is one flat colour.
icon_drawn() {
  local spread
  spread=$(import -window root -crop 22x22+0+5 +repage -format '%[fx:standard_deviation]' info: 2>/dev/null)
  awk -v s="${spread:-0}" 'BEGIN {exit !(s > 0.05)}'
}

# The window as a user sees it: on screen, not hidden or minimised, its whole title, in the task bar.
shown() {
  local window=$1
  mapped "$window" && in_task_bar "$window" &&
    ! xprop -id "$window" _NET_WM_STATE 2>/dev/null | grep -q '_NET_WM_STATE_HIDDEN' &&
    [ "$(xprop -id "$window" _NET_WM_NAME 2>/dev/null)" = '_NET_WM_NAME(UTF8_STRING) = "Velloran"' ]
}
# What the window's state was, for a failure's message.
describe() {
  echo "    window $1: $(xwininfo -id "$1" 2>/dev/null | grep -o 'Map State: .*'),$(xprop -id "$1" _NET_WM_STATE 2>/dev/null | cut -d= -f2),$(xprop -id "$1" _NET_WM_NAME 2>/dev/null | cut -d= -f2)"
}

# Starts the program hidden and waits until its window is in the tray; sets WINDOW.
start_in_tray() {
  start_app hide
  wait_until 10 main_window || { echo "    no main window"; return 1; }
  WINDOW=$(main_window)
  wait_until 10 registered || { echo "    no icon with the panel"; return 1; }
  timed 5 "window in the tray" in_tray "$WINDOW" || { describe "$WINDOW"; return 1; }
}

# The top-level windows that the window manager does not manage and that are on screen: menus, tooltips.
popups() {
  local window
  for window in $(xwininfo -root -children 2>/dev/null | awk '/^ +0x/ {print $1}'); do
    xwininfo -id "$window" 2>/dev/null | grep -q 'Override Redirect State: yes' && mapped "$window" && echo "$window"
  done | sort
}
# A menu that the panel opened: a popup that was not there before, wider and taller than a tooltip.
panel_menu_since() {
  local window height
  for window in $(comm -13 <(echo "$1") <(popups)); do
    height=$(xwininfo -id "$window" 2>/dev/null | awk '/Height:/ {print $2}')
    [ "${height:-0}" -ge 100 ] && { echo "$window"; return 0; }
  done
  return 1
}

# Opens the icon's menu with the right button, as a user does, and chooses an entry by its access key.
# The screenshot of the first opening is kept.
choose_from_tray() {
  local key=$1 shot_name=${2:-} before menu
  before=$(popups)
  click_icon 3
  wait_until 5 panel_menu_since "$before" || { echo "    the panel opened no menu"; return 1; }
  menu=$(panel_menu_since "$before")
  sleep 0.3
  [ -n "$shot_name" ] && shot "$shot_name"
  xdotool key "$key"
  wait_until 5 not mapped "$menu" || { echo "    the menu stays open"; return 1; }
}

back_to_tray() {
  press "$WINDOW" alt+r
  wait_until 10 in_tray "$WINDOW" || { echo "    Run in background left the window"; describe "$WINDOW"; return 1; }
}

count_of() { search_windows --onlyvisible --name "$1" | wc -l; }

# Runs a case's steps (the second argument) in a fresh program folder and ends the program after them.
in_case() {
  new_case "$1"
  local ok=0
  "$2" || ok=1
  stop_app || ok=1
  return $ok
}

late_panel() {
  with_gap_logs start_app hide
  wait_until 10 main_window || { echo "    no main window"; return 1; }
  WINDOW=$(main_window)
  timed 5 "minimised without a panel" minimised "$WINDOW" || { describe "$WINDOW"; return 1; }
  sleep 3
  start_panel || return 1
  timed 5 "window in the tray once the panel is up" in_tray "$WINDOW" || { describe "$WINDOW"; return 1; }
  wait_until 5 icon_drawn || { echo "    no icon drawn in the panel"; return 1; }
  shot xfce-late-panel
  # The panel restarts: the window is reachable meanwhile, and goes back with the icon.
  gap_begin
  kill "$PANEL"
  wait "$PANEL" 2>/dev/null
  timed 5 "minimised while the panel is gone" minimised "$WINDOW" || { describe "$WINDOW"; return 1; }
  start_panel || return 1
  timed 5 "window in the tray again" in_tray "$WINDOW" || { describe "$WINDOW"; return 1; }
  wait_until 5 icon_drawn || { echo "    no icon drawn in the restarted panel"; return 1; }
  gap_end 4
}


tray_menu() {
  start_in_tray || return 1
  wait_until 5 icon_drawn || { echo "    no icon drawn in the panel"; return 1; }
  choose_from_tray o xfce-tray-menu || return 1
  timed 5 "shown by Open" shown "$WINDOW" || { describe "$WINDOW"; return 1; }
  shot xfce-open-from-menu
  back_to_tray || return 1
  # Preferences from the panel's menu, and again while it is open: one window.
  choose_from_tray p || return 1
  wait_until 10 visible_window '^Preferences$' || { echo "    Preferences did not open"; return 1; }
  choose_from_tray p || return 1
  sleep 1
  [ "$(count_of '^Preferences$')" -eq 1 ] || { echo "    $(count_of '^Preferences$') Preferences windows"; return 1; }
  shot xfce-preferences-from-menu
  press "$(window_id '^Preferences$')" alt+c
  wait_until 5 not visible_window '^Preferences$' || { echo "    Cancel left Preferences open"; return 1; }
}


clicks() {
  start_in_tray || return 1
  click_icon --repeat 2 --delay 80 1
  timed 5 "shown by a double click" shown "$WINDOW" || { describe "$WINDOW"; return 1; }
  shot xfce-double-click
  back_to_tray || return 1
  click_icon 1
  timed 5 "shown by a click" shown "$WINDOW" || { describe "$WINDOW"; return 1; }
}


second_start() {
  start_in_tray || return 1
  "$PROG/velloran" >>"$CASE/second.log" 2>&1 &
  local second=$!
  PIDS+=($second)
  wait_until 10 visible_window '^Application running$' || { echo "    no question from the second start"; return 1; }
  shot xfce-second-start-question
  press "$(window_id '^Application running$')" Return
  wait_until 10 not running "$second" || { echo "    the second start did not end"; return 1; }
  local code=0
  wait "$second" || code=$?
  [ "$code" -eq 255 ] || { echo "    the second start ended with $code"; return 1; }
  timed 5 "shown by Enter on the question" shown "$WINDOW" || { describe "$WINDOW"; return 1; }
  shot xfce-second-start-restored
}


start_xfce_session
# The panel comes after the program in the first case, and stays for the others.
check "XFCE: a hidden start without the panel minimises; the panel that comes (and comes back) takes the window into the tray" \
  in_case xfce-late-panel late_panel
if [ -n "$PANEL" ]; then
  check "XFCE: a right click on the icon opens the tray menu; Open restores; Preferences opens once" in_case xfce-tray-menu tray_menu
  check "XFCE: a double click on the icon restores, and so does a single click" \
    in_case xfce-clicks clicks
  # XFCE shows "Cancel | OK": Enter still means OK.
  check "XFCE: Enter on the second start's question brings the window back" \
    in_case xfce-second-start second_start
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
