#!/usr/bin/env bash
# End-to-end cases on sway as Debian ships it: the compositor headless, waybar with its tray, mako for
# notifications, foot as the terminal, and Velloran native on Wayland. What a user sees is judged from
# grim's screenshots and from sway's own tree of windows (focused, visible, fullscreen). Headless sway
# has no input device: clicks come from virtual_pointer, keys from wtype.
# Usage: sway.sh VELLORAN TASK_TOOL VIRTUAL_POINTER SCREENSHOT_FOLDER; exits 77 where sway or one of its
# companions is not installed.
set -u
E2E=$(cd "$(dirname "$0")/.." && pwd)
for tool in sway swaymsg waybar mako makoctl foot grim wtype dbus-daemon setpriv python3 convert; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 || { echo "skipped: no qt6-wayland"; exit 77; }

VELLORAN=$(realpath "$1")
TOOL=$(realpath "$2")
POINTER_TOOL=$(realpath "$3")
SHOTS=$4
mkdir -p "$SHOTS"
ROOT=$(mktemp -d /tmp/velloran-sway-XXXXXX)
PIDS=()
passed=0
failed=0
BASE_PATH=$PATH

source "$E2E/headless_session.sh"
source "$E2E/case_helpers.sh"
trap cleanup EXIT

# sway refuses to run as root: the desktop and every program on it run as a user of the tests' own.
E2E_USER=velloran-e2e
if [ "$(id -u)" -eq 0 ]; then
  id -u "$E2E_USER" >/dev/null 2>&1 ||
    useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$E2E_USER" || exit 1
  E2E_UID=$(id -u "$E2E_USER")
  E2E_GID=$(id -g "$E2E_USER")
  AS_USER=(setpriv --reuid="$E2E_UID" --regid="$E2E_GID" --init-groups --)
  own() { chown -R "$E2E_UID:$E2E_GID" "$@"; }
else
  AS_USER=()
  own() { :; }
fi
chmod 755 "$ROOT"

WIDTH=1280
HEIGHT=800
SESSION="$ROOT/session"

# --- the desktop ---------------------------------------------------------------------------------------

write_desktop_configs() {
  mkdir -p "$SESSION/waybar" "$SESSION/mako"
  chmod 700 "$SESSION"
  # No bar of sway's own: waybar is the panel. The pointer does not move the focus, so that a click is
  # the only thing that does.
  cat >"$ROOT/sway.conf" <<CONFIG
output HEADLESS-1 resolution ${WIDTH}x${HEIGHT} bg #3a6ea5 solid_color
default_border normal
focus_follows_mouse no
include $SESSION/sway-bar.conf
CONFIG
  # Empty: a case may make waybar sway's own bar, which each reload of the configuration restarts.
  : >"$SESSION/sway-bar.conf"
  cat >"$SESSION/waybar/config" <<'CONFIG'
{
  "layer": "top", "position": "top", "height": 30,
  "modules-left": ["sway/workspaces"], "modules-right": ["tray"],
  "tray": {"icon-size": 21, "spacing": 6}
}
CONFIG
  # Notifications stay until they are dismissed, so that a screenshot finds them. mako draws on the
  # layer below fullscreen windows unless told otherwise, and sway then shows nothing of it over a
  # fullscreen window; its manual names the overlay layer for notices that must be seen there.
  printf 'default-timeout=0\nlayer=overlay\n' >"$SESSION/mako/config"
  own "$ROOT/sway.conf" "$SESSION"
}

# The desktop's programs run as its user and share the session's runtime folder; Velloran gets a case's
# own. Started in the background, the process id is the program's own.
DESKTOP=("${AS_USER[@]}" env -u DISPLAY HOME="$SESSION" XDG_RUNTIME_DIR="$SESSION" XDG_CONFIG_HOME="$SESSION"
  LANG=C.UTF-8 SHELL=/bin/sh)

start_sway() {
  "${DESKTOP[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$ROOT/sway.conf" >"$ROOT/sway.log" 2>&1 &
  PIDS+=($!)
  wait_until 15 compgen -G "$SESSION/wayland-*[0-9]" || { echo "sway did not start"; tail -5 "$ROOT/sway.log"; return 1; }
  WAYLAND_DISPLAY=$(compgen -G "$SESSION/wayland-*[0-9]" | head -n 1)
  wait_until 5 compgen -G "$SESSION/sway-ipc.*.sock" || { echo "no sway IPC socket"; return 1; }
  SWAYSOCK=$(compgen -G "$SESSION/sway-ipc.*.sock" | head -n 1)
  export WAYLAND_DISPLAY SWAYSOCK
}

