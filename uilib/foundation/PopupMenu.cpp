#include "uilib/foundation/PopupMenu.h"

namespace
{
WVPPopupMenuTracker g_tracker = nullptr;
} // namespace

void AFXAPI WVPSetPopupMenuTracker(WVPPopupMenuTracker tracker)
{
    g_tracker = tracker;
}

BOOL AFXAPI WVPTrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pWnd, int nIDToolBar, BOOL bNoNotify)
{
    if (!pMenu || !pMenu->GetSafeHmenu())
        return FALSE;
    BOOL result = FALSE;
    if (g_tracker && g_tracker(pMenu->GetSafeHmenu(), nFlags, x, y, pWnd, nIDToolBar, bNoNotify, &result))
        return result;
    // Only a program that does not link the command bars has no tracker: the framework's menu.
    return pMenu->TrackPopupMenu(nFlags | (bNoNotify ? TPM_NONOTIFY : 0), x, y, pWnd);
}
