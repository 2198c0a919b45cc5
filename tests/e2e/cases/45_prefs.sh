# Preferences, splash and start at logon: the splash's four seconds on a normal start and none on a
# hidden one, the long date display widening the list as soon as Preferences closes, the autostart entry
# that starts the program hidden, and the tray's Preferences item that does nothing while its own window
# is open.

# Places in the Preferences window, relative to its top left corner, a little inside each control.
STARTUP_ON_RB=(46 64)
STARTUP_OFF_RB=(110 64)
DISPLAY_LONG_RB=(30 232)
# In the main window: the list's first two rows (clicks alternate between them, as two clicks on one
# place would make a double click that opens the editor), a place inside "Date & Time" whatever the
# display, and the first place of the "Task" column.
PREFS_ROWS=(108 126)
DATE_INSIDE_X=300
TASK_COLUMN_X=101

PREFS_APP=""
PREFS_MAIN=""

now_ms() { date +%s%3N; }

prefs_click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.15
}

open_preferences_from_menu() {
  xdotool windowactivate --sync "$PREFS_MAIN" 2>/dev/null
  press "$PREFS_MAIN" alt+f
  sleep 0.3
  xdotool key p
  wait_until 5 visible_window '^Preferences$' || { echo "    the File menu opened no Preferences"; return 1; }
  PREFS_WINDOW=$(window_id '^Preferences$')
}

save_preferences() {
  press "$PREFS_WINDOW" alt+s
  wait_until 5 not visible_window '^Preferences$' || { echo "    Save left Preferences open"; return 1; }
}

# The text of the list cell at x in the given row (1 or 2), copied with Ctrl+C.
cell_text() {
  prefs_click "$PREFS_MAIN" "$1" "${PREFS_ROWS[$2 - 1]}"
  xdotool key --clearmodifiers ctrl+c
  sleep 0.1
  clipboard
}

# Measures "Date & Time" with clicks along the rows: the first place whose cell is the row's date, by
# halving the distance from the Task column, and then whether the width given ends the column exactly.
# Sets DATE_TEXT to the first row's date.
date_column_is() {
  local width=$1 dates=() row
  for row in 1 2; do dates+=("$(cell_text "$DATE_INSIDE_X" "$row")"); done
  DATE_TEXT=${dates[0]}
  [[ $DATE_TEXT == *[0-9]" - "[0-9]* ]] || { echo "    no date at x $DATE_INSIDE_X: '$DATE_TEXT'"; return 1; }
  local outside=$TASK_COLUMN_X inside=$DATE_INSIDE_X probe=0 middle
  [ "$(cell_text "$outside" 2)" != "${dates[1]}" ] || { echo "    x $outside is inside the date"; return 1; }
  while [ $((inside - outside)) -gt 1 ]; do
    middle=$(((inside + outside) / 2))
    row=$((probe % 2 + 1))
    probe=$((probe + 1))
    if [ "$(cell_text "$middle" "$row")" = "${dates[row - 1]}" ]; then inside=$middle; else outside=$middle; fi
  done
  local last=$((inside + width - 1))
  if [ "$(cell_text "$last" 1)" != "${dates[0]}" ] || [ "$(cell_text $((last + 1)) 2)" = "${dates[1]}" ]; then
    echo "    \"Date & Time\" starts at x $inside but does not end at x $last (width $width)"
    return 1
  fi
}

case_splash_before_main_window() {
  # A blank in the program directory's name, which the autostart entry must keep.
  new_case "prefs logon"
  "$TOOL" write "$PROG/tasks.tsk" \
    7 /tmp/first +86400 0 1 'First task' -- \
    7 /tmp/second +172800 0 1 'Second task' || return 1
  local started shown closed
  started=$(now_ms)
  start_app
  PREFS_APP=$APP
  wait_until 10 visible_window '^SplashForm$' || { echo "    no splash"; return 1; }
  shown=$(now_ms)
  visible_window '^Velloran$' && { echo "    the main window shows beside the splash"; return 1; }
  # shellcheck disable=SC2034 # the eval sets all six
  local WINDOW X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$(window_id '^SplashForm$')")"
  [ "${WIDTH}x$HEIGHT" = 416x355 ] || { echo "    the splash is ${WIDTH}x$HEIGHT"; return 1; }
  wait_until 10 visible_window '^Velloran$' || { echo "    no main window after the splash"; return 1; }
  closed=$(now_ms)
  visible_window '^SplashForm$' && { echo "    the splash stays beside the main window"; return 1; }
  PREFS_MAIN=$(window_id '^Velloran$')
  echo "    the splash showed $((shown - started)) ms after the start, for $((closed - shown)) ms"
  [ $((closed - shown)) -ge 3000 ] && [ $((closed - shown)) -le 6000 ]
}

