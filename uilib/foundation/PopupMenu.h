#pragma once
// Shows an ordinary menu as a context menu. The command bars install their tracker when the program
// starts (SetPopupMenuTracker), and the menu becomes a command-bar popup; a program that does not
// link the command bars shows the framework's popup menu.
#include "platform/mfc/Mfc.h"

// The command bars' way of showing a menu as a popup bar; FALSE from it means "not shown that way".
typedef BOOL (*WVPPopupMenuTracker)(HMENU hMenu, UINT nFlags, int x, int y, CWnd* pWnd, int nIDToolBar, BOOL bNoNotify,
                                    BOOL* pResult);
void AFXAPI WVPSetPopupMenuTracker(WVPPopupMenuTracker tracker);

// The command chosen (with TPM_RETURNCMD) or whether the menu was shown.
BOOL AFXAPI WVPTrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pWnd, int nIDToolBar = 0,
                              BOOL bNoNotify = FALSE);
