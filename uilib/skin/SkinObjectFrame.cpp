#include "uilib/skin/SkinObjectFrame.h"

#include "uilib/foundation/BufferDC.h"
#include "uilib/foundation/DrawHelpers.h"
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
// The size grip in the corner between two scroll bars.
const int kPartSizeBox = 10;
const int kSizeBoxRightAlign = 1;
// The picture a property page's body is tiled with: class TAB, part BODY, STOCKIMAGEFILE.
const int kPartTabBody = 10;
// Wine's handles of procedures it converts between character sets cannot be called directly.
const ULONG_PTR kWinProcHandleFirst = 0xFFFF0000;
const ULONG_PTR kWinProcHandleLast = 0xFFFFFFFF;
const DWORD kRecalcStrippedStyles = WS_DLGFRAME | WS_VSCROLL | WS_HSCROLL;

// Where the skin's frame moves the system menu while it opens (one UI at a time opens it).
POINT g_systemMenuOffset = {0, 0};

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
    CWVPDrawHelpers::ScreenToWindowPoint(hWnd, ptScreen);
    return ptScreen;
}

bool IsClearPoint(POINT pt)
{
    return pt.x == -1 && pt.y == -1;
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

HBRUSH CWVPSkinObjectFrame::GetTabBodyBrush()
{
    CWVPSkinManagerMetrics* metrics = GetMetrics();
    if (metrics->m_brushTabControl)
        return metrics->m_brushTabControl;
    CWVPSkinManagerClass* tab = m_pManager->GetSkinClass(L"TAB");
    CString name = tab ? tab->GetThemeString(kPartTabBody, 0, kSkinPropStockImageFile) : CString();
    CWVPSkinImage* image =
        name.IsEmpty() ? nullptr : tab->GetImageCache().GetImage(m_pManager->GetResourceFile(), name);
    SIZE extent = image ? image->GetExtent() : SIZE{};
    if (extent.cx <= 0 || extent.cy <= 0)
        return nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, extent.cx, extent.cy);
    ::ReleaseDC(nullptr, screen);
    if (memory && bitmap)
    {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        RECT whole = {0, 0, extent.cx, extent.cy};
        image->DrawImage(memory, whole, whole, RECT{}, CLR_INVALID, kSkinSizingStretch, FALSE);
        ::SelectObject(memory, old);
        // The metrics keep the brush until they refresh; the brush holds its own copy of the picture.
        metrics->m_brushTabControl = ::CreatePatternBrush(bitmap);
    }
    if (bitmap)
        ::DeleteObject(bitmap);
    if (memory)
        ::DeleteDC(memory);
    return metrics->m_brushTabControl;
}

HBRUSH CWVPSkinObjectFrame::GetCtlColorBrush(HDC hDC, HWND hWndCtl, UINT)
{
    CWVPSkinManagerMetrics* metrics = GetMetrics();
    if (m_nWindowKind != kWindowPropertyPage)
    {
        ::SetBkColor(hDC, metrics->GetColor(COLOR_BTNFACE));
        ::SetTextColor(hDC, metrics->GetColor(COLOR_BTNTEXT));
        return metrics->GetBrush(COLOR_BTNFACE);
    }
    HBRUSH brush = GetTabBodyBrush();
    if (!brush)
        brush = metrics->GetBrush(COLOR_BTNFACE);
    if (hWndCtl && hWndCtl != m_hWnd)
    {
        // The page's picture continues under the control.
        POINT origin = {0, 0};
        ::MapWindowPoints(m_hWnd, hWndCtl, &origin, 1);
        ::SetBrushOrgEx(hDC, origin.x, origin.y, nullptr);
        ::SetBkMode(hDC, TRANSPARENT);
        ::SetTextColor(hDC, metrics->GetColor(COLOR_BTNTEXT));
    }
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
    if (m_spi[0].fVisible && m_spi[1].fVisible && HasSizeGrip())
    {
        RECT corner = GetSizeGripRect();
        if (::PtInRect(&corner, pt))
            return (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) ? HTBOTTOMLEFT : HTBOTTOMRIGHT;
    }
    CCaptionButton* button = HitTestButton(pt);
    return button ? button->m_nHitTest : 0;
}

