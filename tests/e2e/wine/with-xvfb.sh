#!/usr/bin/env bash
# Runs a command with a private X server (Xvfb) on a free display, and stops the server afterwards.
# Wine needs a display to create windows. With WINEPREFIX set, that prefix's Wine processes are
# ended before the X server, so none of them outlives its display.
#
#   with-xvfb.sh COMMAND [ARGS...]
set -uo pipefail

display=""
for number in $(seq 90 140); do
  if [ ! -e "/tmp/.X$number-lock" ] && [ ! -e "/tmp/.X11-unix/X$number" ]; then
    display=":$number"
    break
  fi
done
if [ -z "$display" ]; then
  echo "with-xvfb.sh: no free X display between :90 and :140" >&2
  exit 1
fi

log=$(mktemp "${TMPDIR:-/tmp}/chargewright-xvfb.XXXXXX")
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X${display#:}" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
if ! kill -0 "$xvfb_pid" 2>/dev/null; then
  echo "with-xvfb.sh: Xvfb did not start on $display:" >&2
  cat "$log" >&2
  rm -f "$log"
  exit 1
fi

DISPLAY="$display" "$@"
status=$?
if [ -n "${WINEPREFIX:-}" ]; then
  wineserver -k 2>/dev/null
fi
kill "$xvfb_pid" 2>/dev/null
wait "$xvfb_pid" 2>/dev/null
rm -f "$log"
exit "$status"
