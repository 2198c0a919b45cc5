#!/usr/bin/env bash
# End-to-end cases on GNOME Shell 43 as Debian ships it: a headless shell with a virtual monitor and the
# AppIndicator extension for the tray, the program on native Wayland and on XWayland. The shell needs a
# system bus, so the run has a mount and network namespace of its own with a private system bus; input
# goes through mutter's RemoteDesktop interface, screenshots and window states come from the shell.
# Usage: gnome.sh VELLORAN TASK_TOOL SCREENSHOT_FOLDER. Exits 77 (skipped) where the shell cannot run.
set -u
HERE=$(dirname "$(realpath "$0")")
E2E=$(dirname "$HERE")
SKIPPED=77
APPINDICATOR=/usr/share/gnome-shell/extensions/ubuntu-appindicators@ubuntu.com

skip() {
  echo "skipped: $*"
  exit $SKIPPED
}

if [ -z "${VELLORAN_GNOME_NAMESPACE:-}" ]; then
  command -v gnome-shell >/dev/null || skip "gnome-shell is not installed (scripts/install-deps.sh installs it)"
  [ -d "$APPINDICATOR" ] || skip "gnome-shell-extension-appindicator is not installed"
  # GNOME Shell's notification service is a gjs program.
  command -v gjs >/dev/null || skip "gjs is not installed"
  command -v pipewire >/dev/null || skip "pipewire is not installed (mutter's screen cast needs it for input)"
  /usr/bin/python3 -c 'from gi.repository import Gio' 2>/dev/null || skip "python3-gi is not installed"
  unshare --mount --net true 2>/dev/null ||
    skip "no private mount namespace here (GNOME Shell needs a system bus of its own; run as root)"
  VELLORAN_GNOME_NAMESPACE=1 exec unshare --mount --net bash "$0" "$@"
fi

