# What the start-up benchmarks share: a program folder of its own for each Velloran, with its tasks and
# its user folders, and starting and stopping the programs they compare. Source it after setting BUILD,
# VELLORAN, MAKE_TASKS, ROOT and an array ROUND_PIDS.

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
