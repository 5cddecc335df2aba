#include "uilib/commandbars/MouseManager.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/foundation/DrawHelpers.h"

#include <atomic>

namespace
{
CThreadLocal<CWVPMouseManager> g_mouseManager;

// The last mouse point any thread's hook saw, to drop repeated moves; (-1, -1) for none.
std::atomic<LONG> g_lastMouseX(-1);
std::atomic<LONG> g_lastMouseY(-1);

void SetLastMousePoint(LONG x, LONG y)
{
    g_lastMouseX.store(x);
    g_lastMouseY.store(y);
}

BOOL IsButtonDown(UINT message)
{
    switch (message)
    {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        return TRUE;
    default:
        return FALSE;
    }
}
} // namespace

CWVPMouseManager* AFX_CDECL WVPMouseManager()
{
    return g_mouseManager.GetData();
}

CWVPMouseManager* AFX_CDECL WVPMouseManagerNA()
{
    return g_mouseManager.GetDataNA();
}

CWVPMouseManager::CWVPMouseManager()
    : m_nLock(0), m_pHoverBar(nullptr), m_bExpandedPopups(FALSE), m_bSwallowButtonUp(FALSE), m_hMouseHook(nullptr),
      m_hwndWatched(nullptr)
{
    m_hMouseHook = ::SetWindowsHookExW(WH_MOUSE, MouseHookProc, nullptr, ::GetCurrentThreadId());
}

CWVPMouseManager::~CWVPMouseManager()
{
    if (m_hMouseHook)
        ::UnhookWindowsHookEx(m_hMouseHook);
    m_hMouseHook = nullptr;
    m_arrTracked.RemoveAll();
    m_arrTrusted.RemoveAll();
}

void CWVPMouseManager::AddTrackedBar(CWVPCommandBar* pBar)
{
    if (m_arrTracked.GetSize() == 0 && m_pHoverBar && m_pHoverBar != pBar)
        m_pHoverBar->ClearSelection();
    if (!IsTrackedBar(pBar))
        m_arrTracked.Add(pBar);
}

void CWVPMouseManager::RemoveTrackedBar(CWVPCommandBar* pBar)
{
    for (INT_PTR i = 0; i < m_arrTracked.GetSize(); ++i)
    {
        if (m_arrTracked[i] == pBar)
        {
            m_arrTracked.RemoveAt(i);
            if (m_arrTracked.GetSize() == 0)
                RefreshCursorPosition();
            break;
        }
    }
    m_bSwallowButtonUp = FALSE;
}

void CWVPMouseManager::CloseTrackedBars()
{
    while (m_arrTracked.GetSize() > 0)
    {
        CWVPCommandBar* pBar = m_arrTracked[0];
        pBar->EndTracking();
        // A bar that could not leave the list must not keep the loop going.
        if (m_arrTracked.GetSize() > 0 && m_arrTracked[0] == pBar)
            m_arrTracked.RemoveAt(0);
    }
}

void CWVPMouseManager::CloseUnlockedTrackedBars()
{
    if (m_arrTracked.GetSize() == 0 || m_arrTracked[0]->GetLockCount() <= 0)
        return;
    for (INT_PTR i = 0; i < m_arrTracked.GetSize(); ++i)
    {
        CWVPCommandBar* pBar = m_arrTracked[i];
        if (pBar->GetLockCount() == 0)
        {
            pBar->EndTracking();
            if (i < m_arrTracked.GetSize() && m_arrTracked[i] != pBar)
                --i;
        }
    }
}

void CWVPMouseManager::LockTrackedBars(BOOL lock)
{
    for (INT_PTR i = 0; i < m_arrTracked.GetSize(); ++i)
        m_arrTracked[i]->m_nLockCount += lock ? 1 : -1;
}

BOOL CWVPMouseManager::IsTrackedBar(CWVPCommandBar* pBar) const
{
    for (INT_PTR i = 0; i < m_arrTracked.GetSize(); ++i)
        if (m_arrTracked[i] == pBar)
            return TRUE;
    return FALSE;
}