start_session_bus() {
  "${DESKTOP[@]}" dbus-daemon --session --nofork --print-address=1 --address="unix:path=$SESSION/bus" \
    >"$ROOT/bus-address" 2>"$ROOT/bus.log" &
  PIDS+=($!)
  wait_until 5 test -s "$ROOT/bus-address" || { echo "no session bus"; return 1; }
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$SESSION/bus"
}

WAYBAR=""
start_waybar() {
  "${DESKTOP[@]}" waybar -c "$SESSION/waybar/config" >>"$ROOT/waybar.log" 2>&1 &
  WAYBAR=$!
  PIDS+=($WAYBAR)
  # The panel is there once its tray watches for items.
  wait_until 10 "${DESKTOP[@]}" dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.GetNameOwner string:org.kde.StatusNotifierWatcher || echo "note: waybar's tray did not start"
}
stop_waybar() {
  [ -n "$WAYBAR" ] || return 0
  kill "$WAYBAR" 2>/dev/null
  wait_until 5 not running "$WAYBAR"
  wait "$WAYBAR" 2>/dev/null
  WAYBAR=""
}

# A keyboard the seat keeps for the whole run: wtype's own comes and goes with each call, and a window
# that learns of a keyboard only as its key arrives would miss the key.
start_keyboard() {
  "${DESKTOP[@]}" wtype -s 3600000 >/dev/null 2>&1 &
  PIDS+=($!)
}
key() { "${DESKTOP[@]}" wtype -k "$1"; }

# The mouse: virtual_pointer reads its commands from a pipe that stays open for the run.
start_pointer() {
  mkfifo "$ROOT/pointer.in"
  # A copy the desktop's user can run, wherever the build folder is.
  cp "$POINTER_TOOL" "$ROOT/virtual_pointer"
  own "$ROOT/pointer.in" "$ROOT/virtual_pointer"
  "${DESKTOP[@]}" "$ROOT/virtual_pointer" "$WIDTH" "$HEIGHT" <"$ROOT/pointer.in" >"$ROOT/pointer.out" 2>&1 &
  PIDS+=($!)
  exec {POINTER_FD}>"$ROOT/pointer.in"
  wait_until 10 grep -qx ready "$ROOT/pointer.out" || { echo "no virtual pointer"; cat "$ROOT/pointer.out"; return 1; }
}
# Sends one command to the pointer and waits until the compositor has it.
pointer() {
  local done_before
  done_before=$(grep -c '' "$ROOT/pointer.out")
  echo "$*" >&"$POINTER_FD"
  wait_until 5 test "$(grep -c '' "$ROOT/pointer.out")" -gt "$done_before"
}
click_at() {
  pointer move "$1" "$2"
  pointer click "${3:-left}"
}

# The program's icon is in waybar's tray: the watcher lists an item.
in_tray() {
  "${DESKTOP[@]}" dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
    org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
    string:RegisteredStatusNotifierItems 2>/dev/null | grep -q 'string "'
}
# After a hidden start: the icon is in the tray and the window is not on screen.
wait_hidden_in_tray() {
  wait_until 15 in_tray || { echo "    no icon in the tray"; return 1; }
  wait_until 5 not window_exists Velloran || { echo "    the window did not go into the tray"; show_windows; return 1; }
}

# The tray icon: waybar's tray sits at the right end of the panel, and the program's is its only item.
TRAY_ICON_X=$((WIDTH - 21))
TRAY_ICON_Y=15

# --- what the user sees -----------------------------------------------------------------------------------

# One line per window of sway's tree: title, then focused, visible, fullscreen, urgent (0 or 1) and its
# place x y width height.
windows() {
  "${DESKTOP[@]}" swaymsg -t get_tree -r 2>/dev/null | python3 -c '
import json, sys
def walk(node):
    if node.get("type") in ("con", "floating_con") and node.get("name") is not None and not node.get("nodes"):
        r = node["rect"]
        print("\t".join([node["name"], str(int(node["focused"])), str(int(bool(node.get("visible")))),
                         str(int(node.get("fullscreen_mode", 0) != 0)), str(int(node.get("urgent", False))),
                         str(r["x"]), str(r["y"]), str(r["width"]), str(r["height"])]))
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))'
}
# The state of the first window whose whole title is the given one: "focused visible fullscreen urgent x y w h".
window_state() { windows | awk -F'\t' -v title="$1" '$1 == title {print $2, $3, $4, $5, $6, $7, $8, $9; exit}'; }
window_exists() { [ -n "$(window_state "$1")" ]; }
window_focused() { [ "$(window_state "$1" | cut -d' ' -f1)" = 1 ]; }
window_visible() { [ "$(window_state "$1" | cut -d' ' -f2)" = 1 ]; }
window_urgent() { [ "$(window_state "$1" | cut -d' ' -f4)" = 1 ]; }
show_windows() { windows | sed 's/^/    | /'; }

