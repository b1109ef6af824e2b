#!/usr/bin/env bash
# Drives the terminal panel on the real laptop's code through tmux: a umockdev test bed describes the
# laptop (battery, AC, board), and a mock logind (python-dbusmock) on a private bus stands in for the
# system bus. Before any program starts, the script checks that the system bus address is that private
# bus and that login1 there is the mock, so no press of S3, S4 or S5 can reach the machine's own logind.
# Usage: run.sh [path/to/chargewright]
set -u

program=$(realpath "${1:-build/native/src/terminal/chargewright}")
[ -x "$program" ] || { echo "no program at $program"; exit 2; }
for tool in tmux umockdev-wrapper dbus-daemon gdbus; do
  command -v "$tool" >/dev/null || { echo "$tool is missing"; exit 2; }
done
here=$(dirname "$(realpath "$0")")

work=$(mktemp -d)
socket="$work/tmux.sock"
source "$here/../tmux-checks.sh"
passed=0
failed=0
cleanup() {
  tm kill-server 2>/dev/null
  for pid in ${bed_writers:-}; do kill "$pid" 2>/dev/null; done
  stop_private_logind
  rm -rf "$work"
}
trap cleanup EXIT

# ---- The private bus and the mock logind, checked before anything else runs --------------------------
source "$here/../../linux/private-logind.sh"
start_private_logind "$work"
prepare_for_sleep() {
  logind -m org.freedesktop.DBus.Mock.EmitSignal org.freedesktop.login1.Manager PrepareForSleep b "[<$1>]" >/dev/null
}

# ---- Test beds: each reads its commands from a pipe, and prints its root directory -------------------
bed_writers=""
new_bed() {  # new_bed NAME [--no-battery]
  mkfifo "$work/$1.in"
  # Under the preload too: sending a uevent looks the device up through libudev.
  umockdev-wrapper "$here/test_bed.py" "${@:2}" <"$work/$1.in" >"$work/$1.out" 2>"$work/$1.err" &
  sleep 3600 >"$work/$1.in" &  # holds the pipe open: the bed lives until the script ends
  bed_writers="$bed_writers $! "
  for _ in $(seq 50); do [ -s "$work/$1.out" ] && break; sleep 0.1; done
}
bed_root() { head -n 1 "$work/$1.out"; }
bed() {  # bed NAME COMMAND...: one command, answered before it returns
  local answers
  answers=$(grep -c '^done$' "$work/$1.out")
  echo "${@:2}" >"$work/$1.in"
  for _ in $(seq 50); do [ "$(grep -c '^done$' "$work/$1.out")" -gt "$answers" ] && return; sleep 0.1; done
}
: >"$work/alsa.conf"  # no sound card here; an empty ALSA configuration keeps the mixer from probing

shown=""
start() {  # start SESSION BED [OPTION...]: the program on a test bed, in a directory named after the session
  mkdir -p "$work/$1"
  # The command checks the bus once more where it runs, as tmux may hand it an environment of its own.
  tm new-session -d -s "$1" -x 100 -y 46 -c "$work/$1" \
    "env LANG=C.UTF-8 TERM=screen-256color ALSA_CONFIG_PATH='$work/alsa.conf' UMOCKDEV_DIR='$(bed_root "$2")' \
       DBUS_SYSTEM_BUS_ADDRESS='$address' DBUS_SESSION_BUS_ADDRESS='$address' \
       sh -c '[ \"\$DBUS_SYSTEM_BUS_ADDRESS\" = \"$address\" ] || exit 99; exec umockdev-wrapper \"\$0\" \"\$@\"' \
       '$program' ${*:3}; echo \$? > '$work/$1.status'; sleep 60"
  shown=$1
}
focus_on() {  # Tab round until the screen shows TEXT (a focused control's markers)
  local i
  for i in $(seq 1 45); do
    shows "$1" && return 0
    tm send-keys -t "$shown" Tab
    sleep 0.08
  done
  return 1
}
press() { focus_on "$1" && tm send-keys -t "$shown" Enter; }
log_of() { ls "$work/$1" | grep -E "^$2-[0-9]{2}h[0-9]{2}m[0-9]{2}s-[0-9]{4}y[0-9]{2}m[0-9]{2}d\.txt$" | head -n 1; }
lines_of() { local name; name=$(log_of "$1" "$2"); [ -n "$name" ] && tr -cd '\n' <"$work/$1/$name" | wc -c || echo 0; }
has_lines() { [ "$(lines_of "$1" "$2")" -eq "$3" ]; }
# Log rows as the log format writes them: with the item (S1), from their time and figures, and without.
row() { printf '%s\t%s %s%%\t%8s\t%8s\t%8s\t%8s\r\n' "$@"; }
sleep_row() { printf '%s %s%%\t%8s\t%8s\t%8s\t%8s\r\n' "$@"; }
same_bytes() {  # same_bytes FILE COMMAND...: the file holds exactly what the command prints; shows both when not
  cmp -s "$1" <("${@:2}") && return 0
  echo "     file:"; sed 's/^/     | /' "$1" | cat -A
  echo "     expected:"; "${@:2}" | sed 's/^/     | /' | cat -A
  return 1
}
times_in() { tail -n +2 "$1" | cut -f 2 | cut -c 1-8; }

