#include "uilib/skin/SkinObjectFrame.h"

#include "uilib/skin/SkinDrawHelpers.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinManagerApiHook.h"

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
END_MESSAGE_MAP()

namespace
{

const UINT_PTR kHoverTimerId = 2763;
const UINT kHoverTimerDelay = 50;
const UINT_PTR kRepairTimerId = 2765;
// Caption-button parts of class WINDOW.
const int kPartMinButton = 15;
const int kPartMaxButton = 17;
const int kPartCloseButton = 18;
const int kPartSmallCloseButton = 19;
const int kPartRestoreButton = 21;
const int kPartHelpButton = 23;
const int kButtonStateNormal = 1;
const int kButtonStateHot = 2;
const int kButtonStatePressed = 3;
const int kButtonStateDisabled = 4;
const int kButtonStatesInactiveOffset = 4;
// The screen edge still hits the buttons of a maximized window.
const int kMaximizedButtonSlack = 2;
const UINT kSysCommandMask = 0xFFF0;

// Releases a window DC when the scope ends.
class CWindowDCHolder
{
  public:
    explicit CWindowDCHolder(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetWindowDC(hWnd))
    {
    }
    ~CWindowDCHolder()
    {
        if (m_hDC)
            ::ReleaseDC(m_hWnd, m_hDC);
    }
    CWindowDCHolder(const CWindowDCHolder&) = delete;
    CWindowDCHolder& operator=(const CWindowDCHolder&) = delete;
    HDC Get() const
    {
        return m_hDC;
    }

  private:
    HWND m_hWnd;
    HDC m_hDC;
};

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

POINT WindowPoint(HWND hWnd, POINT ptScreen)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    return POINT{ptScreen.x - rc.left, ptScreen.y - rc.top};
}

bool IsCaptionButtonCode(LRESULT code)
{
    return code == HTMINBUTTON || code == HTMAXBUTTON || code == HTCLOSE || code == HTHELP;
}

} // namespace

void CWVPSkinObjectFrame::CCaptionButton::Draw(HDC hDC, BOOL bActive)
{
    CCaptionButton* pressed = m_pFrame->GetPressedButton();
    bool hot = m_pFrame->GetHotButton() == this && (pressed == this || !pressed);
    bool down = hot && pressed == this;
    int state = !m_bEnabled ? kButtonStateDisabled
                : down      ? kButtonStatePressed
                : hot       ? kButtonStateHot
                            : kButtonStateNormal;
    if (!bActive)
        state += kButtonStatesInactiveOffset;
    if (CWVPSkinManagerClass* window = m_pFrame->GetSkinManager()->GetSkinClass(L"WINDOW"))
        window->DrawThemeBackground(hDC, m_nPart, state, &m_rcButton);
}

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

HBRUSH CWVPSkinObjectFrame::GetClientBrush(HDC hDC)
{
    return GetParentBrush(hDC, GetClientBrushMessage());
}

UINT CWVPSkinObjectFrame::GetClientBrushMessage()
{
    return m_nCtlColorMessage;
}

HBRUSH CWVPSkinObjectFrame::GetParentBrush(HDC hDC, UINT nMessage)
{
    CWVPSkinManagerMetrics* metrics = GetMetrics();
    if (!metrics)
        return nullptr;
    HWND parent = ::GetParent(m_hWnd);
    if (!parent)
        return metrics->GetBrush(COLOR_BTNFACE);
    LRESULT result = ::SendMessageW(parent, nMessage, WPARAM(hDC), LPARAM(m_hWnd));
    if (result >= 1 && result <= COLOR_MENUBAR + 1)
        return metrics->GetBrush(int(result - 1));
    if (result)
        return reinterpret_cast<HBRUSH>(result);
    bool window = nMessage == WM_CTLCOLOREDIT || nMessage == WM_CTLCOLORLISTBOX;
    return metrics->GetBrush(window ? COLOR_WINDOW : COLOR_BTNFACE);
}

HBRUSH CWVPSkinObjectFrame::FillBackground(HDC hDC, const RECT& rc, UINT nMessage)
{
    HBRUSH brush = GetParentBrush(hDC, nMessage);
    if (brush)
        ::FillRect(hDC, &rc, brush);
    return brush;
}

HBRUSH CWVPSkinObjectFrame::GetCtlColorBrush(HDC hDC, HWND hWndCtl, UINT)
{
    CWVPSkinManagerMetrics* metrics = GetMetrics();
    HBRUSH brush = metrics->GetBrush(COLOR_BTNFACE);
    if (m_nWindowKind == kWindowPropertyPage && hWndCtl != m_hWnd)
        ::SetBkMode(hDC, TRANSPARENT);
    else
        ::SetBkColor(hDC, metrics->GetColor(COLOR_BTNFACE));
    ::SetTextColor(hDC, metrics->GetColor(COLOR_BTNTEXT));
    return brush;
}

