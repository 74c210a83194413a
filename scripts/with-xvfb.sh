#!/usr/bin/env bash
# Runs a command on a private virtual X server of its own, so that tests of
# the real clipboard and real windows need no display and can run in parallel.
# With --openbox the server has a window manager, as a desktop has; without
# it, none.
# Usage: with-xvfb.sh [--openbox] COMMAND [ARG...]
set -euo pipefail
manager=
if [ "${1:-}" = --openbox ]; then
  manager=openbox
  shift
fi
[ $# -gt 0 ] || { echo "usage: $0 [--openbox] COMMAND [ARG...]" >&2; exit 2; }

fifo_dir="$(mktemp -d)"
mkfifo "$fifo_dir/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo_dir/display" \
  2>"$fifo_dir/xvfb.log" &
server=$!
pids=("$server")
trap 'kill "${pids[@]}" 2>/dev/null; wait "${pids[@]}" 2>/dev/null || true; rm -rf "$fifo_dir"' EXIT

read -r -t 20 number <"$fifo_dir/display" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

# Prints what a program said, and fails the run.
give_up() {
  echo "$1; it printed:" >&2
  cat "$2" >&2
  exit 1
}

# Runs a command every tenth of a second until it succeeds, at most $1 times.
poll() {
  local tries=$1
  shift
  for _ in $(seq "$((tries - 1))"); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}

# Clients that connect the moment the server names its display have been
# refused now and then; wait until one is taken.
takes_client() { xprop -root -len 0 WM_NAME >/dev/null 2>&1; }
poll 100 takes_client || give_up "Xvfb on $DISPLAY takes no client" "$fifo_dir/xvfb.log"

if [ -n "$manager" ]; then
  # A window manager announces itself on the root window once it manages.
  # Tests of what it does are worthless without it: one that gave up is
  # started again, and after three tries the run stops.
  announced() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
  announced_or_gone() { announced || ! kill -0 "${pids[-1]}" 2>/dev/null; }
  for _ in 1 2 3; do
    # Its own configuration directory keeps the user's openbox settings out.
    XDG_CONFIG_HOME="$fifo_dir" openbox >>"$fifo_dir/openbox.log" 2>&1 &
    pids+=($!)
    poll 300 announced_or_gone || true
    announced && break
  done
  announced || give_up "openbox does not manage windows" "$fifo_dir/openbox.log"
fi
"$@"
