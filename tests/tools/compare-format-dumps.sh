#!/usr/bin/env bash
# The formatter prints the same bytes natively and in the Windows build under Wine.
set -euo pipefail
native=$1
windows=$2
here=$(dirname "$0")
if cmp <("$native") <("$here/wine-run.sh" "$windows"); then
  echo "formatter output identical: $("$native" | wc -l) lines"
else
  echo "formatter output differs between $native and $windows"
  exit 1
fi
