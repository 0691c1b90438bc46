#!/bin/sh
# Idle wakeups of the shown main window, nothing playing: voluntary context switches per
# second over a window of time, for the main thread and for the whole process, against a
# bare Qt window measured in the same run on the same virtual X server.
#
#   bench/idle/idle_wakeups.sh <build folder> [seconds] [settle seconds]
#
# The player needs its data folder beside it (the build copies it there). Runs under
# xvfb-run unless DISPLAY is set already. The target is at most 20 per second for the
# main process.
set -eu
build="${1:?usage: $0 <build folder> [seconds] [settle seconds]}"
seconds="${2:-10}"
settle="${3:-8}"
build=$(cd "$build" && pwd)
player="$build/qiravon"
baseline="$build/bench/idle/bench_idle_baseline"
for exe in "$player" "$baseline"; do
  [ -x "$exe" ] || { echo "missing $exe: build targets qiravon and bench_idle_baseline" >&2; exit 1; }
done

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
export QIRAVON_XVFB="${QIRAVON_XVFB:-1}"
# A player the user runs already must not be found and asked for its window instead.
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR="$runtime"
unset DBUS_SESSION_BUS_ADDRESS

# switches <pid> main|all: voluntary context switches so far.
switches() {
  if [ "$2" = main ]; then
    awk '/^voluntary_ctxt_switches/ {print $2}' "/proc/$1/task/$1/status"
  else
    cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ {s += $2} END {print s}'
  fi
}

# measure <name> <exe>: prints "<name> <main/s> <all/s> <threads>"
measure() {
  "$2" >/dev/null 2>&1 &
  pid=$!
  sleep "$settle"
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "$1 ended before it could be measured" >&2
    exit 1
  fi
  m0=$(switches "$pid" main); a0=$(switches "$pid" all)
  sleep "$seconds"
  m1=$(switches "$pid" main); a1=$(switches "$pid" all)
  threads=$(ls "/proc/$pid/task" | wc -l)
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$1 $(( (m1 - m0) )) $(( (a1 - a0) )) $threads" | awk -v s="$seconds" \
    '{printf "%s %.1f %.1f %d\n", $1, $2 / s, $3 / s, $4}'
}

base=$(measure baseline "$baseline")
play=$(cd "$build" && measure qiravon "$player")
echo "idle wakeups over ${seconds}s (voluntary context switches per second)"
printf '%-10s %10s %12s %8s\n' program "main thread" "all threads" threads
echo "$base
$play" | awk '{printf "%-10s %10s %12s %8s\n", $1, $2, $3, $4}'
echo "$base
$play" | awk 'NR == 1 {bm = $2; ba = $3} NR == 2 {
  # A bare window may not wake at all; then the excess over it is the telling figure.
  printf "against the baseline: main thread %s, all threads %s\n",
    (bm > 0 ? sprintf("x%.2f", $2 / bm) : sprintf("+%.1f/s", $2 - bm)),
    (ba > 0 ? sprintf("x%.2f", $3 / ba) : sprintf("+%.1f/s", $3 - ba))
  printf "target (main process <= 20/s): %s\n", ($3 <= 20 ? "met" : ($2 <= 20 ? "met by the main thread only" : "missed")) }'
