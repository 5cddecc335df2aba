#!/usr/bin/env bash
# The cost of the frame decorations (text watermark and subtitles) per converted frame, at the
# sizes the profiles use most. Arguments go to every run: [FRAMES].
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${RW_BUILD_DIR:-$root/build}"
"$root/tools/build.sh" >/dev/null
cmake --build "$build" --target decorations-bench >/dev/null
. "$root/tools/wineprefix.sh"
prefix="$build/benchprefix"
if [ -d "$prefix/drive_c" ]; then
    export WINEPREFIX="$prefix" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
    rw_subtitle_font "$prefix"
else
    rw_make_prefix "$prefix"
fi
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
for size in 320x240 640x480 1280x720; do
    "$build/bench/decorations-bench.exe" "$size" "$@"
done
