#include "platform/mfc/MDIChildWnd.h"

#include "platform/mfc/MDIFrameWnd.h"

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

CMDIChildWnd::CMDIChildWnd() : m_hMenuShared(nullptr)
{
}

BOOL CMDIChildWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CMDIFrameWnd* parent,
                          CCreateContext* context)
{
    if (!parent)
        parent = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    if (!parent || !parent->m_hWndMDIClient)
        return FALSE;
    CREATESTRUCTW cs = {};
    cs.style = style | WS_CHILD;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = parent->m_hWnd;
    cs.lpCreateParams = context;
    if (!PreCreateWindow(cs))
        return FALSE;
    m_strTitle = windowName;

    // MDI children are made by the client window; the creation hook still gives the window to us.
    MDICREATESTRUCTW create = {};
    create.szClass = cs.lpszClass;
    create.szTitle = cs.lpszName;
    create.hOwner = AfxGetInstanceHandle();
    create.x = cs.x;
    create.y = cs.y;
    create.cx = cs.cx;
    create.cy = cs.cy;
    create.style = cs.style & ~(WS_MAXIMIZE | WS_VISIBLE);
    create.lParam = (LPARAM)cs.lpCreateParams;
    AfxHookWindowCreate(this);
    HWND hWnd = (HWND)::SendMessageW(parent->m_hWndMDIClient, WM_MDICREATE, 0, (LPARAM)&create);
    AfxUnhookWindowCreate();
    if (!hWnd)
        return FALSE;
    if (!m_hWnd)
        SubclassWindow(hWnd);
    if (cs.style & WS_VISIBLE)
    {
        ::ShowWindow(m_hWnd, (cs.style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        MDIActivate();
    }
    return TRUE;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    HWND client = ::GetParent(m_hWnd);
    return dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(::GetParent(client)));
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC super = *GetSuperWndProcAddr();
    if (super && super != ::DefWindowProcW)
        return ::CallWindowProcW(super, m_hWnd, message, wParam, lParam);
    return ::DefMDIChildProcW(m_hWnd, message, wParam, lParam);
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* pMsg)
{
    // The MDI frame translates the keys of its active child.
    return CWnd::PreTranslateMessage(pMsg);
}

BOOL CMDIChildWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    MDIDestroy();
    return TRUE;
}

void CMDIChildWnd::MDIDestroy()
{
    HWND client = ::GetParent(m_hWnd);
    ::SendMessageW(client, WM_MDIDESTROY, (WPARAM)m_hWnd, 0);
}

void CMDIChildWnd::MDIActivate()
{
    ::SendMessageW(::GetParent(m_hWnd), WM_MDIACTIVATE, (WPARAM)m_hWnd, 0);
}

void CMDIChildWnd::MDIMaximize()
{
    ::SendMessageW(::GetParent(m_hWnd), WM_MDIMAXIMIZE, (WPARAM)m_hWnd, 0);
}

void CMDIChildWnd::MDIRestore()
{
    ::SendMessageW(::GetParent(m_hWnd), WM_MDIRESTORE, (WPARAM)m_hWnd, 0);
}
