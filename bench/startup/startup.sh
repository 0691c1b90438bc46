#!/bin/sh
# Start-up figures of the player against a bare frameless Qt window of the same size, in one
# run on one virtual X server: start to the first mapped window and to the window that stays (a
# window destroyed after it was mapped is a re-creation), PSS of the whole process tree and its
# process count once settled, whether Qt WebEngine is mapped at rest, the first web view (the
# view toggle, until the start page's background is on screen), the regional player window
# (Link(7), until its window is mapped), and PSS while a local stream plays.
#
#   bench/startup/startup.sh <build folder> [runs=3] [settle seconds=8] [play seconds=15]
#
# Environment:
#   QIRAVON_COMPARE  more players measured in the same run, as name=executable pairs separated
#                    by spaces ("old=/path/to/build/qiravon late=/other/qiravon")
#   QIRAVON_WM       a window manager (openbox) started on the server first
#   QT_SCALE_FACTOR  passed on; the screen and the click points scale with it
#   LINK7, ROW1      where Link(7) and the first station row lie in the window at scale 1
#                    (defaults 262,78 and 200,140, where this machine's fonts put them)
#   QIRAVON_STARTUP_RAW=1 also prints every run's line
set -eu
build="${1:?usage: $0 <build folder> [runs] [settle seconds] [play seconds]}"
runs="${2:-3}"
settle="${3:-8}"
play="${4:-15}"
build=$(cd "$build" && pwd)
probe="$build/bench/startup/bench_startup_probe"
radio="$build/bench/startup/bench_startup_radio"
baseline="$build/bench/idle/bench_idle_baseline"
players="new=$build/qiravon${QIRAVON_COMPARE:+ $QIRAVON_COMPARE}"
for exe in "$probe" "$radio" "$baseline"; do
  [ -x "$exe" ] || { echo "missing $exe: build bench_startup_probe, bench_startup_radio and bench_idle_baseline" >&2; exit 1; }
done
for p in $players; do
  [ -x "${p#*=}" ] || { echo "missing ${p#*=}: build qiravon" >&2; exit 1; }
done

if [ -z "${DISPLAY:-}" ]; then
  # A doubled window needs a doubled screen. Without -noreset the server resets between two
  # runs and may refuse the next one.
  screen=1280x1024
  [ "${QT_SCALE_FACTOR:-1}" = 1 ] || screen=2560x2048
  exec xvfb-run -a -s "-noreset -screen 0 ${QIRAVON_SCREEN:-$screen}x24" "$0" "$@"
fi
export QIRAVON_XVFB="${QIRAVON_XVFB:-1}"
# The machine may have no sound card; a clock-synchronised fake sink plays at the real rate.
export QIRAVON_AUDIO_SINK="${QIRAVON_AUDIO_SINK:-fakesink sync=true}"
work=$(mktemp -d)
wm_pid=
radio_pid=
cleanup() {
  [ -n "$radio_pid" ] && kill "$radio_pid" 2>/dev/null
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  rm -rf "$work"
  true
}
trap cleanup EXIT
if [ -n "${QIRAVON_WM:-}" ]; then
  "$QIRAVON_WM" >/dev/null 2>&1 &
  wm_pid=$!
  sleep 1
fi

# The local stream, and a folder per player whose featured list starts with it. The program
# is copied, as it finds its catalogue and its web engine module by its own folder; the
# module folder is linked from the player's build.
"$radio" --log "$work/requests" >"$work/radio.out" 2>&1 &
radio_pid=$!
for i in $(seq 100); do
  [ -s "$work/radio.out" ] && break
  sleep 0.2
done
stream=$(head -1 "$work/radio.out")
case "$stream" in
  http://*) ;;
  *) echo "the local radio did not start: $stream" >&2; exit 1 ;;
