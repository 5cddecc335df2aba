#!/usr/bin/env bash
# Photographs the program's windows: runs every screenshot program of the list below in a prefix of
# its own under Xvfb, each writing PNG files into build/screenshots/. Not part of the test suite; run
# it after the tests to look at the result. Usage: tools/screenshots.sh [NAME-FILTER]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${RW_BUILD_DIR:-$root/build}"

# Screenshot programs, relative to the build folder; each takes the output folder (a Unix path), as
# its argument and in RW_SHOT_DIR.
programs=(
    tests/SkinGalleryShots.exe
    tests/MainWindowShots.exe
    tests/TaskListShots.exe
    tests/PanelShots.exe
    tests/CommandBarShots.exe
    tests/MarkupShots.exe
)
# Programs photographed a second time in a copy of the prefix with the visual style switched on; they
# name their pictures after the look they ran with.
themed_programs=(
    tests/MarkupShots.exe
)

"$root/tools/build.sh"
. "$root/tools/wineprefix.sh"
trap 'wineserver -k >/dev/null 2>&1 || true; rw_stop_x' EXIT
rw_start_x
if [ -d "$build/shotprefix/drive_c" ]; then
    export WINEPREFIX="$build/shotprefix" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG="${WINEDEBUG:--all}"
else
    rw_make_prefix "$build/shotprefix"
fi
out="$build/screenshots"
mkdir -p "$out"
status=0
for p in "${programs[@]}"; do
    case "$p" in *"${1:-}"*) ;; *) continue ;; esac
    echo "== $p"
    if ! RW_SHOT_DIR="$out" WINEDLLPATH="$build/program" "$build/$p" "$out"; then
        echo "!! $p failed" >&2
        status=1
    fi
done
themed=()
for p in "${themed_programs[@]}"; do
    case "$p" in *"${1:-}"*) themed+=("$p") ;; esac
done
if [ ${#themed[@]} -gt 0 ]; then
    bash "$root/tests/uilib/foundation/themed-prefix.sh" setup "$build/shotprefix-themed"
    for p in "${themed[@]}"; do
        echo "== $p (visual style)"
        if ! RW_SHOT_DIR="$out" WINEDLLPATH="$build/program" \
            bash "$root/tests/uilib/foundation/themed-prefix.sh" run "$build/shotprefix-themed" "$build/$p" "$out"; then
            echo "!! $p failed with the visual style" >&2
            status=1
        fi
    done
    bash "$root/tests/uilib/foundation/themed-prefix.sh" cleanup "$build/shotprefix-themed"
fi
ls "$out"
exit $status
