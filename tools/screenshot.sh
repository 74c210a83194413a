#!/usr/bin/env bash
# Photographs the main window on a private virtual X server for the README.
# Usage: tools/screenshot.sh [PROGRAM [OUTPUT.png]]
#   PROGRAM defaults to build/mainwindow/vesktext, OUTPUT to docs/screenshot.png.
# QT_SCALE_FACTOR and the like pass through, e.g. QT_SCALE_FACTOR=2 for a dense screen.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="$(realpath "${1:-$root/build/mainwindow/vesktext}")"
output="$(realpath -m "${2:-$root/docs/screenshot.png}")"
mkdir -p "$(dirname "$output")"

if [ -z "${VESKTEXT_SCREENSHOT_INNER:-}" ]; then
  VESKTEXT_SCREENSHOT_INNER=1 exec "$root/scripts/with-xvfb.sh" "$0" "$program" "$output"
fi

"$program" &
app=$!
trap 'kill "$app" 2>/dev/null; wait "$app" 2>/dev/null || true' EXIT
window="$(xdotool search --sync --onlyvisible --name '^Vesktext$' | head -n 1)"
# Let the first frames paint before the picture is taken.
for _ in 1 2 3; do xdotool getwindowgeometry "$window" >/dev/null; sleep 0.3; done
import -window "$window" "$output"
echo "$output"