shot() { "${DESKTOP[@]}" grim - >"$SHOTS/sway-$1.png"; }

# The part of the screen that differs between two screenshots, as WIDTHxHEIGHT+X+Y; nothing when none.
changed_area() {
  local area
  area=$(convert "$1" "$2" -compose difference -composite -colorspace gray -threshold 8% -trim \
    -format '%wx%h%O' info: 2>/dev/null)
  # A picture with no change trims to a single pixel.
  [[ $area == 1x1[+-]* ]] || echo "$area"
}
area_height() { local size=${1%%+*}; echo "${size#*x}"; }

# The notification service has a notice with this text.
mako_has() { "${DESKTOP[@]}" makoctl list 2>/dev/null | grep -q "$1"; }
# True when mako's corner of the screen (the top right, where it stacks its notices) shows the given
# number of new notices (one by default) between two screenshots: each is some 50 pixels high.
notices_drawn() {
  local corner="330x400+$((WIDTH - 330))+0" area
  convert "$1" -crop "$corner" +repage "$ROOT/corner-before.png" &&
    convert "$2" -crop "$corner" +repage "$ROOT/corner-after.png" || return 1
  area=$(changed_area "$ROOT/corner-before.png" "$ROOT/corner-after.png")
  echo "    new in mako's corner: ${area:-nothing}"
  [ -n "$area" ] && [ "$(area_height "$area")" -ge $((${3:-1} * 45)) ]
}

# --- the program ------------------------------------------------------------------------------------------

# A case's own program directory and folders, given to the desktop's user.
sway_case() {
  new_case "$1"
  own "$CASE"
}

# Starts Velloran native on Wayland in the current case, as the desktop's user.
start_app() {
  "${AS_USER[@]}" env -u DISPLAY QT_QPA_PLATFORM=wayland LANG=C.UTF-8 "$PROG/velloran" "$@" >>"$CASE/velloran.log" 2>&1 &
  APP=$!
  PIDS+=($APP)
}

# A second start from a shell: no launcher, so no token in its environment.
start_second() {
  "${AS_USER[@]}" env -u DISPLAY -u XDG_ACTIVATION_TOKEN -u DESKTOP_STARTUP_ID QT_QPA_PLATFORM=wayland \
    LANG=C.UTF-8 "$PROG/velloran" >>"$CASE/second.log" 2>&1 &
  SECOND=$!
  PIDS+=($SECOND)
}

TERMINAL=""
start_terminal() {
  "${DESKTOP[@]}" foot --title "$1" "${@:2}" >>"$ROOT/foot.log" 2>&1 &
  TERMINAL=$!
  PIDS+=($TERMINAL)
  wait_until 10 window_focused "$1" || { echo "    the terminal did not get the focus"; show_windows; return 1; }
}
stop_terminal() {
  [ -n "$TERMINAL" ] && kill "$TERMINAL" 2>/dev/null
  TERMINAL=""
}

# Ends the program as the session would, and whatever the case left on the desktop; the pointer goes
# to an empty place of the panel, where it shows no tooltip.
end_case() {
  pointer move $((WIDTH / 2)) 15
  [ -n "${SECOND:-}" ] && kill "$SECOND" 2>/dev/null
  SECOND=""
  stop_app
  local ended=$?
  stop_terminal
  "${DESKTOP[@]}" makoctl dismiss --all >/dev/null 2>&1
  [ -n "$WAYBAR" ] || start_waybar
  return $ended
}

BASE_PATH=$PATH
write_desktop_configs
start_sway || exit 1
start_session_bus || exit 1
"${DESKTOP[@]}" mako >"$ROOT/mako.log" 2>&1 &
PIDS+=($!)
start_waybar
start_keyboard
start_pointer || exit 1

for case_file in "$E2E"/desktops/sway_cases/*${E2E_CASES:-}*.sh; do
  # shellcheck source=/dev/null
  source "$case_file"
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
