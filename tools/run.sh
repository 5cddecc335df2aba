#!/usr/bin/env bash
# Builds what the program folder needs (not the tests) and starts Reelwright from it, in a Wine
# prefix of its own inside build/. Arguments go to the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${RW_BUILD_DIR:-$root/build}"
# The program is a window program: without an X display it could only end at once, silently.
if [ -z "${DISPLAY:-}" ] || { command -v xdpyinfo >/dev/null && ! xdpyinfo >/dev/null 2>&1; }; then
    echo "tools/run.sh: Reelwright needs an X display to show its window, and none is reachable" \
        "(DISPLAY=${DISPLAY:-unset}). Run it on a desktop, or inside a virtual one: xvfb-run -a bash tools/run.sh" >&2
    exit 1
fi
"$root/tools/build.sh" --target rw_program
. "$root/tools/wineprefix.sh"
if [ ! -d "$build/runprefix/drive_c" ]; then
    rw_make_prefix "$build/runprefix"
fi
export WINEPREFIX="$build/runprefix" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG="${WINEDEBUG:--all}"
rw_subtitle_font "$WINEPREFIX"
exec "$build/program/Reelwright.exe" "$@"