VELLORAN=$(realpath "$1")
TOOL=$(realpath "$2")
SHOTS=$(realpath -m "$3")
mkdir -p "$SHOTS"
ROOT=$(mktemp -d /tmp/velloran-gnome-XXXXXX)
PIDS=()
passed=0
failed=0
BASE_PATH=$PATH
source "$E2E/headless_session.sh"
source "$E2E/case_helpers.sh"
# What the shell starts on its own (XWayland, the accessibility bus, its helpers) is in this run's network
# namespace, which nothing else uses: it ends with the run.
end_namespace() {
  local own pid
  own=$(readlink /proc/$$/ns/net)
  for pid in /proc/[0-9]*; do
    pid=${pid#/proc/}
    [ "$pid" != $$ ] && [ "$(readlink "/proc/$pid/ns/net" 2>/dev/null)" = "$own" ] && kill -9 "$pid" 2>/dev/null
  done
}
trap 'cleanup; end_namespace' EXIT

shell_tool() { /usr/bin/python3 "$HERE/gnome_shell.py" "$@"; }

# The shell's session: what systemd and the host's buses would tell it is hidden in this namespace.
start_buses() {
  mount --make-rprivate /
  # The shell offers a screen lock only on a systemd machine (its seats folder) where GDM answers on the
  # system bus: the tests' own stand-in takes GDM's name there, and logind's, which the shell then asks.
  CAN_LOCK=0
  [ -d /run/systemd ] && mount -t tmpfs tmpfs /run/systemd && mkdir /run/systemd/seats && CAN_LOCK=1
  mkdir -p /run/dbus /tmp/.X11-unix
  mount -t tmpfs tmpfs /run/dbus
  # XWayland's sockets; the network namespace keeps its abstract sockets apart from other X servers.
  mount -t tmpfs -o mode=1777 tmpfs /tmp/.X11-unix
  cat >"$ROOT/system-bus.conf" <<'CONFIG'
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <include>/usr/share/dbus-1/system.conf</include>
  <policy context="default">
    <allow own="org.gnome.DisplayManager"/>
    <allow send_destination="org.gnome.DisplayManager"/>
    <allow own="org.freedesktop.login1"/>
  </policy>
</busconfig>
CONFIG
  dbus-daemon --config-file="$ROOT/system-bus.conf" --nofork >"$ROOT/system-bus.log" 2>&1 &
  PIDS+=($!)
  local session="$ROOT/gnome"
  mkdir -p "$session/home" "$session/runtime" "$session/config" "$session/data/gnome-shell/extensions"
  chmod 700 "$session/runtime"
  export HOME="$session/home" XDG_RUNTIME_DIR="$session/runtime" XDG_CONFIG_HOME="$session/config"
  export XDG_DATA_HOME="$session/data" XDG_CACHE_HOME="$session/home/.cache" GSETTINGS_BACKEND=keyfile
  unset DISPLAY WAYLAND_DISPLAY XAUTHORITY
  dbus-daemon --session --nofork --address="unix:path=$session/runtime/bus" >"$ROOT/session-bus.log" 2>&1 &
  PIDS+=($!)
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$session/runtime/bus"
  wait_until 10 test -S /run/dbus/system_bus_socket || { echo "the system bus did not start"; return 1; }
  wait_until 10 test -S "$session/runtime/bus" || { echo "the session bus did not start"; return 1; }
  pipewire >"$ROOT/pipewire.log" 2>&1 &
  PIDS+=($!)
  [ "$CAN_LOCK" = 1 ] || return 0
  shell_tool display-manager >"$ROOT/display-manager.log" 2>&1 &
  PIDS+=($!)
  wait_until 10 grep -qx ready "$ROOT/display-manager.log" ||
    { echo "note: the display manager's stand-in did not start; no screen lock"; CAN_LOCK=0; rmdir /run/systemd/seats; }
}

shell_answers() { shell_tool ready; }
name_on_bus() {
  gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus -m org.freedesktop.DBus.NameHasOwner "$1" |
    grep -q true
}
watcher_on_bus() { name_on_bus org.kde.StatusNotifierWatcher; }
# The shell starts its own notification service, before any other service on the machine is activated.
notifications_on_bus() { name_on_bus org.gnome.Shell.Notifications && name_on_bus org.freedesktop.Notifications; }

start_gnome_shell() {
  cp -r "$HERE/gnome-test-extension" "$XDG_DATA_HOME/gnome-shell/extensions/velloran-tests@velloran.invalid"
  gsettings set org.gnome.shell disable-user-extensions false
  gsettings set org.gnome.shell enabled-extensions "['ubuntu-appindicators@ubuntu.com', 'velloran-tests@velloran.invalid']"
  # Animations cost a software renderer much CPU and leave windows half drawn in screenshots.
  gsettings set org.gnome.desktop.interface enable-animations false
  local started=$SECONDS
  gnome-shell --headless --wayland --virtual-monitor 1280x800 >"$ROOT/gnome-shell.log" 2>&1 &
  SHELL_PID=$!
  PIDS+=($SHELL_PID)
  if ! wait_until 60 shell_answers || ! wait_until 20 watcher_on_bus || ! wait_until 20 notifications_on_bus; then
    echo "GNOME Shell did not start:"
    tail -n 20 "$ROOT/gnome-shell.log" | sed 's/^/    | /'
    return 1
  fi
  echo "note: GNOME Shell $(gnome-shell --version | awk '{print $3}') answered after $((SECONDS - started)) s"
  # The notices of the start (a privileged user, unsafe mode) would hide the top bar's icons.
  shell_tool eval 'imports.ui.main.messageTray.getSources().forEach(source => source.destroy())' >/dev/null
  SHELL_WAYLAND="$XDG_RUNTIME_DIR/wayland-0"
  SHELL_DISPLAY=$(shell_tool eval "imports.gi.GLib.getenv('DISPLAY')")
  SHELL_XAUTHORITY=$(shell_tool eval "imports.gi.GLib.getenv('XAUTHORITY')")
}

# A pointer and keyboard of the tests' own, for one case.
start_input() {
  coproc INPUT { shell_tool input 2>>"$ROOT/input.log"; }
  INPUT_SERVER=$INPUT_PID
  PIDS+=($INPUT_SERVER)
  local answer
  read -r -t 15 answer <&"${INPUT[0]}" && [ "$answer" = ready ] || {
    echo "mutter's remote desktop did not start:"
    sed 's/^/    | /' "$ROOT/input.log"
    return 1
  }
}
stop_input() {
  kill "$INPUT_SERVER" 2>/dev/null
  wait "$INPUT_SERVER" 2>/dev/null
}
# input "move X Y" | "click left|right|middle [COUNT]" | "key Return"
input() {
  local answer
  echo "$*" >&"${INPUT[1]}"
  read -r -t 10 answer <&"${INPUT[0]}" && [ "$answer" = ok ]
}

# The program on the shell's display: native Wayland, or X11 through XWayland.
use_platform() {
  PLATFORM=$1
  if [ "$PLATFORM" = wayland ]; then
    export QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$SHELL_WAYLAND"
    unset DISPLAY XAUTHORITY
  else
    export QT_QPA_PLATFORM=xcb DISPLAY="$SHELL_DISPLAY" XAUTHORITY="$SHELL_XAUTHORITY"
    unset WAYLAND_DISPLAY
  fi
}

# "state focus client geometry" of the first window whose whole title matches, as the shell has it.
window_state() { shell_tool windows | awk -F'\t' -v title="$1" '$5 ~ "^(" title ")$" {print $1, $2, $3, $4; exit}'; }
window_is() {
  local state
  state=$(window_state "$1")
  [ -n "$state" ] && [[ " $state " == *" $2 "* ]] && { [ -z "${3:-}" ] || [[ " $state " == *" $3 "* ]]; }
}
no_window() { [ -z "$(window_state "$1")" ]; }
shot() { shell_tool screenshot "$SHOTS/gnome-$PLATFORM-$1.png"; }

# The program's icon in the top bar, as "X Y".
indicator() { shell_tool indicator Velloran; }
click_indicator() {
  local x y
  read -r x y _ < <(indicator) || { echo "    no Velloran icon in the top bar"; return 1; }
  input move "$x" "$y" && input click "$@"
}

if ! start_buses || ! start_gnome_shell; then
  echo "0 passed, 1 failed"
  exit 1
fi
source "$HERE/gnome_cases.sh"
# GNOME_HOLD=1 keeps the session up after the cases, to look around in it: enter it with the command shown.
if [ -n "${GNOME_HOLD:-}" ]; then
  declare -p DBUS_SESSION_BUS_ADDRESS SHELL_WAYLAND SHELL_DISPLAY SHELL_XAUTHORITY XDG_RUNTIME_DIR >"$ROOT/session.env"
  echo "holding: nsenter -t $$ -m -n bash --rcfile $ROOT/session.env; end with kill $$"
  sleep infinity &
  wait $!
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
