#include "platform/mfc/MDIFrameWnd.h"

#include "platform/mfc/MDIChildWnd.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

namespace
{
const UINT kFirstChildId = 0xFF00;
}

CMDIFrameWnd::CMDIFrameWnd() : m_hWndMDIClient(nullptr)
{
}

BOOL CMDIFrameWnd::LoadFrame(UINT idResource, DWORD style, CWnd* parent, CCreateContext* context)
{
    return CFrameWnd::LoadFrame(idResource, style, parent, context);
}

int CMDIFrameWnd::OnCreate(LPCREATESTRUCT cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    // The window menu is the last popup of the frame's menu, when it has one.
    CMenu* windowMenu = nullptr;
    if (m_hMenuDefault)
    {
        int count = ::GetMenuItemCount(m_hMenuDefault);
        if (count > 0)
            windowMenu = CMenu::FromHandle(::GetSubMenu(m_hMenuDefault, count - 1));
    }
    return CreateClient(cs, windowMenu) ? 0 : -1;
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu* windowMenu)
{
    CLIENTCREATESTRUCT client = {};
    client.hWindowMenu = windowMenu->GetSafeHmenu();
    client.idFirstChild = kFirstChildId;
    m_hWndMDIClient = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL |
                                            WS_HSCROLL | MDIS_ALLCHILDSTYLES,
                                        0, 0, 0, 0, m_hWnd, (HMENU)(UINT_PTR)AFX_IDW_PANE_FIRST,
                                        AfxGetInstanceHandle(), &client);
    return m_hWndMDIClient != nullptr;
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC super = *GetSuperWndProcAddr();
    // The frame's default handling is the MDI frame's, through its own previous procedure.
    if (super && super != ::DefWindowProcW)
        return ::CallWindowProcW(super, m_hWnd, message, wParam, lParam);
    return ::DefFrameProcW(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

void CMDIFrameWnd::RecalcLayout(BOOL notify)
{
    CFrameWnd::RecalcLayout(notify);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* maximized) const
{
    if (!m_hWndMDIClient)
    {
        if (maximized)
            *maximized = FALSE;
        return nullptr;
    }
    BOOL isMaximized = FALSE;
    HWND active = (HWND)::SendMessageW(m_hWndMDIClient, WM_MDIGETACTIVE, 0, (LPARAM)&isMaximized);
    if (maximized)
        *maximized = isMaximized;
    return dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(active));
}

void CMDIFrameWnd::MDIActivate(CWnd* child)
{
    ::SendMessageW(m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)child->GetSafeHwnd(), 0);
}

void CMDIFrameWnd::MDINext()
{
    ::SendMessageW(m_hWndMDIClient, WM_MDINEXT, 0, 0);
}

void CMDIFrameWnd::MDIPrev()
{
    ::SendMessageW(m_hWndMDIClient, WM_MDINEXT, 0, 1);
}

void CMDIFrameWnd::MDIMaximize(CWnd* child)
{
    ::SendMessageW(m_hWndMDIClient, WM_MDIMAXIMIZE, (WPARAM)child->GetSafeHwnd(), 0);
}

void CMDIFrameWnd::MDIRestore(CWnd* child)
{
    ::SendMessageW(m_hWndMDIClient, WM_MDIRESTORE, (WPARAM)child->GetSafeHwnd(), 0);
}

void CMDIFrameWnd::MDITile(int type)
{
    ::SendMessageW(m_hWndMDIClient, WM_MDITILE, (WPARAM)type, 0);
}

void CMDIFrameWnd::MDICascade(int type)
{
    ::SendMessageW(m_hWndMDIClient, WM_MDICASCADE, (WPARAM)type, 0);
}

void CMDIFrameWnd::MDIIconArrange()
{
    ::SendMessageW(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0);
}

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* frameMenu, CMenu* windowMenu)
{
    HMENU previous = (HMENU)::SendMessageW(m_hWndMDIClient, WM_MDISETMENU, (WPARAM)frameMenu->GetSafeHmenu(),
                                           (LPARAM)windowMenu->GetSafeHmenu());
    ::DrawMenuBar(m_hWnd);
    return CMenu::FromHandle(previous);
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* child = MDIGetActive();
    return child ? static_cast<CFrameWnd*>(child) : this;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The active child first, then the frame and the application.
    CMDIChildWnd* child = MDIGetActive();
    if (child && child->CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    // The active child's accelerators come before the frame's.
    CMDIChildWnd* child = MDIGetActive();
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
    {
        if (child && child->m_hAccelTable && ::TranslateAcceleratorW(m_hWnd, child->m_hAccelTable, pMsg))
            return TRUE;
        if (CFrameWnd::PreTranslateMessage(pMsg))
            return TRUE;
        if (child && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg))
            return TRUE;
        return FALSE;
    }
    return CFrameWnd::PreTranslateMessage(pMsg);
}
