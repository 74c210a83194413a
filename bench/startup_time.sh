#!/usr/bin/env bash
# Wall time from starting the real program to its main window appearing
# (mapped on the X server, when Qt paints its first frame), on a private Xvfb.
# Usage: bench/startup_time.sh [PROGRAM [RUNS]]
#   PROGRAM defaults to build/mainwindow/vesktext, RUNS to 20.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="$(realpath "${1:-$root/build/mainwindow/vesktext}")"
runs="${2:-20}"

if [ -z "${VESKTEXT_STARTUP_INNER:-}" ]; then
  VESKTEXT_STARTUP_INNER=1 exec "$root/scripts/with-xvfb.sh" "$0" "$program" "$runs"
fi

# xev reports each top-level window the server maps, as it happens.
coproc EVENTS { exec stdbuf -oL xev -root -event substructure; }
trap 'kill "$EVENTS_PID" 2>/dev/null || true' EXIT
sleep 0.5  # let xev select its events before the first run

times=()
for ((run = 0; run < runs; ++run)); do
  start=$(date +%s%N)
  "$program" 2>/dev/null &
  app=$!
  while read -r line <&"${EVENTS[0]}"; do [[ $line == MapNotify* ]] && break; done
  times+=($((($(date +%s%N) - start) / 1000000)))
  kill "$app"
  wait "$app" 2>/dev/null || true
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "start to window shown, ${runs} runs: min ${sorted[0]} ms, median ${sorted[$((runs / 2))]} ms, max ${sorted[$((runs - 1))]} ms"
