#!/bin/sh
# The two set-up commands of the README, for a fresh Debian or Ubuntu machine:
#   ./build.sh run    installs what is missing, builds, and starts Qiravon with the shipped data/
#   ./build.sh test   installs what is missing (test tools too), builds, and runs every test
# Environment: BUILD_DIR (default build), BUILD_TYPE (default RelWithDebInfo), CMAKE_FLAGS.
set -eu
cd "$(dirname "$0")"

mode="${1:-}"
case "$mode" in
  run|test) ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

BUILD_DIR="${BUILD_DIR:-build}"
BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}"
CMAKE_FLAGS="${CMAKE_FLAGS:-}"
# CI builds with warnings as errors.
if [ "${CI:-}" = "true" ]; then
  CMAKE_FLAGS="$CMAKE_FLAGS -DQIRAVON_WERROR=ON"
fi

scripts/deps.sh "$mode"
# shellcheck disable=SC2086
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="$BUILD_TYPE" $CMAKE_FLAGS
cmake --build "$BUILD_DIR"

if [ "$mode" = run ]; then
  exec scripts/run.sh "$BUILD_DIR/qiravon"
fi
cd "$BUILD_DIR"
exec ctest --output-on-failure
