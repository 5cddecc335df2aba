#!/usr/bin/env bash
# Builds and starts Reelwright from its program folder, in a Wine prefix of its own inside build/.
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
exec "$build/program/reelwright.exe" "$@"
