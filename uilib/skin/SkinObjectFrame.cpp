// The frame object's core: its messages, the non-client size, painting and hit testing, and the
// system menu. Caption buttons, regions, control colours, hover timers and MDI handling have files
// of their own (SkinObjectFrame*.cpp).
#include "uilib/skin/SkinObjectFrame.h"

#include "uilib/foundation/BufferDC.h"
#include "uilib/foundation/DrawHelpers.h"
#include "uilib/skin/SkinDCGuards.h"
#include "uilib/skin/SkinDrawHelpers.h"
#include "uilib/skin/SkinImage.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinManagerApiHook.h"
#include "uilib/skin/SkinSchemaNames.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CWVPSkinObjectFrame, CWVPSkinObject)

BEGIN_MESSAGE_MAP(CWVPSkinObjectFrame, CWVPSkinObject)
ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSizeMessage)
ON_MESSAGE(WM_NCPAINT, OnNcPaintMessage)
ON_MESSAGE(WM_NCACTIVATE, OnNcActivateMessage)
ON_MESSAGE(WM_NCHITTEST, OnNcHitTestMessage)
ON_MESSAGE(WM_NCMOUSEMOVE, OnNcMouseMoveMessage)
ON_MESSAGE(WM_NCMOUSELEAVE, OnNcMouseLeaveMessage)
ON_MESSAGE(WM_NCLBUTTONDOWN, OnNcLButtonDownMessage)
ON_MESSAGE(WM_NCLBUTTONDBLCLK, OnNcLButtonDownMessage)
ON_MESSAGE(WM_SETTEXT, OnSetTextMessage)
ON_MESSAGE(WM_STYLECHANGED, OnStyleChangedMessage)
ON_MESSAGE(WM_CREATE, OnCreateMessage)
ON_MESSAGE(WM_TIMER, OnTimerMessage)
ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgndMessage)
ON_MESSAGE(WM_PRINT, OnPrintMessage)
ON_MESSAGE(WM_SYSCOMMAND, OnSysCommandMessage)
ON_MESSAGE(WM_WINDOWPOSCHANGED, OnWindowPosChangedMessage)
ON_MESSAGE(WM_GETMINMAXINFO, OnGetMinMaxInfoMessage)
ON_MESSAGE(WM_NCRBUTTONUP, OnNcRButtonUpMessage)
END_MESSAGE_MAP()

namespace
{

const UINT kSysCommandMask = 0xFFF0;
// The size grip in the corner between two scroll bars.
const int kPartSizeBox = 10;
const int kSizeBoxRightAlign = 1;
const DWORD kRecalcStrippedStyles = WS_DLGFRAME | WS_VSCROLL | WS_HSCROLL;

// Where the skin's frame moves the system menu while it opens (one UI at a time opens it).
POINT g_systemMenuOffset = {0, 0};

// Raises a frame's suppress counter for a scope.
class CSuppressFrame
{
  public:
    explicit CSuppressFrame(int& nCounter) : m_nCounter(nCounter)
    {
        ++m_nCounter;
    }
    ~CSuppressFrame()
    {
        --m_nCounter;
    }
    CSuppressFrame(const CSuppressFrame&) = delete;
    CSuppressFrame& operator=(const CSuppressFrame&) = delete;

  private:
    int& m_nCounter;
};

bool IsCaptionButtonCode(LRESULT code)
{
    return code == HTMINBUTTON || code == HTMAXBUTTON || code == HTCLOSE || code == HTHELP;
}

} // namespace

CWVPSkinObjectFrame::CWVPSkinObjectFrame()
{
    m_strClassName = L"WINDOW";
    m_spi[0].nBar = SB_HORZ;
    m_spi[1].nBar = SB_VERT;
    m_spi[1].fVert = TRUE;
}

CWVPSkinObjectFrame::~CWVPSkinObjectFrame()
{
}

