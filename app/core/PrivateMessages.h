// The program's own window messages between its windows and threads, all in one place so that
// no number has two meanings and sender and receiver always agree. The shell and the core both
// use them; messages private to one control class stay with that class.
#pragma once

#include <windows.h>

// Task list panel to the main frame: the selection or a check box changed.
const UINT WM_RW_ROW_SELECTED = 0x1519;
const UINT WM_RW_ROW_CHECKED = 0x1520;
// Parameter panel to the main frame: wParam the parameter's name, lParam its text or choice.
const UINT WM_RW_PARAM_VALUE = 0x1522;
const UINT WM_RW_PARAM_CHOICE = 0x1523;
// Target panel's log button and the log window to the main frame: show or hide the log window.
const UINT WM_RW_TOGGLE_LOG = 0x1533;
// The update download's thread to the main window.
const UINT WM_RW_DOWNLOAD_DONE = 0x2401;     // wParam result, lParam elapsed ms
const UINT WM_RW_DOWNLOAD_PROGRESS = 0x2402; // wParam bytes so far, lParam total bytes
// A second start to the running program's main window.
const UINT WM_RW_COME_TO_FRONT = 0x2812;
// Engine log lines from worker threads to the main window.
const UINT WM_RW_ENGINE_LOG = 0x2813;
// The tray icon's notifications to the main frame.
const UINT WM_RW_TRAY_NOTIFY = 0x7B9;
// The main frame to its panels: texts after a language change, a vertical shift of the controls.
const UINT WM_RW_PANEL_RELOADTEXTS = WM_APP + 0x101;
const UINT WM_RW_PANEL_SHIFT = WM_APP + 0x102;
// Target panel to itself: open the profile picker once the click has ended.
const UINT WM_RW_PICK_PROFILE = WM_APP + 0x140;
