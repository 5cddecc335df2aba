#!/usr/bin/env bash
# tools/run.sh without an X display: it says that a display is needed and fails, before building.
# Usage: RunWithoutDisplay.sh SOURCE-DIR SCRATCH-BUILD-DIR
set -u
source_dir="$1"
scratch="$2"
rm -rf "$scratch"
output="$(env -u DISPLAY RW_BUILD_DIR="$scratch" bash "$source_dir/tools/run.sh" 2>&1)"
code=$?
if [ "$code" -ne 1 ]; then
    echo "FAIL: exit code $code, expected 1; output: $output"
    exit 1
fi
if ! grep -q "needs an X display" <<<"$output"; then
    echo "FAIL: no word of the display in: $output"
    exit 1
fi
if [ -e "$scratch" ]; then
    echo "FAIL: it built into $scratch although it could not show the window"
    exit 1
fi
echo "ok: $output"
