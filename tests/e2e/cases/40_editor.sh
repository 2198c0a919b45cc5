# The task editor driven from the main window with clicks and typing: a task of each kind, the list and
# tasks.tsk that follow, an edit, and refusals that leave the editor open.

# Places in the windows, relative to each window's own top left corner. The main window's menu bar is
# about 18 px high; its kind buttons sit 3 px below the client's top and are 56 px wide.
KIND_BUTTON_Y=49
NEW_TASK_X=36
ALARM_X=92
MEMO_X=148
EXE_X=204
WEB_X=260
AUDIO_X=316
VIDEO_X=372
DOC_X=428
# List rows: the first one 108 px down, 18 px apart; the Type and Description columns.
FIRST_ROW_Y=108
ROW_HEIGHT=18
TYPE_COLUMN_X=50
DESCRIPTION_COLUMN_X=560
# In the editor: the pickers and boxes of the top bands, then the page's boxes and buttons.
DATE_PICKER=(100 35)
REPEAT_LIST=(269 37)
SKIP_RB=(462 67)
ENABLED_RB=(48 115)
DISABLED_RB=(110 115)
SUN_CK=(212 115)
SAT_CK=(542 115)
GENERAL_PAGE_BUTTON=(560 166)
FIRST_BOX=(250 217)     # path, address, alarm sound list
SECOND_BOX=(250 265)    # description, alarm note
EXE_ARGUMENTS=(250 263)
EXE_DESCRIPTION=(250 309)
MEMO_BOX=(250 260)
PAGE_BUTTON_BESIDE=(543 217) # Browse..., Verify
PLAY_BT=(312 217)
STOP_BT=(393 217)
SAVE_BT=(474 364)
CANCEL_BT=(555 364)

ED=""

click_at() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.15
}

# Replaces the text of the box at x y in the editor.
fill() {
  click_at "$ED" "$1" "$2"
  shift 2
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 4 -- "$1"
}

# Picks the item so many places below the current one in the list at x y.
choose() {
  click_at "$ED" "$1" "$2"
  sleep 0.2
  local i
  for ((i = 0; i < $3; i++)); do xdotool key Down; done
  xdotool key Return
  sleep 0.15
}

open_editor() {
  local main
  main=$(window_id '^Velloran$')
  [ -n "$main" ] || return 1
  xdotool windowactivate --sync "$main" 2>/dev/null
  click_at "$main" "$1" "$KIND_BUTTON_Y"
  wait_until 10 visible_window '^Task Setup$' || return 1
  ED=$(window_id '^Task Setup$')
}

# The editor starts at the moment it opened, which Save refuses; a year later is always ahead.
start_next_year() {
  click_at "$ED" "${DATE_PICKER[@]}"
  xdotool key End Up
}

save_editor() {
  click_at "$ED" "${SAVE_BT[@]}"
  wait_until 5 not visible_window '^Task Setup$'
}

# The text of one cell of the task list, copied with Ctrl+C.
list_cell() {
  local main
  main=$(window_id '^Velloran$')
  click_at "$main" "$1" $((FIRST_ROW_Y + ($2 - 1) * ROW_HEIGHT))
  xdotool key --clearmodifiers ctrl+c
  sleep 0.1
  clipboard
}

# One line of `task_tool show` per kind, as the editor should have stored it (target, next run and id
# are checked on their own).
expect_task() {
  # Through the environment, as awk -v would turn the \r\n of a memo into line breaks.
  "$TOOL" show "$PROG/tasks.tsk" | K=$1 T=$2 R=$3 F=$4 M=$5 D=$6 A=$7 S=$8 awk -F '\t' '
    $2==ENVIRON["K"] && $3==ENVIRON["T"] && $5==ENVIRON["R"] && $6==ENVIRON["F"] && $7==ENVIRON["M"] &&
    $9==ENVIRON["D"] && $10==ENVIRON["A"] && $11==ENVIRON["S"] {n++} END {exit n!=1}' || {
    echo "    no single task: kind $1 target '$2' repeat $3 flags $4 days $5 description '$6'"
    "$TOOL" show "$PROG/tasks.tsk" | sed 's/^/    | /'
    return 1
  }
}

EXPECTED_DESCRIPTIONS=()
EXPECTED_KINDS=()

