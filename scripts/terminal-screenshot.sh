#!/usr/bin/env bash
# Renders the terminal panel on the simulated laptop as a picture for the documents: the panel in a
# detached tmux window of 83 x 43 cells, its text drawn by headless Chromium.
#   scripts/terminal-screenshot.sh CHARGEWRIGHT OUTPUT.png
set -euo pipefail
program=$(realpath "$1")
output=$(realpath -m "$2")
work=$(mktemp -d "${TMPDIR:-/tmp}/chargewright-shot.XXXXXX")
socket="chargewright-shot-$$"
trap 'tmux -L "$socket" kill-server 2>/dev/null; rm -rf "$work"' EXIT

tmux -L "$socket" new-session -d -x 83 -y 43 "$program --simulate"
sleep 3
tmux -L "$socket" capture-pane -p >"$work/panel.txt"
lines=$(/usr/bin/python3 - "$work/panel.txt" "$work/panel.html" <<'PYTHON'
import html
import sys

text = open(sys.argv[1], encoding="utf-8").read().rstrip("\n")
# A line as high as the box-drawing glyphs, so that the frames join.
style = "margin:0;padding:10px;font:13px/15px 'DejaVu Sans Mono',monospace;color:#d4d4d4;background:#1e1e1e"
with open(sys.argv[2], "w", encoding="utf-8") as page:
    page.write('<!doctype html><meta charset="utf-8"><body style="margin:0;background:#1e1e1e"><pre style="%s">%s</pre>'
               % (style, html.escape(text)))
print(len(text.split("\n")))
PYTHON
)
# 15 pixels a line and 10 above and below.
height=$((lines * 15 + 20))
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size="690,$height" \
  --screenshot="$output" "file://$work/panel.html" 2>/dev/null
echo "saved $output"