# ---- The described laptop: its values, an S1 session, an AC plug, a resume ---------------------------
new_bed laptop
start real laptop
check "real: panel appears" wait_for 5 shows "Remaining Capacity"
check "real: the title line names the battery" shows_regex '^ ?Chargewright - .* Real laptop BAT0 \(DELL 7FHHV, SMP\)$'
check "real: the strip names it too, with the adapter" shows "Real laptop BAT0 (DELL 7FHHV, SMP)   AC adapter: offline"
check "real: ... and why the devices are unavailable" \
  eval 'shows "brightness unavailable: no backlight" && shows "wake alarm unavailable: no RTC"'
check "real: the battery's identity and chemistry" shows "Battery Status (DELL 7FHHV 1234, LION)"
check "real: alert 1 from the battery's alarm file" shows_regex "Dafault Alert 1 +\[2600 mW"
check "real: capacities" eval 'shows_regex "Design Capacity +\[57000 mW" && shows_regex "FullCharged Capacity\[52000 mW" && shows_regex "Remaining Capacity +\[41690 mW"'
check "real: voltage and rate" eval 'shows_regex "Voltage +\[11900 mV" && shows_regex "Rate +\[-12345 mW/hr"'
check "real: on battery" eval 'shows_regex "Ac on Line +\[FALSE" && shows_regex "Discharging +\[TRUE"'
check "real: the board from DMI" eval 'shows "Testbed Inc." && shows "TB-1"'

press ">S1 / Save<"
check "real S1: the log starts with its header and start row" wait_for 3 has_lines real S1 2
s1_file="$work/real/$(log_of real S1)"

bed laptop set AC online 1
bed laptop set BAT0 status Charging
bed laptop uevent AC change
check "AC plug: the panel shows the adapter within 3 s" wait_for 3 shows_regex 'Ac on Line +\[TRUE'
check "AC plug: ... and the battery charging" eval 'shows_regex "Charging +\[TRUE" && shows_regex "Rate +\[12345 mW/hr"'
check "AC plug: the re-initialised panel adds an S1 row" wait_for 3 has_lines real S1 3
check "AC plug: the strip says the adapter is online" wait_for 3 shows "AC adapter: online"

mapfile -t s1_times < <(times_in "$s1_file")
expected_s1() {
  printf 'Item\tTime\tLife%%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)\r\n'
  row 0 "${s1_times[0]:-}" 80.17 52000 41690 -12345 0
  row 1 "${s1_times[1]:-}" 80.17 52000 41690 12345 0
}
check "real S1: header and rows byte for byte (CR LF, tabs, the battery's figures)" same_bytes "$s1_file" expected_s1

# A resume re-initialises the panel: the delay fields typed in go back to the default.
focus_on "]>Wake up after" && tm send-keys -t "$shown" Space Tab 4 2
check "resume: hours typed into the delay" wait_for 2 shows_regex '_+42H'
prepare_for_sleep true
prepare_for_sleep false
check "resume: PrepareForSleep re-initialises the panel" wait_for 3 shows_regex '_+0H +_+3M +_+0S'

