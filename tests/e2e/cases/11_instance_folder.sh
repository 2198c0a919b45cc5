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
