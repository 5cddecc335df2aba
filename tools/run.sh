#!/usr/bin/env bash
# Builds and starts Reelwright from its program folder, in a Wine prefix of its own inside build/.
# Usage: tools/run.sh [SOURCE [PROFILE]] (the arguments serve the console self-check).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${RW_BUILD_DIR:-$root/build}"
"$root/tools/build.sh"
. "$root/tools/wineprefix.sh"
if [ ! -d "$build/runprefix/drive_c" ]; then
    rw_make_prefix "$build/runprefix"
fi
export WINEPREFIX="$build/runprefix" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG="${WINEDEBUG:--all}"
rw_subtitle_font "$WINEPREFIX"
if [ -x "$build/program/Reelwright.exe" ]; then
    exec "$build/program/Reelwright.exe" "$@"
fi

# Until the program window exists, run the console self-check: the shipped profiles, then one
# generated clip converted with the default profile exactly as a task would be, and its result.
run="$build/program/engine-run.exe"
source="${1:-$build/media/clip_h264_aac.mp4}"
profile="${2:-DivX Movie}"
out="$build/selfcheck"
rm -rf "$out"
echo "== profiles"
"$run" --list-profiles
echo "== media information of $source"
"$run" --info "$source"
echo "== converting with \"$profile\" into $out"
"$run" --profile "$profile" "$source" "$out" 2>/dev/null
for f in "$out"/*; do
    echo "== media information of $f"
    "$run" --info "$f"
done
