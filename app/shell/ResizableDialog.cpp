#include "app/shell/ResizableDialog.h"

namespace
{
const int kClassNameLength = 260;
const DWORD kStaticTypeMask = 0x1F;

// Text statics are repainted as a whole when moved: their text is laid out for the width.
bool IsTextStatic(DWORD style)
{
    const DWORD type = style & kStaticTypeMask;
    if (type == SS_SIMPLE)
        return false;
    return type <= SS_RIGHT || (style & SS_CENTERIMAGE);
}

// The largest horizontal scroll position of a window (0 without a scroll range).
int HorizontalScrollLimit(HWND window)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE;
    if (!::GetScrollInfo(window, SB_HORZ, &info))
        return 0;
    const int limit = info.nMax - (info.nPage > 0 ? (int)info.nPage - 1 : 0);
    return limit > 0 ? limit : 0;
}

int Percent(int anchor, int extent)
{
    return anchor * extent / 100;
}
} // namespace

IMPLEMENT_DYNAMIC(CResizableDialog, CDialog)

BEGIN_MESSAGE_MAP(CResizableDialog, CDialog)
ON_WM_PAINT()
ON_WM_NCHITTEST()
ON_WM_GETMINMAXINFO()
ON_WM_SIZE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CResizableDialog::CResizableDialog()
{
    m_szGrip = CSize(::GetSystemMetrics(SM_CXVSCROLL), ::GetSystemMetrics(SM_CYHSCROLL));
}

CResizableDialog::CResizableDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent)
{
    m_szGrip = CSize(::GetSystemMetrics(SM_CXVSCROLL), ::GetSystemMetrics(SM_CYHSCROLL));
}

CResizableDialog::~CResizableDialog() = default;

BOOL CResizableDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    UpdateGripRect();
    CRect window;
    ::GetWindowRect(m_hWnd, &window);
    m_szMinTrack = CSize(window.Width(), window.Height());
    m_bInitDone = TRUE;
    return TRUE;
}

void CResizableDialog::UpdateGripRect()
{
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    m_rcGrip = CRect(client.right - m_szGrip.cx, client.bottom - m_szGrip.cy, client.right, client.bottom);
}

bool CResizableDialog::ShouldShowGrip() const
{
    return m_bShowGrip && !::IsZoomed(m_hWnd);
}

void CResizableDialog::AddAnchor(UINT controlId, CResizableAnchor topLeft, CResizableAnchor bottomRight)
{
    AddAnchor(::GetDlgItem(m_hWnd, controlId), topLeft, bottomRight);
}

void CResizableDialog::AddAnchor(HWND control, CResizableAnchor topLeft, CResizableAnchor bottomRight)
{
    if (!::IsWindow(control))
        return;
    auto entry = std::make_unique<LayoutEntry>();
    entry->hwnd = control;
    entry->repaintOnScroll = FALSE;
    entry->repaintAlways = FALSE;

    wchar_t className[kClassNameLength + 1] = {0};
    ::GetClassNameW(control, className, kClassNameLength);
    const DWORD style = (DWORD)::GetWindowLongW(control, GWL_STYLE);
    if (::lstrcmpiW(className, L"BUTTON") == 0)
    {
        // Group boxes and their kin overlap the controls they frame.
        if (style & BS_GROUPBOX)
            ::SetWindowLongW(control, GWL_STYLE, (LONG)(style | WS_CLIPSIBLINGS));
    }
    else if (::lstrcmpiW(className, L"LISTBOX") == 0)
        entry->repaintOnScroll = TRUE;
    else if (::lstrcmpiW(className, L"STATIC") == 0)
        entry->repaintAlways = IsTextStatic(style);

    CRect client;
    ::GetClientRect(m_hWnd, &client);
    CRect rect;
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);

    if (bottomRight.x == kAnchorNone.x && bottomRight.y == kAnchorNone.y)
        bottomRight = topLeft;
    entry->topLeft = topLeft;
    entry->bottomRight = bottomRight;
    entry->marginTopLeft =
        CSize(rect.left - Percent(topLeft.x, client.Width()), rect.top - Percent(topLeft.y, client.Height()));
    entry->marginBottomRight = CSize(rect.right - Percent(bottomRight.x, client.Width()),
                                     rect.bottom - Percent(bottomRight.y, client.Height()));
    m_layout.push_back(std::move(entry));
}

