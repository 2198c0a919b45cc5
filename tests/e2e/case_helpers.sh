# What every end-to-end runner shares: a fresh program directory per case, starting and stopping the
# program, the pass and fail count. Source it after setting VELLORAN, ROOT (the run's folder), BASE_PATH,
# an array PIDS (every process the run starts, ended by cleanup) and the counters passed and failed.

# The cases compare the program's texts whole, in English: the C locale whatever the machine's, and no
# LANGUAGE list, which Qt reads before the locale.
export LC_ALL=C.UTF-8
unset LANGUAGE

cleanup() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  sleep 0.3
  for pid in "${PIDS[@]}"; do kill -9 "$pid" 2>/dev/null; done
  # KEEP_E2E_ROOT=1 keeps the run's folder (each case's program folder and logs) to look into a failure.
  [ -n "${KEEP_E2E_ROOT:-}" ] || rm -rf "$ROOT"
}

not() { ! "$@"; }

# A fresh program directory and user folders for one case; sets PROG, CASE.
new_case() {
  CASE="$ROOT/$1"
  PROG="$CASE/prog"
  mkdir -p "$PROG" "$CASE/home" "$CASE/config" "$CASE/runtime" "$CASE/bin"
  chmod 700 "$CASE/runtime"
  cp "$VELLORAN" "$PROG/velloran"
  cp "$(dirname "$VELLORAN")/velloran-sound.so" "$PROG/"
  [ -d "$(dirname "$VELLORAN")/Sounds" ] && cp -r "$(dirname "$VELLORAN")/Sounds" "$PROG/"
  cat >"$CASE/bin/xdg-open" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$@" >> "$CASE/opened.log"
SCRIPT
  chmod +x "$CASE/bin/xdg-open"
  export HOME="$CASE/home" XDG_CONFIG_HOME="$CASE/config" XDG_RUNTIME_DIR="$CASE/runtime"
  export PATH="$CASE/bin:$BASE_PATH"
}

# What the program told the user, as it wrote it to the session's log beside the window.
told() { sed 's/^velloran: //' "$CASE/velloran.log"; }

start_app() {
  "$PROG/velloran" "$@" >>"$CASE/velloran.log" 2>&1 &
  APP=$!
  PIDS+=($APP)
}

# A finished child stays a zombie until waited for, and kill -0 still reaches a zombie.
running() {
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null) && [[ $state != Z* ]]
}

# True when the command does not succeed once within the given seconds.
never_within() {
  local seconds=$1
  shift
  local end=$((SECONDS + seconds))
  while [ $SECONDS -lt "$end" ]; do
    "$@" >/dev/null 2>&1 && return 1
    sleep 0.1
  done
}

check() {
  local name=$1 began=$SECONDS
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok - $name ($((SECONDS - began)) s)"
  else
    failed=$((failed + 1))
    echo "FAIL - $name ($((SECONDS - began)) s)"
    [ -f "$CASE/velloran.log" ] && sed 's/^/    | /' "$CASE/velloran.log" | tail -n 20
  fi
}

# Fails, after killing it, when the program is still there 15 s after SIGTERM.
stop_app() {
  kill -TERM "$APP" 2>/dev/null
  # The countdown ends the program about four seconds after the close request.
  local ended=0
  wait_until 15 not running "$APP" || {
    ended=1
    echo "    velloran did not end within 15 s of SIGTERM"
    kill -9 "$APP" 2>/dev/null
  }
  wait "$APP" 2>/dev/null
  return $ended
}

# Places in the borderless windows, relative to their top left corner.
SNOOZE_BT=(164 212)
TURN_OFF_BT=(160 108)
MEMO_CLOSE=(371 35)

# Everything in TYPED, the words a case typed into a terminal running `cat > typed.txt` in the case's
# folder, reached that file (the shell's `$(...)` drops the last line break).
typed_text_arrived() { [ "$(cat "$CASE/typed.txt" 2>/dev/null)" = "${TYPED%$'\n'}" ]; }

# A stretch of a case, such as a tray that goes and comes back: gap_begin, then gap_end MOST fails when
# the program ended, used a second of CPU or more, or made more than MOST window requests meanwhile (its
# own, in the velloran.window log category, and the set_minimized requests that WAYLAND_DEBUG=client shows
# on the wire). Start the program with those logs on: with_gap_logs start_app ...
with_gap_logs() { QT_LOGGING_RULES=velloran.window.debug=true WAYLAND_DEBUG=client "$@"; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
gap_begin() {
  GAP_CPU=$(cpu_ticks "$APP")
  GAP_LINES=$(grep -c '' "$CASE/velloran.log")
}
gap_end() {
  running "$APP" || { echo "    the program ended"; return 1; }
  local hz cpu asked wire
  hz=$(getconf CLK_TCK)
  cpu=$(($(cpu_ticks "$APP") - GAP_CPU))
  asked=$(tail -n +$((GAP_LINES + 1)) "$CASE/velloran.log" | grep -cE '^velloran: debug: velloran\.window: (hide|minimise|show)$')
  wire=$(tail -n +$((GAP_LINES + 1)) "$CASE/velloran.log" | grep -c 'set_minimized')
  echo "    note: over the gap $((cpu * 1000 / hz)) ms of CPU, $asked window requests, $wire set_minimized"
  [ "$cpu" -lt "$hz" ] && [ "$asked" -le "$1" ] && [ "$wire" -le "$1" ]
}
