#include "platform/mfc/ControlBar.h"

#include <algorithm>

#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/PaintDC.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CControlBar::CControlBar()
    : m_dwStyle(0), m_bAutoDelete(FALSE), m_pDockSite(nullptr), m_cxLeftBorder(6), m_cxRightBorder(6),
      m_cyTopBorder(2), m_cyBottomBorder(2), m_cxDefaultGap(2), m_nMRUWidth(32767), m_nCount(0), m_pData(nullptr)
{
}

CControlBar::~CControlBar()
{
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
}

void CControlBar::SetBarStyle(DWORD style)
{
    if (m_dwStyle == style)
        return;
    DWORD old = m_dwStyle;
    m_dwStyle = style;
    OnBarStyleChange(old, style);
}

void CControlBar::OnBarStyleChange(DWORD, DWORD)
{
}

void CControlBar::SetBorders(int left, int top, int right, int bottom)
{
    m_cxLeftBorder = left;
    m_cyTopBorder = top;
    m_cxRightBorder = right;
    m_cyBottomBorder = bottom;
}

CFrameWnd* CControlBar::GetDockingFrame() const
{
    return m_pDockSite ? m_pDockSite : GetParentFrame();
}

CSize CControlBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    // Without items of its own the bar keeps its thickness and spans the frame when stretched.
    CRect window;
    ::GetWindowRect(m_hWnd, &window);
    return StretchedSize(window.Size(), stretch, horizontal);
}

CSize CControlBar::StretchedSize(CSize size, BOOL stretch, BOOL horizontal)
{
    // A stretched bar asks for the whole length of its side; the layout cuts it to the frame.
    if (stretch)
    {
        if (horizontal)
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    return size;
}

CSize CControlBar::CalcDynamicLayout(int, DWORD mode)
{
    return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL horizontal) const
{
    DWORD style = m_dwStyle;
    if (style & CBRS_BORDER_LEFT)
        rect.left += 2;
    if (style & CBRS_BORDER_TOP)
        rect.top += 2;
    if (style & CBRS_BORDER_RIGHT)
        rect.right -= 2;
    if (style & CBRS_BORDER_BOTTOM)
        rect.bottom -= 2;
    if (horizontal)
    {
        rect.left += m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    }
    else
    {
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }
}

void CControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL)
{
}

void CControlBar::UpdateItem(CCmdUI& state, CCmdTarget* target, BOOL disableIfNoHandler)
{
    state.m_bEnableChanged = FALSE;
    if (state.m_nID != 0 && CWnd::OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr))
        return;
    state.DoUpdate(target, disableIfNoHandler);
}

