#!/usr/bin/env bash
# End to end: logs from simulated runs (and damaged ones), chargewright-report on them, the page in
# headless Chromium, and a week of S1 rows timed.
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

status=0
"$report" empty > empty.out 2> empty.err || status=$?
[ "$status" -eq 1 ] || { echo "an empty folder gave exit $status, not 1"; exit 1; }
grep -q "empty: the folder holds no test logs" empty.err || { cat empty.err; exit 1; }
[ ! -e chargewright-report.html ] || { echo "a page was written from no logs"; exit 1; }

"$report" logs/S1-*.txt logs/S3-*.txt logs/S4-*.txt damaged > summary.txt 2> problems.txt
cat problems.txt
grep -q "S3-notes.txt: line 1: not a Chargewright test log" problems.txt
grep -q "S1-07h00m00s-2026y12m05d.txt: line [0-9]*: the row is cut off" problems.txt
grep -q "Note: saved again with LF line ends" summary.txt
grep -q "Ending                       no Stop row" summary.txt
node "$here/check_page.mjs" chargewright-report.html summary.txt "$artifacts/report.png" ${REPORT_DOCS_SCREENSHOT:+"$REPORT_DOCS_SCREENSHOT"}

"$maker" week --week
started=$(date +%s%N)
"$report" -o week.html week > week.txt
elapsed_ms=$(( ($(date +%s%N) - started) / 1000000 ))
rows=$(grep -m1 "Rows" week.txt | awk '{print $2}')
echo "a week of S1 rows ($rows rows): report written in $elapsed_ms ms"
[ "$rows" -ge 10000 ] && [ "$elapsed_ms" -lt 1000 ]
