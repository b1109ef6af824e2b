#!/usr/bin/env bash
# The unattended runs end to end, with no terminal at all. `chargewright log` on the simulated laptop;
# `chargewright sleep` on umockdev test beds (battery, AC, RTC, /sys/power, /proc/interrupts) with a
# mock logind on a private bus whose Suspend and Hibernate emit PrepareForSleep(true), change the bed
# as a sleep would (sleep_hook.py) and emit PrepareForSleep(false). The bus is checked before anything
# runs that could ask for a sleep (private-logind.sh), and nothing here writes /sys/power/state.
# Usage: run.sh [path/to/chargewright [path/to/chargewright_lab_bed]]
set -u

program=$(realpath "${1:-build/native/src/terminal/chargewright}")
bed_program=$(realpath "${2:-build/native/tests/lab/chargewright_lab_bed}")
for binary in "$program" "$bed_program"; do
  [ -x "$binary" ] || { echo "no program at $binary"; exit 2; }
done
for tool in umockdev-wrapper dbus-daemon gdbus; do
  command -v "$tool" >/dev/null || { echo "$tool is missing"; exit 2; }
done
here=$(dirname "$(realpath "$0")")
hook="$here/sleep_hook.py"

work=$(mktemp -d)
passed=0
failed=0
cleanup() {
  for pid in ${bed_writers:-}; do kill "$pid" 2>/dev/null; done
  stop_private_logind
  rm -rf "$work"
}
trap cleanup EXIT
check() {  # check NAME COMMAND...
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok   $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name"
  fi
}
wait_for() {  # wait_for SECONDS COMMAND...
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.1
  done
}
lines_in() { [ -f "$1" ] && [ "$(tr -cd '\n' <"$1" | wc -c)" -eq "$2" ]; }
same_text() {  # same_text FILE COMMAND...: shows both when they differ
  cmp -s "$1" <("${@:2}") && return 0
  echo "     file:"; sed 's/^/     | /' "$1" | cat -A
  echo "     expected:"; "${@:2}" | sed 's/^/     | /' | cat -A
  return 1
}

# ---- log on the simulated laptop: rows on standard output as written, SIGTERM writes the stop row ------
mkdir "$work/log"
(cd "$work/log" && exec setsid "$program" log --simulate </dev/null >out 2>err) &
log_pid=$!
s1() { ls "$work/log"/S1-*.txt 2>/dev/null | head -n 1; }
wait_for 5 eval 'lines_in "$(s1)" 2'
kill -TERM "$log_pid"
wait "$log_pid"
check "log: SIGTERM ends the run with 0" [ $? -eq 0 ]
check "log: ... after the stop row (header, start row, stop row)" \
  eval 'lines_in "$(s1)" 3 && [ "$(sed -n 3p "$(s1)" | cut -f 1)" = 1 ]'
check "log: each row also on standard output, as written" same_text "$work/log/out" tr -d '\r' <"$(s1)"
check "--help documents both commands" \
  eval '"$program" --help | grep -q "chargewright log \[--duration TIME\]" && "$program" --help | grep -q "chargewright sleep --cycles N --sleep TIME"'

# ---- the private bus and the mock logind, checked before anything that can sleep runs -------------------
source "$here/../../linux/private-logind.sh"
start_private_logind "$work"
/usr/bin/python3 "$hook" install "$work" || { echo "the mock logind took no sleep handlers"; exit 1; }

bed_writers=""
new_bed() {  # new_bed NAME [test_bed.py option...]: prints nothing; the root is in $work/NAME.out
  mkfifo "$work/$1.in"
  umockdev-wrapper "$here/../linux/test_bed.py" "${@:2}" <"$work/$1.in" >"$work/$1.out" 2>"$work/$1.err" &
  sleep 3600 >"$work/$1.in" &
  bed_writers="$bed_writers $! "
  for _ in $(seq 50); do [ -s "$work/$1.out" ] && break; sleep 0.1; done
}
bed_root() { head -n 1 "$work/$1.out"; }
use_plan() {  # use_plan NAME PLAN_JSON: the bed's plan becomes the active one, its setup applied
  printf '%s' "$2" >"$work/$1.plan"
  echo "$work/$1.plan" >"$work/active"
  echo 0 >"$work/boot-ahead"
  /usr/bin/python3 "$hook" setup "$work"
}
run_on() {  # run_on BED DIR PROGRAM ARGS...: in DIR, on the bed, with the bus checked where it runs;
            # the program's process id in $work/BED.pid (the wrappers exec it)
  local bed=$1 dir=$2
  mkdir -p "$dir"
  (cd "$dir" && echo "$BASHPID" >"$work/$bed.pid" && exec env UMOCKDEV_DIR="$(bed_root "$bed")" ALSA_CONFIG_PATH="$work/alsa.conf" \
     sh -c '[ "$DBUS_SYSTEM_BUS_ADDRESS" = "$CHARGEWRIGHT_PRIVATE_BUS" ] || exit 99; exec umockdev-wrapper "$@"' \
     sh "${@:3}" </dev/null >out 2>err)
}
: >"$work/alsa.conf"
interrupts='           CPU0       CPU1
  1:        812          0  IR-IO-APIC    1-edge      i8042
  8:          0          0  IR-IO-APIC    8-edge      rtc0
  9:        412         17  IR-IO-APIC    9-fasteoi   acpi