case_long_date_display_widens_column() {
  [ -n "$PREFS_APP" ] && running "$PREFS_APP" && [ -n "$PREFS_MAIN" ] || return 1
  xdotool windowactivate --sync "$PREFS_MAIN" 2>/dev/null
  date_column_is 115 || return 1
  [[ $DATE_TEXT =~ ^[0-9]{2}/[0-9]{2}/[0-9]{2}\ -\ [0-9]{2}:[0-9]{2}(am|pm)$ ]] ||
    { echo "    the short display shows '$DATE_TEXT'"; return 1; }
  open_preferences_from_menu || return 1
  shot preferences-from-file-menu "$PREFS_WINDOW"
  prefs_click "$PREFS_WINDOW" "${DISPLAY_LONG_RB[@]}"
  save_preferences || return 1
  xdotool windowactivate --sync "$PREFS_MAIN" 2>/dev/null
  shot main-window-long-date "$PREFS_MAIN"
  date_column_is 160 || return 1
  [[ $DATE_TEXT =~ ^[A-Z][a-z]+,\ [A-Z][a-z]+\ [0-9]{2},\ [0-9]{4}\ -\ [0-9]{2}:[0-9]{2}\ (am|pm)$ ]] ||
    { echo "    the long display shows '$DATE_TEXT'"; return 1; }
}

# The words of a desktop entry's Exec value, split as a launcher does: the value's escapes first (\s \n
# \t \r \\), then double quotes, inside which \" \` \$ and \\ stand for the character; "%%" is "%", and
# any other field code fails, as a launcher would put something in its place. Sets EXEC_WORDS.
exec_words() {
  local value=$1 text="" i c
  for ((i = 0; i < ${#value}; i++)); do
    c=${value:i:1}
    if [ "$c" = $'\\' ] && [ $((i + 1)) -lt ${#value} ]; then
      i=$((i + 1))
      case ${value:i:1} in
        s) text+=' ' ;;
        n) text+=$'\n' ;;
        t) text+=$'\t' ;;
        r) text+=$'\r' ;;
        $'\\') text+=$'\\' ;;
        *) text+="\\${value:i:1}" ;;
      esac
    else
      text+=$c
    fi
  done
  EXEC_WORDS=()
  local word="" in_word=0 quoted=0
  for ((i = 0; i < ${#text}; i++)); do
    c=${text:i:1}
    if [ "$c" = % ]; then
      [ "${text:i+1:1}" = % ] || return 1
      i=$((i + 1))
      word+=%
      in_word=1
    elif [ $quoted = 1 ]; then
      if [ "$c" = '"' ]; then
        quoted=0
      elif [ "$c" = $'\\' ]; then
        case ${text:i+1:1} in '"' | '`' | '$' | $'\\') i=$((i + 1)) ;; esac
        word+=${text:i:1}
      else
        word+=$c
      fi
    elif [ "$c" = '"' ]; then
      quoted=1
      in_word=1
    elif [ "$c" = ' ' ] || [ "$c" = $'\t' ]; then
      [ $in_word = 1 ] && EXEC_WORDS+=("$word")
      word=""
      in_word=0
    else
      word+=$c
      in_word=1
    fi
  done
  [ $quoted = 0 ] || return 1
  [ $in_word = 0 ] || EXEC_WORDS+=("$word")
}

case_start_at_logon_entry_starts_hidden() {
  [ -n "$PREFS_APP" ] && running "$PREFS_APP" && [ -n "$PREFS_MAIN" ] || return 1
  local entry="$XDG_CONFIG_HOME/autostart/velloran.desktop"
  [ ! -e "$entry" ] || { echo "    an entry before Preferences"; return 1; }
  open_preferences_from_menu || return 1
  prefs_click "$PREFS_WINDOW" "${STARTUP_ON_RB[@]}"
  save_preferences || return 1
  [ -f "$entry" ] || { echo "    no $entry"; return 1; }
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || return 1
  else
    echo "    note: desktop-file-validate is not installed; the entry is not validated"
  fi
  local exec_value
  exec_value=$(awk '/^\[/ {group = $0} group == "[Desktop Entry]" && /^Exec=/ {sub(/^Exec=/, ""); print; exit}' "$entry")
  exec_words "$exec_value" || { echo "    a launcher cannot split Exec=$exec_value"; return 1; }
  if [ ${#EXEC_WORDS[@]} -ne 2 ] || [ "${EXEC_WORDS[0]}" != "$PROG/velloran" ] || [ "${EXEC_WORDS[1]}" != hide ]; then
    echo "    Exec=$exec_value gives ${#EXEC_WORDS[@]} words: ${EXEC_WORDS[*]}"
    return 1
  fi
  APP=$PREFS_APP
  stop_app
  PREFS_APP=""
  # The program as the desktop starts it at logon.
  "${EXEC_WORDS[@]}" >>"$CASE/velloran.log" 2>&1 &
  APP=$!
  PIDS+=("$APP")
  PREFS_APP=$APP
  never_within 3 visible_window '^SplashForm$' || { echo "    a splash on the hidden start"; return 1; }
  running "$APP" || { echo "    the program ended"; return 1; }
  visible_window '^Velloran$' && { echo "    the main window shows"; return 1; }
  shot logon-start-in-tray
  # The tray icon is there: its menu's "Open Task Scheduler" brings the main window.
  tray_menu_by_click || return 1
  choose_in_menu o || return 1
  wait_until 5 visible_window '^Velloran$' || { echo "    the tray menu brought no main window"; return 1; }
  PREFS_MAIN=$(window_id '^Velloran$')
  press "$PREFS_MAIN" alt+r
  wait_until 5 not visible_window '^Velloran$'
}

case_start_at_logon_off_from_tray() {
  [ -n "$PREFS_APP" ] && running "$PREFS_APP" || return 1
  local entry="$XDG_CONFIG_HOME/autostart/velloran.desktop"
  [ -f "$entry" ] || return 1
  tray_menu_by_click || return 1
  choose_in_menu p || return 1
  wait_until 5 visible_window '^Preferences$' || { echo "    the tray menu opened no Preferences"; return 1; }
  PREFS_WINDOW=$(window_id '^Preferences$')
  shot preferences-from-tray "$PREFS_WINDOW"
  prefs_click "$PREFS_WINDOW" "${STARTUP_OFF_RB[@]}"
  save_preferences || return 1
  [ ! -e "$entry" ] || { echo "    Off left $entry"; return 1; }
}

check "a normal start shows the 416 x 355 splash for about four seconds, then the main window" \
  case_splash_before_main_window
check "the long date display saved in Preferences widens \"Date & Time\" from 115 to 160 at once" \
  case_long_date_display_widens_column
check "start at logon On writes a valid autostart entry whose Exec starts the program hidden, no splash" \
  case_start_at_logon_entry_starts_hidden
check "start at logon Off, from the tray's Preferences, removes the autostart entry" \
  case_start_at_logon_off_from_tray
if [ -n "$PREFS_APP" ]; then
  APP=$PREFS_APP
  stop_app
fi

# The tray's own Preferences item while its window is open, on a panel that speaks D-Bus (the XEmbed
# tray's guards are in the tray cases).
case_tray_preferences_guard() {
  new_case prefs-tray-guard
  start_sni_panel
  case $? in
  0) ;;
  2)
    echo "    note: no dbus-daemon or sni_watcher; the tray's guard is not checked"
    return 0
    ;;
  *)
    stop_sni_panel
    return 1
    ;;
  esac
  local ok=0
  tray_guard_steps || ok=1
  [ -n "${APP:-}" ] && running "$APP" && stop_app
  stop_sni_panel
  return $ok
}