BOOL CWVPSkinObjectFrame::UpdateHotState(POINT ptScreen)
{
    bool clear = IsClearPoint(ptScreen);
    POINT pt = clear ? ptScreen : WindowPoint(m_hWnd, ptScreen);
    CCaptionButton* hot = clear ? nullptr : HitTestButton(pt);
    if (hot != m_pButtonHot)
    {
        if (!hot)
            ::KillTimer(m_hWnd, kHoverTimerId);
        m_pButtonHot = hot;
        RedrawFrame();
        if (hot)
        {
            ::SetTimer(m_hWnd, kHoverTimerId, kHoverTimerDelay, nullptr);
            return TRUE;
        }
    }
    if (m_pSBTrack)
        return TRUE;
    BOOL anyHot = m_pButtonHot != nullptr;
    for (SCROLLBARPOSINFO& sb : m_spi)
    {
        int part = clear ? kScrollNone : HitTestScrollBar(&sb, pt);
        if (part != sb.ht && sb.fVisible)
        {
            int old = sb.ht;
            sb.ht = part;
            RedrawScrollBar(&sb);
            if (old && !part && !anyHot)
                ::KillTimer(m_hWnd, kHoverTimerId);
        }
        if (sb.ht)
        {
            ::SetTimer(m_hWnd, kHoverTimerId, kHoverTimerDelay, nullptr);
            anyHot = TRUE;
        }
    }
    return anyHot;
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
    if (!procedure || (address >= kWinProcHandleFirst && address <= kWinProcHandleLast))
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
    HWND mdiClient =
        m_pMDIClient ? m_pMDIClient->GetSkinnedWindow() : ::FindWindowExW(m_hWnd, nullptr, L"MDIClient", nullptr);
    if (mdiClient)
    {
        HWND child = reinterpret_cast<HWND>(::SendMessageW(mdiClient, WM_MDIGETACTIVE, 0, 0));
        if (child && child != m_hWnd)
        {
            ::SendMessageW(child, WM_NCACTIVATE, wParam, lParam);
            ::SendMessageW(child, WM_NCPAINT, 1, 0);
        }
    }
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
    return UpdateHotState(pt) ? 0 : Default();
}

LRESULT CWVPSkinObjectFrame::OnNcMouseLeaveMessage(WPARAM, LPARAM)
{
    // A leave while a scroll bar is dragged is swallowed.
    return UpdateHotState(POINT{-1, -1}) ? 0 : Default();
}

LRESULT CWVPSkinObjectFrame::OnNcRButtonUpMessage(WPARAM, LPARAM lParam)
{
    POINT screen = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    POINT at = WindowPoint(m_hWnd, screen);
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
        pt = POINT{short(pt.x), short(pt.y)};
        RECT rc;
        ::GetWindowRect(m_hWnd, &rc);
        UINT hit = HitTest(pt);
        if (!::PtInRect(&rc, pt) || !hit || hit == HTCLIENT || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT)
        {
            UpdateHotState(POINT{-1, -1});
            ::KillTimer(m_hWnd, kHoverTimerId);
        }
        return 0;
    }
    if (wParam == kRepairTimerId)
    {
        RecalcNonClient();
        ::KillTimer(m_hWnd, kRepairTimerId);
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

LRESULT CWVPSkinObjectFrame::OnGetMinMaxInfoMessage(WPARAM, LPARAM lParam)
{
    LRESULT result = Default();
    MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
    CWVPSkinManagerSchema* schema = m_pManager->GetSchema();
    if (!info || !schema)
        return result;
    m_rcBorders = schema->CalcFrameBorders(m_hWnd);
    if (IsFrameOption() && HasCaption())
    {
        // Room for the caption buttons and the borders.
        UpdateButtons();
        LONG minWidth = LONG(m_arrButtons.size()) * m_rcBorders.top + 2 * ::GetSystemMetrics(SM_CXEDGE) +
                        ::GetSystemMetrics(SM_CYSIZE);
        info->ptMinTrackSize.x = std::max(info->ptMinTrackSize.x, minWidth);
        info->ptMinTrackSize.y = std::max(info->ptMinTrackSize.y, m_rcBorders.top + m_rcBorders.bottom);
    }
    if ((m_pManager->GetApplyOptions() & CWVPSkinManager::kApplyMetrics) &&
        (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_MDICHILD))
    {
        LONG oldY = info->ptMaxPosition.y;
        info->ptMaxPosition.y = -m_rcBorders.top;
        info->ptMaxSize.y += oldY + m_rcBorders.top;
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
    if (command == SC_MAXIMIZE && metrics && schema && (exStyle & WS_EX_MDICHILD) && !(style & WS_MAXIMIZE))
    {
        // The skin's borders, not the system's, go past the MDI client's edges.
        LRESULT result = Default();
        RECT client = {};
        ::GetClientRect(::GetParent(m_hWnd), &client);
        RECT borders = schema->CalcFrameBorders(m_hWnd);
        ::MoveWindow(m_hWnd, -borders.left, -borders.top, client.right + borders.left + borders.right,
                     client.bottom + borders.top + borders.bottom, TRUE);
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
