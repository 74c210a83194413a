#!/usr/bin/env bash
# Photographs the main window on a private virtual X server for the README.
# Usage: tools/screenshot.sh [PROGRAM [OUTPUT.png [TEXT]]]
#   PROGRAM defaults to build/mainwindow/vesktext, OUTPUT to docs/screenshot.png,
#   TEXT to docs/screenshot-text.sjis: code page 932 bytes, pasted into the upper
#   pane and converted into the lower one before the picture is taken.
# QT_SCALE_FACTOR and the like pass through, e.g. QT_SCALE_FACTOR=2 for a dense
# screen (whole numbers only).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="$(realpath "${1:-$root/build/mainwindow/vesktext}")"
output="$(realpath -m "${2:-$root/docs/screenshot.png}")"
text="$(realpath "${3:-$root/docs/screenshot-text.sjis}")"
mkdir -p "$(dirname "$output")"

if [ -z "${VESKTEXT_SCREENSHOT_INNER:-}" ]; then
  VESKTEXT_SCREENSHOT_INNER=1 exec "$root/scripts/with-xvfb.sh" "$0" "$program" "$output" "$text"
fi

"$program" &
app=$!
trap 'kill "$app" 2>/dev/null; wait "$app" 2>/dev/null || true' EXIT
window="$(xdotool search --sync --onlyvisible --name '^Vesktext$' | head -n 1)"

# The text goes onto the clipboard as raw bytes; xclip serves it from the
# background once the server has made it the owner.
type='text/plain;charset=windows-31j'
xclip -selection clipboard -t "$type" -i "$text"
until xclip -selection clipboard -t "$type" -o >/dev/null 2>&1; do sleep 0.1; done
# The buttons' middles, in the layout's pixels: Paste above, then Convert down.
scale="${QT_SCALE_FACTOR:-1}"
for middle in "376 20" "200 188"; do
  read -r x y <<<"$middle"
  xdotool mousemove --window "$window" --sync $((x * scale)) $((y * scale)) click 1
done
# Let the first frames paint before the picture is taken.
for _ in 1 2 3; do xdotool getwindowgeometry "$window" >/dev/null; sleep 0.3; done
import -window "$window" "$output"
echo "$output"