# ---- S3 through the mock logind: Suspend(false), the sleeping screen, the three-line log -------------
bed laptop set AC online 0
bed laptop set BAT0 status Discharging
bed laptop uevent AC change
wait_for 3 shows_regex 'Ac on Line +\[FALSE'
press ">S3<"
check "S3: logind's Suspend(false) is called" wait_for 3 eval 'mock_calls | grep -qF "'"'Suspend', [<false>]"'"'
check "S3: the sleeping screen while logind holds the call" shows "Sleeping (S3)"
bed laptop set BAT0 energy_now 40690000
prepare_for_sleep true
prepare_for_sleep false
# The delay is still checked from the resume above, and this bed has no RTC to arm: the sleep went
# ahead all the same, and the panel says so after it.
check "S3: a wake alarm that cannot be armed says so" wait_for 5 shows "Can't Set Wait timer"
tm send-keys -t "$shown" Enter
check "S3: the log has its three lines" wait_for 5 has_lines real S3 3
check "S3: the strip gives the kernel's verdict on the sleep" wait_for 3 shows "last sleep: state unknown, asleep"
check "S3: after PrepareForSleep(false) the finished log is shown" wait_for 3 eval 'shows "$(log_of real S3) - Notepad"'
s3_file="$work/real/$(log_of real S3)"
mapfile -t s3_times < <(tail -n +2 "$s3_file" | cut -c 1-8)
expected_s3() {
  printf 'Time\tLife%%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)\r\n'
  sleep_row "${s3_times[0]:-}" 80.17 52000 41690 -12345 0
  sleep_row "${s3_times[1]:-}" 78.25 52000 40690 -12345 -1000
}
check "S3: its rows, before and after the sleep, byte for byte" same_bytes "$s3_file" expected_s3
tm send-keys -t "$shown" q
wait_for 2 eval '! shows "Notepad"'

# ---- S5: PowerOff(false), and the program ends with 0 ------------------------------------------------
press ">S5<"
check "S5: logind's PowerOff(false) is called" wait_for 3 eval 'mock_calls | grep -qF "'"'PowerOff', [<false>]"'"'
check "S5: the program ends with 0" wait_for 5 eval '[ "$(cat "$work/real.status" 2>/dev/null)" = 0 ]'

# ---- A sleep that never resumes: Ctrl+C or SIGTERM still ends the program; the log keeps its rows ----
program_pid() { pgrep -P "$(tm display-message -p -t "$shown" '#{pane_pid}')"; }
for way in ctrl-c sigterm; do
  start "never-$way" laptop
  wait_for 5 shows "Remaining Capacity"
  logind -m org.freedesktop.DBus.Mock.ClearCalls >/dev/null
  press ">S3<"
  wait_for 3 eval 'mock_calls | grep -qF "'"'Suspend', [<false>]"'"'
  prepare_for_sleep true
  check "never resumed ($way): the sleeping screen" wait_for 3 shows "Sleeping (S3)"
  sleep 0.5
  if [ "$way" = ctrl-c ]; then
    tm send-keys -t "$shown" C-c
  else
    kill -TERM "$(program_pid)"
  fi
  check "never resumed ($way): the program ends with 0" \
    wait_for 3 eval '[ "$(cat "$work/never-$way.status" 2>/dev/null)" = 0 ]'
  check "never resumed ($way): the log keeps its header and first row" has_lines "never-$way" S3 2
done

# ---- The strip's devices: read again when the kernel tells of a change, or when the panel set them ----
new_bed devices --devices
start devices devices
check "devices: the strip shows the backlight and the wlan switch" \
  wait_for 5 shows "brightness 50 % (intel_backlight)   radio on (phy0)"
bed devices set intel_backlight brightness 800
bed devices set rfkill0 soft 1
bed devices uevent intel_backlight change
bed devices uevent rfkill0 change
check "devices: their uevents bring the new level and radio state to the strip" \
  wait_for 3 shows "brightness 80 % (intel_backlight)   radio off (phy0)"
press ">Dark<"
check "devices: Dark's level is in the strip, with no uevent" wait_for 3 shows "brightness 79 % (intel_backlight)"

# A gauge that reads 0 W while discharging: the rate is unknown, and its text is wider than the field.
# (The bed writes a new uevent file, which a supply's open file does not see: a change event lists it anew.)
bed devices set BAT0 power_now 0
bed devices uevent BAT0 change
check "unknown rate: its field shows the start and marks the cut" wait_for 3 shows_regex 'Rate +\[-2147483648 mW…'
check "unknown rate: with the focus, the end and its unit" focus_on "…47483648 mW/hr<"

# ---- The simulated laptop: asked for on the described laptop, and where the machine has no battery ---
start asked laptop --simulate
check "--simulate: the simulated laptop on a machine with a battery" \
  wait_for 5 eval 'shows "Simulated laptop   AC adapter" && shows "Stand-in Board SIM-0001"'
new_bed empty --no-battery
start empty empty
check "no battery: the simulated laptop starts" \
  wait_for 5 eval 'shows "Simulated laptop   AC adapter" && ! shows "Real laptop"'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