void CWVPMouseManager::AddTrustedWindow(HWND hWnd)
{
    m_arrTrusted.Add(hWnd);
}

void CWVPMouseManager::RemoveTrustedWindow(HWND hWnd)
{
    for (INT_PTR i = 0; i < m_arrTrusted.GetSize(); ++i)
        if (m_arrTrusted[i] == hWnd)
        {
            m_arrTrusted.RemoveAt(i);
            return;
        }
}

BOOL CWVPMouseManager::IsBarInputBlocked(CWVPCommandBar* pBar) const
{
    if (m_arrTracked.GetSize() == 0)
        return FALSE;
    return !pBar || pBar->GetLockCount() > 0 || !IsTrackedBar(pBar);
}

BOOL AFX_CDECL CWVPMouseManager::IsBarUnderPoint(CWVPCommandBar* pBar, POINT pt, HWND hwndUnder)
{
    if (!pBar || !pBar->GetSafeHwnd())
        return FALSE;
    return pBar->HitTestBar(pt) || (hwndUnder && ::IsChild(pBar->GetSafeHwnd(), hwndUnder));
}

CWVPCommandBar* CWVPMouseManager::TrackedBarFromPoint(POINT pt) const
{
    const HWND hwndUnder = ::WindowFromPoint(pt);
    for (INT_PTR i = m_arrTracked.GetSize() - 1; i >= 0; --i)
        if (IsBarUnderPoint(m_arrTracked[i], pt, hwndUnder))
            return m_arrTracked[i];
    return nullptr;
}

BOOL CWVPMouseManager::IsInTrustedWindow(POINT pt) const
{
    for (INT_PTR i = 0; i < m_arrTrusted.GetSize(); ++i)
    {
        const HWND hWnd = m_arrTrusted[i];
        if (::IsWindow(hWnd) && ::IsWindowVisible(hWnd) && WVPSafeWindowRect(hWnd).PtInRect(pt))
            return TRUE;
    }
    return FALSE;
}

BOOL AFX_CDECL CWVPMouseManager::IsImeWindow(HWND hWnd)
{
    return hWnd && (::GetClassLongW(hWnd, GCL_STYLE) & CS_IME) != 0;
}

BOOL CWVPMouseManager::IsClickOutsideTrackedBars(CWVPCommandBar* pAsking, const MSG* pMsg) const
{
    switch (pMsg->message)
    {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        break;
    default:
        return FALSE;
    }
    POINT pt;
    ::GetCursorPos(&pt);
    if (CWVPCommandBar* pBar = TrackedBarFromPoint(pt))
    {
        if (pBar->GetLockCount() <= 0)
            return FALSE;
        if (pAsking && pAsking->GetLockCount() > 0)
            return FALSE;
    }
    if (m_arrTracked.GetSize() == 0)
        return TRUE;
    if (IsInTrustedWindow(pt))
        return FALSE;
    if (IsImeWindow(::WindowFromPoint(pt)))
        return FALSE;
    return TRUE;
}

void AFX_CDECL CWVPMouseManager::RefreshCursorPosition()
{
    SetLastMousePoint(-1, -1);
    POINT pt;
    if (::GetCursorPos(&pt))
        ::SetCursorPos(pt.x, pt.y);
}

void CWVPMouseManager::WatchMouseLeave(HWND hWnd)
{
    if (hWnd == m_hwndWatched)
        return;
    if (m_hwndWatched && ::IsWindow(m_hwndWatched))
    {
        ::KillTimer(m_hwndWatched, WVP_TIMER_MOUSELEAVE);
        ::SendMessageW(m_hwndWatched, WM_MOUSELEAVE, 0, 0);
    }
    m_hwndWatched = hWnd;
    if (hWnd)
        ::SetTimer(hWnd, WVP_TIMER_MOUSELEAVE, 50, MouseLeaveTimerProc);
}

