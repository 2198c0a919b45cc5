# Installed Velloran: `make install` into a temporary HOME started from its desktop entry, and the Debian
# package unpacked into a throwaway root and run by an ordinary user, whose tasks then go to the data folder.
# "&Help" shows the manual in both: the HTML pages when no help viewer is registered, else Velloran.chm.

BUILD_DIR=$(dirname "$VELLORAN")
SOURCE_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)

# A stand-in for xdg-mime: prints the given answer to "query default" and records what it was asked.
fake_xdg_mime() {
  cat >"$CASE/bin/xdg-mime" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$*" >> "$CASE/xdg-mime.log"
printf '%s' "$1"
SCRIPT
  chmod 755 "$CASE/bin/xdg-mime"
}

opened_count() { [ -f "$CASE/opened.log" ] && wc -l <"$CASE/opened.log" || echo 0; }

# Opens the Help menu with alt+h and chooses its first item, "&Help", by its access key.
choose_help() {
  local window=$1 before
  before=$(opened_count)
  press "$window" alt+h
  sleep 0.4
  xdotool key --clearmodifiers h
  wait_until 5 bash -c "[ \$(wc -l < '$CASE/opened.log' 2>/dev/null || echo 0) -gt $before ]" &&
    tail -n 1 "$CASE/opened.log"
}

# The Exec line of a desktop entry as words, the way a desktop splits it (no field codes are used).
desktop_exec() { sed -n 's/^Exec=//p' "$1" | head -n 1; }

case_make_install() {
  new_case make-install
  [ -f "$BUILD_DIR/cmake_install.cmake" ] || { echo "note: skipped, $BUILD_DIR has no install rules"; return 0; }
  local prefix="$HOME/.local"
  export XDG_DATA_HOME="$CASE/data" # a fallback to the data folder would show up here
  cmake --install "$BUILD_DIR" --strip --prefix "$prefix" >"$CASE/install.log" 2>&1 || return 1
  bash "$SOURCE_DIR/scripts/install-record.sh" save "$BUILD_DIR/install_manifest.txt" "$prefix" >>"$CASE/install.log" || return 1
  local folder="$prefix/share/velloran/"
  [ -x "$folder/velloran" ] && [ -d "$folder/Sounds" ] && [ -f "$folder/manual/index.html" ] || return 1
  "$TOOL" write "$folder/tasks.tsk" 3 https://example.org/missed -3600 0 1 -- 7 /tmp/due-now +1 0 1 -- \
    7 /tmp/later +86400 0 1 || return 1

  local exec_line
  exec_line=$(desktop_exec "$prefix/share/applications/velloran.desktop")
  [ "$exec_line" = "$prefix/bin/velloran" ] || { echo "    Exec=$exec_line"; return 1; }
  (cd / && exec "$exec_line") >>"$CASE/velloran.log" 2>&1 &
  APP=$!
  PIDS+=($APP)
  wait_until 15 visible_window '^Velloran$' || { stop_app; return 1; }
  local window
  window=$(window_id '^Velloran$')
  shot installed-main-window "$window"
  # The first scan has run when the task due now reached xdg-open.
  wait_until 15 grep -qx /tmp/due-now "$CASE/opened.log" || { stop_app; return 1; }

  fake_xdg_mime ""
  local first second
  first=$(choose_help "$window")
  fake_xdg_mime "xchm.desktop"
  second=$(choose_help "$window")
  stop_app
  [ "$first" = "${folder}manual/index.html" ] || { echo "    Help opened '$first'"; return 1; }
  [ "$second" = "${folder}Velloran.chm" ] || { echo "    Help opened '$second'"; return 1; }
  grep -qx "query default application/vnd.ms-htmlhelp" "$CASE/xdg-mime.log" || return 1

  # Saved in the program directory: the missed task was disabled there, nothing went to the data folder.
  "$TOOL" dump "$folder/tasks.tsk" | awk '$3=="https://example.org/missed" && $6==0 {f=1} END {exit !f}' || return 1
  [ ! -e "$CASE/data/velloran" ] || return 1
  ! grep -q missed "$CASE/opened.log" || return 1

  # Uninstall removes what was installed and keeps the tasks (with the lock file that goes with them).
  bash "$SOURCE_DIR/scripts/install-record.sh" remove "$prefix" >>"$CASE/install.log" || return 1
  unset XDG_DATA_HOME
  [ -f "$folder/tasks.tsk" ] && [ ! -e "$folder/velloran" ] && [ ! -e "$prefix/bin/velloran" ] &&
    [ ! -e "$prefix/share/applications/velloran.desktop" ] &&
    [ -z "$(find "$prefix" -type f ! -name tasks.tsk ! -name tasks.tsk.lock)" ]
}
check "make install: the desktop entry's Exec starts it, Help shows the manual, tasks stay in the program directory, uninstall keeps them" case_make_install

