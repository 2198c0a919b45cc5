# Time zones: a zone changed while Velloran runs counts from the next scan. As root, the case gives the
# program a private /etc/localtime (a zone file bind-mounted in a mount namespace of its own) and swaps it.

zone_namespace_possible() { [ "$(id -u)" = 0 ] && unshare -m --propagation private true 2>/dev/null; }
# The process has entered a mount namespace other than this shell's.
own_mount_namespace() { [ "$(readlink "/proc/$1/ns/mnt")" != "$(readlink /proc/self/ns/mnt)" ]; }

case_zone_change_takes_effect() {
  new_case zone-change
  # Ten hours behind UTC at the start, five ahead after the change.
  local old_zone=/usr/share/zoneinfo/Etc/GMT+10 new_zone=/usr/share/zoneinfo/Etc/GMT-5
  [ -f "$old_zone" ] && [ -f "$new_zone" ] || { echo "    | no zone files"; return 1; }
  # Due 8 s from now on the new zone's clock: 15 hours ahead on the old zone's.
  TZ=Etc/GMT-5 "$TOOL" write "$PROG/tasks.tsk" 7 "$CASE/zone.txt" +8 0 1 || { echo "    | no task file"; return 1; }
  unshare -m --propagation private sleep 300 &
  local holder=$!
  PIDS+=($holder)
  wait_until 10 own_mount_namespace "$holder" || { echo "    | no mount namespace"; return 1; }
  nsenter -t "$holder" -m mount --bind "$old_zone" /etc/localtime || { echo "    | cannot mount the zone"; return 1; }
  (unset TZ && exec nsenter -t "$holder" -m -- "$PROG/velloran" hide) >>"$CASE/velloran.log" 2>&1 &
  APP=$!
  PIDS+=($APP)
  # The main window exists (hidden), so its scan runs: one tick at least on the old zone, not due.
  wait_until 20 bash -c "xdotool search --pid $APP --name '^Velloran\$' | grep -q ." ||
    { echo "    | no main window"; stop_app; return 1; }
  sleep 6
  local result=0
  [ ! -s "$CASE/opened.log" ] || { echo "    | ran on the old zone"; result=1; }
  nsenter -t "$holder" -m mount --bind "$new_zone" /etc/localtime || result=1
  local switched=$SECONDS
  if wait_until 10 grep -qxF "$CASE/zone.txt" "$CASE/opened.log"; then
    echo "    | ran $((SECONDS - switched)) s after the zone change"
  else
    echo "    | not run 10 s after the change"
    result=1
  fi
  stop_app
  kill "$holder" 2>/dev/null
  wait "$holder" 2>/dev/null
  return $result
}
if zone_namespace_possible; then
  check "a task due in a zone that /etc/localtime changed to runs within 10 s of the change" case_zone_change_takes_effect
else
  echo "note: not root or no mount namespaces; the time-zone case is skipped"
fi
