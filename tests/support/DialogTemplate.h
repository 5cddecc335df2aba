// An in-memory dialog template without controls, laid out as the system reads it: tests create
// dialogs and property-sheet pages from it without a resource script.
#pragma once

#include "RwTest.h"

#include <commctrl.h>
#include <prsht.h>

#include <vector>

namespace rwtest
{
inline std::vector<WORD> DialogTemplate(DWORD style, short cx = 100, short cy = 60)
{
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
    DLGTEMPLATE* dlg = reinterpret_cast<DLGTEMPLATE*>(words.data());
    dlg->style = style;
    dlg->cx = cx;
    dlg->cy = cy;
    return words; // no menu, default class, empty title
}

// A modeless property sheet with one page made from the template and run by the procedure; the
// sheet's flags are added to PSH_MODELESS. Null when the sheet could not be made.
inline HWND CreateOnePageSheet(std::vector<WORD>& page, DLGPROC pageProc, DWORD sheetFlags = 0)
{
    PROPSHEETPAGEW psp = {};
    psp.dwSize = sizeof psp;
    psp.dwFlags = PSP_DLGINDIRECT;
    psp.hInstance = ::GetModuleHandleW(nullptr);
    psp.pResource = reinterpret_cast<DLGTEMPLATE*>(page.data());
    psp.pfnDlgProc = pageProc;
    HPROPSHEETPAGE pages[] = {::CreatePropertySheetPageW(&psp)};
    PROPSHEETHEADERW psh = {};
    psh.dwSize = sizeof psh;
    psh.dwFlags = PSH_MODELESS | sheetFlags;
    psh.hInstance = ::GetModuleHandleW(nullptr);
    psh.pszCaption = L"Sheet";
    psh.nPages = 1;
    psh.phpage = pages;
    return reinterpret_cast<HWND>(::PropertySheetW(&psh));
}
} // namespace rwtest
