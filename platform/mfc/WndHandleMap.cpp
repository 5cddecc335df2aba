// The window handle map: objects found by handle, attached and detached, and windows subclassed
// into the framework and out of it.
#include "platform/mfc/Wnd.h"

#include "platform/mfc/ThreadState.h"
#include "platform/mfc/WndInternal.h"

namespace
{
void BindWnd(CWnd* wnd, HWND handle)
{
    wnd->m_hWnd = handle;
}
} // namespace

CHandleMap<CWnd, HWND>* AfxWndMap(bool create)
{
    return AfxThreadHandleMap<CWnd, HWND, BindWnd>(AfxGetThreadState()->m_pmapHWND, create);
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd)
{
    return AfxWndMap(true)->FromHandle(hWnd);
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    CHandleMap<CWnd, HWND>* map = AfxWndMap(false);
    return map && hWnd ? map->LookupPermanent(hWnd) : nullptr;
}

void PASCAL CWnd::DeleteTempMap()
{
    if (auto* map = AfxWndMap(false))
        map->DeleteTemp();
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd)
        return FALSE;
    m_hWnd = hWnd;
    AfxWndMap(true)->SetPermanent(hWnd, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd)
    {
        if (auto* map = AfxWndMap(false))
            map->RemoveHandle(hWnd, this);
    }
    m_hWnd = nullptr;
    return hWnd;
}

void CWnd::PreSubclassWindow()
{
}

WNDPROC* CWnd::GetSuperWndProcAddr()
{
    return &m_pfnSuper;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!::IsWindow(hWnd) || FromHandlePermanent(hWnd))
        return FALSE;
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC* super = GetSuperWndProcAddr();
    WNDPROC old = (WNDPROC)::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)&AfxWndProc);
    if (old == &AfxWndProc)
    {
        // The window already runs through us (an object left it earlier): reuse its previous procedure.
        old = (WNDPROC)::RemovePropW(hWnd, kAfxPassThroughProp);
        if (!old)
            old = ::DefWindowProcW;
    }
    *super = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    HWND control = ::GetDlgItem(parent->GetSafeHwnd(), (int)id);
    return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (!m_hWnd)
        return nullptr;
    WNDPROC* super = GetSuperWndProcAddr();
    WNDPROC current = (WNDPROC)::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC);
    if (current == &AfxWndProc)
    {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, (LONG_PTR)*super);
    }
    else if (*super)
    {
        // Another subclasser sits above us and will restore AfxWndProc when it leaves: from then on
        // AfxWndProc passes the window's messages to the procedure we had replaced.
        ::SetPropW(m_hWnd, kAfxPassThroughProp, (HANDLE)*super);
    }
    *super = nullptr;
    return Detach();
}