'
stats='sys/power/suspend_stats'

# ---- three sleep cycles on a kernel that tells everything ---------------------------------------------
new_bed full --rtc
use_plan full "$(cat <<JSON
{"root": "$(bed_root full)",
 "setup": {"files": {"sys/power/mem_sleep": "[s2idle] deep\n", "sys/power/disk": "[platform] shutdown reboot suspend\n",
   "$stats/success": "0\n", "$stats/fail": "0\n", "$stats/last_failed_step": "\n", "$stats/last_failed_dev": "\n",
   "$stats/last_hw_sleep": "0\n", "$stats/total_hw_sleep": "0\n", "$stats/max_hw_sleep": "4294967295\n",
   "proc/interrupts": $(printf '%s' "$interrupts" | /usr/bin/python3 -c 'import json,sys; print(json.dumps(sys.stdin.read()))')}},
 "cycles": [
  {"asleep_ms": 600000, "battery": {"energy_now": "41378000"},
   "files": {"sys/class/rtc/rtc0/wakealarm": "", "sys/power/pm_wakeup_irq": "9\n", "$stats/success": "1\n",
             "$stats/last_hw_sleep": "590000000\n", "$stats/total_hw_sleep": "590000000\n"}},
  {"asleep_ms": 5000000, "battery": {"energy_now": "39378000"},
   "files": {"sys/class/rtc/rtc0/wakealarm": "", "sys/power/pm_wakeup_irq": "9\n", "$stats/success": "2\n",
             "$stats/last_hw_sleep": "605032704\n", "$stats/total_hw_sleep": "1195032704\n"}},
  {"asleep_ms": 1800000, "battery": {"energy_now": "38478000"},
   "files": {"sys/power/pm_wakeup_irq": "1\n", "$stats/success": "3\n",
             "$stats/last_hw_sleep": "1750000000\n", "$stats/total_hw_sleep": "2945032704\n"}}]}
JSON
)"
run_on full "$work/full" "$bed_program" "$work/boot-ahead" sleep --cycles 3 --sleep 2s --wait 1s
status=$?
check "sleep: three cycles end with 0" [ $status -eq 0 ]
check "sleep: logind's Suspend(false), once a cycle" \
  eval '[ "$(mock_calls | grep -oF "'"'Suspend', [<false>]"'" | wc -l)" -eq 3 ]'
mapfile -t logs < <(cd "$work/full" && ls S3-*.txt)
check "sleep: three S3 logs of three lines each" \
  eval '[ ${#logs[@]} -eq 3 ] && for log in "${logs[@]}"; do lines_in "$work/full/$log" 3 || exit 1; done'
check "sleep: each log's row after the resume carries what the battery lost" \
  eval 'for pair in "0:-312" "1:-2000" "2:-900"; do
          [ "$(sed -n 3p "$work/full/${logs[${pair%%:*}]:-none}" | cut -f 5 | tr -d " \r")" = "${pair#*:}" ] || exit 1
        done'
summary=$(cd "$work/full" && ls S3-*-cycles.tsv 2>/dev/null | head -n 1)
check "sleep: the summary sorts beside the logs and is no log" \
  eval '[ -n "$summary" ] && [ "$(cd "$work/full" && ls S3-* | head -n 1)" = "$summary" ]'
