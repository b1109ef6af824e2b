#!/usr/bin/env bash
# chargewright-report.exe under Wine: a console program that reads logs and writes its page under
# names that are not ASCII, and prints the same summary as the Linux program. Setup API is imported
# for the battery of the machine the report runs on (the panel's battery query): in a private prefix
# with the described battery of the Windows end-to-end tests installed, the report shows that battery.
#   tests/report/wine-run.sh WINDOWS_BUILD_DIR NATIVE_BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
windows_build=$(cd "$1" && pwd)
exe=$windows_build/src/report/chargewright-report.exe
native=$(cd "$2" && pwd)
/usr/bin/python3 - "$exe" <<'PY'
import sys, pefile
pe = pefile.PE(sys.argv[1])
assert pe.OPTIONAL_HEADER.Subsystem == pefile.SUBSYSTEM_TYPE['IMAGE_SUBSYSTEM_WINDOWS_CUI'], "not a console program"
dlls = sorted(entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT)
assert set(dlls) <= {"kernel32.dll", "msvcrt.dll", "setupapi.dll"}, "imports %s" % dlls
print("chargewright-report.exe: console program importing %s" % ", ".join(dlls))
PY
work=$(mktemp -d "${TMPDIR:-/tmp}/chargewright-report-wine.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir "Akku-Prüfung" leer
"$native/tests/report/report_log_maker" "Akku-Prüfung"
first=$(ls Akku-Prüfung/S1-*.txt | head -1)
first_named="${first%.txt}-Müller €.txt"
mv "$first" "$first_named"
# An unattended sleep run's cycle summary beside the logs, with a marked cycle: read alike on both.
{
  printf 'Cycle\tLog\tState\tAsleep(s)\tHwSleep(s)\tHwSleep(%%)\tHwSleepWrapped\tWakeSource\tSuspend\tFailedStep\tFailedDevice\tLost(mWh)\tDrain(mW)\tDrain(%%/h)\n'
  printf '1\tS3-01h00m00s-2026y12m09d.txt\ts2idle\t600.000\t590.000\t98.3\tno\trtc alarm (irq 9 acpi)\tok\t-\t-\t312\t1872\t3.60\n'
  printf '2\tS3-01h11m00s-2026y12m09d.txt\tdeep\t5000.000\tunknown\tunknown\tunknown\tirq 1 i8042\tfailed\tsuspend_noirq\t0000:00:14.0\t-20\t-14\t-0.03\n'
} > "Akku-Prüfung/S3-01h00m00s-2026y12m09d-cycles.tsv"

status=0
"$root/tests/tools/wine-run.sh" "$exe" leer > empty.out 2> empty.err || status=$?
[ "$status" -eq 1 ] || { echo "an empty folder gave exit $status, not 1"; cat empty.err; exit 1; }

# A page named like one of the logs, in another case and spelling, is refused and the log kept.
kept=$(md5sum < "$first_named")
upper=$(basename "$first_named" | tr 'a-z' 'A-Z')
status=0
"$root/tests/tools/wine-run.sh" "$exe" "Akku-Prüfung" -o ".\\Akku-Prüfung\\$upper" > refused.out 2> refused.err || status=$?
[ "$status" -eq 2 ] && [ "$(md5sum < "$first_named")" = "$kept" ] || { echo "exit $status"; cat refused.err; exit 1; }

"$root/tests/tools/wine-run.sh" "$exe" "Akku-Prüfung" -o "Bericht-Müller.html" > windows.txt
"$native/src/report/chargewright-report" "Akku-Prüfung" -o linux.html > linux.txt
[ -s "Bericht-Müller.html" ] || { echo "no page under the non-ASCII name"; exit 1; }
grep -q "Müller €.txt" "Bericht-Müller.html" || { echo "the page lacks the non-ASCII log name"; exit 1; }
# The same figures, but for the console's line ends, the path separator and the page's name. The
# machine each program ran on is its own (Wine's, or this one's) and is shown apart.
machine_block='/^The battery of the machine this report ran on\|^The machine this report ran on/,/^$/'
tr -d '\r' < windows.txt | tr '\\' '/' | grep -v '^Report written' > windows.all
grep -v '^Report written' linux.txt > linux.all
sed "${machine_block}d" windows.all > windows.cmp
sed "${machine_block}d" linux.all > linux.cmp
diff -u linux.cmp windows.cmp
echo "the machine under Wine:"
sed -n "${machine_block}p" windows.all
grep -q "this report ran on" windows.all || { echo "no word of the machine's battery under Wine"; exit 1; }
grep -q "^Sleep cycles .*-cycles.tsv" windows.cmp || { echo "no cycle summary read under Wine"; exit 1; }
echo "chargewright-report.exe: $(grep -c '^  Kind' windows.cmp) logs and $(grep -c '^Sleep cycles' windows.cmp) cycle summary summarised alike on Windows and Linux"

# Wine loads a driver only into a prefix of its own architecture, so the prefix takes the build's.
inf=$windows_build/described-battery/described_battery.inf
WINEARCH=win64
file -b "$(dirname "$inf")/described_battery.sys" | grep -q 'PE32 executable' && WINEARCH=win32
export WINEARCH WINEPREFIX="$work/battery-prefix"
status=0
"$root/tests/tools/wine-run.sh" "$windows_build/tests/report/report_battery_driver.exe" "$exe" "$inf" \
  "Akku-Prüfung" "$work/with-battery.html" > battery.txt 2>&1 || status=$?
wineserver -k 2>/dev/null || true  # only this run's prefix
tr -d '\r' < battery.txt
[ "$status" -eq 0 ] || { echo "the report on a machine with a battery: exit $status"; exit 1; }
