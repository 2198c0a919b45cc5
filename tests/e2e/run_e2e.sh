#!/usr/bin/env bash
# End-to-end cases: the real velloran in a temporary program directory on a virtual X display with a
# window manager and a tray, a recording xdg-open first on PATH, and xdotool for keys and clicks.
# Usage: run_e2e.sh VELLORAN TASK_TOOL SCREENSHOT_FOLDER
set -u
VELLORAN=$(realpath "$1")
TOOL=$(realpath "$2")
SHOTS=$3
mkdir -p "$SHOTS"
ROOT=$(mktemp -d /tmp/velloran-e2e-XXXXXX)
PIDS=()
passed=0
failed=0

source "$(dirname "$0")/headless_session.sh"
source "$(dirname "$0")/case_helpers.sh"
trap cleanup EXIT

start_display() {
  start_headless_session
  # A desktop colour behind the shaped windows; ImageMagick's display stands in where xsetroot is missing.
  xsetroot -solid '#3a6ea5' 2>/dev/null || display -window root -size 16x16 'xc:#3a6ea5' >/dev/null 2>&1 || true
}

# Starts the run's PulseAudio server (again, after a case stopped it); sets SOUND_SERVER_PID.
launch_sound_server() {
  local dir="$ROOT/pulse"
  mkdir -p "$dir"
  chmod 700 "$dir"
  HOME="$dir" XDG_RUNTIME_DIR="$dir" XDG_CONFIG_HOME="$dir" pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --disallow-exit -L "module-native-protocol-unix auth-anonymous=1 socket=$dir/pulse-native" \
    -L "module-null-sink sink_name=testsink" >>"$ROOT/pulseaudio.log" 2>&1 &
  SOUND_SERVER_PID=$!
  PIDS+=($SOUND_SERVER_PID)
}

# One PulseAudio server for the whole run, with a null sink, in the run's folder; every program of the
# run reaches it through PULSE_SERVER. SOUND_SERVER=1 when it answers; without it the sound checks
# are skipped.
start_sound_server() {
  SOUND_SERVER=0
  if ! command -v pulseaudio >/dev/null || ! command -v pactl >/dev/null; then
    echo "note: pulseaudio or pactl is not installed; the sound checks are skipped"
    return
  fi
  launch_sound_server
  export PULSE_SERVER="unix:$ROOT/pulse/pulse-native"
  if wait_until 15 pactl info; then
    SOUND_SERVER=1
  else
    echo "note: the sound server did not start; the sound checks are skipped"
    unset PULSE_SERVER
  fi
}

# Some program of the run plays into the sound server.
sound_playing() { [ "$(pactl list short sink-inputs 2>/dev/null | grep -c .)" -gt 0 ]; }

# Sound checks need the run's sound server; without it they pass with a note.
expect_sound() {
  [ "$SOUND_SERVER" = 1 ] || return 0
  if [ "$1" = playing ]; then
    wait_until 5 sound_playing || { echo "    no sound stream: $2"; return 1; }
  else
    wait_until 5 not sound_playing || { echo "    a sound stream is left: $2"; return 1; }
  fi
}

# xdotool search with its arguments. xdotool gives up with BadWindow when a window goes away while it
# looks at it (a splash closing, a question answered, a second start ending): then it looks again, so
# that a window going away elsewhere is never taken for the one asked about being absent.
search_windows() {
  local found status attempt errors="$ROOT/search-errors.$BASHPID"
  for attempt in 1 2 3 4 5; do
    found=$(xdotool search "$@" 2>"$errors")
    status=$?
    grep -q 'X Error' "$errors" || break
  done
  rm -f "$errors"
  [ -n "$found" ] && echo "$found"
  return $status
}

visible_window() { search_windows --onlyvisible --name "$1" | head -n 1 | grep -q .; }
# Keys go to the window the way a person types them: activate it, then type.
press() { xdotool windowactivate --sync "$1" key --clearmodifiers "$2" 2>/dev/null; }
window_id() { search_windows --onlyvisible --name "$1" | head -n 1; }

