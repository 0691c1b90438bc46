#!/bin/sh
# Starts the built player with the catalogue beside it. Without a display it says so and runs
# on a virtual one, so the command never fails for want of a screen.
set -eu
exe="${1:-build/qiravon}"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$exe"
fi
echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): running Qiravon on a virtual X server (xvfb-run)." >&2
echo "Take a screenshot meanwhile with: scripts/screenshot.sh" >&2
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
exec xvfb-run -a -s "-screen 0 1024x768x24" "$exe"
