#!/usr/bin/env bash
# End-to-end run of the Windows program under Wine: a private X server and Wine prefix, the panel
# driver, and a screenshot of the panel as a build artefact.
#
#   run.sh PANEL_DRIVER.exe CHARGEWRIGHT.exe [ARTIFACT_DIR]
#
# Exits 0 when every check passed, 125 when this machine cannot run the programs (32-bit build
# without the kernel's 32-bit support), 1 otherwise.
set -uo pipefail
here=$(dirname "$(realpath "$0")")
tools="$here/../../tools"

# Start over inside a private X server.
if [ -z "${CHARGEWRIGHT_E2E_DISPLAY:-}" ]; then
  CHARGEWRIGHT_E2E_DISPLAY=1 exec "$here/with-xvfb.sh" "$0" "$@"
fi

driver=$(realpath "$1")
program=$(realpath "$2")
artifacts=$(realpath -m "${3:-$(dirname "$program")/artifacts}")
mkdir -p "$artifacts"

if file -b "$program" | grep -q 'PE32 executable' && ! "$tools/can-run-32bit.sh"; then
  echo "run.sh: this machine cannot run 32-bit programs; run the end-to-end test from the 64-bit build"
  exit 125
fi

# Wine's SetSuspendState and PowerGetActiveScheme are stubs that only print a FIXME line on this
# channel; the lines show what the program asked for, in the driver's log.
export WINEDEBUG="${WINEDEBUG:--all},fixme+powrprof"

work=$(mktemp -d "${TMPDIR:-/tmp}/chargewright-e2e.XXXXXX")
export WINEPREFIX="$work/prefix"
cleanup() {
  wineserver -k 2>/dev/null  # only this run's prefix
  rm -rf "$work"
}
trap cleanup EXIT

# The driver waits at the checked first panel until this file exists, for the screenshot.
go_on="$work/screenshot-taken"
log="$artifacts/panel-driver.log"
"$tools/wine-run.sh" "$driver" "$program" --wait-for "Z:${go_on//\//\\}" >"$log" 2>&1 &
driver_pid=$!

for _ in $(seq 900); do
  grep -q "screenshot: panel ready" "$log" 2>/dev/null && break
  kill -0 "$driver_pid" 2>/dev/null || break
  sleep 0.1
done
screenshot_ok=0
if grep -q "screenshot: panel ready" "$log"; then
  sleep 0.5  # let the last paint land
  import -window root "$artifacts/panel.png" && screenshot_ok=1
fi
touch "$go_on"
wait "$driver_pid"
driver_status=$?

tr -d '\r' <"$log"

# The sleep test without a delay asks for sleep with wake events disabled; the hibernate test with
# a delay keeps them enabled for its timer. Wine knows no active power scheme, so none is re-applied.
power_ok=1
expect_power_calls() {
  local count
  count=$(grep -c -F "fixme:powrprof:$1" "$log")
  if [ "$count" -eq "$2" ]; then
    echo "ok   Wine saw $2 x $1"
  else
    echo "FAIL Wine saw $count x $1, not $2"
    power_ok=0
  fi
}
expect_power_calls "SetSuspendState (0, 1, 1) stub" 1
expect_power_calls "SetSuspendState (1, 1, 0) stub" 1
expect_power_calls "SetSuspendState" 2
expect_power_calls "PowerGetActiveScheme" 1
expect_power_calls "PowerSetActiveScheme" 0
if [ "$screenshot_ok" -eq 1 ]; then
  echo "screenshot: $artifacts/panel.png"
else
  echo "FAIL screenshot of the panel"
fi
if [ "$driver_status" -ne 0 ] || [ "$screenshot_ok" -ne 1 ] || [ "$power_ok" -ne 1 ]; then
  echo "run.sh: failed (driver exit $driver_status)"
  exit 1
fi
exit 0