case_debian_package() {
  new_case debian-package
  local tool
  for tool in cpack dpkg-deb dpkg-shlibdeps setpriv; do
    command -v "$tool" >/dev/null || { echo "note: skipped, $tool not installed"; return 0; }
  done
  [ -f "$BUILD_DIR/CPackConfig.cmake" ] || { echo "note: skipped, no package configuration"; return 0; }
  cpack --config "$BUILD_DIR/CPackConfig.cmake" -G DEB -B "$CASE/package" >"$CASE/cpack.log" 2>&1 || return 1
  local deb
  deb=$(ls "$CASE"/package/velloran_*.deb) || return 1
  dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || return 1
  dpkg -x "$deb" "$CASE/root" || return 1

  # The program directory is the system's; an ordinary user (nobody) runs the program and cannot write there.
  local exe folder user=nobody
  exe=$(readlink -f "$CASE/root/usr/bin/velloran")
  folder="$(dirname "$exe")/"
  [ -d "$folder/Sounds" ] && [ -f "$folder/manual/index.html" ] || return 1
  "$TOOL" write "$folder/tasks.tsk" 3 https://example.org/missed -3600 0 1 -- 7 /tmp/due-now +1 0 1 -- \
    7 /tmp/later +86400 0 1 || return 1
  local before
  before=$(md5sum <"$folder/tasks.tsk")
  chmod 711 "$ROOT"
  chmod 755 "$CASE"
  touch "$CASE/opened.log"
  chown -R "$user" "$CASE/home" "$CASE/config" "$CASE/runtime" "$CASE/opened.log"
  fake_xdg_mime ""
  touch "$CASE/xdg-mime.log" && chown "$user" "$CASE/xdg-mime.log"

  local exec_line
  exec_line=$(desktop_exec "$CASE/root/usr/share/applications/velloran.desktop")
  [ "$exec_line" = /usr/bin/velloran ] || return 1
  # The entry names /usr/bin/velloran; in the throwaway root that is the unpacked launcher.
  (cd / && exec setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups --reset-env -- \
    env HOME="$HOME" XDG_CONFIG_HOME="$XDG_CONFIG_HOME" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" DISPLAY="$DISPLAY" \
    PATH="$PATH" "$CASE/root$exec_line") >>"$CASE/velloran.log" 2>&1 &
  APP=$!
  PIDS+=($APP)
  wait_until 15 visible_window '^Velloran$' || { stop_app; return 1; }
  local window opened
  window=$(window_id '^Velloran$')
  wait_until 15 grep -qx /tmp/due-now "$CASE/opened.log" || { stop_app; return 1; }
  opened=$(choose_help "$window")
  shot package-main-window "$window"
  stop_app
  [ "$opened" = "${folder}manual/index.html" ] || { echo "    Help opened '$opened'"; return 1; }

  # The tasks went to the user's data folder, made for them and started from the program directory's file.
  local data="$HOME/.local/share/velloran"
  [ "$(stat -c '%U %a' "$data")" = "$user 700" ] || return 1
  "$TOOL" dump "$data/tasks.tsk" | awk '$3=="https://example.org/missed" && $6==0 {m=1} $3=="/tmp/due-now" && $6==0 {d=1}
      $3=="/tmp/later" && $6==1 {l=1} END {exit !(m && d && l)}' ||
    return 1
  [ "$(md5sum <"$folder/tasks.tsk")" = "$before" ]
}
check "Debian package run by an ordinary user: tasks saved in the data folder, the read-only program directory untouched, Help shows the manual" case_debian_package
