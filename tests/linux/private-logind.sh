# Sourced by the scripts that run programs able to press S3, S4 or S5 on the real laptop: a private bus
# stands in for the system bus, with a mock logind (python-dbusmock) on it. start_private_logind refuses
# (exit 1) unless the system bus address is that private bus and login1 there answers as the mock, so
# nothing started afterwards can reach the machine's own logind.
#   start_private_logind WORK_DIR     sets address, bus_pid and mock_pid; exports the bus addresses
#   stop_private_logind

logind() { gdbus call --system -d org.freedesktop.login1 -o /org/freedesktop/login1 "$@"; }
mock_calls() { logind -m org.freedesktop.DBus.Mock.GetCalls 2>/dev/null; }

start_private_logind() {
  local work=$1 started
  started=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1 --address="unix:path=$work/bus")
  address=$(sed -n 1p <<<"$started")
  bus_pid=$(sed -n 2p <<<"$started")
  export DBUS_SYSTEM_BUS_ADDRESS=$address DBUS_SESSION_BUS_ADDRESS=$address CHARGEWRIGHT_PRIVATE_BUS=$address
  case $DBUS_SYSTEM_BUS_ADDRESS in
    "unix:path=$work/bus"*) ;;
    *) echo "refusing: the system bus address is not the private bus" >&2; exit 1 ;;
  esac
  /usr/bin/python3 -m dbusmock --system --template logind >"$work/mock.log" 2>&1 &
  mock_pid=$!
  for _ in $(seq 50); do mock_calls >/dev/null && break; sleep 0.1; done
  if ! mock_calls >/dev/null; then
    echo "refusing: no mock logind on the private bus" >&2
    cat "$work/mock.log" >&2
    exit 1
  fi
}

stop_private_logind() {
  [ -n "${mock_pid:-}" ] && kill "$mock_pid" 2>/dev/null
  [ -n "${bus_pid:-}" ] && kill "$bus_pid" 2>/dev/null
  return 0
}
