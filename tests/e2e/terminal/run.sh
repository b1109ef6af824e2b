#!/usr/bin/env bash
# Drives the terminal panel through tmux, as a person at the keyboard would, and reads the screen.
# Every run starts in a fresh directory of its own, where its test logs land. The S1 session runs
# beside the other checks, as its first minute row takes about a minute.
# Usage: run.sh [path/to/chargewright]
set -u

program=$(realpath "${1:-build/native/src/terminal/chargewright}")
[ -x "$program" ] || { echo "no program at $program"; exit 2; }
command -v tmux >/dev/null || { echo "tmux is missing"; exit 2; }

work=$(mktemp -d)
session="chargewright-e2e-$$"
socket="$work/tmux.sock"
source "$(dirname "$(realpath "$0")")/../tmux-checks.sh"
passed=0
failed=0

cleanup() { tm kill-server 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

shown=chargewright-e2e-$$  # the session whose screen a failed check prints
program_ended() { [ -s "$work/status" ]; }
start() {  # start SESSION DIRECTORY: the program in its own directory; its exit status lands in DIRECTORY.status
  mkdir -p "$2"
  tm new-session -d -s "$1" -x 100 -y 45 -c "$2" \
    "env LANG=C.UTF-8 TERM=screen-256color '$program' --simulate; echo \$? > '$2.status'; sleep 60"
}
focus_s1_button() {  # Tab round to "S1 / Save" (control 1019), or its "Stop" caption
  local i
  for i in $(seq 1 40); do
    screen | grep -qE '>(S1 / Save|Stop)<' && return 0
    tm send-keys -t "$shown" Tab
    sleep 0.1
  done
  return 1
}

# ---- S1 session, started first: its minute row is checked at the end --------------------------------
s1_session="$session-s1"
s1_dir="$work/s1"
shown=$s1_session
start "$s1_session" "$s1_dir"
s1_started=$SECONDS
check "S1: panel appears" wait_for 5 shows "Remaining Capacity"
check "S1: Tab reaches S1 / Save" focus_s1_button
tm send-keys -t "$s1_session" Enter
check "S1: the button now reads Stop" wait_for 3 shows ">Stop<"
s1_log() { ls "$s1_dir" | grep -E '^S1-' | head -n 1; }
s1_lines() { local name; name=$(s1_log); [ -n "$name" ] && tr -cd '\n' < "$s1_dir/$name" | wc -c || echo 0; }
s1_has_lines() { [ "$(s1_lines)" -eq "$1" ]; }
check "S1: the log is created with its header and start row" wait_for 3 s1_has_lines 2

# ---- A log that cannot be created: a directory of each name it could get in the next two minutes ----
# (two minutes: this step may run beside the Windows builds, which slow the panel's start and keys)
fail_session="$session-fail"
fail_dir="$work/fail"
shown=$fail_session
mkdir -p "$fail_dir"
for second in $(seq -2 120); do
  mkdir -p "$fail_dir/$(date -d "$second sec" '+S1-%Hh%Mm%Ss-%Yy%mm%dd.txt')"
done
start "$fail_session" "$fail_dir"
check "failed log: panel appears" wait_for 5 shows "Remaining Capacity"
focus_s1_button
tm send-keys -t "$fail_session" Enter
box_regex='The test log S1-[0-9]{2}h[0-9]{2}m[0-9]{2}s-[0-9]{4}y[0-9]{2}m[0-9]{2}d\.txt could not be created\.'
check "failed log: a message box names the file" wait_for 10 shows_regex "$box_regex"
check "failed log: ... and the system's reason" shows "Access is denied."
check "failed log: ... with an OK button" shows "[ OK ]"
box_title=$(screen | head -n 1)
check "failed log: the panel keeps ticking under the box" wait_for 3 eval '[ "$(screen | head -n 1)" != "$box_title" ]'
tm send-keys -t "$fail_session" Tab Space
check "failed log: Tab goes to the box; Space closes it" wait_for 3 eval '! shows "could not be created"'
check "failed log: the session runs anyway (Stop)" shows ">Stop<"
tm send-keys -t "$fail_session" Enter
check "failed log: stopped (S1 / Save)" wait_for 3 shows ">S1 / Save<"
check "failed log: the viewer says the file is not found" wait_for 3 shows "(file not found)"
tm send-keys -t "$fail_session" Escape
check "failed log: Escape closes the viewer" wait_for 3 eval '! shows "Notepad"'
tm send-keys -t "$fail_session" C-c
check "failed log: Ctrl+C ends the program with 0" wait_for 5 test -s "$fail_dir.status"
check "failed log: no log file was written" test -z "$(find "$fail_dir" -type f)"
tm kill-session -t "$fail_session"

# ---- Without a usable terminal; the command line; a terminal too small for the panel -----------------
started=$SECONDS
timeout 10 "$program" < /dev/null > "$work/eof.out" 2> "$work/eof.err"
eof_status=$?
check "stdin at end of file: exit 1 at once (status $eof_status after $((SECONDS - started)) s)" \
  test "$eof_status" = 1 -a $((SECONDS - started)) -le 2
check "... one line on stderr: it needs a terminal; nothing on stdout" \
  eval '[ "$(wc -l < "$work/eof.err")" = 1 ] && grep -q "needs a terminal" "$work/eof.err" && [ ! -s "$work/eof.out" ]'

shown="$session-dumb"
tm new-session -d -s "$shown" -x 100 -y 45 -c "$work" \
  "env TERM=dumb '$program' --simulate 2> '$work/dumb.err'; echo \$? > '$work/dumb.status'; sleep 60"
check "TERM=dumb: exit 1" wait_for 3 eval '[ "$(cat "$work/dumb.status" 2> /dev/null)" = 1 ]'
check "... one line on stderr naming the terminal type" \
  eval '[ "$(wc -l < "$work/dumb.err")" = 1 ] && grep -qF "terminal type \"dumb\"" "$work/dumb.err"'
tm kill-session -t "$shown"

# arguments | exit status | stream | what it shows
while IFS='|' read -r arguments want_status stream text; do
  timeout 5 "$program" $arguments < /dev/null > "$work/options.out" 2> "$work/options.err"
  status=$?
  check "chargewright $arguments: status $want_status, std$stream shows \"$text\"" \
    eval '[ "$status" = "$want_status" ] && grep -qF -- "$text" "$work/options.$stream"'
done << 'EOF'
--help|0|out|Usage: chargewright
-h|0|out|--version
--version|0|out|chargewright 1.0.0.1
--bogus|2|err|unknown option '--bogus'
--help --bogus|2|err|Usage: chargewright
stray|2|err|unexpected argument 'stray'
EOF

shown="$session-small"
mkdir -p "$work/small"
tm new-session -d -s "$shown" -x 60 -y 20 -c "$work/small" \
  "env LANG=C.UTF-8 TERM=screen-256color '$program' --simulate; echo \$? > '$work/small.status'; sleep 60"
check "small terminal: says the size it needs" wait_for 5 shows "The panel needs a terminal of 81 x 35 cells;"
check "... and the size it has, and no corner of the panel" \
  eval 'shows "this one has 60 x 20." && ! shows "Remaining Capacity"'
small_title=$(screen | head -n 1)
check "... while the clock ticks ($small_title)" wait_for 3 eval '[ "$(screen | head -n 1)" != "$small_title" ]'
tm send-keys -t "$shown" Enter  # would press the focused Exit, were keys passed to the hidden panel
sleep 0.5
tm resize-window -t "$shown" -x 100 -y 38
check "resized to 100 x 38: the panel appears, framed" \
  wait_for 3 eval 'shows "Remaining Capacity" && screen | sed -n 37p | grep -qE "^└─+┘ *$"'
check "... and the strip's first line under it, the rest left out" \
  eval 'screen | sed -n 38p | grep -q "^ Simulated laptop   AC adapter: " && ! shows "Ctrl+C quit"'
check "... the key typed meanwhile did nothing" eval '[ ! -s "$work/small.status" ] && shows ">Exit<"'
tm resize-window -t "$shown" -x 81 -y 35
check "resized to 81 x 35: the panel still shows, without its frame" \
  wait_for 3 eval 'shows "Remaining Capacity" && ! shows "┌──" && shows ">Exit<"'
tm resize-window -t "$shown" -x 100 -y 45
check "resized to 100 x 45: the whole strip, down to its key line" wait_for 3 shows "Ctrl+C quit"
tm send-keys -t "$shown" C-c
check "... Ctrl+C ends it with 0" wait_for 5 eval '[ "$(cat "$work/small.status" 2> /dev/null)" = 0 ]'
tm kill-session -t "$shown"

# ---- The panel itself ------------------------------------------------------------------------------
shown=$session
mkdir -p "$work/panel"
# The wrapper records the program's exit status, then keeps the pane open for a last look.
tm new-session -d -s "$session" -x 100 -y 45 -c "$work/panel" \
  "env LANG=C.UTF-8 TERM=screen-256color '$program' --simulate; echo \$? > '$work/status'; sleep 60"

check "panel appears with its labels" wait_for 5 shows "Remaining Capacity"
for label in "Dafault Alert 1" "Default Alert 2" "Battery Life Percent" "FullCharged Capacity" "Wake up after" \
  "S1 / Save" "Connect Display" "Mobility Center" "Battery Test" "Device Setting"; do
  check "label \"$label\" shown whole" shows "$label"
done
check "Exit button" shows_regex '\[ *>?Exit<? *\]'
check "clock in the title line" shows_regex '^ ?Chargewright - [0-2][0-9]:[0-5][0-9]:[0-5][0-9]'
check "group caption with unique ID and chemistry" shows_regex 'Battery Status \([^,]+, LION\)'
check "static values" shows_regex 'Design Capacity +\[57000 mW'
check "rate is negative on battery" shows_regex 'Rate +\[-[0-9]+ mW/hr'
check "drain per minute shown at once" shows_regex 'Rate / Min +\[-?[0-9]+ mW/min'
check "AC off line at start" shows_regex 'Ac on Line +\[FALSE'

first_capacity=$(field_after "Remaining Capacity")
first_title=$(screen | head -n 1)
capacity_changed() { [ "$(field_after "Remaining Capacity")" != "$first_capacity" ]; }
title_changed() { [ "$(screen | head -n 1)" != "$first_title" ]; }
check "remaining capacity drains ($first_capacity ...)" wait_for 8 capacity_changed
check "clock ticks" wait_for 3 title_changed

# The program waits for its timer, not in a busy loop: well under 1 % of a core over five seconds.
pid=$(tm list-panes -t "$session" -F '#{pane_pid}')
program_pid=$(pgrep -P "$pid" -f "$program" | head -n 1)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$program_pid/stat"; }
ticks_before=$(cpu_ticks)
sleep 5
ticks_used=$(($(cpu_ticks) - ticks_before))
check "idle CPU below 1 % ($ticks_used ticks in 5 s)" test "$ticks_used" -lt $(($(getconf CLK_TCK) * 5 / 100))

check "focus starts on Exit" shows ">Exit<"
tm send-keys -t "$session" Tab
check "Tab moves the focus off Exit" wait_for 2 shows_regex 'Battery Life Percent *>[^<]*<'
tm send-keys -t "$session" BTab BTab
check "Shift+Tab wraps to the check box" wait_for 2 shows "]>Wake up after"
check "delay fields start disabled" shows_regex 'Wake up after +0 D'
tm send-keys -t "$session" Space
check "Space checks the box and enables the delay fields" wait_for 2 shows_regex '\[x\]>Wake up after_+0 D _+0H +_+3M'
tm send-keys -t "$session" Tab 4 2
check "digits go into the enabled hours field" wait_for 2 shows_regex '_+42H'
tm send-keys -t "$session" a b
check "letters do not" shows_regex '_+42H'

tm send-keys -t "$session" F2
check "F2 plugs in the adapter and the panel is re-initialised" wait_for 3 shows_regex 'Ac on Line +\[TRUE'
check "charging" shows_regex 'Charging +\[TRUE'
check "rate is positive while charging" wait_for 3 shows_regex 'Rate +\[[0-9]+ mW/hr'
check "the broadcast reset the delay fields" shows_regex '_+0H'
check "the check box kept its state" shows "[x]"
check "status strip shows the adapter" shows "AC adapter: online"
tm send-keys -t "$session" F2
check "F2 again unplugs it" wait_for 3 shows_regex 'Ac on Line +\[FALSE'

tm send-keys -t "$session" Escape
sleep 0.5
check "Escape (command 2) leaves the panel open" test ! -s "$work/status"
tm send-keys -t "$session" M-x
check "Alt+X ends the program" wait_for 5 program_ended
check "exit status 0" test "$(cat "$work/status" 2>/dev/null)" = 0
check "terminal restored (no panel left on the screen)" bash -c "! tmux -S '$socket' capture-pane -t '$session' -p | grep -qF 'Remaining Capacity'"

# A second run: Tab round to Exit and Enter, then Ctrl+C on a third.
rm -f "$work/status"
tm kill-session -t "$session"
tm new-session -d -s "$session" -x 100 -y 45 -c "$work/panel" \
  "env LANG=C.UTF-8 '$program' --simulate; echo \$? > '$work/status'; sleep 60"
wait_for 5 shows "Remaining Capacity"
tm send-keys -t "$session" Tab BTab Enter
check "Enter on the focused Exit ends the program with 0" wait_for 5 program_ended
check "... status 0" test "$(cat "$work/status" 2>/dev/null)" = 0

rm -f "$work/status"
tm kill-session -t "$session"
tm new-session -d -s "$session" -x 100 -y 45 -c "$work/panel" \
  "env LANG=C.UTF-8 '$program' --simulate; echo \$? > '$work/status'; sleep 60"
wait_for 5 shows "Remaining Capacity"
tm send-keys -t "$session" C-c
check "Ctrl+C ends the program with 0" wait_for 5 program_ended
check "... status 0" test "$(cat "$work/status" 2>/dev/null)" = 0

# ---- The simulated laptop: devices, board identity, sleep with a resume timer, shutdown ---------------
dev_session="$session-dev"
dev_dir="$work/dev"
shown=$dev_session
start "$dev_session" "$dev_dir"
focus_on() {  # Tab round until the screen shows TEXT (a focused control's markers)
  local i
  for i in $(seq 1 45); do
    shows "$1" && return 0
    tm send-keys -t "$dev_session" Tab
    sleep 0.08
  done
  return 1
}
press() { focus_on "$1" && tm send-keys -t "$dev_session" Enter; }
strip() { screen | sed -n '/Simulated laptop   AC adapter/,/F2 AC adapter/p'; }
strip_shows() { strip | grep -qF -- "$1"; }
dimmed() { tm capture-pane -t "$dev_session" -e -p | grep -qF $'\e[2mAc on Line'; }

check "devices: panel appears" wait_for 5 shows "Remaining Capacity"
check "devices: the status line names the simulated board" \
  eval 'shows "Chargewright Simulated Laptop" && shows "Stand-in Board SIM-0001"'
check "devices: the strip starts with every device" \
  eval 'strip_shows "brightness 62 %   radio on   volume 40 %   display on" && strip_shows "wake timers AC 0 DC 0"'

press ">Dark<"
check "Dark: one level down (50 %)" wait_for 2 strip_shows "brightness 50 %"
press ">Dark<"
wait_for 2 strip_shows "brightness 37 %"
press ">Dark<"
check "Dark, Dark: 25 %, and the panel is dimmed" wait_for 2 eval 'strip_shows "brightness 25 %" && dimmed'
# "Bright" fills its button, leaving no room for focus markers: it follows "Dark" in the tab order.
press_bright() { focus_on ">Dark<" && tm send-keys -t "$dev_session" Tab Enter; }
press_bright
check "Bright: back up to 37 %" wait_for 2 strip_shows "brightness 37 %"
press_bright
check "Bright: 50 %, no longer dimmed" wait_for 2 eval 'strip_shows "brightness 50 %" && ! dimmed'

press ">Wireless<"
check "Wireless switches the radio off" wait_for 2 strip_shows "radio off"
press ">Wireless<"
check "... and on again" wait_for 2 strip_shows "radio on"

press ">Mute<"
check "Mute mutes" wait_for 2 strip_shows "volume 40 % (muted)"
press ">>><"
check ">> raises the volume by 2 % and unmutes" wait_for 2 eval 'strip_shows "volume 42 %" && ! strip_shows "muted"'
press "><<<"
press "><<<"
check "<< twice lowers it by 4 %" wait_for 2 strip_shows "volume 38 %"

# The chord buttons are too narrow for focus markers: Shift+Tab back from Wireless reaches them.
focus_on ">Wireless<" && tm send-keys -t "$dev_session" BTab BTab Enter
check "Mobility Center: the desktop notes Windows+X" wait_for 2 strip_shows "Windows+X: Mobility Center"
focus_on ">Wireless<" && tm send-keys -t "$dev_session" BTab Enter
check "Connect Display: the desktop notes Windows+P" wait_for 2 strip_shows "Windows+P: project"

press "[ >X<"
check "X blanks the display" wait_for 2 eval 'shows "The display is off" && ! shows "Remaining Capacity"'
tm send-keys -t "$dev_session" Space  # Space on the focused X would press it again, were the key passed on
check "a key turns the display on" wait_for 2 eval 'shows "Remaining Capacity" && strip_shows "display on"'
sleep 0.5
check "... and does not act on the panel" eval 'strip_shows "display on" && ! shows "The display is off"'

focus_on "]>Wake up after" && tm send-keys -t "$dev_session" Space
tm send-keys -t "$dev_session" Tab Tab 0 Tab 5  # hours, minutes 0, seconds 5
check "S3 delay: 0 days, 0 h, 0 min, 5 s" wait_for 2 shows_regex '\[x\].Wake up after_+0 D _+0H +_+0M +_+5S'
focus_on ">S3<"
dev_pid=$(pgrep -P "$(tm list-panes -t "$dev_session" -F '#{pane_pid}')" -f "$program" | head -n 1)
dev_ticks() { awk '{print $14 + $15}' "/proc/$dev_pid/stat"; }
ticks_before=$(dev_ticks)
tm send-keys -t "$dev_session" Enter
slept_at=$SECONDS
check "S3: the sleeping screen" wait_for 2 shows "Sleeping (S3)"
check "... with the resume timer's time left" shows_regex 'resume timer: 00:00:0[1-5] left'
check "... and says the sleep drain runs fast" shows "drains as if 60 s passed for every second asleep"
check "S3: the timer wakes the laptop by itself" wait_for 10 eval '! shows "Sleeping (S3)"'
woke_after=$((SECONDS - slept_at))
ticks_used=$(($(dev_ticks) - ticks_before))
check "S3: asleep about 5 s ($woke_after s)" test "$woke_after" -ge 4 -a "$woke_after" -le 8
check "S3: idle while asleep ($ticks_used ticks)" test "$ticks_used" -lt $(($(getconf CLK_TCK) * woke_after * 3 / 100 + 2))
s3_log() { ls "$dev_dir" | grep -E '^S3-[0-9]{2}h[0-9]{2}m[0-9]{2}s-[0-9]{4}y[0-9]{2}m[0-9]{2}d\.txt$' | head -n 1; }
check "S3: the resume broadcast shows the log in Notepad" wait_for 3 eval 'shows "$(s3_log) - Notepad"'
check "S3: wake timers allowed on battery only" strip_shows "wake timers AC 0 DC 1"
check "S3: the broadcast reset the delay fields" shows_regex '_+0H +_+3M +_+0S'
s3_file="$dev_dir/$(s3_log)"
check "S3: a three-line log" test "$(tr -cd '\n' < "$s3_file" | wc -c)" -eq 3
s3_diff=$(tail -n 1 "$s3_file" | tr -d '\r' | awk -F '\t' '{gsub(/ /, "", $NF); print $NF}')
check "S3: the last row's Diff is negative (sleep drain: $s3_diff mWh)" test "${s3_diff:-0}" -lt 0
check "S3: the first row's Diff is 0" test "$(sed -n 2p "$s3_file" | tr -d '\r' | awk -F '\t' '{gsub(/ /, "", $NF); print $NF}')" = 0
tm send-keys -t "$dev_session" q
wait_for 2 eval '! shows "Notepad"'

press ">S5<"
check "S5: the shutting-down screen" wait_for 2 shows "Shutting down"
check "S5: the program ends" wait_for 5 test -s "$dev_dir.status"
check "S5: ... with status 0" test "$(cat "$dev_dir.status" 2>/dev/null)" = 0
tm kill-session -t "$dev_session"

# ---- S1 session: its minute row, the stop, the viewer and the file -----------------------------------
shown=$s1_session
# The minute block fires 59 ticks after the panel's initialisation at start.
minute_wait=$((90 - (SECONDS - s1_started)))
[ "$minute_wait" -lt 5 ] && minute_wait=5
check "S1: a minute row about a minute after start" wait_for "$minute_wait" s1_has_lines 3
echo "     (minute row seen $((SECONDS - s1_started)) s after start)"
tm send-keys -t "$s1_session" Enter
check "S1: stopped, the button reads S1 / Save again" wait_for 3 shows ">S1 / Save<"
s1_name=$(s1_log)
check "S1: the viewer shows the log by name" wait_for 3 shows "$s1_name - Notepad"
check "S1: ... its header, tabs expanded" shows "Item    Time    Life%   FullCharged(mw) Remains(mw)"
check "S1: ... all four lines, CR LF ends" shows_regex "Ln 1-4 of 4 +Windows \(CRLF\)"
check "S1: the panel ticks on beside the viewer" wait_for 3 eval '[ "$(screen | head -n 1)" != "$(sleep 1.2; screen | head -n 1)" ]'
tm send-keys -t "$s1_session" q
check "S1: q closes the viewer" wait_for 3 eval '! shows "Notepad"'
tm send-keys -t "$s1_session" C-c
check "S1: Ctrl+C ends the program with 0" wait_for 5 test -s "$s1_dir.status"

s1_file="$s1_dir/$s1_name"
check "S1: one log file, named S1-HHhMMmSSs-YYYYyMMmDDd.txt" \
  eval '[ "$(ls "$s1_dir" | wc -l)" -eq 1 ] && [[ "$s1_name" =~ ^S1-[0-9]{2}h[0-9]{2}m[0-9]{2}s-[0-9]{4}y[0-9]{2}m[0-9]{2}d\.txt$ ]]'
check "S1: no byte-order mark" test "$(head -c 4 "$s1_file")" = "Item"
line_feeds=$(tr -cd '\n' < "$s1_file" | wc -c)
returns=$(tr -cd '\r' < "$s1_file" | wc -c)
check "S1: every line ends with CR LF ($line_feeds lines)" \
  eval '[ "$(grep -c $'"'"'\r$'"'"' "$s1_file")" -eq "$line_feeds" ] && [ "$returns" -eq "$line_feeds" ] && [ "$(tail -c 1 "$s1_file" | od -An -tx1 | tr -d " ")" = 0a ]'
check "S1: header" test "$(head -n 1 "$s1_file")" = $'Item\tTime\tLife%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)\r'

row_regex=$'^[0-9]+\t[0-9]{2}:[0-9]{2}:[0-9]{2} +[0-9]+\\.[0-9]{2}%\t( {0,7}-?[0-9]+)\t( {0,7}-?[0-9]+)\t( {0,7}-?[0-9]+)\t( {0,7}-?[0-9]+)\r$'
mapfile -t rows < <(tail -n +2 "$s1_file")
rows_well_formed() {
  local row fields
  for row in "${rows[@]}"; do
    [[ "$row" =~ $row_regex ]] || return 1
    IFS=$'\t' read -r -a fields <<< "${row%$'\r'}"
    # Capacities, rate and diff right-aligned in eight characters.
    for field in "${fields[@]:2}"; do
      [ "${#field}" -eq 8 ] || return 1
    done
  done
}
field() { local fields; IFS=$'\t' read -r -a fields <<< "${rows[$1]%$'\r'}"; echo "${fields[$2]}" | tr -d ' '; }
check "S1: three rows: start, minute and stop" test "${#rows[@]}" -eq 3
check "S1: rows in the row format" rows_well_formed
check "S1: items 0, 1, 2" test "$(field 0 0) $(field 1 0) $(field 2 0)" = "0 1 2"
name_time=$(echo "$s1_name" | sed -E 's/^S1-([0-9]{2})h([0-9]{2})m([0-9]{2})s.*/\1:\2:\3/')
check "S1: the start row has the file name's time ($name_time)" test "$(field 0 1 | cut -c 1-8)" = "$name_time"
check "S1: the start row's Diff is 0" test "$(field 0 5)" = 0
check "S1: the minute row's Diff is negative (draining): $(field 1 5)" test "$(field 1 5)" -lt 0
check "S1: each Diff is the change of Remains since the row before" \
  eval '[ $(($(field 1 3) - $(field 0 3))) -eq "$(field 1 5)" ] && [ $(($(field 2 3) - $(field 1 3))) -eq "$(field 2 5)" ]'
check "S1: the stop row is last, no earlier than the minute row" \
  eval '[[ ! "$(field 2 1 | cut -c 1-8)" < "$(field 1 1 | cut -c 1-8)" ]]'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
