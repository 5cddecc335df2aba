#include "platform/mfc/MiniFrameWnd.h"

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
END_MESSAGE_MAP()

CMiniFrameWnd::CMiniFrameWnd() : m_dwMiniStyle(0)
{
}

BOOL CMiniFrameWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                           UINT id)
{
    return CreateEx(0, className, windowName, style, rect, parent, id);
}

BOOL CMiniFrameWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                             CWnd* parent, UINT id)
{
    m_strTitle = windowName;
    m_dwMiniStyle = style & (MFS_MOVEFRAME | MFS_4THICKFRAME | MFS_SYNCACTIVE | MFS_THICKFRAME | MFS_BLOCKSYSMENU);
    style &= ~(MFS_MOVEFRAME | MFS_4THICKFRAME | MFS_SYNCACTIVE | MFS_THICKFRAME | MFS_BLOCKSYSMENU);
    if (m_dwMiniStyle & MFS_THICKFRAME)
        style |= WS_THICKFRAME;
    // A small caption: a tool window owned by the parent.
    exStyle |= WS_EX_TOOLWINDOW;
    return CWnd::CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                          rect.bottom - rect.top, parent->GetSafeHwnd(), (HMENU)(UINT_PTR)id);
}

BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    // Not a child: the id slot of a popup would be a menu.
    if (!(cs.style & WS_CHILD))
        cs.hMenu = nullptr;
    return CFrameWnd::PreCreateWindow(cs);
}

LRESULT CMiniFrameWnd::OnFloatStatus(WPARAM wParam, LPARAM)
{
    // FS_SYNCACTIVE asks whether this window's activation counts as its owner's.
    LRESULT synchronised = (m_dwMiniStyle & MFS_SYNCACTIVE) && (wParam & FS_SYNCACTIVE);
    // A palette that follows its owner's activation shows itself active with it.
    if ((m_dwMiniStyle & MFS_SYNCACTIVE) && (wParam & (FS_ACTIVATE | FS_DEACTIVATE)))
        SendMessage(WM_NCACTIVATE, (wParam & FS_ACTIVATE) != 0);
    if (wParam & (FS_SHOW | FS_HIDE))
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     ((wParam & FS_SHOW) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE |
                         SWP_NOACTIVATE);
    if (wParam & (FS_ENABLE | FS_DISABLE))
        EnableWindow((wParam & FS_ENABLE) != 0);
    return synchronised;
}