create_alarm() {
  open_editor "$ALARM_X" || return 1
  start_next_year
  choose "${REPEAT_LIST[@]}" 1 # Daily
  click_at "$ED" "${SUN_CK[@]}"
  click_at "$ED" "${SAT_CK[@]}"
  choose "${FIRST_BOX[@]}" 1 # the second sound in name order
  fill "${SECOND_BOX[@]}" 'Wake up: e2e alarm'
  if [ "$SOUND_SERVER" = 1 ]; then
    click_at "$ED" "${PLAY_BT[@]}"
    wait_until 5 sound_playing ||
      { echo "    Play started no sound stream"; return 1; }
    click_at "$ED" "${STOP_BT[@]}"
    wait_until 5 not sound_playing ||
      { echo "    Stop left a sound stream"; return 1; }
  fi
  shot editor-alarm-page "$ED"
  # Closing the editor silences a preview that still plays.
  if [ "$SOUND_SERVER" = 1 ]; then
    click_at "$ED" "${PLAY_BT[@]}"
    wait_until 5 sound_playing ||
      { echo "    Play started no sound stream"; return 1; }
  fi
  save_editor || return 1
  if [ "$SOUND_SERVER" = 1 ]; then
    wait_until 5 not sound_playing ||
      { echo "    the preview goes on after Save closed the editor"; return 1; }
  fi
  EXPECTED_KINDS+=("Alarm Clock")
  EXPECTED_DESCRIPTIONS+=('Wake up: e2e alarm')
  expect_task 0 'Alarm Clock' 1 7 62 'Wake up: e2e alarm' '' Digital.wav
}

create_memo() {
  open_editor "$MEMO_X" || return 1
  start_next_year
  choose "${REPEAT_LIST[@]}" 2 # Weekly
  click_at "$ED" "${MEMO_BOX[@]}"
  xdotool type --delay 4 'First line of the e2e memo'
  xdotool key Return
  xdotool type --delay 4 'second line'
  shot editor-memo-page "$ED"
  save_editor || return 1
  EXPECTED_KINDS+=("Memo")
  EXPECTED_DESCRIPTIONS+=('First line of the e2e memo second line')
  expect_task 1 Memo 2 7 127 'First line of the e2e memo\r\nsecond line' '' ''
}

create_executable() {
  open_editor "$EXE_X" || return 1
  start_next_year
  click_at "$ED" "${DISABLED_RB[@]}"
  click_at "$ED" "${SKIP_RB[@]}"
  fill "${FIRST_BOX[@]}" "$CASE/run me.sh"
  fill "${EXE_ARGUMENTS[@]}" "--say 'hello there'"
  fill "${EXE_DESCRIPTION[@]}" 'Run the e2e program'
  shot editor-executable-page "$ED"
  save_editor || return 1
  EXPECTED_KINDS+=("Executable")
  EXPECTED_DESCRIPTIONS+=('Run the e2e program')
  expect_task 2 "$CASE/run me.sh" 0 4 127 'Run the e2e program' "--say 'hello there'" ''
}

create_web() {
  open_editor "$WEB_X" || return 1
  start_next_year
  fill "${FIRST_BOX[@]}" 'https://example.org/e2e?q=a b&x=1'
  fill "${SECOND_BOX[@]}" 'Open the e2e page'
  # Verify hands a good address to the desktop at once.
  click_at "$ED" "${PAGE_BUTTON_BESIDE[@]}"
  wait_until 5 grep -qxF 'https://example.org/e2e?q=a b&x=1' "$CASE/opened.log" ||
    { echo "    Verify did not open the address"; return 1; }
  shot editor-web-page "$ED"
  save_editor || return 1
  EXPECTED_KINDS+=("Web Address")
  EXPECTED_DESCRIPTIONS+=('Open the e2e page')
  expect_task 3 'https://example.org/e2e?q=a b&x=1' 0 7 127 'Open the e2e page' '' ''
}

# Audio, Video and Document: a path and a description on the kind's own page.
create_file_task() {
  local x=$1 kind=$2 caption=$3 path=$4 description=$5 page=$6
  open_editor "$x" || return 1
  start_next_year
  fill "${FIRST_BOX[@]}" "$path"
  fill "${SECOND_BOX[@]}" "$description"
  shot "editor-$page-page" "$ED"
  save_editor || return 1
  EXPECTED_KINDS+=("$caption")
  EXPECTED_DESCRIPTIONS+=("$description")
  expect_task "$kind" "$path" 0 7 127 "$description" '' ''
}