shot() {
  local name=$1 window=${2:-root}
  if [ "$window" = root ]; then
    import -window root "$SHOTS/$name.png" 2>/dev/null
  else
    import -window "$window" "$SHOTS/$name.png" 2>/dev/null
  fi
}

# The window as it shows over the desktop, with a margin, so that its shape can be judged.
shot_on_desktop() {
  # shellcheck disable=SC2034 # the eval sets all six
  local WINDOW X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$2")"
  local left=$((X > 16 ? X - 16 : 0)) top=$((Y > 16 ? Y - 16 : 0))
  import -window root -crop "$((WIDTH + 32))x$((HEIGHT + 32))+$left+$top" +repage "$SHOTS/$1.png" 2>/dev/null
}

click_window() {
  xdotool windowactivate --sync "$1" 2>/dev/null
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

tray_icon_position() {
  # trayer sits at the top right; the icon is the rightmost 24 x 24 square.
  local width
  width=$(xdpyinfo | awk '/dimensions:/ {split($2, size, "x"); print size[1]}')
  echo "$((width - 12)) 12"
}

# The text of the X clipboard, after a program copied into it (a list cell with Ctrl+C).
CLIPBOARD_TOOL="$(dirname "$TOOL")/clipboard_tool"
clipboard() { QT_QPA_PLATFORM=xcb "$CLIPBOARD_TOOL"; }

windows_of() { search_windows --onlyvisible --pid "$1" | sort; }

# The main window: the program's window named Velloran that is the size of the main window (the X11
# tray icon's window has the same name).
main_window() {
  local id width
  for id in $(search_windows --name '^Velloran$'); do
    width=$(xwininfo -id "$id" 2>/dev/null | awk '/Width:/ {print $2}')
    [ "${width:-0}" -ge 600 ] && { echo "$id"; return 0; }
  done
  return 1
}

in_task_bar() { xprop -root _NET_CLIENT_LIST | grep -qi "$(printf '0x%x' "$1")\b"; }
mapped() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
iconic() { xprop -id "$1" WM_STATE 2>/dev/null | grep -q 'window state: Iconic'; }
# Reachable for want of a tray: minimised, with its task bar entry.
minimised() { iconic "$1" && in_task_bar "$1"; }
# In the tray: not on screen and not in the task bar.
in_tray() { ! mapped "$1" && ! in_task_bar "$1"; }

# Waits at most the given seconds and says how long it took.
timed() {
  local seconds=$1 what=$2
  shift 2
  local start
  start=$(date +%s%3N)
  if wait_until "$seconds" "$@"; then
    local took=$(($(date +%s%3N) - start))
    printf '    %s after %d.%02d s\n' "$what" $((took / 1000)) $((took % 1000 / 10))
    return 0
  fi
  echo "    $what: not within $seconds s"
  return 1
}

# A menu window of the program (one that the window manager does not manage) that was not among the
# windows given.
menu_window_since() {
  local window
  for window in $(comm -13 <(echo "$1") <(windows_of "$APP")); do
    xwininfo -id "$window" 2>/dev/null | grep -q 'Override Redirect State: yes' && { echo "$window"; return 0; }
  done
  return 1
}
window_gone() { ! windows_of "$APP" | grep -qx "$1"; }

# Chooses an item of the open menu by its access key. The menu takes the keyboard a moment after it
# shows; a key that came too early reaches the window below, where these keys do nothing.
choose_in_menu() {
  for _ in 1 2 3; do
    sleep 0.3
    xdotool key "$1"
    wait_until 1 window_gone "$MENU_WINDOW" && return 0
  done
  echo "    the menu stays open"
  return 1
}

# Opens the XEmbed tray icon's menu with the right button. Sets MENU_WINDOW.
tray_menu_by_click() {
  local before x y
  before=$(windows_of "$APP")
  read -r x y < <(tray_icon_position)
  xdotool mousemove "$x" "$y" click 3
  wait_until 5 menu_window_since "$before" || { echo "    no tray menu"; return 1; }
  MENU_WINDOW=$(menu_window_since "$before")
}

watcher_on_bus() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    string:org.kde.StatusNotifierWatcher | grep -q true
}
# A property of the desktop's StatusNotifier watcher, as dbus-send prints it.
watcher_property() {
  dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
    org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher "string:$1" 2>/dev/null
}
# A program's icon is with the desktop's tray.
registered() { watcher_property RegisteredStatusNotifierItems | grep -q 'string "'; }

