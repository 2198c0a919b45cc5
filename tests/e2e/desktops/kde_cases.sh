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

kde_check "a click on the icon in the tray brings the window back, active" click_restores
kde_check "kded5 ended and started again with the window in the tray: minimised meanwhile, back in the tray after" \
  kded_restart