create_general() {
  # The general command opens on no page; the General page is reached only through its page button.
  open_editor "$NEW_TASK_X" || return 1
  shot editor-no-page "$ED"
  start_next_year
  click_at "$ED" "${GENERAL_PAGE_BUTTON[@]}"
  # A folder is a path that exists.
  fill "${FIRST_BOX[@]}" "$CASE/home"
  fill "${SECOND_BOX[@]}" 'Open the e2e folder'
  shot editor-general-page "$ED"
  save_editor || return 1
  EXPECTED_KINDS+=("General")
  EXPECTED_DESCRIPTIONS+=('Open the e2e folder')
  expect_task 7 "$CASE/home" 0 7 127 'Open the e2e folder' '' ''
}

case_editor_creates_each_kind() {
  new_case editor
  printf '#!/bin/sh\n' >"$CASE/run me.sh"
  chmod +x "$CASE/run me.sh"
  : >"$CASE/clip with spaces.mpg"
  : >"$CASE/notes.txt"
  start_app
  EDITOR_APP=$APP
  wait_until 15 visible_window '^Velloran$' || return 1
  wait_until 10 not visible_window '^SplashForm$' || return 1
  create_alarm &&
    create_memo &&
    create_executable &&
    create_web &&
    create_file_task "$AUDIO_X" 4 Audio "$PROG/Sounds/Chimes.wav" 'Play the e2e chimes' audio &&
    create_file_task "$VIDEO_X" 5 Video "$CASE/clip with spaces.mpg" 'Play the e2e clip' video &&
    create_file_task "$DOC_X" 6 Document "$CASE/notes.txt" 'Open the e2e notes' document &&
    create_general || return 1
  # Eight tasks, each start a year ahead of the moment its editor opened, each with its own id.
  local now
  now=$(date +%s)
  "$TOOL" show "$PROG/tasks.tsk" | awk -F '\t' -v now="$now" \
    '$4 > now + 364*86400 && $4 < now + 367*86400 {n++; ids[$1]=1} END {c=0; for (i in ids) c++; exit !(n==8 && c==8)}'
}

