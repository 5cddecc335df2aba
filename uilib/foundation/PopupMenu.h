#pragma once
// Shows an ordinary menu as a context menu. With a command-bar paint manager the menu becomes a
// command-bar popup; until the command bars provide one (SetPopupMenuTracker), it is the
// framework's popup menu.
#include "platform/mfc/Mfc.h"

// The command bars' way of showing a menu as a popup bar; FALSE from it means "not shown that way".
typedef BOOL (*WVPPopupMenuTracker)(HMENU hMenu, UINT nFlags, int x, int y, CWnd* pWnd, int nIDToolBar, BOOL bNoNotify,
                                    BOOL* pResult);
void AFXAPI WVPSetPopupMenuTracker(WVPPopupMenuTracker tracker);

// The command chosen (with TPM_RETURNCMD) or whether the menu was shown.
BOOL AFXAPI WVPTrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pWnd, int nIDToolBar = 0,
                              BOOL bNoNotify = FALSE);