BOOL CWVPSkinObjectFrame::AnswerCtlColor(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    if (m_strClassName == L"COMBOBOX" || !GetMetrics())
        return FALSE;
    HDC dc = reinterpret_cast<HDC>(wParam);
    CWVPSkinManagerMetrics* metrics = GetMetrics();
    switch (nMessage)
    {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        ::SetBkColor(dc, metrics->GetColor(COLOR_WINDOW));
        ::SetTextColor(dc, metrics->GetColor(COLOR_WINDOWTEXT));
        lResult = reinterpret_cast<LRESULT>(metrics->GetBrush(COLOR_WINDOW));
        return TRUE;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        lResult = reinterpret_cast<LRESULT>(GetCtlColorBrush(dc, reinterpret_cast<HWND>(lParam), nMessage));
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CWVPSkinObjectFrame::OnHookMessage(UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    bool ctlColor = nMessage >= WM_CTLCOLORMSGBOX && nMessage <= WM_CTLCOLORSTATIC;
    if (ctlColor)
        return !IsDefWindowProcAvail(int(nMessage)) && AnswerCtlColor(nMessage, wParam, lParam, lResult);
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
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
        if (m_nSuppress > 0)
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
}

void CWVPSkinObjectFrame::UpdateRegion(int nWidth, int nHeight)
{
    if (m_bInRegionUpdate)
        return;
    m_bInRegionUpdate = TRUE;
    if (m_bRegionSet && !HasCaption())
    {
        m_bRegionSet = FALSE;
        ::SetWindowRgn(m_hWnd, nullptr, TRUE);
    }
    if (HasCaption() && (nWidth != m_szRegion.cx || nHeight != m_szRegion.cy))
    {
        CWVPSkinManagerSchema* schema = m_pManager ? m_pManager->GetSchema() : nullptr;
        if (schema && m_pManager->IsSkinLoaded() && IsFrameOption())
        {
            m_rcBorders = schema->CalcFrameBorders(m_hWnd);
            HRGN region = schema->CalcFrameRegion(this, nWidth, nHeight);
            m_bRegionSet = region != nullptr;
            ::SetWindowRgn(m_hWnd, region, TRUE); // the window owns the region now
        }
        else if (m_bRegionSet)
        {
            m_bRegionSet = FALSE;
            ::SetWindowRgn(m_hWnd, nullptr, TRUE);
        }
        m_szRegion = SIZE{nWidth, nHeight};
    }
    m_bInRegionUpdate = FALSE;
}

LRESULT CWVPSkinObjectFrame::OnWindowPosChangedMessage(WPARAM, LPARAM lParam)
{
    LRESULT result = Default();
    const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (pos && !(pos->flags & SWP_NOSIZE) && (pos->cx != m_szRegion.cx || pos->cy != m_szRegion.cy))
        UpdateRegion(pos->cx, pos->cy);
    return result;
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

void CWVPSkinObjectFrame::AdjustFrame()
{
    if (!m_pManager || !m_pManager->IsSkinLoaded() || !(m_pManager->GetApplyOptions() & CWVPSkinManager::kApplyMetrics))
        return;
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    if ((style & WS_CHILD) || (style & WS_CAPTION) != WS_CAPTION || IsFrameLeftToSystem())
        return;
    const CWVPSkinManagerMetrics* m = GetMetrics();
    bool tool = (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
    int grow = tool ? m->m_cySmallCaption - m->m_cyOsSmallCaption : m->m_cyCaption - m->m_cyOsCaption;
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top + grow,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    ::GetWindowRect(m_hWnd, &rc);
    UpdateRegion(rc.right - rc.left, rc.bottom - rc.top);
}

void CWVPSkinObjectFrame::UpdateButtons()
{
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    DWORD exStyle = DWORD(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
    if (style == m_dwStyle && exStyle == m_dwExStyle)
        return;
    m_dwStyle = style;
    m_dwExStyle = exStyle;
    m_pButtonHot = m_pButtonPressed = nullptr;
    m_arrButtons.clear();
    if ((style & WS_CAPTION) != WS_CAPTION)
        return;
    bool tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
    bool sysMenu = (style & WS_SYSMENU) != 0;
    bool minMax = sysMenu && !tool && (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    bool maximized = (style & WS_MAXIMIZE) != 0;
    bool minimized = (style & WS_MINIMIZE) != 0;
    auto add = [this](UINT hit, int part, UINT command, bool enabled) {
        m_arrButtons.push_back(std::make_unique<CCaptionButton>(this, hit, part, command, enabled));
    };
    if (sysMenu)
    {
        bool enabled = true;
        if (!tool)
        {
            HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
            UINT state = menu ? ::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) : 0;
            enabled = state == UINT(-1) || !(state & (MF_GRAYED | MF_DISABLED));
        }
        add(HTCLOSE, tool ? kPartSmallCloseButton : kPartCloseButton, SC_CLOSE, enabled);
    }
    if (minMax)
    {
        bool maxBox = (style & WS_MAXIMIZEBOX) != 0, minBox = (style & WS_MINIMIZEBOX) != 0;
        if (maximized)
            add(HTMAXBUTTON, kPartRestoreButton, SC_RESTORE, maxBox);
        else
            add(HTMAXBUTTON, kPartMaxButton, SC_MAXIMIZE, maxBox);
        if (minimized)
            add(HTMINBUTTON, kPartRestoreButton, SC_RESTORE, minBox);
        else
            add(HTMINBUTTON, kPartMinButton, SC_MINIMIZE, minBox);
    }
    if ((exStyle & WS_EX_CONTEXTHELP) && sysMenu && !tool)
        add(HTHELP, kPartHelpButton, SC_CONTEXTHELP, true);
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
        DrawScrollBar(hDC, sb);
    }
    if (m_spi[0].fVisible && m_spi[1].fVisible)
    {
        RECT corner = {m_spi[0].rc.right, m_spi[1].rc.bottom, m_spi[1].rc.right, m_spi[0].rc.bottom};
        if (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR)
            corner = RECT{m_spi[1].rc.left, m_spi[1].rc.bottom, m_spi[0].rc.left, m_spi[0].rc.bottom};
        WVPSkinFillSolidRect(hDC, corner, schema->GetScrollBarSizeBoxColor());
    }
}

void CWVPSkinObjectFrame::RedrawFrame()
{
    CWindowDCHolder dc(m_hWnd);
    if (dc.Get())
        DrawFrame(dc.Get());
}

CWVPSkinObjectFrame::CCaptionButton* CWVPSkinObjectFrame::HitTestButton(POINT ptWindow)
{
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    bool maximized = (style & WS_MAXIMIZE) && !(style & WS_CHILD);
    for (size_t i = 0; i < m_arrButtons.size(); ++i)
    {
        CCaptionButton* button = m_arrButtons[i].get();
        RECT rc = button->m_rcButton;
        if (maximized)
        {
            rc.top -= kMaximizedButtonSlack;
            if (i == 0)
                rc.right += kMaximizedButtonSlack;
        }
        if (button->m_bEnabled && ::PtInRect(&rc, ptWindow))
            return button;
    }
    return nullptr;
}

UINT CWVPSkinObjectFrame::HitTest(POINT ptScreen)
{
    POINT pt = WindowPoint(m_hWnd, ptScreen);
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    if ((style & WS_VSCROLL) && m_spi[1].fVisible && ::PtInRect(&m_spi[1].rc, pt))
        return HTVSCROLL;
    if ((style & WS_HSCROLL) && m_spi[0].fVisible && ::PtInRect(&m_spi[0].rc, pt))
        return HTHSCROLL;
    CCaptionButton* button = HitTestButton(pt);
    return button ? button->m_nHitTest : 0;
}

void CWVPSkinObjectFrame::UpdateHotState(POINT ptScreen)
{
    CCaptionButton* hot = ptScreen.x == -1 && ptScreen.y == -1 ? nullptr : HitTestButton(WindowPoint(m_hWnd, ptScreen));
    if (hot == m_pButtonHot)
        return;
    if (!hot)
        ::KillTimer(m_hWnd, kHoverTimerId);
    m_pButtonHot = hot;
    RedrawFrame();
    if (hot)
        ::SetTimer(m_hWnd, kHoverTimerId, kHoverTimerDelay, nullptr);
}

void CWVPSkinObjectFrame::TrackCaptionButton()
{
    CCaptionButton* button = m_pButtonHot;
    ::SetCapture(m_hWnd);
    m_pButtonPressed = button;
    RedrawFrame();
    bool clicked = false;
    MSG msg;
    while (::GetCapture() == m_hWnd)
    {
        if (!::GetMessageW(&msg, nullptr, 0, 0))
        {
            ::PostQuitMessage(int(msg.wParam));
            break;
        }
        if (msg.message == WM_LBUTTONUP)
        {
            clicked = m_pButtonPressed == button;
            break;
        }
        if (msg.message == WM_NCMOUSELEAVE)
            continue;
        if (msg.message == WM_MOUSEMOVE)
        {
            POINT pt = {short(LOWORD(msg.lParam)), short(HIWORD(msg.lParam))};
            ::ClientToScreen(m_hWnd, &pt);
            CCaptionButton* under = HitTestButton(WindowPoint(m_hWnd, pt)) == button ? button : nullptr;
            if (under != m_pButtonPressed)
            {
                m_pButtonPressed = under;
                m_pButtonHot = under ? button : nullptr;
                RedrawFrame();
            }
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    m_pButtonHot = m_pButtonPressed = nullptr;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    RedrawFrame();
    if (clicked)
        ::SendMessageW(m_hWnd, WM_SYSCOMMAND, button->m_nCommand, 0);
}

LRESULT CWVPSkinObjectFrame::OnNcCalcSizeMessage(WPARAM, LPARAM lParam)
{
    RECT* rc = reinterpret_cast<RECT*>(lParam); // the first rectangle of either form
    if (!rc || !m_pManager->GetSchema())
        return Default();
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

LRESULT CWVPSkinObjectFrame::OnNcActivateMessage(WPARAM wParam, LPARAM)
{
    if (!HasCaption())
        return Default();
    BOOL active = wParam != 0;
    if (!active && !::IsWindowEnabled(m_hWnd))
        active = FALSE;
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

LRESULT CWVPSkinObjectFrame::OnNcMouseMoveMessage(WPARAM, LPARAM lParam)
{
    POINT pt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    UpdateHotState(pt);
    return m_pButtonHot ? 0 : Default();
}

LRESULT CWVPSkinObjectFrame::OnNcMouseLeaveMessage(WPARAM, LPARAM)
{
    UpdateHotState(POINT{-1, -1});
    return Default();
}

LRESULT CWVPSkinObjectFrame::OnNcLButtonDownMessage(WPARAM wParam, LPARAM lParam)
{
    POINT pt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    UpdateButtons();
    if (!m_pButtonHot)
        m_pButtonHot = HitTestButton(WindowPoint(m_hWnd, pt));
    if (m_pButtonHot)
    {
        TrackCaptionButton();
        return 0;
    }
    POINT at = WindowPoint(m_hWnd, pt);
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

LRESULT CWVPSkinObjectFrame::OnStyleChangedMessage(WPARAM, LPARAM)
{
    LRESULT result = Default();
    if (m_pManager->GetSchema())
        m_rcBorders = m_pManager->GetSchema()->CalcFrameBorders(m_hWnd);
    m_szRegion = SIZE{};
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    UpdateRegion(rc.right - rc.left, rc.bottom - rc.top);
    UpdateButtons();
    return result;
}

LRESULT CWVPSkinObjectFrame::OnCreateMessage(WPARAM, LPARAM)
{
    if (Default() == -1)
        return -1;
    AdjustFrame();
    return 0;
}

LRESULT CWVPSkinObjectFrame::OnTimerMessage(WPARAM wParam, LPARAM)
{
    if (wParam == kHoverTimerId)
    {
        if (::GetCapture())
            return 0;
        POINT pt;
        ::GetCursorPos(&pt);
        RECT rc;
        ::GetWindowRect(m_hWnd, &rc);
        if (!::PtInRect(&rc, pt) || !HitTest(pt))
        {
            UpdateHotState(POINT{-1, -1});
            ::KillTimer(m_hWnd, kHoverTimerId);
        }
        return 0;
    }
    if (wParam == kRepairTimerId)
    {
        ::KillTimer(m_hWnd, kRepairTimerId);
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        return 0;
    }
    return Default();
}

LRESULT CWVPSkinObjectFrame::OnEraseBkgndMessage(WPARAM, LPARAM)
{
    LONG_PTR classBrush = ::GetClassLongPtrW(m_hWnd, GCLP_HBRBACKGROUND);
    if (classBrush < 1 || classBrush > COLOR_MENUBAR + 1 || !GetMetrics())
        return Default();
    HBRUSH skinBrush = GetMetrics()->GetBrush(int(classBrush - 1));
    if (!skinBrush)
        return Default();
    ::SetClassLongPtrW(m_hWnd, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(skinBrush));
    LRESULT result = Default();
    ::SetClassLongPtrW(m_hWnd, GCLP_HBRBACKGROUND, classBrush);
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
        UpdateButtons();
        DrawFrame(reinterpret_cast<HDC>(wParam));
    }
    return result;
}

LRESULT CWVPSkinObjectFrame::OnSysCommandMessage(WPARAM wParam, LPARAM)
{
    UINT command = UINT(wParam) & kSysCommandMask;
    LRESULT result = Default();
    if (command == SC_MINIMIZE)
        RedrawFrame();
    return result;
}
