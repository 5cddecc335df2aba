#!/usr/bin/env bash
# Builds everything and runs the whole test suite with ctest under Xvfb in a fresh Wine prefix.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${RW_BUILD_DIR:-$root/build}"
"$root/tools/build.sh"
. "$root/tools/wineprefix.sh"
trap 'wineserver -k >/dev/null 2>&1 || true; rw_stop_x' EXIT
rw_start_x
if [ "${RW_KEEP_PREFIX:-0}" = 1 ] && [ -d "$build/wineprefix/drive_c" ]; then
    export WINEPREFIX="$build/wineprefix" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG="${WINEDEBUG:--all}"
    rw_subtitle_font "$WINEPREFIX"
else
    rw_make_prefix "$build/wineprefix"
fi
# The prefix's wine server and system processes (services, devices, RPC) start here, with no test's
# output attached: a test that started them would lend them its output pipes, and ctest would wait
# for that test until the last process of the prefix had ended.
wineserver -p </dev/null >/dev/null 2>&1 || true # already running: kept as it is
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
cd "$build"
ctest --output-on-failure -j"${RW_JOBS:-$(nproc)}" --timeout 600 "$@"
