# Sourced by the terminal panel's end-to-end scripts: the checks over a tmux screen. The script sets
# `socket` (the tmux server's) and `shown` (the session whose screen a failed check prints) and counts
# `passed` and `failed`.

tm() { tmux -S "$socket" "$@"; }
screen() { tm capture-pane -t "$shown" -p; }
check() {  # check NAME COMMAND...: one test result
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok   $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name"
    screen | sed 's/^/     | /'
  fi
}
shows() { screen | grep -qF -- "$1"; }
shows_regex() { screen | grep -qE -- "$1"; }
line_with() { screen | grep -F -- "$1" | head -n 1; }
field_after() {  # the text in brackets after a label: "Remaining Capacity  [41689 mW ]" -> "41689 mW"
  line_with "$1" | sed -E "s/.*$1 *[[>]([^]<]*)[]<].*/\1/" | sed -E 's/ +$//'
}
wait_for() {  # wait_for SECONDS COMMAND...: until the command succeeds
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.2
  done
}
