# The cases on KDE Plasma, each judged by what the user sees: kwin's state of each window, the icon in
# the tray and a screenshot. Sourced by kde.sh, which provides the session and its helpers.

click_restores() {
  start_in_tray || return 1
  kde_shot click-restores-before
  click_icon 1
  wait_until 10 window_is Velloran shown active || { echo "    a click on the icon left '$(window_state Velloran)'"; return 1; }
  sleep 0.5
  kde_shot click-restores
}

# kded5, which holds the StatusNotifier watcher, ends and starts again with the window in the tray: the
# window is minimised meanwhile, and goes back into the tray with the icon.
kded_restart() {
  with_gap_logs start_in_tray || return 1
  gap_begin
  stop_kded
  wait_until 10 window_is Velloran minimised || { echo "    without the tray the window is '$(window_state Velloran)'"; return 1; }
  kde_shot kded-gone
  sleep 2
  start_kded || return 1
  wait_until 10 registered || { echo "    no icon with the tray that came back"; return 1; }
  wait_until 5 no_window Velloran || { echo "    the window is '$(window_state Velloran)', not back in the tray"; return 1; }
  wait_until 5 icon_drawn || { echo "    no icon drawn in the tray that came back"; return 1; }
  kde_shot kded-back
  gap_end 4
}

# The place "x y w h" of the first window with the given title whose frame is no wider than the given
# width: plasmashell's menus have no title, its notices the title "Plasma" like its panel.
popup_place() {
  windows | awk -F'\t' -v title="$1" -v most="$2" '$1 == title {
    split($4, g, ","); if (g[3] <= most && g[4] >= 60) {print g[1], g[2], g[3], g[4]; found = 1; exit}}
    END {exit !found}'
}

# The menu from a right click on the icon: plasmashell draws it from the menu the program exports, and
# its "Preferences" (below two items and a separator) opens Preferences.
tray_menu() {
  start_in_tray || return 1
  click_icon 3
  wait_until 5 popup_place '' 400 || { echo "    a right click on the icon opened no menu"; return 1; }
  local x y w h
  read -r x y w h < <(popup_place '' 400)
  sleep 0.5
  kde_shot tray-menu
  # Eight items (three of them separators), not a stub or a tooltip.
  [ "$h" -ge 140 ] || { echo "    the menu is ${w}x$h, too small for its items"; return 1; }
  xdotool mousemove $((x + w / 3)) $((y + 75)) click 1
  wait_until 10 window_is Preferences shown active || { echo "    Preferences: '$(window_state Preferences)'"; return 1; }
  no_window '' || { echo "    the menu stays open"; return 1; }
  sleep 0.5
  kde_shot preferences-from-tray-menu
  xdotool key alt+c
  wait_until 5 no_window Preferences || { echo "    Cancel left Preferences open"; return 1; }
}

# A second start typed into a terminal that covers the window: Enter on its question brings the running
# program's window in front of the terminal, active, and the second start ends.
second_start() {
  start_app
  wait_until 20 window_is Velloran shown active || { echo "    the main window is '$(window_state Velloran)'"; return 1; }
  ln -s "$PROG/velloran" "$CASE/bin/velloran"
  (cd "$CASE" && exec weston-terminal --shell=/bin/sh >>"$CASE/terminal.log" 2>&1) &
  TERMINAL=$!
  PIDS+=($TERMINAL)
  wait_until 10 window_is 'Wayland Terminal' shown active || { echo "    no terminal: $(window_state 'Wayland Terminal')"; return 1; }
  above 'Wayland Terminal' Velloran || { echo "    the terminal opened behind the window"; return 1; }
  sleep 0.5
  xdotool type --delay 30 'velloran 2>>second.log'
  xdotool key Return
  wait_until 15 window_is 'Application running' shown active ||
    { echo "    the question is '$(window_state 'Application running')'"; return 1; }
  sleep 0.5
  kde_shot second-start-question
  xdotool key Return
  wait_until 10 no_window 'Application running' || { echo "    Enter left the question open"; return 1; }
  wait_until 5 window_is Velloran shown active || { echo "    the window is '$(window_state Velloran)', not active"; return 1; }
  above Velloran 'Wayland Terminal' || { echo "    the window stays behind the terminal"; return 1; }
  sleep 0.5
  kde_shot second-start-raised
}

# The alarm's notice in Plasma's notification popup: its Snooze and Turn off alarm buttons, at the popup's
# lower right, do what the window's buttons do, and the notice goes.
# No notice's popup at the given height (its top).
no_notice_at() { ! windows | awk -F'\t' -v y="$1" '$1 == "Plasma" && $4 ~ "^[0-9]+," y "," {found = 1} END {exit !found}'; }
press_on_notice() {
  wait_until 5 popup_place Plasma 400 || { echo "    no notice of the alarm ($1)"; return 1; }
  local x y w h
  read -r x y w h < <(popup_place Plasma 400)
  sleep 1
  kde_shot "alarm-notice-$2"
  # The popup's buttons take a click only once the pointer is over them, and a popup that slid in
  # under load only once it is laid out: a click that came too early is given again.
  xdotool mousemove $((x + w - $3)) $((y + h - 19))
  local attempt
  for attempt in 1 2 3; do
    sleep 0.5
    xdotool click 1
    wait_until 3 no_notice_at "$y" && break
  done
  no_notice_at "$y" || { echo "    the notice stays after $1"; return 1; }
  expect_sound silent "$1 on the notice"
}
alarm_notice() {
  "$TOOL" write "$PROG/tasks.tsk" 0 'Alarm Clock' +6 0 1 'Wake up on Plasma' -- \
    0 'Alarm Clock' +20 0 1 'Second call on Plasma' || return 1
  start_in_tray || return 1
  wait_until 15 window_is 'Alarm Clock' shown || { echo "    the first alarm did not ring"; return 1; }
  expect_sound playing "the first alarm" || return 1
  press_on_notice Snooze snooze 142 || return 1
  # Snoozed, the alarm stays on screen, silent until its snooze time.
  window_is 'Alarm Clock' shown || { echo "    the snoozed alarm is '$(window_state 'Alarm Clock')'"; return 1; }
  kde_shot alarm-snoozed
  # kwin tells windows of the same title apart by a number.
  wait_until 15 window_is 'Alarm Clock <2>' shown || { echo "    the second alarm did not ring"; return 1; }
  expect_sound playing "the second alarm" || return 1
  press_on_notice 'Turn off alarm' turn-off 56 || return 1
  wait_until 5 no_window 'Alarm Clock <2>' || { echo "    Turn off alarm left '$(window_state 'Alarm Clock <2>')'"; return 1; }
  window_is 'Alarm Clock' shown || { echo "    the snoozed alarm went too"; return 1; }
}

kde_check "a right click on the icon shows the tray menu; its Preferences opens Preferences" tray_menu
kde_check "a second start from a terminal over the window, Enter on its question: the window in front, active" \
  second_start
kde_check "an alarm's notice: Snooze and Turn off alarm on it each end the ringing, and the notice goes" alarm_notice
kde_check "a click on the icon in the tray brings the window back, active" click_restores
kde_check "kded5 ended and started again with the window in the tray: minimised meanwhile, back in the tray after" \
  kded_restart