BOOL AFX_CDECL CWVPMouseManager::IsTopParentActive(HWND hWnd)
{
    return CWVPDrawHelpers::IsTopParentActive(hWnd);
}

void CALLBACK CWVPMouseManager::MouseLeaveTimerProc(HWND hWnd, UINT, UINT_PTR id, DWORD)
{
    try
    {
        CWVPMouseManager* self = WVPMouseManager();
        if (!::IsWindow(hWnd))
        {
            ::KillTimer(hWnd, id);
            if (self->m_hwndWatched == hWnd)
                self->m_hwndWatched = nullptr;
            return;
        }
        RECT rc;
        ::GetWindowRect(hWnd, &rc);
        POINT pt;
        ::GetCursorPos(&pt);
        const LONG style = ::GetWindowLongW(hWnd, GWL_STYLE);
        const BOOL active = !::GetParent(hWnd) || (style & WS_POPUP) || IsTopParentActive(hWnd);
        if (::PtInRect(&rc, pt) && active)
            return;
        ::KillTimer(hWnd, id);
        if (self->m_hwndWatched == hWnd)
            self->m_hwndWatched = nullptr;
        ::PostMessageW(hWnd, WM_MOUSELEAVE, 0, 0);
    }
    catch (...)
    {
    }
}

void CWVPMouseManager::PreviewMouseMessage(UINT message, POINT pt)
{
    const HWND hwndUnder = ::WindowFromPoint(pt);
    for (INT_PTR i = m_arrTracked.GetSize() - 1; i >= 0; --i)
    {
        CWVPCommandBar* pBar = m_arrTracked[i];
        if (!IsBarUnderPoint(pBar, pt, hwndUnder))
            continue;
        if (pBar->GetLockCount() > 0 && message != WM_MOUSEMOVE && message != WM_NCMOUSEMOVE && !m_bSwallowButtonUp)
        {
            CloseUnlockedTrackedBars();
            SetLastMousePoint(0, 0);
        }
        return;
    }
    if (IsInTrustedWindow(pt) || IsImeWindow(hwndUnder))
        return;
    for (INT_PTR i = 0; i < m_arrTracked.GetSize(); ++i)
        RouteMouseToTrackedBar(m_arrTracked[i], message, pt);
}

void CWVPMouseManager::RouteMouseToTrackedBar(CWVPCommandBar* pBar, UINT message, POINT pt)
{
    switch (message)
    {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        if (pBar->GetLockCount() <= 0 && pBar->GetSafeHwnd())
        {
            CPoint client(pt);
            ::ScreenToClient(pBar->GetSafeHwnd(), &client);
            pBar->OnMouseMove(0, client);
        }
        break;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
        if (m_nLock <= 0)
            CloseTrackedBars();
        break;
    default:
        if (IsButtonDown(message))
            CloseTrackedBars();
        break;
    }
}

LRESULT CALLBACK CWVPMouseManager::MouseHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    CWVPMouseManager* self = WVPMouseManagerNA();
    const HHOOK hook = self ? self->m_hMouseHook : nullptr;
    try
    {
        const MOUSEHOOKSTRUCT* info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        if (code == HC_ACTION && self && info)
        {
            const UINT message = UINT(wParam);
            const POINT pt = info->pt;
            if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN)
                self->m_bSwallowButtonUp = FALSE;
            if ((message == WM_LBUTTONUP || message == WM_NCLBUTTONUP) && self->m_bSwallowButtonUp)
            {
                self->m_bSwallowButtonUp = FALSE;
                return 1;
            }
            const BOOL tracking = self->m_arrTracked.GetSize() > 0;
            if (tracking && (message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE) && pt.x == g_lastMouseX.load() &&
                pt.y == g_lastMouseY.load())
                return 1;
            SetLastMousePoint(pt.x, pt.y);
            if (tracking)
                self->PreviewMouseMessage(message, pt);
        }
    }
    catch (...)
    {
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
}
