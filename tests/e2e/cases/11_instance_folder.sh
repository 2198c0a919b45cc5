# One instance, safely: without XDG_RUNTIME_DIR the lock lives in the shared temporary folder, where
# another local user may have made its name first. An ordinary user (nobody) runs the program there;
# root stands in for the other user.

# Runs the program as nobody, with TMPDIR and the cache folder given and no runtime folder.
start_app_as_nobody() {
  (cd / && exec setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups --reset-env -- \
    env HOME="$HOME" XDG_CONFIG_HOME="$XDG_CONFIG_HOME" XDG_CACHE_HOME="$HOME/.cache" TMPDIR="$CASE/tmp" \
    DISPLAY="$DISPLAY" PATH="$PATH" "$PROG/velloran" hide) >>"$CASE/velloran.log" 2>&1 &
  APP=$!
  PIDS+=($APP)
}

# A case folder that nobody may use, with a shared temporary folder like /tmp.
prepare_for_nobody() {
  chmod 711 "$ROOT"
  chmod 755 "$CASE" "$PROG"
  mkdir -p "$CASE/tmp" "$HOME/.cache"
  chmod 1777 "$CASE/tmp"
  chown -R nobody "$CASE/home" "$CASE/config"
  SHARED="$CASE/tmp/velloran-$(id -u nobody)"
}

# The program started: its lock is in nobody's own cache folder, closed to others.
started_with_own_lock() {
  wait_until 15 test -e "$HOME/.cache/velloran/velloran.lock" || { echo "    no lock in the cache folder"; return 1; }
  [ "$(stat -c '%U %a' "$HOME/.cache/velloran")" = "nobody 700" ] || { echo "    cache folder not private"; return 1; }
  sleep 1
  running "$APP" || { echo "    the program did not keep running"; return 1; }
}

case_planted_link() {
  command -v setpriv >/dev/null || { echo "    note: skipped, setpriv not installed"; return 0; }
  new_case planted-link
  prepare_for_nobody
  # The link points at the victim's own home folder, open for reading.
  chmod 755 "$HOME"
  ln -s "$HOME" "$SHARED"
  start_app_as_nobody
  local ok=0
  started_with_own_lock || ok=1
  stop_app || ok=1
  [ "$(stat -c '%U %a' "$HOME")" = "nobody 755" ] || { echo "    the home folder was changed"; ok=1; }
  [ "$(readlink "$SHARED")" = "$HOME" ] || { echo "    the link was changed"; ok=1; }
  [ ! -e "$HOME/velloran.lock" ] && [ ! -e "$HOME/velloran.socket" ] || { echo "    files in the home folder"; ok=1; }
  return $ok
}
check "another user's link in the temporary folder: nothing of theirs changed, the program starts" case_planted_link

case_planted_folder() {
  command -v setpriv >/dev/null || { echo "    note: skipped, setpriv not installed"; return 0; }
  new_case planted-folder
  prepare_for_nobody
  # Another user's folder, open to all, with a lock that names a live process called velloran.
  mkdir -p "$CASE/decoy"
  cp "$(command -v sleep)" "$CASE/decoy/velloran"
  "$CASE/decoy/velloran" 120 &
  local decoy=$!
  PIDS+=($decoy)
  mkdir "$SHARED"
  printf '%s\nvelloran\n%s\n' "$decoy" "$(hostname)" >"$SHARED/velloran.lock"
  chmod 777 "$SHARED"
  local before
  before=$(stat -c "%U %a %Y" "$SHARED" && cd "$SHARED" && ls -lA --time-style=+%s && md5sum velloran.lock)
  start_app_as_nobody
  local ok=0
  started_with_own_lock || ok=1
  stop_app || ok=1
  kill "$decoy"
  [ "$(stat -c "%U %a %Y" "$SHARED" && cd "$SHARED" && ls -lA --time-style=+%s && md5sum velloran.lock)" = "$before" ] ||
    { echo "    the other user's folder was changed"; ok=1; }
  return $ok
}
check "another user's folder with a live lock in the temporary folder: left as it was, the program starts" \
  case_planted_folder

# A crash or a power cut while the lock file was written leaves it empty or half written. The lock is
# the kernel's, held by the running program (flock(1) sees it), so such a file never stops a start;
# the lock then stops the next one, and it ends with the program, even by kill -9.
holds_lock() { ! flock -n "$1" true; }
# A look with flock(1) while the program starts could take the lock from under it: wait first for its
# socket, which it makes once it holds the lock.
serving() { [ -S "$1" ]; }

case_crashed_lock() {
  new_case crashed-lock
  local lock="$XDG_RUNTIME_DIR/velloran/velloran.lock" ok=0
  mkdir -m 700 "$XDG_RUNTIME_DIR/velloran"
  : >"$lock"
  start_app hide
  local first=$APP
  wait_until 15 serving "${lock%.lock}.socket" && holds_lock "$lock" ||
    { echo "    an empty lock file stopped the start"; stop_app; return 1; }
  start_app
  local second=$APP
  wait_until 15 visible_window '^Application running$' || { echo "    the second start was not refused"; ok=1; }
  press "$(window_id '^Application running$')" Escape
  wait_until 10 not running "$second"
  wait "$second"
  [ $? -eq 255 ] || { echo "    the second start did not end with 255"; ok=1; }
  kill -9 "$first"
  wait "$first" 2>/dev/null
  holds_lock "$lock" && { echo "    the lock outlived its program"; ok=1; }
  # What a killed run left in the file is no matter either.
  printf '999999\nvelloran\n%s\n' "$(hostname)" >"$lock"
  # (The killed run's socket is taken away, so that a new one shows that the start got this far.)
  rm -f "${lock%.lock}.socket"
  start_app hide
  wait_until 15 serving "${lock%.lock}.socket" && holds_lock "$lock" ||
    { echo "    a killed run's lock file stopped the start"; ok=1; }
  kill -9 "$APP"
  wait "$APP" 2>/dev/null
  return $ok
}
check "an empty lock file left by a crash does not stop a start; a running program's lock does" case_crashed_lock

# The fallback folder in the user's cache is on the disk, so its lock file outlives a power cut.
case_crashed_lock_on_disk() {
  command -v setpriv >/dev/null || { echo "    note: skipped, setpriv not installed"; return 0; }
  new_case crashed-lock-on-disk
  prepare_for_nobody
  # Another user holds the temporary folder's name, so the cache folder serves.
  mkdir -m 755 "$SHARED"
  mkdir -p -m 700 "$HOME/.cache/velloran"
  printf '\0\0\0\0' >"$HOME/.cache/velloran/velloran.lock"
  chown -R nobody "$HOME/.cache"
  start_app_as_nobody
  local first=$APP ok=0
  wait_until 15 serving "$HOME/.cache/velloran/velloran.socket" && holds_lock "$HOME/.cache/velloran/velloran.lock" ||
    { echo "    the damaged lock file stopped the start"; ok=1; }
  start_app_as_nobody
  local second=$APP
  wait_until 15 visible_window '^Application running$' || { echo "    the second start was not refused"; ok=1; }
  press "$(window_id '^Application running$')" Escape
  wait_until 10 not running "$second" || ok=1
  kill -9 "$first"
  wait "$first" 2>/dev/null
  return $ok
}
check "a damaged lock file in the cache folder does not stop a start; a running program's lock does" \
  case_crashed_lock_on_disk