# Asks the tray icon for its menu as a panel does, and waits for the menu's window. Sets MENU_WINDOW.
tray_menu_over_dbus() {
  local before
  before=$(windows_of "$APP")
  sni_call "$1" ContextMenu || return 1
  wait_until 5 menu_window_since "$before" || { echo "    no tray menu"; return 1; }
  MENU_WINDOW=$(menu_window_since "$before")
}

# A StatusNotifier panel in place of the XEmbed tray for what the case starts next: a session bus of
# the case's own with sni_watcher on it. Returns 2 where dbus-daemon or the watcher is missing.
SNI_BUS=""
SNI_WATCHER=""
OUTER_BUS=""
start_sni_panel() {
  local watcher
  watcher="$(dirname "$TOOL")/sni_watcher"
  if ! command -v dbus-daemon >/dev/null || [ ! -x "$watcher" ]; then return 2; fi
  dbus-daemon --session --nofork --print-address=1 >"$CASE/bus-address" 2>"$CASE/bus.log" &
  SNI_BUS=$!
  PIDS+=("$SNI_BUS")
  wait_until 5 test -s "$CASE/bus-address" || return 1
  OUTER_BUS=${DBUS_SESSION_BUS_ADDRESS-}
  DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$CASE/bus-address")
  export DBUS_SESSION_BUS_ADDRESS
  "$watcher" "$CASE/tray-items" >"$CASE/watcher.log" 2>&1 &
  SNI_WATCHER=$!
  PIDS+=("$SNI_WATCHER")
  wait_until 5 watcher_on_bus || { echo "    the watcher did not start"; return 1; }
}
stop_sni_panel() {
  [ -n "$SNI_WATCHER" ] && kill "$SNI_WATCHER" 2>/dev/null
  [ -n "$SNI_BUS" ] && kill "$SNI_BUS" 2>/dev/null
  SNI_WATCHER=""
  SNI_BUS=""
  if [ -n "$OUTER_BUS" ]; then export DBUS_SESSION_BUS_ADDRESS=$OUTER_BUS; else unset DBUS_SESSION_BUS_ADDRESS; fi
  OUTER_BUS=""
}
# The D-Bus name of the tray icon that the program registered with the panel.
sni_item() {
  wait_until 10 test -s "$CASE/tray-items" || return 1
  head -n 1 "$CASE/tray-items"
}
# Calls a method of the tray icon as a panel does: Activate (left button), SecondaryActivate (middle),
# ContextMenu (right).
sni_call() {
  dbus-send --session --type=method_call --dest="$1" /StatusNotifierItem \
    "org.kde.StatusNotifierItem.$2" int32:900 int32:500
}

BASE_PATH=$PATH
# A desktop's own runner (tests/e2e/desktops/) sources this file for its helpers and starts its own session.
[ -n "${E2E_HELPERS_ONLY:-}" ] && return 0
start_display
start_sound_server
# E2E_CASES=pattern runs only the case files whose names match.
for case_file in "$(dirname "$0")"/cases/*${E2E_CASES:-}*.sh; do
  # shellcheck source=/dev/null
  source "$case_file"
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
