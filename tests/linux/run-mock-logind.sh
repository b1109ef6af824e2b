#!/usr/bin/env bash
# Runs the tests that press S3, S4 and S5 on the real laptop's panel. They talk to a mock logind
# (python-dbusmock) on a private bus that stands in for the system bus; before anything runs, this
# script checks that the system bus address is that private bus and that login1 there is the mock,
# so no test can reach the machine's own logind and suspend, hibernate or power it off.
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
export DBUS_SYSTEM_BUS_ADDRESS=$address DBUS_SESSION_BUS_ADDRESS=$address CHARGEWRIGHT_PRIVATE_BUS=$address
case $DBUS_SYSTEM_BUS_ADDRESS in
  unix:path=$work/bus*) ;;
  *) echo "refusing: the system bus address is not the private bus" >&2; exit 1 ;;
esac
/usr/bin/python3 -m dbusmock --system --template logind >"$work/mock.log" 2>&1 &
mock_pid=$!
for _ in $(seq 50); do
  gdbus call --system -d org.freedesktop.login1 -o /org/freedesktop/login1 \
    -m org.freedesktop.DBus.Mock.GetCalls >/dev/null 2>&1 && break
  sleep 0.1
done
if ! gdbus call --system -d org.freedesktop.login1 -o /org/freedesktop/login1 \
  -m org.freedesktop.DBus.Mock.GetCalls >/dev/null 2>&1; then
  echo "refusing: no mock logind on the private bus" >&2
  cat "$work/mock.log" >&2
  exit 1
fi
"$binary" --gtest_brief=1