tray_guard_steps() {
  start_app hide
  sni_item >/dev/null || { echo "    no tray icon on the bus"; return 1; }
  # The main window shows for a moment before the hidden start sends it to the tray.
  sleep 1
  wait_until 5 not visible_window '^Velloran$' || { echo "    the main window stays"; return 1; }
  local item
  item=$(sni_item)
  xdotool mousemove 900 500
  tray_menu_over_dbus "$item" || return 1
  choose_in_menu p || return 1
  wait_until 5 visible_window '^Preferences$' || { echo "    the tray menu opened no Preferences"; return 1; }
  local preferences
  preferences=$(window_id '^Preferences$')
  # The menu comes again while the window is open; its Preferences item is taken and does nothing.
  tray_menu_over_dbus "$item" || return 1
  shot tray-menu-over-preferences
  choose_in_menu p || return 1
  sleep 1
  local count
  count=$(search_windows --onlyvisible --name '^Preferences$' | wc -l)
  [ "$count" -eq 1 ] || { echo "    $count Preferences windows"; return 1; }
  # Closing the one window leaves none: nothing was queued behind it.
  press "$preferences" alt+c
  wait_until 5 not visible_window '^Preferences$' || { echo "    Cancel left Preferences open"; return 1; }
  never_within 1 visible_window '^Preferences$' || { echo "    a second Preferences came after the first"; return 1; }
}

check "the tray's Preferences item does nothing while the tray's own Preferences window is open" \
  case_tray_preferences_guard
