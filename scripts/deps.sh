#!/bin/sh
# Installs the Debian packages Qiravon needs to build, run and test, skipping apt entirely
# when everything is already there so a warm machine starts in seconds.
set -eu

# The GStreamer plug-ins (the audio output among them) and the font are what the installed
# program needs at run time too: the package's dependencies (cmake/QiravonPackage.cmake) name
# them; keep the two in step.
RUNTIME="build-essential make cmake ninja-build pkg-config qt6-base-dev qt6-webengine-dev \
libfontconfig-dev \
libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev gstreamer1.0-plugins-base \
gstreamer1.0-plugins-good gstreamer1.0-plugins-bad gstreamer1.0-plugins-ugly \
gstreamer1.0-libav gstreamer1.0-pulseaudio gstreamer1.0-tools fonts-wqy-microhei xvfb xauth"
# What the tests use beyond that: a local stream server, a window manager and a tray host
# for the desktop tests, the X tools that drive and photograph them (wmctrl closes a window
# the way a task bar does), a private session bus, the validators of the installed desktop
# entry and AppStream file, and the formatter that CI checks the sources with.
TESTING="icecast2 openbox trayer xdotool wmctrl x11-utils imagemagick dbus desktop-file-utils \
appstream clang-format"

case "${1:-run}" in
  run) wanted="$RUNTIME" ;;
  test) wanted="$RUNTIME $TESTING" ;;
  *) echo "usage: $0 [run|test]" >&2; exit 2 ;;
esac

missing=""
for pkg in $wanted; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  case "$status" in
    *"install ok installed"*) ;;
    *) missing="$missing $pkg" ;;
  esac
done
[ -z "$missing" ] && exit 0

echo "Installing missing packages:$missing"
if [ "$(id -u)" -eq 0 ]; then
  SUDO=""
elif command -v sudo >/dev/null 2>&1; then
  SUDO="sudo"
else
  echo "These packages are missing and there is no sudo to install them:$missing" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing
