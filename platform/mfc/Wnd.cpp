#include "platform/mfc/Wnd.h"

#include <shellapi.h>

#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/WinApp.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

const wchar_t AFX_WND_CLASS[] = L"RwAfxWnd";

namespace
{
void SendToDescendants(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, BOOL deep, BOOL onlyPermanent)
{
    for (HWND child = ::GetTopWindow(parent); child; child = ::GetNextWindow(child, GW_HWNDNEXT))
    {
        if (onlyPermanent)
        {
            if (CWnd* wnd = CWnd::FromHandlePermanent(child))
                AfxCallWndProc(wnd, child, message, wParam, lParam);
        }
        else
        {
            ::SendMessageW(child, message, wParam, lParam);
        }
        if (deep && ::GetTopWindow(child))
            SendToDescendants(child, message, wParam, lParam, deep, onlyPermanent);
    }
}
}

// ---------------------------------------------------------------------------------------------
// Family

CWnd* CWnd::GetOwner() const
{
    return m_hWndOwner ? FromHandle(m_hWndOwner) : GetParent();
}

CFrameWnd* CWnd::GetParentFrame() const
{
    if (!m_hWnd)
        return nullptr;
    for (CWnd* parent = GetParent(); parent; parent = parent->GetParent())
    {
        if (parent->IsFrameWnd())
            return static_cast<CFrameWnd*>(parent);
    }
    return nullptr;
}

CWnd* CWnd::GetTopLevelParent() const
{
    if (!m_hWnd)
        return nullptr;
    HWND top = m_hWnd;
    for (HWND parent = top; parent; parent = ::GetParent(parent))
        top = parent;
    return FromHandle(top);
}

CWnd* CWnd::GetTopLevelOwner() const
{
    if (!m_hWnd)
        return nullptr;
    HWND owner = m_hWnd;
    for (HWND next = owner; next; next = ::GetWindow(next, GW_OWNER))
        owner = next;
    return FromHandle(owner);
}

CWnd* CWnd::GetParentOwner() const
{
    if (!m_hWnd)
        return nullptr;
    HWND hWnd = m_hWnd;
    // Climb while the window is a child: the first window that is not a child is the answer.
    while (::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD)
    {
        HWND parent = ::GetParent(hWnd);
        if (!parent)
            break;
        hWnd = parent;
    }
    return FromHandle(hWnd);
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    if (!m_hWnd)
        return nullptr;
    CWnd* wnd = const_cast<CWnd*>(this);
    CFrameWnd* frame = wnd->IsFrameWnd() ? static_cast<CFrameWnd*>(wnd) : GetParentFrame();
    while (frame)
    {
        CFrameWnd* next = frame->GetParentFrame();
        if (!next)
            break;
        frame = next;
    }
    return frame;
}

