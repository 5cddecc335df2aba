#!/usr/bin/env bash
# Configures and builds into build/ (the program folder is build/program): everything, or the
# targets given (for example `--target rw_program`, what the program folder needs).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${RW_BUILD_DIR:-$root/build}"
# Configured every time (it is quick), so that folders added since the last build are picked up.
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/winelib-toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"${RW_JOBS:-$(nproc)}" "$@"
