#!/usr/bin/env bash
# Builds everything and runs the whole test suite with ctest under Xvfb in a fresh Wine prefix.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${RW_BUILD_DIR:-$root/build}"
"$root/tools/build.sh"
. "$root/tools/wineprefix.sh"
trap 'wineserver -k >/dev/null 2>&1 || true; rw_stop_x' EXIT
rw_start_x
rw_make_prefix "$build/wineprefix"
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 600 "$@"
