#!/usr/bin/env bash
# End-to-end run of the Windows program against a described battery: a private X server, a private
# Wine prefix, the battery's driver installed into it, the driver program's checks, and a screenshot
# of the panel showing the battery.
#
#   run.sh BATTERY_PANEL_DRIVER.exe CHARGEWRIGHT.exe DESCRIBED_BATTERY.inf [ARTIFACT_DIR]
#
# The INF's directory holds the driver. Exits 0 when every check passed, 125 when this machine
# cannot run the programs (32-bit build without the kernel's 32-bit support), 1 otherwise.
set -uo pipefail
here=$(dirname "$(realpath "$0")")
tools="$here/../../tools"

# Start over inside a private X server.
if [ -z "${CHARGEWRIGHT_E2E_DISPLAY:-}" ]; then
  CHARGEWRIGHT_E2E_DISPLAY=1 exec "$here/../wine/with-xvfb.sh" "$0" "$@"
fi

driver=$(realpath "$1")
program=$(realpath "$2")
inf=$(realpath "$3")
artifacts=$(realpath -m "${4:-$(dirname "$program")/artifacts}")
mkdir -p "$artifacts"

if file -b "$driver" | grep -q 'PE32 executable' && ! "$tools/can-run-32bit.sh"; then
  echo "run.sh: this machine cannot run 32-bit programs; run the battery test from the 64-bit build"
  exit 125
fi

# Wine 8 loads a kernel driver only into a winedevice.exe of the prefix's own architecture (a 64-bit
# prefix fails a 32-bit driver with c0000142), so the prefix takes the architecture of the build.
if file -b "$(dirname "$inf")/described_battery.sys" | grep -q 'PE32 executable'; then
  export WINEARCH=win32
else
  export WINEARCH=win64
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/chargewright-battery.XXXXXX")
export WINEPREFIX="$work/prefix"
cleanup() {
  wineserver -k 2>/dev/null  # only this run's prefix
  rm -rf "$work"
}
trap cleanup EXIT

# The driver waits at the checked first panel until this file exists, for the screenshot.
go_on="$work/screenshot-taken"
log="$artifacts/battery-panel-driver.log"
"$tools/wine-run.sh" "$driver" "$program" "$inf" --wait-for "Z:${go_on//\//\\}" >"$log" 2>&1 &
driver_pid=$!

for _ in $(seq 1200); do
  grep -q "screenshot: panel ready" "$log" 2>/dev/null && break
  kill -0 "$driver_pid" 2>/dev/null || break
  sleep 0.1
done
screenshot="$artifacts/windows-panel.png"
screenshot_ok=0
if grep -q "screenshot: panel ready" "$log"; then
  sleep 0.5  # let the last paint land
  window=$(xdotool search --name '^Chargewright - ' | head -n 1)
  [ -n "$window" ] && import -window "$window" "$screenshot" && screenshot_ok=1
fi
touch "$go_on"
wait "$driver_pid"
driver_status=$?

echo "run.sh: a $WINEARCH prefix, with the driver and the program of the build's architecture"
tr -d '\r' <"$log"
if [ "$screenshot_ok" -eq 1 ]; then
  echo "screenshot: $screenshot"
else
  echo "FAIL screenshot of the panel"
fi
if [ "$driver_status" -ne 0 ] || [ "$screenshot_ok" -ne 1 ]; then
  echo "run.sh: failed (driver exit $driver_status)"
  exit 1
fi
exit 0
