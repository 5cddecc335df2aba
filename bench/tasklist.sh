#!/usr/bin/env bash
# The task list with many tasks (default 100 copies of a generated 3-second clip): the UI time of
# adding them by a drop, selecting all and starting, and the share of the list that one progress
# tick repaints. Usage: bench/tasklist.sh [COUNT]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${RW_BUILD_DIR:-$root/build}"
count="${1:-100}"
"$root/tools/build.sh" >/dev/null
cmake --build "$build" --target tasklist-bench >/dev/null
work="$build/bench/tasklist"
rm -rf "$work"
mkdir -p "$work/program" "$work/sources"
cp -r "$build/program/lang" "$build/program/profiles" "$work/program/"
for i in $(seq -w 1 "$count"); do
    cp "$build/media/clip_h264_aac.mp4" "$work/sources/clip $i.mp4"
done
. "$root/tools/wineprefix.sh"
trap 'wineserver -k >/dev/null 2>&1 || true; rw_stop_x' EXIT
rw_start_x
prefix="$build/benchprefix"
if [ -d "$prefix/drive_c" ]; then
    export WINEPREFIX="$prefix" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
else
    rw_make_prefix "$prefix"
fi
WINEDLLPATH="$build/program" "$build/bench/tasklist-bench.exe" "$work/program" "$work/sources"