void CControlBar::RepositionInLayout(AFX_SIZEPARENTPARAMS* layout, HWND hWnd, LPCRECT rect)
{
    if (!layout->hDWP)
        return; // a query moves nothing
    HWND parent = ::GetParent(hWnd);
    CRect current;
    ::GetWindowRect(hWnd, &current);
    ::MapWindowPoints(nullptr, parent, (LPPOINT)&current, 2);
    if (current != *rect)
        layout->hDWP = ::DeferWindowPos(layout->hDWP, hWnd, nullptr, rect->left, rect->top,
                                        rect->right - rect->left, rect->bottom - rect->top,
                                        SWP_NOACTIVATE | SWP_NOZORDER);
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    AFX_SIZEPARENTPARAMS* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    DWORD style = m_dwStyle;
    if (!(GetStyle() & WS_VISIBLE) || !(style & CBRS_ALIGN_ANY) || (style & CBRS_FLOATING))
        return 0;

    CRect available = layout->rect;
    DWORD mode = layout->bStretch ? LM_STRETCH : 0;
    if (style & CBRS_ORIENT_HORZ)
        mode |= LM_HORZ | LM_HORZDOCK;
    else
        mode |= LM_VERTDOCK;
    CSize size = CalcDynamicLayout(-1, mode);
    size.cx = std::min<LONG>(size.cx, available.Width());
    size.cy = std::min<LONG>(size.cy, available.Height());

    CRect place = available;
    if (style & CBRS_ALIGN_TOP)
    {
        place.bottom = place.top + size.cy;
        layout->rect.top += size.cy;
        layout->sizeTotal.cy += size.cy;
        layout->sizeTotal.cx = std::max<LONG>(layout->sizeTotal.cx, size.cx);
    }
    else if (style & CBRS_ALIGN_BOTTOM)
    {
        place.top = place.bottom - size.cy;
        layout->rect.bottom -= size.cy;
        layout->sizeTotal.cy += size.cy;
        layout->sizeTotal.cx = std::max<LONG>(layout->sizeTotal.cx, size.cx);
    }
    else if (style & CBRS_ALIGN_LEFT)
    {
        place.right = place.left + size.cx;
        layout->rect.left += size.cx;
        layout->sizeTotal.cx += size.cx;
        layout->sizeTotal.cy = std::max<LONG>(layout->sizeTotal.cy, size.cy);
    }
    else if (style & CBRS_ALIGN_RIGHT)
    {
        place.left = place.right - size.cx;
        layout->rect.right -= size.cx;
        layout->sizeTotal.cx += size.cx;
        layout->sizeTotal.cy = std::max<LONG>(layout->sizeTotal.cy, size.cy);
    }
    if (!layout->bStretch)
    {
        if (style & CBRS_ORIENT_HORZ)
            place.right = place.left + size.cx;
        else
            place.bottom = place.top + size.cy;
    }
    RepositionInLayout(layout, m_hWnd, &place);
    return 0;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (GetStyle() & WS_VISIBLE)
    {
        CFrameWnd* target = dynamic_cast<CFrameWnd*>(GetOwner());
        if (!target)
            target = GetParentFrame();
        if (target)
            OnUpdateCmdUI(target, (BOOL)wParam);
    }
    // Tells UpdateDialogControls that the bar updated itself.
    return 1;
}

int CControlBar::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(GetParent());
    if (frame)
    {
        m_pDockSite = frame;
        frame->AddControlBar(this);
    }
    return 0;
}

void CControlBar::OnDestroy()
{
    if (m_pDockSite)
    {
        m_pDockSite->RemoveControlBar(this);
        m_pDockSite = nullptr;
    }
    CWnd::OnDestroy();
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

void CControlBar::DrawBorders(CDC* dc, CRect& rect)
{
    COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (m_dwStyle & CBRS_BORDER_TOP)
        dc->FillSolidRect(rect.left, rect.top, rect.Width(), 1, shadow);
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        dc->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, shadow);
    if (m_dwStyle & CBRS_BORDER_LEFT)
        dc->FillSolidRect(rect.left, rect.top, 1, rect.Height(), light);
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        dc->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), shadow);
}

void CControlBar::DoPaint(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    DrawBorders(dc, client);
}

void CControlBar::OnPaint()
{
    // The framework's own bars paint through DoPaint; bars on common controls paint themselves.
    CPaintDC dc(this);
    DoPaint(&dc);
}

BOOL CControlBar::OnEraseBkgnd(CDC* dc)
{
    return CWnd::OnEraseBkgnd(dc);
}

HBRUSH CControlBar::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlType)
{
    return CWnd::OnCtlColor(dc, wnd, ctlType);
}

BOOL CControlBar::PreTranslateMessage(MSG* pMsg)
{
    return CWnd::PreTranslateMessage(pMsg);
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Commands and notifications of the bar's items go to its owner (the frame).
    if (message == WM_COMMAND || message == WM_NOTIFY || message == WM_DRAWITEM || message == WM_MEASUREITEM)
    {
        LRESULT result = 0;
        if (OnWndMsg(message, wParam, lParam, &result))
            return result;
        CWnd* owner = GetOwner();
        if (owner && owner->m_hWnd && owner->m_hWnd != m_hWnd)
            return owner->SendMessage(message, wParam, lParam);
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
