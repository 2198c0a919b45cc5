# What every end-to-end runner shares: a case's own program directory and folders, the program's life,
# and the count of checks. Source it; set ROOT, VELLORAN, BASE_PATH, passed=0, failed=0 and an array PIDS
# first.

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
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok - $name"
  else
    failed=$((failed + 1))
    echo "FAIL - $name"
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