void CResizableDialog::ArrangeLayout()
{
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    const int width = client.Width();
    const int height = client.Height();
    HDWP positions = ::BeginDeferWindowPos((int)m_layout.size());

    for (const auto& entry : m_layout)
    {
        if (!::IsWindow(entry->hwnd))
            continue;
        CRect old;
        ::GetWindowRect(entry->hwnd, &old);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&old), 2);
        const CRect now(Percent(entry->topLeft.x, width) + entry->marginTopLeft.cx,
                        Percent(entry->topLeft.y, height) + entry->marginTopLeft.cy,
                        Percent(entry->bottomRight.x, width) + entry->marginBottomRight.cx,
                        Percent(entry->bottomRight.y, height) + entry->marginBottomRight.cy);
        if (now == old)
            continue;

        bool atOnce = entry->repaintAlways != FALSE;
        if (entry->repaintOnScroll)
        {
            // A list box scrolled to the right end would leave stale pixels when it grows.
            const int limit = HorizontalScrollLimit(entry->hwnd);
            const int growth = now.Width() - old.Width();
            atOnce = limit > 0 && ::GetScrollPos(entry->hwnd, SB_HORZ) > limit - growth;
        }
        if (atOnce)
        {
            ::MoveWindow(entry->hwnd, now.left, now.top, now.Width(), now.Height(), TRUE);
            ::InvalidateRect(entry->hwnd, nullptr, TRUE);
            ::UpdateWindow(entry->hwnd);
        }
        else if (positions)
            positions = ::DeferWindowPos(positions, entry->hwnd, nullptr, now.left, now.top, now.Width(), now.Height(),
                                         SWP_NOZORDER | SWP_NOACTIVATE);
        else
            ::SetWindowPos(entry->hwnd, nullptr, now.left, now.top, now.Width(), now.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE);
    }

    ::InvalidateRect(m_hWnd, &m_rcGrip, TRUE);
    UpdateGripRect();
    ::InvalidateRect(m_hWnd, &m_rcGrip, TRUE);
    if (positions)
        ::EndDeferWindowPos(positions);
}

void CResizableDialog::OnPaint()
{
    CPaintDC dc(this);
    if (ShouldShowGrip())
        ::DrawFrameControl(dc.m_hDC, &m_rcGrip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

LRESULT CResizableDialog::OnNcHitTest(CPoint point)
{
    if (ShouldShowGrip())
    {
        ::ScreenToClient(m_hWnd, &point);
        if (m_rcGrip.PtInRect(point))
            return HTBOTTOMRIGHT;
    }
    return Default();
}

void CResizableDialog::OnGetMinMaxInfo(MINMAXINFO* info)
{
    if (!m_bInitDone)
        return;
    if (m_bUseMinTrack)
        info->ptMinTrackSize = CPoint(m_szMinTrack.cx, m_szMinTrack.cy);
    if (m_bUseMaxTrack)
        info->ptMaxTrackSize = CPoint(m_szMaxTrack.cx, m_szMaxTrack.cy);
    if (m_bUseMaxRect)
    {
        info->ptMaxPosition = m_ptMaxPos;
        info->ptMaxSize = CPoint(m_szMaxSize.cx, m_szMaxSize.cy);
    }
}

void CResizableDialog::OnSize(UINT type, int, int)
{
    Default();
    if (type == SIZE_MAXSHOW || type == SIZE_MAXHIDE)
        return;
    ArrangeLayout();
}

void CResizableDialog::OnDestroy()
{
    Default();
    if (!m_bSavePlacement)
        return;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (!::GetWindowPlacement(m_hWnd, &placement))
        return;
    const RECT& r = placement.rcNormalPosition;
    CString text;
    text.Format(L"%d,%d,%d,%d,%d,%d", (int)r.left, (int)r.top, (int)r.right, (int)r.bottom, (int)placement.showCmd,
                (int)placement.flags);
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileString(m_sSection, m_sEntry, text);
}