esac
for p in $players; do
  name=${p%%=*}
  exe=${p#*=}
  from=$(dirname "$exe")
  mkdir -p "$work/$name"
  cp "$exe" "$work/$name/qiravon"
  cp -r "$from/data" "$work/$name/data"
  [ -d "$from/plugins" ] && ln -s "$from/plugins" "$work/$name/plugins"
  { printf 'Local test tone|%s|bench\r\n' "$stream"; cat "$from/data/fine.cdb"; } >"$work/$name/data/fine.cdb"
done

scale="${QT_SCALE_FACTOR:-1}"
# at X,Y: a point of the window at scale 1, in device pixels at this run's scale.
at() { echo "$1" | awk -F, -v s="$scale" '{printf "%d,%d", $1 * s, $2 * s}'; }
toggle=$(at 38,91)
page=$(at 690,130)
link7=$(at "${LINK7:-262,78}")
row1=$(at "${ROW1:-200,140}")

out="$work/runs"
# run <kind> <probe options...> -- <program>: one probe run, its line tagged with the kind.
run() {
  kind=$1
  shift
  echo "$kind $("$probe" "$@" 2>/dev/null)" >>"$out"
}
for i in $(seq "$runs"); do
  run bare --settle "$settle" -- "$baseline"
  for p in $players; do
    name=${p%%=*}
    exe="$work/$name/qiravon"
    run "$name-web" --settle "$settle" --click "$toggle" --watch "$page,f0f8fc" --after 5 -- "$exe"
    run "$name-form3" --settle "$settle" --click "$link7" --new-window --after 5 -- "$exe"
    before=$(cat "$work/requests" 2>/dev/null || echo 0)
    run "$name-play" --settle "$settle" --click "$row1" --double --after "$play" -- "$exe"
    after=$(cat "$work/requests" 2>/dev/null || echo 0)
    [ "$after" -gt "$before" ] || echo "warning: $name never asked for the local stream (ROW1?)" >&2
  done
done
[ -n "${QIRAVON_STARTUP_RAW:-}" ] && cat "$out"

# values <kind> <key>: that key over the runs of that kind, one a line; -1 (not seen) left out.
values() { grep "^$1 " "$out" | tr ' ' '\n' | sed -n "s/^$2=//p" | grep -v '^-1$' || true; }
# missed <kind> <key>: in how many runs it was not seen.
missed() { grep "^$1 " "$out" | tr ' ' '\n' | grep -c "^$2=-1$" || true; }
median() {
  values "$@" | sort -n | awk '{v[NR] = $1} END {if (NR == 0) print "-"; else if (NR % 2)
    print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
# least <kind> <key>: the smallest value over the runs (a 0 in any run shows).
least() { values "$@" | sort -n | head -1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0 && a != "-") printf "%.2fx", a / b; else print "-"}'; }

# row <label> <key> [phase] [median|least|missed] [ratio]: one line of the table; the bare
# window's column shows its own figure (after_* keys compare with its figure at rest).
row() {
  label=$1 key=$2 phase=${3:-web} how=${4:-median}
  bkey=${key#after_}
  b=$(median bare "$bkey")
  line=$(printf '%-40s %9s' "$label" "$([ "$how" = median ] && [ "$key" != action_ms ] && echo "$b" || echo "")")
  for p in $players; do
    v=$($how "${p%%=*}-$phase" "$key")
    r=""
    [ "${5:-}" = ratio ] && r=" ($(ratio "$v" "$b"))"
    line="$line $(printf '%20s' "$v$r")"
  done
  echo "$line"
}
echo "start-up over $runs runs, medians (scale $scale${QIRAVON_WM:+, $QIRAVON_WM}); ratio against the bare window"
header=$(printf '%-40s %9s' measure bare)
for p in $players; do header="$header $(printf '%20s' "${p%%=*}")"; done
echo "$header"
row "first window mapped (ms)" first_ms web median ratio
row "first frame in it (ms)" first_paint_ms web median ratio
row "window that stays mapped (ms)" stable_ms web median ratio
row "windows re-created at start-up" recreated
row "PSS of the tree at rest (kB)" pss_kb web median ratio
row "private dirty at rest (kB)" dirty_kb web median ratio
row "processes at rest" procs
row "WebEngine mapped at rest (0/1)" webengine
row "toggle to start page on screen (ms)" action_ms
row "  runs where it never showed" action_ms web missed
row "main window kept then (least, 0/1)" main_kept web least
row "PSS with the web view shown (kB)" after_pss_kb web median ratio
row "processes with the web view shown" after_procs
row "Link(7) to its window mapped (ms)" action_ms form3
row "  runs where it never opened" action_ms form3 missed
row "Link(7) to its first frame (ms)" opened_paint_ms form3
row "that window kept (least, 0/1)" opened_kept form3 least
row "main window kept then (least, 0/1)" main_kept form3 least
row "PSS while playing ${play}s (kB)" after_pss_kb play median ratio
row "private dirty while playing (kB)" after_dirty_kb play median ratio
row "processes while playing" after_procs play
row "WebEngine mapped while playing (0/1)" after_webengine play
