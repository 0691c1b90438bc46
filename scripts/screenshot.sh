#!/bin/sh
# Photographs the running player on a virtual X server: scripts/screenshot.sh [out.png] [seconds]
# QIRAVON_EXE picks another build; QT_SCALE_FACTOR and the like pass through.
set -eu
out="${1:-shot.png}"
settle="${2:-6}"
exe="${QIRAVON_EXE:-build/qiravon}"
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
# A runtime folder and no session bus: a player the user runs already must not be asked for
# its window in place of this one.
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR="$runtime"
unset DBUS_SESSION_BUS_ADDRESS
xvfb-run -a -s "-screen 0 1024x768x24" sh -c "
  command -v openbox >/dev/null && { openbox >/dev/null 2>&1 & sleep 1; }
  '$exe' >/dev/null 2>&1 &
  pid=\$!
  sleep $settle
  import -window root '$out'
  kill \$pid 2>/dev/null || true
"
echo "wrote $out"