case_editor_list_shows_tasks() {
  [ -n "${EDITOR_APP:-}" ] && running "$EDITOR_APP" || return 1
  xdotool windowactivate --sync "$(window_id '^Velloran$')" 2>/dev/null
  shot main-window-with-tasks "$(window_id '^Velloran$')"
  # The rows follow the date order of the list's sort key, whose hours run 12, 01 .. 11: compare the
  # rows as a set, and remember where the Executable task is.
  local row shown=() expected=()
  for row in $(seq 1 ${#EXPECTED_KINDS[@]}); do
    local kind description
    kind=$(list_cell "$TYPE_COLUMN_X" "$row")
    description=$(list_cell "$DESCRIPTION_COLUMN_X" "$row")
    shown+=("$kind|$description")
    expected+=("${EXPECTED_KINDS[row - 1]}|${EXPECTED_DESCRIPTIONS[row - 1]}")
    [ "$kind" = Executable ] && EXE_ROW=$row
  done
  local differences
  differences=$(diff <(printf '%s\n' "${expected[@]}" | sort) <(printf '%s\n' "${shown[@]}" | sort)) ||
    { sed 's/^/    /' <<<"$differences"; return 1; }
  [ ${#EXPECTED_KINDS[@]} -eq 8 ]
}

case_editor_edit() {
  [ -n "${EDITOR_APP:-}" ] && running "$EDITOR_APP" || return 1
  local before main
  before=$("$TOOL" show "$PROG/tasks.tsk" | awk -F '\t' '$2==2 {print $1}')
  main=$(window_id '^Velloran$')
  xdotool windowactivate --sync "$main" 2>/dev/null
  # A double click on the Executable task's row opens it in the editor.
  [ -n "$EXE_ROW" ] || return 1
  xdotool mousemove --window "$main" 300 $((FIRST_ROW_Y + (EXE_ROW - 1) * ROW_HEIGHT)) click --repeat 2 --delay 80 1
  wait_until 10 visible_window '^Task Setup$' || return 1
  ED=$(window_id '^Task Setup$')
  # The path box shows the stored path.
  click_at "$ED" "${FIRST_BOX[@]}"
  xdotool key --clearmodifiers ctrl+a ctrl+c
  sleep 0.1
  [ "$(clipboard)" = "$CASE/run me.sh" ] || { echo "    the editor shows '$(clipboard)'"; return 1; }
  click_at "$ED" "${ENABLED_RB[@]}"
  fill "${EXE_DESCRIPTION[@]}" 'Edited e2e program'
  shot editor-edit-executable "$ED"
  save_editor || return 1
  [ "$("$TOOL" show "$PROG/tasks.tsk" | wc -l)" -eq 8 ] &&
    expect_task 2 "$CASE/run me.sh" 0 5 127 'Edited e2e program' "--say 'hello there'" '' &&
    [ "$("$TOOL" show "$PROG/tasks.tsk" | awk -F '\t' '$2==2 {print $1}')" = "$before" ] &&
    [ "$(list_cell "$DESCRIPTION_COLUMN_X" "$EXE_ROW")" = 'Edited e2e program' ]
}

# Save refused: a window titled "Warning" comes up, and after OK the editor is still open.
refused() {
  local name=$1
  click_at "$ED" "${SAVE_BT[@]}"
  wait_until 5 visible_window '^Warning$' || { echo "    no warning for $name"; return 1; }
  shot "editor-warning-$name" "$(window_id '^Warning$')"
  press "$(window_id '^Warning$')" Return
  wait_until 5 not visible_window '^Warning$' || return 1
  visible_window '^Task Setup$' || { echo "    the editor closed after the $name warning"; return 1; }
}

cancel_editor() {
  click_at "$ED" "${CANCEL_BT[@]}"
  wait_until 5 not visible_window '^Task Setup$'
}

case_editor_refusals() {
  [ -n "${EDITOR_APP:-}" ] && running "$EDITOR_APP" || return 1
  local before
  before=$(md5sum <"$PROG/tasks.tsk")
  # The start left at the moment the editor opened has passed by the time Save is pressed.
  open_editor "$MEMO_X" || return 1
  click_at "$ED" "${MEMO_BOX[@]}"
  xdotool type --delay 4 'never saved'
  refused elapsed-start || return 1
  shot editor-after-warning "$ED"
  # Neither Escape nor Enter closes the editor.
  press "$ED" Escape
  press "$ED" Return
  sleep 0.3
  visible_window '^Task Setup$' || { echo "    Escape or Enter closed the editor"; return 1; }
  cancel_editor || return 1
  # An empty path on the Executable page.
  open_editor "$EXE_X" || return 1
  start_next_year
  refused empty-path || return 1
  cancel_editor || return 1
  # A web address that breaks the rule.
  open_editor "$WEB_X" || return 1
  start_next_year
  fill "${FIRST_BOX[@]}" 'http://e2e'
  refused web-address || return 1
  cancel_editor || return 1
  # The general command with no page picked.
  open_editor "$NEW_TASK_X" || return 1
  start_next_year
  refused no-page || return 1
  cancel_editor || return 1
  # Cancel wrote the list again, unchanged.
  [ "$(md5sum <"$PROG/tasks.tsk")" = "$before" ]
}

# The start typed with the keyboard, and a file chosen through Browse's dialog, which opens in the user's
# folder for the kind: a name typed there is found in that folder only.
TIME_PICKER=(100 63)

choose_in_dialog() {
  local name=$1 shot_name=$2
  click_at "$ED" "${PAGE_BUTTON_BESIDE[@]}"
  wait_until 10 visible_window '^Open$' || { echo "    Browse opened no dialog"; return 1; }
  local dialog
  dialog=$(window_id '^Open$')
  sleep 0.3
  shot "$shot_name" "$dialog"
  # The file name box has the keyboard.
  xdotool windowactivate --sync "$dialog" 2>/dev/null
  xdotool type --delay 4 -- "$name"
  xdotool key Return
  wait_until 5 not visible_window '^Open$' || { echo "    the dialog did not take '$name'"; return 1; }
}

typed_start() {
  fill "${DATE_PICKER[@]}" "$1"
  fill "${TIME_PICKER[@]}" "$2"
}

case_editor_browse_and_typed_start() {
  new_case editor-browse
  mkdir -p "$HOME/Music" "$HOME/Documents"
  printf 'OggS' >"$HOME/Music/podcast.ogg"
  printf '%%PDF-1.4\n' >"$HOME/Documents/report.pdf"
  start_app
  wait_until 15 visible_window '^Velloran$' || return 1
  wait_until 10 not visible_window '^SplashForm$' || return 1
  local year=$(($(date +%Y) + 1))
  open_editor "$AUDIO_X" || return 1
  typed_start "$year-12-24" '07:30:00'
  choose_in_dialog podcast.ogg file-dialog-audio || return 1
  shot editor-audio-browsed "$ED"
  save_editor || return 1
  expect_task 4 "$HOME/Music/podcast.ogg" 0 7 127 '' '' '' || return 1
  open_editor "$DOC_X" || return 1
  typed_start "$year-12-24" '23:45:00'
  choose_in_dialog report.pdf file-dialog-document || return 1
  save_editor || return 1
  expect_task 6 "$HOME/Documents/report.pdf" 0 7 127 '' '' '' || return 1
  # Each start is the moment typed, not one that kept a part of the moment the editor opened.
  local runs
  runs=$("$TOOL" show "$PROG/tasks.tsk" | cut -f 4 | sort | tr '\n' ' ')
  [ "$runs" = "$(date -d "$year-12-24 07:30:00" +%s) $(date -d "$year-12-24 23:45:00" +%s) " ] ||
    { echo "    stored starts: $runs"; return 1; }
  stop_app
}

EDITOR_APP=""
EXE_ROW=""
check "the editor makes a task of each kind from the main window's buttons, saved in tasks.tsk" \
  case_editor_creates_each_kind
check "the list shows each new task with its kind and description" case_editor_list_shows_tasks
check "a double click edits a task in place: same id, new description and status" case_editor_edit
check "refused saves (elapsed start, empty path, bad address, no page) show a Warning and keep the editor" \
  case_editor_refusals
if [ -n "$EDITOR_APP" ]; then
  APP=$EDITOR_APP
  stop_app
fi
check "Browse opens in ~/Music and ~/Documents and takes a .ogg and a .pdf; typed starts are stored as typed" \
  case_editor_browse_and_typed_start

# The names of the streams that play now, as the sound server lists them.
stream_names() { pactl list sink-inputs 2>/dev/null | sed -n 's/^[[:space:]]*media.name = "\(.*\)"$/\1/p'; }
only_stream() { [ "$(stream_names)" = "$1" ]; }

case_preview_beside_a_ringing_alarm() {
  [ "$SOUND_SERVER" = 1 ] || { echo "    note: no sound server, nothing to hear"; return 0; }
  new_case editor-preview
  "$TOOL" write "$PROG/tasks.tsk" 0 'Alarm Clock' +6 0 1 'Alarm beside the preview' Chimes.wav || return 1
  start_app
  local ok=0
  preview_steps || ok=1
  stop_app
  return $ok
}

preview_steps() {
  wait_until 15 visible_window '^Velloran$' && wait_until 10 not visible_window '^SplashForm$' || return 1
  wait_until 20 visible_window '^Alarm Clock$' || { echo "    no alarm window"; return 1; }
  local alarm
  alarm=$(window_id '^Alarm Clock$')
  wait_until 5 only_stream 'Alarm Clock' || { echo "    the alarm is not heard: $(stream_names)"; return 1; }
  open_editor "$ALARM_X" || { echo "    no editor"; return 1; }
  # The alarm stays above the editor; the user moves it aside, as here.
  xdotool windowmove "$alarm" 0 0
  sleep 0.3
  click_at "$ED" "${PLAY_BT[@]}"
  wait_until 5 only_stream 'Task Setup' || { echo "    Play is not heard: $(stream_names)"; return 1; }
  click_at "$ED" "${STOP_BT[@]}"
  wait_until 5 only_stream 'Alarm Clock' || { echo "    after Stop the alarm is not heard: $(stream_names)"; return 1; }
  click_at "$ED" "${PLAY_BT[@]}"
  wait_until 5 only_stream 'Task Setup' || { echo "    Play is not heard again: $(stream_names)"; return 1; }
  click_at "$ED" "${CANCEL_BT[@]}"
  wait_until 5 not visible_window '^Task Setup$' || { echo "    Cancel left the editor"; return 1; }
  wait_until 5 only_stream 'Alarm Clock' || { echo "    after Cancel the alarm is not heard: $(stream_names)"; return 1; }
  click_window "$alarm" "${TURN_OFF_BT[@]}"
  wait_until 5 not sound_playing || { echo "    a stream is left after Turn off: $(stream_names)"; return 1; }
}

check "Task Setup's Play over a ringing alarm: Stop and Cancel let the alarm be heard again" \
  case_preview_beside_a_ringing_alarm
