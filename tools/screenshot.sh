#!/usr/bin/env bash
# Retakes the README's picture: the window under a private Xvfb, large enough for all of
# it, with a C major chord held (A, D, G).
# Usage: tools/screenshot.sh [TAVO [OUTPUT.png]]   (defaults: build/tavo docs/screenshot.png)
set -euo pipefail

tavo=${1:-build/tavo}
output=${2:-docs/screenshot.png}
if [ -z "${TAVO_SCREENSHOT_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" env TAVO_SCREENSHOT_DISPLAY=1 "$0" "$tavo" "$output"
fi

QT_QPA_PLATFORM=xcb "$tavo" &
tavo_pid=$!
trap 'kill "$tavo_pid" 2>/dev/null; wait "$tavo_pid" || true' EXIT
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tavo$' | head -n 1)
xdotool keydown a keydown d keydown g
# Long enough for the start-up flush, the poll and the repaint.
sleep 1.5
import -window "$window" "$output"
xdotool keyup a keyup d keyup g
