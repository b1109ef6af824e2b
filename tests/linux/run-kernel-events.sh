#!/usr/bin/env bash
# Runs the kernel event tests: uevents from a umockdev test bed, and PrepareForSleep from a mock
# logind (python-dbusmock) on a private bus that stands in for the system bus. Nothing here can
# reach the machine's own logind, so no test can put it to sleep.
set -euo pipefail
binary=$1
work=$(mktemp -d)
cleanup() {
  [ -n "${mock_pid:-}" ] && kill "$mock_pid" 2>/dev/null
  [ -n "${bus_pid:-}" ] && kill "$bus_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

started=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1 --address="unix:path=$work/bus")
address=$(sed -n 1p <<<"$started")
bus_pid=$(sed -n 2p <<<"$started")
export DBUS_SYSTEM_BUS_ADDRESS=$address DBUS_SESSION_BUS_ADDRESS=$address
/usr/bin/python3 -m dbusmock --system --template logind >"$work/mock.log" 2>&1 &
mock_pid=$!
for _ in $(seq 50); do
  gdbus introspect --system -d org.freedesktop.login1 -o /org/freedesktop/login1 >/dev/null 2>&1 && break
  sleep 0.1
done
CHARGEWRIGHT_MOCK_LOGIND=1 umockdev-wrapper "$binary" --gtest_brief=1
