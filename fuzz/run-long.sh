#!/bin/sh
# The long fuzzing run of one target, by hand (CI only replays the corpus):
#   fuzz/run-long.sh <fuzz build dir> recordsplit|cataloguelines|playlist [runs]
# Works in <build>/fuzz-work/<target>: the inputs found go to corpus/, findings to
# artifacts/, the slowest input to slowest-input, libFuzzer's log to fuzz-0.log.
set -eu
build=$(cd "$1" && pwd)
target=$2
runs=${3:-10000000}
here=$(cd "$(dirname "$0")" && pwd)
case "$target" in
  recordsplit) extra="-max_len=70000" ;;
  cataloguelines) extra="-max_len=8192 -dict=$here/cataloguelines.dict" ;;
  playlist) extra="-max_len=65536 -dict=$here/playlist.dict" ;;
  *) echo "unknown target $target" >&2; exit 2 ;;
esac
work="${FUZZ_WORK:-$build/fuzz-work}/$target"
mkdir -p "$work/corpus" "$work/artifacts"
cd "$work"
export QIRAVON_FUZZ_SLOWEST="$work/slowest-input"
# shellcheck disable=SC2086
exec nice -n 19 "$build/fuzz/fuzz_$target" corpus "$here/corpus/$target" -runs="$runs" \
  -jobs=1 -workers=1 -timeout=1 -rss_limit_mb=2048 -max_total_time=14400 \
  -print_final_stats=1 -artifact_prefix=artifacts/ $extra
