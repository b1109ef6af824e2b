#!/usr/bin/env bash
# The formatter prints the same bytes, and the battery arithmetic gives the same bits, natively and in
# the Windows build under Wine.
set -euo pipefail
native=$1
windows=$2
here=$(dirname "$0")
outputs=$(mktemp -d)
trap 'rm -rf "$outputs"' EXIT
"$native" > "$outputs/native"
"$here/wine-run.sh" "$windows" > "$outputs/windows"
if cmp -s "$outputs/native" "$outputs/windows"; then
  echo "formatter output identical: $(wc -l < "$outputs/native") lines"
else
  echo "formatter output differs between $native (<) and $windows (>):"
  diff "$outputs/native" "$outputs/windows" | head -n 12
  echo "($(diff "$outputs/native" "$outputs/windows" | grep -c '^<') lines differ)"
  exit 1
fi