CWnd* PASCAL CWnd::GetSafeOwner(CWnd* parent, HWND* topLevel)
{
    HWND hWnd = parent ? parent->GetSafeHwnd() : nullptr;
    if (!hWnd)
    {
        CWnd* main = AfxGetMainWnd();
        hWnd = main ? main->GetSafeHwnd() : nullptr;
    }
    // The owner of a modal window is the top-level window over the given one.
    while (hWnd && (::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    HWND top = hWnd;
    for (HWND next = top; next; next = ::GetWindow(next, GW_OWNER))
        top = next;
    if (topLevel)
        *topLevel = top;
    if (!parent && hWnd)
        hWnd = ::GetLastActivePopup(hWnd);
    return FromHandle(hWnd);
}

CWnd* CWnd::GetDescendantWindow(int id, BOOL onlyPermanent) const
{
    HWND child = ::GetDlgItem(m_hWnd, id);
    if (child)
    {
        if (::GetTopWindow(child) == nullptr || !onlyPermanent)
        {
            CWnd* wnd = onlyPermanent ? FromHandlePermanent(child) : FromHandle(child);
            if (wnd)
                return wnd;
        }
    }
    for (HWND next = ::GetTopWindow(m_hWnd); next; next = ::GetNextWindow(next, GW_HWNDNEXT))
    {
        CWnd* wnd = FromHandle(next)->GetDescendantWindow(id, onlyPermanent);
        if (wnd)
            return wnd;
    }
    return nullptr;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep, BOOL onlyPermanent)
{
    SendToDescendants(m_hWnd, message, wParam, lParam, deep, onlyPermanent);
}

void CWnd::UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler)
{
    CCmdUI state;
    CWnd probe;
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT))
    {
        probe.m_hWnd = child;
        state.m_pOther = &probe;
        state.m_nID = (UINT)::GetDlgCtrlID(child);
        // Controls with the framework's own idle update (bars) update themselves, and so do
        // controls with a reflected update handler (asked directly, without routing).
        if (CWnd* permanent = FromHandlePermanent(child))
        {
            if (permanent->SendMessage(WM_IDLEUPDATECMDUI, (WPARAM)disableIfNoHandler, 0) != 0)
                continue;
            if (permanent->CWnd::OnCmdMsg(0, (int)MAKELONG(0xFFFF, WM_REFLECT_BASE + WM_COMMAND), &state, nullptr))
                continue;
        }
        // Command buttons follow the "disable without handler" rule; other controls keep their state.
        BOOL isCommandButton = FALSE;
        if (::SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)
        {
            UINT style = (UINT)::GetWindowLongW(child, GWL_STYLE) & 0x0F;
            isCommandButton = style == BS_PUSHBUTTON || style == BS_DEFPUSHBUTTON || style == BS_USERBUTTON ||
                              style == BS_OWNERDRAW;
        }
        state.DoUpdate(target, disableIfNoHandler && isCommandButton);
    }
    probe.m_hWnd = nullptr;
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    DWORD style = GetStyle();
    HWND center = alternateOwner ? alternateOwner->m_hWnd : nullptr;
    if (!center)
        center = (style & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    if (center && !(style & WS_CHILD))
    {
        DWORD centerStyle = (DWORD)::GetWindowLongW(center, GWL_STYLE);
        if (!(centerStyle & WS_VISIBLE) || (centerStyle & WS_MINIMIZE))
            center = nullptr;
    }

    CRect dialog;
    GetWindowRect(&dialog);
    CRect area;
    CRect centerRect;
    if (!(style & WS_CHILD))
    {
        HMONITOR monitor = ::MonitorFromWindow(center ? center : m_hWnd, MONITOR_DEFAULTTONEAREST);
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        ::GetMonitorInfoW(monitor, &info);
        area = info.rcWork;
        if (center)
            ::GetWindowRect(center, &centerRect);
        else
            centerRect = area;
    }
    else
    {
        HWND parent = ::GetParent(m_hWnd);
        ::GetClientRect(parent, &area);
        if (center)
        {
            ::GetClientRect(center, &centerRect);
            ::MapWindowPoints(center, parent, (LPPOINT)&centerRect, 2);
        }
        else
            centerRect = area;
    }

    int left = (centerRect.left + centerRect.right) / 2 - dialog.Width() / 2;
    int top = (centerRect.top + centerRect.bottom) / 2 - dialog.Height() / 2;
    if (left + dialog.Width() > area.right)
        left = area.right - dialog.Width();
    if (left < area.left)
        left = area.left;
    if (top + dialog.Height() > area.bottom)
        top = area.bottom - dialog.Height();
    if (top < area.top)
        top = area.top;
    ::SetWindowPos(m_hWnd, nullptr, left, top, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::RepositionBars(UINT idFirst, UINT idLast, UINT idLeftOver, UINT flags, LPRECT paramRect,
                          LPCRECT clientRect, BOOL stretch)
{
    AFX_SIZEPARENTPARAMS layout = {};
    layout.bStretch = stretch;
    if (clientRect)
        layout.rect = *clientRect;
    else
        ::GetClientRect(m_hWnd, &layout.rect);
    layout.hDWP = (flags & reposQuery) ? nullptr : ::BeginDeferWindowPos(8);

    HWND leftOver = nullptr;
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT))
    {
        UINT id = (UINT)::GetDlgCtrlID(child);
        CWnd* wnd = FromHandlePermanent(child);
        if (id == idLeftOver)
            leftOver = child;
        else if (wnd && id >= idFirst && id <= idLast)
            ::SendMessageW(child, WM_SIZEPARENT, 0, (LPARAM)&layout);
    }

    if (flags & reposQuery)
    {
        // Report the space that is left (or, with stretching off, the total size) without moving anything.
        if (paramRect)
        {
            if (stretch)
                ::CopyRect(paramRect, &layout.rect);
            else
            {
                paramRect->left = paramRect->top = 0;
                paramRect->right = layout.sizeTotal.cx;
                paramRect->bottom = layout.sizeTotal.cy;
            }
        }
        return;
    }

    if (idLeftOver != 0 && leftOver && !(flags & reposNoPosLeftOver))
    {
        CRect rect = layout.rect;
        if ((flags & reposExtra) && paramRect)
        {
            rect.left += paramRect->left;
            rect.top += paramRect->top;
            rect.right -= paramRect->right;
            rect.bottom -= paramRect->bottom;
        }
        CWnd* wnd = FromHandle(leftOver);
        wnd->CalcWindowRect(&rect);
        if (layout.hDWP)
            layout.hDWP = ::DeferWindowPos(layout.hDWP, leftOver, nullptr, rect.left, rect.top, rect.Width(),
                                           rect.Height(), SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (paramRect && !(flags & reposExtra))
        ::CopyRect(paramRect, &layout.rect);
    if (layout.hDWP)
        ::EndDeferWindowPos(layout.hDWP);
}

// ---------------------------------------------------------------------------------------------
// Wrappers with some logic

int CWnd::GetDlgItemText(int id, CString& text) const
{
    HWND item = ::GetDlgItem(m_hWnd, id);
    if (!item)
    {
        text.Empty();
        return 0;
    }
    FromHandle(item)->GetWindowText(text);
    return text.GetLength();
}

int CWnd::GetCheckedRadioButton(int first, int last) const
{
    for (int id = first; id <= last; ++id)
    {
        if (::IsDlgButtonChecked(m_hWnd, id))
            return id;
    }
    return 0;
}

void CWnd::ClientToScreen(LPRECT r) const
{
    ::ClientToScreen(m_hWnd, (LPPOINT)r);
    ::ClientToScreen(m_hWnd, ((LPPOINT)r) + 1);
    if (GetExStyle() & WS_EX_LAYOUTRTL)
    {
        LONG t = r->left;
        r->left = r->right;
        r->right = t;
    }
}

void CWnd::ScreenToClient(LPRECT r) const
{
    ::ScreenToClient(m_hWnd, (LPPOINT)r);
    ::ScreenToClient(m_hWnd, ((LPPOINT)r) + 1);
    if (GetExStyle() & WS_EX_LAYOUTRTL)
    {
        LONG t = r->left;
        r->left = r->right;
        r->right = t;
    }
}

BOOL PASCAL CWnd::GrayCtlColor(HDC hDC, HWND hWnd, UINT ctlColor, HBRUSH gray, COLORREF text)
{
    if (!hDC || !gray || ctlColor == CTLCOLOR_EDIT || ctlColor == CTLCOLOR_MSGBOX)
        return FALSE;
    if (ctlColor == CTLCOLOR_LISTBOX)
    {
        // Only the gap of a drop-down combo box (an edit with its button) takes the gray.
        const DWORD kComboTypeMask = 0x0003;
        wchar_t className[16] = {0};
        ::GetClassNameW(hWnd, className, 16);
        if (::lstrcmpiW(className, L"ComboBox") != 0 ||
            ((DWORD)::GetWindowLongW(hWnd, GWL_STYLE) & kComboTypeMask) != CBS_DROPDOWN)
            return FALSE;
    }
    LOGBRUSH brush = {};
    if (!::GetObjectW(gray, sizeof(brush), &brush))
        return FALSE;
    ::SetBkColor(hDC, brush.lbColor);
    ::SetTextColor(hDC, text == (COLORREF)-1 ? ::GetSysColor(COLOR_WINDOWTEXT) : text);
    return TRUE;
}

void CWnd::DragAcceptFiles(BOOL accept)
{
    ::DragAcceptFiles(m_hWnd, accept);
}

BOOL PASCAL CWnd::ModifyStyle(HWND hWnd, DWORD remove, DWORD add, UINT flags)
{
    DWORD style = (DWORD)::GetWindowLongW(hWnd, GWL_STYLE);
    DWORD changed = (style & ~remove) | add;
    if (style == changed)
        return FALSE;
    ::SetWindowLongW(hWnd, GWL_STYLE, (LONG)changed);
    if (flags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

BOOL PASCAL CWnd::ModifyStyleEx(HWND hWnd, DWORD remove, DWORD add, UINT flags)
{
    DWORD style = (DWORD)::GetWindowLongW(hWnd, GWL_EXSTYLE);
    DWORD changed = (style & ~remove) | add;
    if (style == changed)
        return FALSE;
    ::SetWindowLongW(hWnd, GWL_EXSTYLE, (LONG)changed);
    if (flags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

void CWnd::SetWindowText(LPCWSTR text)
{
    // Setting an unchanged text would only flicker.
    int length = text ? ::lstrlenW(text) : 0;
    wchar_t current[256];
    if (length < 255 && ::GetWindowTextLengthW(m_hWnd) == length)
    {
        ::GetWindowTextW(m_hWnd, current, 256);
        if (::lstrcmpW(current, text ? text : L"") == 0)
            return;
    }
    ::SetWindowTextW(m_hWnd, text);
}

void CWnd::GetWindowText(CString& text) const
{
    int length = ::GetWindowTextLengthW(m_hWnd);
    ::GetWindowTextW(m_hWnd, text.GetBufferSetLength(length), length + 1);
    text.ReleaseBuffer();
}

int CWnd::MessageBox(LPCWSTR text, LPCWSTR caption, UINT type)
{
    if (!caption)
    {
        CWinApp* app = AfxGetApp();
        caption = app && app->m_pszAppName ? app->m_pszAppName : L"";
    }
    return ::MessageBoxW(m_hWnd, text, caption, type);
}

BOOL CWnd::GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask)
{
    info->cbSize = sizeof(SCROLLINFO);
    info->fMask = mask;
    return ::GetScrollInfo(m_hWnd, bar, info);
}

BOOL CWnd::SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw)
{
    info->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, bar, info, redraw);
    return TRUE;
}

int CWnd::GetScrollLimit(int bar)
{
    SCROLLINFO info = {};
    if (!GetScrollInfo(bar, &info, SIF_RANGE | SIF_PAGE))
        return 0;
    int limit = info.nMax;
    if (info.nPage > 1)
        limit -= (int)info.nPage - 1;
    return limit;
}

CScrollBar* CWnd::GetScrollBarCtrl(int) const
{
    return nullptr;
}

void CWnd::DoDataExchange(CDataExchange*)
{
}