BOOL CWVPSkinObjectFrame::HasCaption() const
{
    return (::GetWindowLongW(m_hWnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
}

BOOL CWVPSkinObjectFrame::IsFrameOption() const
{
    return m_pManager && (m_pManager->GetApplyOptions() & CWVPSkinManager::kApplyScrollBars);
}

BOOL CWVPSkinObjectFrame::IsFrameLeftToSystem() const
{
    // The common controls' flat scroll bars keep their own painting and sizing.
    return ::GetPropW(m_hWnd, L"flatsb_info") != nullptr;
}

BOOL CWVPSkinObjectFrame::OnHookMessage(UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    bool ctlColor = nMessage >= WM_CTLCOLORMSGBOX && nMessage <= WM_CTLCOLORSTATIC;
    if (ctlColor)
        return !IsDefWindowProcAvail(int(nMessage)) && AnswerCtlColor(nMessage, wParam, lParam, lResult);
    if (nMessage == WM_ERASEBKGND && m_nWindowKind == kWindowPropertyPage && wParam && GetMetrics())
    {
        HDC dc = reinterpret_cast<HDC>(wParam);
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        ::SetBrushOrgEx(dc, 0, 0, nullptr);
        ::FillRect(dc, &client, GetCtlColorBrush(dc, m_hWnd, CTLCOLOR_DLG));
        lResult = 1;
        return TRUE;
    }
    return CWVPSkinObject::OnHookMessage(nMessage, wParam, lParam, lResult);
}

BOOL CWVPSkinObjectFrame::OnHookDefWindowProc(UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    if (nMessage >= WM_CTLCOLORMSGBOX && nMessage <= WM_CTLCOLORSTATIC)
        return AnswerCtlColor(nMessage, wParam, lParam, lResult);
    return CWVPSkinObject::OnHookDefWindowProc(nMessage, wParam, lParam, lResult);
}

BOOL CWVPSkinObjectFrame::IsPassThroughMessage(UINT nMessage)
{
    switch (nMessage)
    {
    case WM_ENTERIDLE:
        if (::IsIconic(m_hWnd) && ::IsWindowVisible(m_hWnd) && HasCaption())
            RedrawFrame();
        break;
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
        if (m_nSuppress > 0)
            return TRUE;
        break;
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
        if (!IsFrameOption())
            return TRUE;
        break;
    case WM_NCCALCSIZE:
    case WM_NCHITTEST:
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCMOUSELEAVE:
    case WM_PRINT:
        if (m_nSuppress > 0 || !IsFrameOption() || IsFrameLeftToSystem())
            return TRUE;
        break;
    default:
        break;
    }
    return CWVPSkinObject::IsPassThroughMessage(nMessage);
}

void CWVPSkinObjectFrame::OnSkinChanged(BOOL bPrevState, BOOL bNewState)
{
    if (bNewState)
        RecalcNonClient();
    if (bNewState && !bPrevState)
        m_bActive = ::SendMessageW(m_hWnd, WM_ISACTIVEICON, 0, 0) != 0 || ::GetActiveWindow() == m_hWnd;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RefreshMetrics();
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    UpdateRegion(rc.right - rc.left, rc.bottom - rc.top);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CWVPSkinObjectFrame::RefreshMetrics()
{
    m_dwStyle = m_dwExStyle = DWORD(-1);
    m_szRegion = SIZE{};
    // The common controls keep the system colours they read until they are told of a change.
    ::PostMessageW(m_hWnd, WM_SYSCOLORCHANGE, 0, 0);
}

void CWVPSkinObjectFrame::RecalcNonClient()
{
    if (!IsFrameOption() || !m_hWnd)
        return;
    CSuppressFrame suppress(m_nSuppress);
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    DWORD stripped = style & kRecalcStrippedStyles;
    if (stripped)
        ::SetWindowLongW(m_hWnd, GWL_STYLE, LONG(style & ~stripped));
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    ::SendMessageW(m_hWnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rc));
    if (stripped)
        ::SetWindowLongW(m_hWnd, GWL_STYLE, LONG(style));
}

POINT CWVPSkinObjectFrame::ToWindowPoint(POINT ptScreen) const
{
    CWVPDrawHelpers::ScreenToWindowPoint(m_hWnd, ptScreen);
    return ptScreen;
}

POINT CWVPSkinObjectFrame::GetSystemMenuOffset()
{
    return g_systemMenuOffset;
}

BOOL CWVPSkinObjectFrame::HasSizeGrip() const
{
    HWND window = m_hWnd;
    for (;;)
    {
        DWORD style = DWORD(::GetWindowLongW(window, GWL_STYLE));
        if (style & WS_THICKFRAME)
            break;
        if (!(style & WS_CHILD) || (style & WS_CAPTION) == WS_CAPTION)
            return FALSE;
        window = ::GetParent(window);
        if (!window)
            return FALSE;
    }
    if (::IsZoomed(window))
        return FALSE;
    RECT client;
    ::GetClientRect(window, &client);
    POINT corner = {client.right, client.bottom};
    ::ClientToScreen(window, &corner);
    RECT own;
    ::GetWindowRect(m_hWnd, &own);
    const CWVPSkinManagerMetrics* metrics = GetMetrics();
    return own.right + metrics->m_cxEdge >= corner.x && own.bottom + metrics->m_cyEdge >= corner.y;
}

void CWVPSkinObjectFrame::OnHookAttached(LPCREATESTRUCTW lpcs, BOOL bAuto)
{
    CWVPSkinObject::OnHookAttached(lpcs, bAuto);
    if (!lpcs)
        AdjustFrame();
}

void CWVPSkinObjectFrame::OnHookDetached(BOOL bDestroyed)
{
    if (!bDestroyed && m_hWnd && ::IsWindow(m_hWnd) && m_bRegionSet)
    {
        m_bRegionSet = FALSE;
        ::SetWindowRgn(m_hWnd, nullptr, TRUE);
    }
    if (!bDestroyed && m_hWnd && ::IsWindow(m_hWnd))
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CWVPSkinObjectFrame::DrawFrame(HDC hDC)
{
    if (m_nSuppress > 0 || !m_pManager || !m_pManager->GetSchema())
        return;
    CWVPSkinManagerSchema* schema = m_pManager->GetSchema();
    m_rcBorders = schema->CalcFrameBorders(m_hWnd);
    schema->DrawThemeFrame(hDC, this);
    for (int index : {1, 0})
    {
        SCROLLBARPOSINFO* sb = &m_spi[index];
        if (!sb->fVisible)
            continue;
        if (!m_pSBTrack || !m_pSBTrack->bTrackThumb || m_pSBTrack->pSBInfo != sb)
            CalcScrollBarInfo(sb);
        if (::IsRectEmpty(&sb->rc))
            continue;
        CWVPBufferDCEx buffer(hDC, CRect(sb->rc));
        DrawScrollBar(buffer.GetSafeHdc(), sb);
    }
    if (m_spi[0].fVisible && m_spi[1].fVisible)
    {
        RECT corner = GetSizeGripRect();
        WVPSkinFillSolidRect(hDC, corner, schema->GetScrollBarSizeBoxColor());
        CWVPSkinManagerClass* scrollBar = m_pManager->GetSkinClass(L"SCROLLBAR");
        if (scrollBar && HasSizeGrip())
            scrollBar->DrawThemeBackground(hDC, kPartSizeBox, kSizeBoxRightAlign, &corner);
    }
}

RECT CWVPSkinObjectFrame::GetSizeGripRect() const
{
    if (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR)
        return RECT{m_spi[1].rc.left, m_spi[1].rc.bottom, m_spi[0].rc.left, m_spi[0].rc.bottom};
    return RECT{m_spi[0].rc.right, m_spi[1].rc.bottom, m_spi[1].rc.right, m_spi[0].rc.bottom};
}

void CWVPSkinObjectFrame::RedrawFrame()
{
    CWVPSkinWindowDC dc(m_hWnd);
    if (dc.Get())
        DrawFrame(dc.Get());
}

UINT CWVPSkinObjectFrame::HitTest(POINT ptScreen)
{
    POINT pt = ToWindowPoint(ptScreen);
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    if ((style & WS_VSCROLL) && m_spi[1].fVisible && ::PtInRect(&m_spi[1].rc, pt))
        return HTVSCROLL;
    if ((style & WS_HSCROLL) && m_spi[0].fVisible && ::PtInRect(&m_spi[0].rc, pt))
        return HTHSCROLL;
    if (m_spi[0].fVisible && m_spi[1].fVisible && HasSizeGrip())
    {
        RECT corner = GetSizeGripRect();
        if (::PtInRect(&corner, pt))
            return (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) ? HTBOTTOMLEFT : HTBOTTOMRIGHT;
    }
    CCaptionButton* button = HitTestButton(pt);
    return button ? button->m_nHitTest : 0;
}

LRESULT CWVPSkinObjectFrame::OnNcCalcSizeMessage(WPARAM, LPARAM lParam)
{
    RECT* rc = reinterpret_cast<RECT*>(lParam); // the first rectangle of either form
    if (!rc || !m_pManager->GetSchema() || IsFrameLeftToSystem())
    {
        m_spi[0].fVisible = m_spi[1].fVisible = FALSE;
        return Default();
    }
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    DWORD exStyle = DWORD(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
    m_rcBorders = m_pManager->GetSchema()->CalcFrameBorders(style, exStyle);
    rc->left += m_rcBorders.left;
    rc->top += m_rcBorders.top;
    rc->right -= m_rcBorders.right;
    rc->bottom -= m_rcBorders.bottom;
    m_spi[1].fVisible = (style & WS_VSCROLL) != 0;
    m_spi[0].fVisible = (style & WS_HSCROLL) != 0;
    const CWVPSkinManagerMetrics* metrics = GetMetrics();
    if (m_spi[1].fVisible)
    {
        if (exStyle & (WS_EX_LEFTSCROLLBAR | WS_EX_LAYOUTRTL))
            rc->left += metrics->m_cxVScroll;
        else
            rc->right -= metrics->m_cxVScroll;
    }
    if (m_spi[0].fVisible)
        rc->bottom -= metrics->m_cyHScroll;
    if (rc->bottom < rc->top)
        rc->bottom = rc->top;
    if (rc->right < rc->left)
        rc->right = rc->left;
    return 0;
}

LRESULT CWVPSkinObjectFrame::OnNcPaintMessage(WPARAM, LPARAM)
{
    UpdateButtons();
    RedrawFrame();
    return 0;
}

void CWVPSkinObjectFrame::OnNcActivateDialog(WPARAM wParam, LPARAM lParam)
{
    // The dialog's own procedure sees the activation although the default handling does not run.
    BOOL unicode = ::SendMessageW(m_hWnd, WM_NOTIFYFORMAT, WPARAM(m_hWnd), NF_QUERY) == NFR_UNICODE;
    LONG_PTR procedure =
        unicode ? ::GetWindowLongPtrW(m_hWnd, DWLP_DLGPROC) : ::GetWindowLongPtrA(m_hWnd, DWLP_DLGPROC);
    ULONG_PTR address = ULONG_PTR(procedure);
    if (!procedure || WVPIsWinProcHandle(address))
        return;
    reinterpret_cast<DLGPROC>(procedure)(m_hWnd, WM_NCACTIVATE, wParam, lParam);
}

LRESULT CWVPSkinObjectFrame::OnNcActivateMessage(WPARAM wParam, LPARAM lParam)
{
    if (!HasCaption())
        return Default();
    if (m_nWindowKind == kWindowDialog)
        OnNcActivateDialog(wParam, lParam);
    BOOL active = wParam != 0;
    if (!active)
    {
        // A frame whose floating window is active keeps its caption; a disabled one does not.
        CWnd* own = CWnd::FromHandlePermanent(m_hWnd);
        active = own && (own->m_nFlags & CWnd::WF_STAYACTIVE) && ::IsWindowEnabled(m_hWnd);
    }
    ActivateMdiChild(wParam, lParam);
    m_bActive = active;
    RedrawFrame();
    return TRUE;
}

LRESULT CWVPSkinObjectFrame::OnNcHitTestMessage(WPARAM, LPARAM lParam)
{
    LRESULT own = Default();
    UpdateButtons();
    POINT pt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    if (UINT hit = HitTest(pt))
        return hit;
    if (own == HTHSCROLL || own == HTVSCROLL)
        return HTCLIENT;
    return IsCaptionButtonCode(own) ? HTCAPTION : own;
}

LRESULT CWVPSkinObjectFrame::OnNcRButtonUpMessage(WPARAM, LPARAM lParam)
{
    POINT screen = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    POINT at = ToWindowPoint(screen);
    if (!HitTestScrollBar(&m_spi[0], at) && !HitTestScrollBar(&m_spi[1], at))
        return Default();
    {
        // The window's own scroll-bar menu works on the system's idea of its frame.
        CSuppressFrame suppress(m_nSuppress);
        RECT rc;
        ::GetWindowRect(m_hWnd, &rc);
        CallDefWindowProc(WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rc));
    }
    ::SendMessageW(m_hWnd, WM_CONTEXTMENU, WPARAM(m_hWnd), lParam);
    RecalcNonClient();
    return 0;
}

LRESULT CWVPSkinObjectFrame::OnNcLButtonDownMessage(WPARAM wParam, LPARAM lParam)
{
    POINT pt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    UpdateButtons();
    if (!m_pButtonHot)
        m_pButtonHot = HitTestButton(ToWindowPoint(pt));
    if (m_pButtonHot)
    {
        TrackCaptionButton();
        return 0;
    }
    POINT at = ToWindowPoint(pt);
    for (int index : {0, 1})
    {
        if (HitTestScrollBar(&m_spi[index], at))
        {
            TrackScrollBar(at, &m_spi[index], ::GetKeyState(VK_SHIFT) < 0);
            return 0;
        }
    }
    return IsCaptionButtonCode(LRESULT(wParam)) ? 0 : Default();
}

LRESULT CWVPSkinObjectFrame::OnSetTextMessage(WPARAM, LPARAM)
{
    if (!HasCaption())
        return Default();
    LRESULT result = Default();
    RedrawFrame();
    return result;
}

LRESULT CWVPSkinObjectFrame::OnPrintMessage(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 1;
    if (lParam != PRF_NONCLIENT)
    {
        CSuppressFrame suppress(m_nSuppress);
        result = Default();
    }
    if (lParam & PRF_NONCLIENT)
    {
        HDC dc = reinterpret_cast<HDC>(wParam);
        DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
        m_spi[0].fVisible = m_spi[0].fVisible && (style & WS_HSCROLL);
        m_spi[1].fVisible = m_spi[1].fVisible && (style & WS_VSCROLL);
        if ((::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) && !(::GetLayout(dc) & LAYOUT_RTL))
            ::SetLayout(dc, LAYOUT_RTL);
        UpdateButtons();
        DrawFrame(dc);
    }
    return result;
}

LRESULT CWVPSkinObjectFrame::OnSysCommandMessage(WPARAM wParam, LPARAM)
{
    UINT command = UINT(wParam) & kSysCommandMask;
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    DWORD exStyle = DWORD(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
    bool metrics = (m_pManager->GetApplyOptions() & CWVPSkinManager::kApplyMetrics) != 0;
    CWVPSkinManagerSchema* schema = m_pManager->GetSchema();
    if (command == SC_MAXIMIZE && IsSkinnedMdiChild() && !(style & WS_MAXIMIZE))
    {
        LRESULT result = Default();
        PlaceMaximizedMdiChild();
        return result;
    }
    if ((command == SC_MOUSEMENU || command == SC_KEYMENU) && metrics && schema && HasCaption())
    {
        RECT system = {0, 0, 100, 100};
        WVPSkinOriginal(kApiAdjustWindowRectEx, &::AdjustWindowRectEx)(&system, style, FALSE, exStyle);
        RECT skin = schema->CalcFrameBorders(m_hWnd);
        g_systemMenuOffset = POINT{system.left + skin.left, system.top + skin.top};
    }
    if (command == SC_MOVE && ::IsIconic(m_hWnd))
    {
        CallDefWindowProc(WM_NCPAINT, 1, 0);
        RedrawFrame();
    }
    LRESULT result = Default();
    if (command == SC_MINIMIZE)
        RedrawFrame();
    g_systemMenuOffset = POINT{0, 0};
    return result;
}
