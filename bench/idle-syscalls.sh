#!/usr/bin/env bash
# What an idle second of the terminal panel costs on the real laptop's code: the program runs in tmux
# on a umockdev test bed (battery, AC, board, backlight, wlan switch, RTC) with a mock logind on a
# private bus, and `strace -f` records its system calls over SECONDS (default 30) once it has settled.
# The counts leave out what umockdev's preload adds around each call it redirects (a signal mask
# pair and a look for its "disabled" file); everything else is the program's own.
# ALSA reads an empty configuration: under umockdev every /dev node that fails to open leaks a slot of
# its preload, and ALSA's probe of 32 sound cards fills them at once. What the mixer costs on a
# machine without a sound card is measured apart, without umockdev.
# Usage: idle-syscalls.sh [path/to/chargewright] [SECONDS]
set -u

program=$(realpath "${1:-build/native/src/terminal/chargewright}")
seconds=${2:-30}
[ -x "$program" ] || { echo "no program at $program"; exit 2; }
for tool in tmux umockdev-wrapper dbus-daemon gdbus strace; do
  command -v "$tool" >/dev/null || { echo "$tool is missing"; exit 2; }
done
tests=$(dirname "$(realpath "$0")")/../tests

work=$(mktemp -d)
socket="$work/tmux.sock"
tm() { tmux -S "$socket" "$@"; }
cleanup() {
  tm kill-server 2>/dev/null
  [ -n "${holder:-}" ] && kill "$holder" 2>/dev/null
  stop_private_logind
  rm -rf "$work"
}
trap cleanup EXIT
source "$tests/linux/private-logind.sh"
start_private_logind "$work"

mkfifo "$work/bed.in"
umockdev-wrapper "$tests/e2e/linux/test_bed.py" --devices <"$work/bed.in" >"$work/bed.out" 2>"$work/bed.err" &
sleep 3600 >"$work/bed.in" &
holder=$!
for _ in $(seq 50); do [ -s "$work/bed.out" ] && break; sleep 0.1; done

: >"$work/alsa.conf"
tm new-session -d -s idle -x 100 -y 46 -c "$work" \
  "env LANG=C.UTF-8 TERM=screen-256color ALSA_CONFIG_PATH='$work/alsa.conf' UMOCKDEV_DIR='$(head -n 1 "$work/bed.out")' \
     sh -c '[ \"\$DBUS_SYSTEM_BUS_ADDRESS\" = \"$address\" ] || exit 99; exec umockdev-wrapper \"\$0\"' '$program'; sleep 60"
for _ in $(seq 50); do tm capture-pane -t idle -p | grep -q "Remaining Capacity" && break; sleep 0.1; done
pid=$(pgrep -P "$(tm list-panes -t idle -F '#{pane_pid}')" | head -n 1)
[ -n "$pid" ] || { echo "the panel did not start"; tm capture-pane -t idle -p; exit 1; }
sleep 3  # past the start and the first strip reading

bed=$(head -n 1 "$work/bed.out")
timeout -s INT "$seconds" strace -f -p "$pid" -o "$work/trace" 2>/dev/null
grep -v -e ' rt_sigprocmask(' -e " access(\"$bed/disabled\"" "$work/trace" |
  sed -nE 's/^[0-9]+ +([a-z_0-9]+)\(.*/\1/p' | sort | uniq -c | sort -rn >"$work/counts"
cat "$work/counts"
total=$(awk '{sum += $1} END {print sum + 0}' "$work/counts")
echo "idle: $total system calls in $seconds s, $(awk -v t="$total" -v s="$seconds" 'BEGIN {printf "%.1f", t / s}') a second"
