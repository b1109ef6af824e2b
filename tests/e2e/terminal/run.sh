#!/usr/bin/env bash
# Drives the terminal panel through tmux, as a person at the keyboard would, and reads the screen.
# Usage: run.sh [path/to/chargewright]
set -u

program=$(realpath "${1:-build/native/src/standin/chargewright}")
[ -x "$program" ] || { echo "no program at $program"; exit 2; }
command -v tmux >/dev/null || { echo "tmux is missing"; exit 2; }

work=$(mktemp -d)
session="chargewright-e2e-$$"
socket="$work/tmux.sock"
passed=0
failed=0

tm() { tmux -S "$socket" "$@"; }
cleanup() { tm kill-server 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

screen() { tm capture-pane -t "$session" -p; }
check() {  # check NAME COMMAND...: one test result
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok   $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name"
    screen | sed 's/^/     | /'
  fi
}
shows() { screen | grep -qF -- "$1"; }
shows_regex() { screen | grep -qE -- "$1"; }
line_with() { screen | grep -F -- "$1" | head -n 1; }
field_after() {  # the text in brackets after a label: "Remaining Capacity  [41689 mW ]" -> "41689 mW"
  line_with "$1" | sed -E "s/.*$1 *[[>]([^]<]*)[]<].*/\1/" | sed -E 's/ +$//'
}
wait_for() {  # wait_for SECONDS COMMAND...: until the command succeeds
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.2
  done
}
program_ended() { [ -s "$work/status" ]; }

# The wrapper records the program's exit status, then keeps the pane open for a last look.
tm new-session -d -s "$session" -x 100 -y 45 \
  "env LANG=C.UTF-8 TERM=screen-256color '$program'; echo \$? > '$work/status'; sleep 60"

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
tm new-session -d -s "$session" -x 100 -y 45 \
  "env LANG=C.UTF-8 '$program'; echo \$? > '$work/status'; sleep 60"
wait_for 5 shows "Remaining Capacity"
tm send-keys -t "$session" Tab BTab Enter
check "Enter on the focused Exit ends the program with 0" wait_for 5 program_ended
check "... status 0" test "$(cat "$work/status" 2>/dev/null)" = 0

rm -f "$work/status"
tm kill-session -t "$session"
tm new-session -d -s "$session" -x 100 -y 45 \
  "env LANG=C.UTF-8 '$program'; echo \$? > '$work/status'; sleep 60"
wait_for 5 shows "Remaining Capacity"
tm send-keys -t "$session" C-c
check "Ctrl+C ends the program with 0" wait_for 5 program_ended
check "... status 0" test "$(cat "$work/status" 2>/dev/null)" = 0

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
