#!/usr/bin/env bash
# Installs what Vesktext needs, builds it in build/ and starts the window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: run it under a virtual one with: xvfb-run -a build/mainwindow/vesktext" >&2
  exit 1
fi
exec build/mainwindow/vesktext "$@"
