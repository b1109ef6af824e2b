#!/usr/bin/env bash
# End to end: logs from simulated runs (and damaged ones), chargewright-report on them on a machine
# with a battery (a umockdev test bed), the page in headless Chromium, and a week of S1 rows timed.
#   tests/report/run.sh BUILD_DIR        (BUILD_DIR: build/native)
# REPORT_DOCS_SCREENSHOT=FILE also saves the top of the page there.
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
report=$build/src/report/chargewright-report
maker=$build/tests/report/report_log_maker
artifacts=$build/artifacts
mkdir -p "$artifacts"
work=$(mktemp -d "${TMPDIR:-/tmp}/chargewright-report.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir logs damaged empty week
"$maker" logs
# A log cut in its last row, a foreign file under a log's name, a log saved again with LF line ends.
overnight=$(ls logs/S1-22h*.txt)
head -c 5000 "$overnight" > damaged/S1-07h00m00s-2026y12m05d.txt
printf 'Meeting notes\r\nbring the charger\r\n' > damaged/S3-notes.txt
sed 's/\r$//' logs/S1-09h*.txt > damaged/S1-09h15m00s-2026y12m02d-saved-again.txt
# S1 / Save and Stop within the same second: two rows, no time between them.
{ head -n 2 "$overnight"; sed -n 2p "$overnight" | sed 's/^0\t/1\t/'; } > damaged/S1-22h30m00s-2026y12m08d.txt

status=0
"$report" empty > empty.out 2> empty.err || status=$?
[ "$status" -eq 1 ] || { echo "an empty folder gave exit $status, not 1"; exit 1; }
grep -q "empty: the folder holds no test logs" empty.err || { cat empty.err; exit 1; }
[ ! -e chargewright-report.html ] || { echo "a page was written from no logs"; exit 1; }

# A page named like one of the logs, by another path, is refused before anything is written.
kept=$(md5sum < "$overnight")
status=0
"$report" -o "logs/../$overnight" logs > refused.out 2> refused.err || status=$?
[ "$status" -eq 2 ] && [ "$(md5sum < "$overnight")" = "$kept" ] || { echo "exit $status"; cat refused.err; exit 1; }
grep -q "would overwrite logs/S1-22h" refused.err || { cat refused.err; exit 1; }

# A sleep test whose machine never came back to the panel (the header and the row before the suspend),
# and a hibernate test whose battery could not be read after the resume (the panel then writes the
# zero-filled reading, its Diff minus the remaining capacity before).
sleep_log=$(ls logs/S3-*.txt | head -1)
head -n 2 "$sleep_log" > damaged/S3-06h30m00s-2026y12m06d.txt
hibernate_log=$(ls logs/S4-*.txt | head -1)
before=$(sed -n 2p "$hibernate_log" | cut -f3 | tr -d ' ')
{ head -n 2 "$hibernate_log"; printf '14:41:07  N/A%%\t       0\t       0\t       0\t%8d\r\n' "-$before"; } \
  > damaged/S4-12h40m00s-2026y12m07d.txt

# The cycle summary of an unattended sleep run, saved again with CR LF and cut in its last row: a
# cycle that stayed mostly awake (a device kept waking it) and one whose suspend the kernel counted as
# failed, as the Linux program writes them.
{
  printf 'Cycle\tLog\tState\tAsleep(s)\tHwSleep(s)\tHwSleep(%%)\tHwSleepWrapped\tWakeSource\tSuspend\tFailedStep\tFailedDevice\tLost(mWh)\tDrain(mW)\tDrain(%%/h)\n'
  printf '1\tS3-01h00m00s-2026y12m09d.txt\ts2idle\t600.000\t590.000\t98.3\tno\trtc alarm (irq 9 acpi)\tok\t-\t-\t312\t1872\t3.60\n'
  printf '2\tS3-01h11m00s-2026y12m09d.txt\ts2idle\t600.000\t120.000\t20.0\tno\tirq 7 ELAN0001:00\tok\t-\t-\t900\t5400\t10.38\n'
  printf '3\tS3-01h22m00s-2026y12m09d.txt\ts2idle\t0.021\tunknown\tunknown\tunknown\tunknown\tfailed\tsuspend_noirq\t0000:00:14.0\t0\t0\t0.00\n'
  printf '4\tS3-01h23m00s-2026y12m09d.txt\ts2idle\t600.000\t58'
} | sed 's/$/\r/' | head -c -1 > damaged/S3-01h00m00s-2026y12m09d-cycles.tsv

# The machine the report runs on: a Dell XPS 15 battery as its kernel described it (an older kernel
# leaves the type out of the uevent; it is in the type file beside it).
cat > xps15.umockdev <<'BED'
P: /devices/LNXSYSTM:00/LNXSYBUS:00/PNP0C0A:00/power_supply/BAT1
E: SUBSYSTEM=power_supply
E: POWER_SUPPLY_NAME=BAT1
E: POWER_SUPPLY_STATUS=Full
E: POWER_SUPPLY_PRESENT=1
E: POWER_SUPPLY_TECHNOLOGY=Li-ion
E: POWER_SUPPLY_CYCLE_COUNT=0
E: POWER_SUPPLY_VOLTAGE_MIN_DESIGN=11370000
E: POWER_SUPPLY_VOLTAGE_NOW=12782000
E: POWER_SUPPLY_ENERGY_FULL_DESIGN=91000000
E: POWER_SUPPLY_ENERGY_FULL=89210000
E: POWER_SUPPLY_ENERGY_NOW=89210000
E: POWER_SUPPLY_CAPACITY=100
E: POWER_SUPPLY_CAPACITY_LEVEL=Full
E: POWER_SUPPLY_MODEL_NAME=PABAS0241231
E: POWER_SUPPLY_MANUFACTURER=Simplo
E: POWER_SUPPLY_SERIAL_NUMBER=41167
A: type=Battery
BED

inputs=(logs/S1-*.txt logs/S3-*.txt logs/S4-*.txt damaged)
umockdev-run --device xps15.umockdev -- "$report" "${inputs[@]}" > summary.txt 2> problems.txt
cat problems.txt
grep -q "S3-notes.txt: line 1: not a Chargewright test log" problems.txt
grep -q "S1-07h00m00s-2026y12m05d.txt: line [0-9]*: the row is cut off" problems.txt
grep -q "Note: saved again with LF line ends" summary.txt
grep -Eq "^  Ending +no Stop row" summary.txt
grep -Eq "^  Ending +no resume row" summary.txt
grep -Eq "^  Ending +resume reading failed" summary.txt
grep -q "S3-01h00m00s-2026y12m09d-cycles.tsv: line 5: cut off while it was written" problems.txt
grep -Eq "^  2 +s2idle +600.000 20.0 .* below 90 % hardware sleep$" summary.txt
grep -Eq "^  3 +s2idle .* suspend failed$" summary.txt
sed -n '/^The battery of the machine this report ran on/,/^$/p' summary.txt
grep -Eq "^  Unique ID \(model and serial\) +PABAS0241231 41167" summary.txt
grep -Eq "^  Design capacity \(mWh\) +91000" summary.txt
logs_read=(logs/S1-*.txt logs/S3-*.txt logs/S4-*.txt damaged/S1-*.txt damaged/S3-06h*.txt damaged/S4-*.txt)
node "$here/check_page.mjs" chargewright-report.html summary.txt "$artifacts/report.png" \
  ${REPORT_DOCS_SCREENSHOT:+--docs "$REPORT_DOCS_SCREENSHOT"} "${logs_read[@]}"

"$maker" week --week
started=$(date +%s%N)
"$report" -o week.html week > week.txt
elapsed_ms=$(( ($(date +%s%N) - started) / 1000000 ))
rows=$(grep -m1 "Rows" week.txt | awk '{print $2}')
echo "a week of S1 rows ($rows rows): report written in $elapsed_ms ms"
[ "$rows" -ge 10000 ] && [ "$elapsed_ms" -lt 1000 ]
