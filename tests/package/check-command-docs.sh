#!/usr/bin/env bash
# The programs' manual pages and bash completion against the programs themselves: every option that
# `--help` names is in the page and offered by the completion, and the completion answers as a user
# pressing Tab expects.
#   tests/package/check-command-docs.sh BUILD_DIR
set -uo pipefail
export LC_ALL=C
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

# The page and completion of a command, and the options its --help names.
check_options() {  # command program
  local command=$1 program=$2 option
  local page=$root/packaging/man/$command.1.in completion=$root/packaging/bash-completion/$command
  local options
  options=$("$program" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
  [ -n "$options" ] || fail "$command --help names no option"
  for option in $options; do
    grep -qF -- "\\-\\-${option#--}" "$page" || fail "$command: $option is not in the manual page"
    grep -qw -- "$option" "$completion" || fail "$command: $option is not in the completion"
  done
  echo "$command: $(echo $options)"
}
check_options chargewright "$build/src/terminal/chargewright"
check_options chargewright-report "$build/src/report/chargewright-report"

# What Tab offers at the end of a line, as bash would ask the completion function; in sorted order.
# shellcheck disable=SC1091
source /usr/share/bash-completion/bash_completion
source "$root/packaging/bash-completion/chargewright"
source "$root/packaging/bash-completion/chargewright-report"
offered() {  # line
  local line=$1
  COMP_LINE=$line
  COMP_POINT=${#line}
  read -ra COMP_WORDS <<<"$line"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  local function
  function=$(complete -p "${COMP_WORDS[0]}" | sed 's/.*-F \([^ ]*\) .*/\1/')
  "$function" "${COMP_WORDS[0]}" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  [ ${#COMPREPLY[@]} -eq 0 ] || printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd' '
}
while IFS='|' read -r line expected; do
  got=$(offered "$line")
  [ "$got" = "$expected" ] || fail "Tab after '$line' offers '$got', not '$expected'"
done <<'CASES'
chargewright --si|--simulate
chargewright --|--help --simulate --version
chargewright |log sleep
chargewright log --|--duration --simulate
chargewright --simulate sleep --c|--cycles
chargewright sleep --cycles 3 --h|--hibernate
chargewright-report --o|--output
CASES
cd "$(mktemp -d)" && touch S1-08h00m00s-2026y12m01d.txt page.html && mkdir logs
got=$(offered "chargewright-report ")
[ "$got" = "S1-08h00m00s-2026y12m01d.txt logs" ] || fail "Tab after 'chargewright-report ' offers '$got'"
got=$(offered "chargewright-report -o ")
[ "$got" = "logs page.html" ] || fail "Tab after 'chargewright-report -o ' offers '$got'"
rm -rf "$PWD"

echo "command documents: $failures failed"
[ "$failures" -eq 0 ]
