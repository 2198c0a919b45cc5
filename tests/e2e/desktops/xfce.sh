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
for tool in xfwm4 xfce4-panel dbus-daemon dbus-send Xvfb xdotool xprop xwininfo import xterm; do
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


# The task list's buttons, right of the status tray: the empty list is one flat colour.
task_list_drawn() {
  local spread
  spread=$(import -window root -crop 400x24+60+4 +repage -format '%[fx:standard_deviation]' info: 2>/dev/null)
  awk -v s="${spread:-0}" 'BEGIN {exit !(s > 0.02)}'
}

# A normal start's splash: a splash to the window manager, centred, with no task list button; the
# main window that follows has one.
splash() {
  # The pointer away from the panel, whose tooltips would cover the task list.
  xdotool mousemove 640 780
  task_list_drawn && { echo "    the task list shows a button before the start"; return 1; }
  start_app
  wait_until 10 visible_window '^SplashForm$' || { echo "    no splash"; return 1; }
  local window type
  window=$(window_id '^SplashForm$')
  type=$(xprop -id "$window" _NET_WM_WINDOW_TYPE | cut -d= -f2 | cut -d, -f1)
  [ "$type" = " _NET_WM_WINDOW_TYPE_SPLASH" ] || { echo "    the splash's type is$type"; return 1; }
  # shellcheck disable=SC2034 # the eval sets all six
  local WINDOW X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$window")"
  # Centred to the pixel: an odd size leaves half a pixel either way.
  [ $(((2 * X + WIDTH - 1280) ** 2)) -le 1 ] && [ $(((2 * Y + HEIGHT - 800) ** 2)) -le 1 ] ||
    { echo "    the splash is at $X,$Y, ${WIDTH}x$HEIGHT, not centred on 1280x800"; return 1; }
  sleep 0.5
  shot xfce-splash
  task_list_drawn && { echo "    the task list shows a button for the splash (see xfce-splash.png)"; return 1; }
  wait_until 10 main_window || { echo "    no main window after the splash"; return 1; }
  timed 5 "the main window in the task list" task_list_drawn || return 1
  not visible_window '^SplashForm$' || { echo "    the splash stays"; return 1; }
  shot xfce-after-splash
}

# A terminal that writes what is typed into it into the case's typed.txt; sets TERMINAL.
start_typing_terminal() {
  xterm -geometry 80x10+300+500 -T 'Typing here' -e sh -c "cat > '$CASE/typed.txt'" 2>>"$CASE/xterm.log" &
  TERMINAL=$!
  PIDS+=($TERMINAL)
  wait_until 10 visible_window '^Typing here$' || { echo "    no terminal"; return 1; }
  click_into_terminal
}
# The user clicks into the terminal to type there.
click_into_terminal() {
  local terminal
  terminal=$(window_id '^Typing here$')
  xdotool mousemove --window "$terminal" 100 50 click 1
  wait_until 5 eval '[ "$(xdotool getwindowfocus)" = "$terminal" ]' || { echo "    the terminal has no focus"; return 1; }
}

# Types words into the terminal until the window of the given title is on screen, then a few more and
# Enter: every word reaches the terminal, none the window, which stays on screen above it. Adds the
# words to TYPED.
TYPED=""
type_through() {
  local title=$1 words=0
  while ! visible_window "^$title\$"; do
    [ $words -lt 200 ] || { echo "    no $title while typing"; return 1; }
    xdotool type --delay 20 "word$words "
    TYPED+="word$words "
    words=$((words + 1))
  done
  xdotool type --delay 20 "after the $title"
  xdotool key Return
  TYPED+="after the $title"$'\n'
  wait_until 5 typed_text_arrived ||
    { echo "    the terminal got '$(cat "$CASE/typed.txt")', not '$TYPED'"; return 1; }
  echo "    $words words typed while the $title came"
  [ "$(xdotool getwindowfocus)" = "$(window_id '^Typing here$')" ] ||
    { echo "    the $title took the focus"; return 1; }
  xprop -root _NET_CLIENT_LIST_STACKING | grep -qiE "$(printf '0x%x' "$(window_id '^Typing here$')").*$(printf '0x%x' "$(window_id "^$title\$")")" ||
    { echo "    the $title is behind the terminal"; return 1; }
}

