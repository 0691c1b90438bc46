#!/bin/sh
# Runs one test on a private virtual X server, with a window manager where one is installed,
# so window activation and moves behave as on a desktop.
if [ -n "$QIRAVON_TEST_DISPLAY" ]; then
  DISPLAY=$QIRAVON_TEST_DISPLAY exec "$@"
fi
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
export QTWEBENGINE_DISABLE_SANDBOX="${QTWEBENGINE_DISABLE_SANDBOX:-1}"
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
