#!/usr/bin/env bash
# Sourced by the run and test scripts: a pinned Wine prefix inside the build folder and an X server.
#   rw_make_prefix DIR   creates DIR as a fresh prefix and pins it (Windows version, 96 dpi, fonts,
#                        no window-manager decorations, classic look unless a suite turns a style on)
#   rw_start_x           starts Xvfb on a free display when DISPLAY is unset; rw_stop_x stops it

rw_reg()
{
    # rw_reg KEY NAME TYPE DATA
    wine reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1
}

rw_make_prefix()
{
    local dir="$1"
    rm -rf "$dir"
    mkdir -p "$dir"
    export WINEPREFIX="$dir"
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINEARCH=win64
    wineboot -i >/dev/null 2>&1
    rw_reg 'HKCU\Software\Wine' Version REG_SZ win7
    rw_reg 'HKCU\Control Panel\Desktop' LogPixels REG_DWORD 96
    rw_reg 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' LogPixels REG_DWORD 96
    rw_reg 'HKCU\Software\Wine\X11 Driver' Decorated REG_SZ N
    rw_reg 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' ThemeActive REG_SZ 0
    # The program's scenarios maximise and restore its main window: without a window manager the
    # X11 driver takes a maximised window whose region changes for one restored by a window
    # manager, so they run in a virtual desktop of the screen's size, where Wine alone places them.
    rw_reg 'HKCU\Software\Wine\Explorer\Desktops' RwTests REG_SZ 1280x1024
    local scenario
    for scenario in AppScenarioTest MainFrameTest; do
        rw_reg "HKCU\\Software\\Wine\\AppDefaults\\$scenario.exe\\Explorer" Desktop REG_SZ RwTests
    done
    # Real input (SendInput) reaches the window under the pointer reliably only in a virtual desktop;
    # one of the screen's size, so that the X server's pointer and Wine's agree.
    rw_reg 'HKCU\Software\Wine\Explorer\Desktops' RwSkinDrag REG_SZ 1280x1024
    rw_reg 'HKCU\Software\Wine\AppDefaults\SkinScrollBarDragTest.exe\Explorer' Desktop REG_SZ RwSkinDrag
    rw_reg 'HKCU\Software\Wine\AppDefaults\CommandBarTrackingTest.exe\Explorer' Desktop REG_SZ RwSkinDrag
    # The spin suite's keys leave the shared desktop's keyboard state behind for the next suite's
    # first key: it gets a desktop of its own.
    rw_reg 'HKCU\Software\Wine\Explorer\Desktops' RwEditSpin REG_SZ 1280x1024
    rw_reg 'HKCU\Software\Wine\AppDefaults\ControlEditSpinTest.exe\Explorer' Desktop REG_SZ RwEditSpin
    rw_reg 'HKCU\Software\Wine\AppDefaults\ToolTipContextTest.exe\Explorer' Desktop REG_SZ RwSkinDrag
    rw_reg 'HKCU\Software\Wine\AppDefaults\MarkupInputRoutingTest.exe\Explorer' Desktop REG_SZ RwSkinDrag
    rw_reg 'HKCU\Software\Wine\AppDefaults\ToolBarDragTest.exe\Explorer' Desktop REG_SZ RwSkinDrag
    rw_reg 'HKCU\Software\Wine\AppDefaults\ScrollBaseDragTest.exe\Explorer' Desktop REG_SZ RwSkinDrag
    # Popup bars place themselves on the work area of a 1024 x 768 desktop, where their tests also
    # place the pointer.
    rw_reg 'HKCU\Software\Wine\Explorer\Desktops' RwPopup1024 REG_SZ 1024x768
    local popupTest
    for popupTest in PopupBarTest HeaderCtrlMenuTest; do
        rw_reg "HKCU\\Software\\Wine\\AppDefaults\\$popupTest.exe\\Explorer" Desktop REG_SZ RwPopup1024
    done
    rw_reg 'HKCU\Software\Wine\AppDefaults\MarkupScrollBarRepeatTest.exe\Explorer' Desktop REG_SZ RwSkinDrag
    local fonts="$dir/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    local f
    for f in tahoma.ttf tahomabd.ttf marlett.ttf; do
        [ -f "/usr/share/wine/fonts/$f" ] && cp "/usr/share/wine/fonts/$f" "$fonts/"
    done
    rw_subtitle_font "$dir"
    wineserver -w
}

# rw_subtitle_font DIR: the subtitle renderer reads SIMHEI.TTF from the Windows fonts folder; a
# CJK-capable TrueType font from Debian takes its place.
rw_subtitle_font()
{
    local fonts="$1/drive_c/windows/Fonts"
    local src=/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc
    if [ -f "$src" ] && [ -d "$fonts" ] && [ ! -f "$fonts/SIMHEI.TTF" ]; then
        cp "$src" "$fonts/SIMHEI.TTF"
    fi
}

RW_XVFB_PID=""
rw_start_x()
{
    if [ -n "${DISPLAY:-}" ]; then
        return 0
    fi
    local fifo
    fifo="$(mktemp -u)"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    RW_XVFB_PID=$!
    local num
    read -r num <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$num"
}

rw_stop_x()
{
    if [ -n "$RW_XVFB_PID" ]; then
        kill "$RW_XVFB_PID" 2>/dev/null || true
        wait "$RW_XVFB_PID" 2>/dev/null || true
        RW_XVFB_PID=""
    fi
}
