#!/usr/bin/env bash
# End-to-end cases on KDE Plasma 5.27 as Debian ships it: kwin_wayland in a window of a private Xvfb,
# and inside it kded5 (its StatusNotifier watcher), plasmashell (panel, system tray, notifications) and
# the program native on Wayland. Clicks and keys are xdotool's on the Xvfb, which kwin passes on as its
# seat's; the windows' states come from kwin's own scripting, screenshots from the Xvfb's screen.
# Usage: kde.sh VELLORAN TASK_TOOL SCREENSHOT_FOLDER. Exits 77 (skipped) where Plasma is not installed.
set -u
HERE=$(dirname "$(realpath "$0")")
E2E=$(dirname "$HERE")
SKIPPED=77
for tool in kwin_wayland plasmashell kded5 Xvfb xdotool import dbus-daemon gdbus weston-terminal; do
  command -v "$tool" >/dev/null ||
    { echo "skipped: $tool is not installed (scripts/install-deps.sh installs it)"; exit $SKIPPED; }
done
ACTIVITIES=$(compgen -G '/usr/lib/*/libexec/kactivitymanagerd' | head -n 1)
[ -n "$ACTIVITIES" ] || { echo "skipped: kactivitymanagerd is not installed"; exit $SKIPPED; }

BASH_ARGV0="$E2E/run_e2e.sh"
E2E_HELPERS_ONLY=1 source "$E2E/run_e2e.sh" "$@"

WIDTH=1280
HEIGHT=800
# The desktop's own folders. kded5 loads its session modules (the StatusNotifier watcher among them)
# only in a Plasma session of its own version.
DESKTOP="$ROOT/desktop"
mkdir -p "$DESKTOP/config" "$DESKTOP/runtime" "$DESKTOP/bin"
chmod 700 "$DESKTOP/runtime"
export XDG_CURRENT_DESKTOP=KDE KDE_FULL_SESSION=true KDE_SESSION_VERSION=5 QT_QPA_PLATFORM=wayland
ON_DESKTOP=(env HOME="$DESKTOP" XDG_CONFIG_HOME="$DESKTOP/config" XDG_CACHE_HOME="$DESKTOP/cache"
  XDG_DATA_HOME="$DESKTOP/data" XDG_RUNTIME_DIR="$DESKTOP/runtime")

name_on_bus() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    "string:$1" 2>/dev/null | grep -q true
}
watcher_has_host() { watcher_property IsStatusNotifierHostRegistered | grep -q 'boolean true'; }

KDED=""
start_kded() {
  "${ON_DESKTOP[@]}" kded5 >>"$ROOT/kded5.log" 2>&1 &
  KDED=$!
  PIDS+=($KDED)
  wait_until 20 watcher_has_host || { echo "    kded5's StatusNotifier watcher did not come"; return 1; }
}
stop_kded() {
  kill "$KDED" 2>/dev/null
  wait_until 10 not running "$KDED"
  wait "$KDED" 2>/dev/null
  KDED=""
}

start_plasma() {
  start_x_server "${WIDTH}x$HEIGHT" "$ROOT/xvfb.log" || exit 1
  "${ON_DESKTOP[@]}" dbus-daemon --session --nofork --print-address=1 >"$ROOT/bus-address" 2>"$ROOT/bus.log" &
  PIDS+=($!)
  wait_until 5 test -s "$ROOT/bus-address" || { echo "no session bus"; exit 1; }
  DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$ROOT/bus-address")
  export DBUS_SESSION_BUS_ADDRESS
  # The installed kwin_wayland carries a file capability, and refuses to run where it cannot have it;
  # a plain copy (kwin finds its files by the program's name) runs.
  cp "$(command -v kwin_wayland)" "$DESKTOP/bin/kwin_wayland"
  local started=$SECONDS
  "${ON_DESKTOP[@]}" "$DESKTOP/bin/kwin_wayland" --x11-display "$DISPLAY" --socket wayland-kde \
    --width "$WIDTH" --height "$HEIGHT" >"$ROOT/kwin.log" 2>&1 &
  PIDS+=($!)
  wait_until 20 test -S "$DESKTOP/runtime/wayland-kde" || { echo "kwin did not start"; tail -5 "$ROOT/kwin.log"; exit 1; }
  export WAYLAND_DISPLAY="$DESKTOP/runtime/wayland-kde"
  # plasmashell refuses to load its shell without the activity manager, which the bus does not start here.
  "${ON_DESKTOP[@]}" "$ACTIVITIES" >"$ROOT/activities.log" 2>&1 &
  PIDS+=($!)
  wait_until 10 name_on_bus org.kde.ActivityManager || { echo "no activity manager"; exit 1; }
  "${ON_DESKTOP[@]}" kded5 >>"$ROOT/kded5.log" 2>&1 &
  KDED=$!
  PIDS+=($KDED)
  "${ON_DESKTOP[@]}" plasmashell --no-respawn >"$ROOT/plasmashell.log" 2>&1 &
  PIDS+=($!)
  if ! wait_until 40 watcher_has_host || ! wait_until 10 name_on_bus org.freedesktop.Notifications; then
    echo "Plasma did not start:"
    tail -n 10 "$ROOT/plasmashell.log" | sed 's/^/    | /'
    exit 1
  fi
  # The panel is drawn a moment after its tray registers.
  sleep 2
  echo "note: Plasma's panel and tray were up after $((SECONDS - started)) s"
}

