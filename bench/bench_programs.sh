# What the start-up benchmarks share: Velloran and the bare Qt window they compare it with, a headless
# session (Xvfb, openbox, trayer), a program folder of its own for each Velloran with its tasks and its
# user folders, and starting and stopping the programs. Source it with the build folder in BUILD and the
# benchmark's name in BENCH; it makes the run's folder ROOT and ends what the run started at exit.

VELLORAN="$BUILD/velloran"
BARE="$BUILD/bench/bare_qt_tray"
MAKE_TASKS="$BUILD/bench/make_task_file"
for program in "$VELLORAN" "$BARE" "$MAKE_TASKS"; do
  [ -x "$program" ] || { echo "missing $program: build first"; exit 1; }
done
for tool in Xvfb openbox trayer xprop xdotool; do
  command -v "$tool" >/dev/null || { echo "$BENCH: $tool is not installed (make deps)"; exit 1; }
done

ROOT=$(mktemp -d "/tmp/velloran-$BENCH-XXXXXX")
PIDS=()
ROUND_PIDS=()
source "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/headless_session.sh"

stop_pids() {
  for pid in "$@"; do kill "$pid" 2>/dev/null; done
  sleep 0.3
  for pid in "$@"; do kill -9 "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
}

prepare_velloran() {
  local name=$1 count=$2
  local dir="$ROOT/$name"
  mkdir -p "$dir/prog" "$dir/home" "$dir/config" "$dir/runtime"
  chmod 700 "$dir/runtime"
  cp "$VELLORAN" "$dir/prog/velloran"
  cp "$BUILD/velloran-sound.so" "$dir/prog/"
  [ -d "$BUILD/Sounds" ] && cp -r "$BUILD/Sounds" "$dir/prog/"
  "$MAKE_TASKS" "$dir/prog/tasks.tsk" "$count" || { echo "cannot write $count tasks"; exit 1; }
}

# Starts a program with the user folders of the given folder; its process id ends ROUND_PIDS.
start_in() {
  local dir=$1
  shift
  mkdir -p "$dir/home" "$dir/config" "$dir/runtime"
  chmod 700 "$dir/runtime"
  HOME="$dir/home" XDG_CONFIG_HOME="$dir/config" XDG_RUNTIME_DIR="$dir/runtime" "$@" >>"$dir/log" 2>&1 &
  ROUND_PIDS+=($!)
}

cleanup() {
  stop_pids "${ROUND_PIDS[@]}"
  stop_pids "${PIDS[@]}"
  rm -rf "$ROOT"
}
trap cleanup EXIT