# An alarm and then a memo appear while the user types into a terminal: the keys stay there, the alarm
# rings on, and a click on Snooze snoozes; a click on the memo takes the focus without moving it, a drag
# moves it, and its close picture closes it.
typing_elsewhere() {
  "$TOOL" write "$PROG/tasks.tsk" \
    0 'Alarm Clock' +8 0 1 'Alarm while typing' Chimes.wav -- \
    1 Memo +20 0 1 'Memo while typing' || return 1
  start_in_tray || return 1
  start_typing_terminal || return 1
  TYPED=""
  type_through 'Alarm Clock' || return 1
  expect_sound playing "the alarm rings on while the user types elsewhere" || return 1
  local alarm
  alarm=$(window_id '^Alarm Clock$')
  shot xfce-alarm-while-typing
  xdotool mousemove --window "$alarm" "${SNOOZE_BT[@]}" click 1
  expect_sound silent "after a click on Snooze" || return 1
  wait_until 5 eval '[ "$(xdotool getwindowfocus)" = "$alarm" ]' || { echo "    the clicked alarm has no focus"; return 1; }
  visible_window '^Alarm Clock$' || { echo "    Snooze closed the alarm"; return 1; }

  click_into_terminal || return 1
  type_through Memo || return 1
  local memo
  memo=$(window_id '^Memo$')
  shot xfce-memo-while-typing
  xdotool mousemove --window "$memo" 200 250 click 1
  wait_until 5 eval '[ "$(xdotool getwindowfocus)" = "$memo" ]' || { echo "    the clicked memo has no focus"; return 1; }
  # The click left the note where it was; a drag by the paper moves it, by the window manager's move.
  local before after
  before=$(xdotool getwindowgeometry "$memo" | awk '/Position/ {print $2}')
  xdotool mousemove --window "$memo" 200 250 mousedown 1
  for _ in 1 2 3 4 5 6; do
    xdotool mousemove_relative -- -10 10
    sleep 0.05
  done
  xdotool mouseup 1
  after=$(xdotool getwindowgeometry "$memo" | awk '/Position/ {print $2}')
  # The window manager's move starts once the pointer has gone the few pixels that tell a drag from a click.
  local left=$((${before%,*} - ${after%,*})) down=$((${after#*,} - ${before#*,}))
  [ "$left" -ge 45 ] && [ "$left" -le 60 ] && [ "$down" -ge 45 ] && [ "$down" -le 60 ] ||
    { echo "    a drag by 60 px left and down moved the note from $before to $after"; return 1; }
  xdotool mousemove --window "$memo" "${MEMO_CLOSE[@]}" click 1
  wait_until 5 not visible_window '^Memo$' || { echo "    the close picture left the memo"; return 1; }
  kill "$TERMINAL"
}

# The desktop entry's action "New Memo", launched as the desktop's launchers launch it (GLib's desktop
# entry launcher): Task Setup opens in the running Velloran, in front.
launcher_action() {
  start_in_tray || return 1
  local entry="$CASE/home/.local/share/applications/velloran.desktop"
  mkdir -p "$(dirname "$entry")"
  sed "s|^Exec=velloran|Exec=$PROG/velloran|" "$E2E/../../resources/velloran.desktop" >"$entry"
  /usr/bin/python3 - "$entry" <<'LAUNCH' || { echo "    GLib did not launch the action"; return 1; }
import sys
import gi
gi.require_version("Gio", "2.0")
from gi.repository import Gio
Gio.DesktopAppInfo.new_from_filename(sys.argv[1]).launch_action("new-memo", None)
LAUNCH
  wait_until 10 visible_window '^Task Setup$' || { echo "    no Task Setup"; return 1; }
  local setup
  setup=$(window_id '^Task Setup$')
  [ "$(xprop -id "$setup" _NET_WM_NAME)" = '_NET_WM_NAME(UTF8_STRING) = "Task Setup"' ] || return 1
  shot xfce-new-memo-action "$setup"
  wait_until 5 eval '[ "$(xdotool getwindowfocus)" = "$setup" ]' || { echo "    Task Setup has no focus"; return 1; }
}

start_xfce_session
start_sound_server
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
  check "XFCE: the desktop entry's action New Memo opens Task Setup in the running Velloran" \
    in_case xfce-launcher-action launcher_action
  check "XFCE: the splash is a splash, centred, with no task list button" in_case xfce-splash splash
  check "XFCE: an alarm and a memo appear while the user types in a terminal: the keys stay there; clicks snooze and take the focus" \
    in_case xfce-typing typing_elsewhere
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