# --- what the user sees -----------------------------------------------------------------------------------

# One line per window kwin manages, bottom to top: its whole title, minimised and active (true or false),
# and its frame "x,y,w,h". Menus and notices are plasmashell's windows too. A script for kwin prints them
# on kwin's output, marked so that each answer is found whole.
windows() {
  local mark="windows-$RANDOM$RANDOM" script="$ROOT/windows.js"
  cat >"$script" <<SCRIPT
try {
  workspace.clientList().sort(function (a, b) { return a.stackingOrder - b.stackingOrder; }).forEach(function (w) {
    var g = w.frameGeometry;
    print("$mark\t" + w.caption + "\t" + w.minimized + "\t" + (workspace.activeClient === w) + "\t" +
          g.x + "," + g.y + "," + g.width + "," + g.height);
  });
} catch (error) {
  print("$mark\terror " + error);
}
print("$mark\tend");
SCRIPT
  gdbus call --session -d org.kde.KWin -o /Scripting -m org.kde.kwin.Scripting.loadScript "$script" "$mark" >/dev/null &&
    gdbus call --session -d org.kde.KWin -o /Scripting -m org.kde.kwin.Scripting.start >/dev/null || return 1
  wait_until 5 grep -q "^js: $mark	end" "$ROOT/kwin.log"
  gdbus call --session -d org.kde.KWin -o /Scripting -m org.kde.kwin.Scripting.unloadScript "$mark" >/dev/null
  grep "^js: $mark	" "$ROOT/kwin.log" | cut -f2- | grep -v '^end$'
}
# "minimised active x,y,w,h" of the first window whose whole title matches (an extended regular
# expression); Qt's windows other than the main one carry the application's name after their own.
window_state() { windows | awk -F'\t' -v title="^($1)( — Velloran)?\$" '$1 ~ title {print $2, $3, $4; exit}'; }
no_window() { [ -z "$(window_state "$1")" ]; }
# The window is there and, given "shown" or "minimised" and optionally "active", in that state.
window_is() {
  local minimised active geometry
  read -r minimised active geometry < <(window_state "$1") || return 1
  case $2 in
    shown) [ "$minimised" = false ] ;;
    minimised) [ "$minimised" = true ] ;;
  esac || return 1
  [ -z "${3:-}" ] || [ "$active" = true ]
}
# The first window is above the second.
above() {
  windows | awk -F'\t' -v top="^($1)( — Velloran)?\$" -v below="^($2)( — Velloran)?\$" \
    '$1 ~ top {t = NR} $1 ~ below {b = NR} END {exit !(t && b && t > b)}'
}
show_windows() { windows | sed 's/^/    | /'; }
kde_shot() { shot "kde-$1"; }

# The program's icon: the system tray puts the item left of its own keyboard layout icon.
ICON=(1071 778)
click_icon() { xdotool mousemove "${ICON[@]}" click "$@"; }
# Something is drawn where the icon goes: the empty panel there is one flat colour.
icon_drawn() {
  local spread
  spread=$(import -window root -crop "20x20+$((ICON[0] - 10))+$((ICON[1] - 10))" +repage \
    -format '%[fx:standard_deviation]' info: 2>/dev/null)
  awk -v s="${spread:-0}" 'BEGIN {exit !(s > 0.05)}'
}

# --- the program ------------------------------------------------------------------------------------------

# Starts the program hidden: its icon in the tray and no window on screen.
start_in_tray() {
  start_app hide
  wait_until 20 registered || { echo "    no icon with the tray"; return 1; }
  wait_until 5 icon_drawn || { echo "    no icon drawn in the tray"; return 1; }
  wait_until 5 no_window Velloran || { echo "    the hidden start left the window: $(window_state Velloran)"; return 1; }
}

# Runs a case's steps in a fresh program folder, then ends the program and what the case left.
kde_case() {
  new_case "kde-$1"
  local ok=0
  "$1" || ok=1
  if [ $ok -ne 0 ]; then
    kde_shot "$1-failed"
    show_windows
  fi
  xdotool key Escape
  stop_app || ok=1
  local pid
  for pid in ${SECOND:-} ${TERMINAL:-}; do kill "$pid" 2>/dev/null; done
  SECOND=""
  TERMINAL=""
  [ -n "$KDED" ] || start_kded || ok=1
  # The icon of the program that ended leaves the tray before the next case looks for its own.
  wait_until 10 not registered || { echo "    the icon stays in the tray after the program ended"; ok=1; }
  return $ok
}

# KDE_CASES=pattern runs only the cases whose function names match.
kde_check() {
  [[ $2 =~ ${KDE_CASES:-.} ]] || return 0
  check "KDE Plasma: $1" kde_case "$2"
}

start_plasma
start_sound_server
source "$HERE/kde_cases.sh"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