expected_summary() {
  printf 'Cycle\tLog\tState\tAsleep(s)\tHwSleep(s)\tHwSleep(%%)\tHwSleepWrapped\tWakeSource\tSuspend\tFailedStep\tFailedDevice\tLost(mWh)\tDrain(mW)\tDrain(%%/h)\n'
  printf '1\t%s\ts2idle\t600.000\t590.000\t98.3\tno\trtc alarm (irq 9 acpi)\tok\t-\t-\t312\t1872\t3.60\n' "${logs[0]:-}"
  printf '2\t%s\ts2idle\t5000.000\t605.032\t12.1\tyes\trtc alarm (irq 9 acpi)\tok\t-\t-\t2000\t1440\t2.77\n' "${logs[1]:-}"
  printf '3\t%s\ts2idle\t1800.000\t1750.000\t97.2\tno\tirq 1 i8042\tok\t-\t-\t900\t1800\t3.46\n' "${logs[2]:-}"
}
check "sleep: the summary's rows carry what the bed implies (a long sleep flagged: the counter wrapped)" \
  same_text "$work/full/$summary" expected_summary
check "sleep: the table at the end, with its means" \
  eval 'grep -qE "^mean +2466\.7 +69\.2% +1071 +1704 +3\.28" "$work/full/out"'

# ---- an older kernel: one cycle, then Ctrl+C while awake between cycles -------------------------------
new_bed old --rtc
use_plan old "{\"root\": \"$(bed_root old)\", \"setup\": {\"files\": {\"sys/power/mem_sleep\": \"[deep]\"}},
  \"cycles\": [{\"asleep_ms\": 60000, \"battery\": {\"energy_now\": \"41590000\"},
                \"files\": {\"sys/class/rtc/rtc0/wakealarm\": \"\"}}]}"
run_on old "$work/old" "$bed_program" "$work/boot-ahead" sleep --cycles 3 --sleep 1s --wait 60s &
run_pid=$!
wait_for 10 lines_in "$(ls "$work"/old/S3-*-cycles.tsv 2>/dev/null | head -n 1)" 2
sleep 0.5
kill -INT "$(cat "$work/old.pid")"
wait_for 5 eval '! kill -0 $run_pid 2>/dev/null'
wait "$run_pid"
status=$?
check "Ctrl+C between cycles: the run ends with 0 and says so" \
  eval '[ $status -eq 0 ] && grep -q "stopped after 1 of 3 cycles" "$work/old/out"'
check "Ctrl+C between cycles: ... keeping the finished cycle; what the kernel does not tell is unknown" \
  eval 'tail -n 1 "$work"/old/S3-*-cycles.tsv | cut -f 3- |
        grep -qxP "deep\t60.000\tunknown\tunknown\tunknown\trtc alarm\tunknown\t-\t-\t100\t6000\t11.54"'

# ---- a suspend the kernel counted as failed ends the run with 1 and the reason -------------------------
new_bed failing --rtc
use_plan failing "{\"root\": \"$(bed_root failing)\",
  \"setup\": {\"files\": {\"sys/power/mem_sleep\": \"[s2idle]\", \"$stats/success\": \"7\", \"$stats/fail\": \"0\"}},
  \"cycles\": [{\"asleep_ms\": 0, \"files\": {\"$stats/fail\": \"1\",
    \"$stats/last_failed_step\": \"suspend_noirq\n\", \"$stats/last_failed_dev\": \"0000:00:14.0\n\"}}]}"
run_on failing "$work/failing" "$bed_program" "$work/boot-ahead" sleep --cycles 2 --sleep 1s --wait 0
status=$?
check "failed suspend: exit 1 with the step and device, after one cycle" \
  eval '[ $status -eq 1 ] && grep -q "suspend failed at suspend_noirq (0000:00:14.0)" "$work/failing/err" &&
        [ "$(ls "$work"/failing/S3-*.txt | wc -l)" -eq 1 ]'
check "failed suspend: its row says so" \
  eval 'tail -n 1 "$work"/failing/S3-*-cycles.tsv | cut -f 9-11 | grep -qxP "failed\tsuspend_noirq\t0000:00:14.0"'

# ---- no wake alarm: the program itself refuses before anything sleeps ---------------------------------
new_bed no_rtc
calls_before=$(mock_calls | grep -oF "'Suspend'" | wc -l)
run_on no_rtc "$work/no_rtc" "$program" sleep --cycles 2 --sleep 10s
status=$?
check "no wake alarm: refused with exit 1 and one clear line" \
  eval '[ $status -eq 1 ] && [ "$(wc -l <"$work/no_rtc/err")" -eq 1 ] && grep -q "no wake alarm" "$work/no_rtc/err"'
check "no wake alarm: ... before any log, summary or Suspend" \
  eval '[ -z "$(ls "$work/no_rtc" | grep -v -e ^out$ -e ^err$)" ] && [ "$(mock_calls | grep -oF "'"'Suspend'"'" | wc -l)" -eq $calls_before ]'

[ -n "${KEEP_LAB_WORK:-}" ] && cp -r "$work" "$KEEP_LAB_WORK"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
