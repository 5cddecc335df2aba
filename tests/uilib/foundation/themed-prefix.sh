#!/usr/bin/env bash
# The visual-style state of a Wine process is fixed when it starts. The test prefix is pinned to
# the classic look; the themed suites run in a copy of it with the visual style switched on.
#   themed-prefix.sh setup DIR        copies $WINEPREFIX to DIR and turns the style on there
#   themed-prefix.sh run DIR PROGRAM  runs PROGRAM in DIR
#   themed-prefix.sh cleanup DIR      ends DIR's Wine processes and removes it
set -euo pipefail
action="$1"
dir="$2"
case "$action" in
setup)
    rm -rf "$dir"
    cp -a "$WINEPREFIX" "$dir"
    export WINEPREFIX="$dir"
    wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /t REG_SZ /d 1 /f >/dev/null 2>&1
    wineserver -w
    ;;
run)
    shift 2
    export WINEPREFIX="$dir" RW_THEME_STATE=themed
    exec "$@"
    ;;
cleanup)
    WINEPREFIX="$dir" wineserver -k >/dev/null 2>&1 || true
    rm -rf "$dir"
    ;;
esac
