// Windows made and ended: construction, creation (ActiveX controls included), destruction and
// the final cleanup of WM_NCDESTROY.
#include "platform/mfc/Wnd.h"

#include "platform/mfc/OleControlSite.h"
#include "platform/mfc/ThreadState.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WndInternal.h"

CWnd::CWnd()
    : m_hWnd(nullptr), m_hWndOwner(nullptr), m_pfnSuper(nullptr), m_nFlags(0), m_nModalResult(0), m_pCtrlSite(nullptr)
{
}

CWnd::CWnd(HWND hWnd)
    : m_hWnd(hWnd), m_hWndOwner(nullptr), m_pfnSuper(nullptr), m_nFlags(0), m_nModalResult(0), m_pCtrlSite(nullptr)
{
}

CWnd::~CWnd()
{
    if (this == &wndTop || this == &wndBottom || this == &wndTopMost || this == &wndNoTopMost)
        return;
    if (AfxWindowLayerTerminated())
    {
        m_hWnd = nullptr; // the process is ending: no Win32 calls any more
        return;
    }
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
    {
        DestroyWindow();
    }
    // An object that only borrowed a handle (never entered the map) leaves the window alone.
    m_hWnd = nullptr;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!cs.lpszClass)
    {
        AfxDeferRegisterClass(0);
        cs.lpszClass = AFX_WND_CLASS;
    }
    return TRUE;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  CCreateContext* context)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent->GetSafeHwnd(), (HMENU)(UINT_PTR)id, (LPVOID)context);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                    UINT id, LPVOID param)
{
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent->GetSafeHwnd(), (HMENU)(UINT_PTR)id, param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int cx, int cy,
                    HWND parent, HMENU idOrMenu, LPVOID param)
{
    if (m_hWnd)
        return FALSE;
    CREATESTRUCTW cs = {};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = style;
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs))
    {
        PostNcDestroy();
        return FALSE;
    }

    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    AfxUnhookWindowCreate();
    if (!hWnd)
    {
        // A window that failed after the hook attached it went through WM_NCDESTROY, whose
        // PostNcDestroy may have deleted this object: nothing of it may be touched then.
        return FALSE;
    }
    if (hWnd != m_hWnd)
    {
        // The hook did not see the creation (another hook swallowed it): subclass now.
        if (!m_hWnd)
            SubclassWindow(hWnd);
    }
    return TRUE;
}

BOOL CWnd::CreateControl(REFCLSID clsid, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                         CFile*, BOOL, BSTR)
{
    if (m_hWnd)
        return FALSE;
    AfxEnableControlContainer();
    if (!CreateEx(0, nullptr, windowName, style | WS_CHILD | WS_CLIPCHILDREN, rect, parent, id))
        return FALSE;
    COleControlSite* site = new COleControlSite(this);
    CRect client(0, 0, rect.right - rect.left, rect.bottom - rect.top);
    HRESULT hr = site->CreateControl(clsid, client);
    if (FAILED(hr))
    {
        char line[96];
        ::wsprintfA(line, "Reelwright: control could not be created: 0x%08X\n", (unsigned)hr);
        ::OutputDebugStringA(line);
        site->Release();
        DestroyWindow();
        return FALSE;
    }
    m_pCtrlSite = site;
    m_nFlags |= WF_OLECTLCONTAINER;
    return TRUE;
}

LPUNKNOWN CWnd::GetControlUnknown()
{
    return m_pCtrlSite ? m_pCtrlSite->GetControlUnknown() : nullptr;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    HWND hWnd = m_hWnd;
    CWnd* permanent = FromHandlePermanent(hWnd);
    BOOL result = ::DestroyWindow(hWnd);
    // A window that was not ours (or whose cleanup did not run) is detached here.
    if (!permanent || permanent != this)
    {
        if (m_hWnd == hWnd)
            m_hWnd = nullptr;
    }
    else if (FromHandlePermanent(hWnd) == this)
    {
        Detach();
    }
    return result;
}

void CWnd::PostNcDestroy()
{
}

void CWnd::OnNcDestroy()
{
    if (COleControlSite* site = m_pCtrlSite)
    {
        m_pCtrlSite = nullptr;
        m_nFlags &= ~WF_OLECTLCONTAINER;
        site->Close();
        site->Release();
    }
    CWinThread* thread = AfxGetThread();
    if (thread && thread->m_pMainWnd == this)
    {
        // The main window going away ends its thread's message loop, on the application's
        // thread as on any user-interface thread.
        ::PostQuitMessage(0);
        thread->m_pMainWnd = nullptr;
    }
    if (thread && thread->m_pActiveWnd == this)
        thread->m_pActiveWnd = nullptr;
    // A modal loop whose window goes away without EndModalLoop ends with it.
    if (m_nFlags & WF_CONTINUEMODAL)
        m_nFlags &= ~WF_CONTINUEMODAL;
    if (m_nFlags & WF_TOOLTIPS)
        CancelToolTips();

    Default();

    WNDPROC* super = GetSuperWndProcAddr();
    if (*super && (WNDPROC)::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) == &AfxWndProc)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, (LONG_PTR)*super);
    *super = nullptr;
    Detach();
    PostNcDestroy();
}

void CWnd::CalcWindowRect(LPRECT clientRect, UINT adjustType)
{
    DWORD exStyle = GetExStyle();
    if (adjustType == 0)
        exStyle &= ~WS_EX_CLIENTEDGE;
    ::AdjustWindowRectEx(clientRect, GetStyle(), FALSE, exStyle);
}
