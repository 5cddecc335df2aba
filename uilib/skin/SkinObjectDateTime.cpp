#include "uilib/skin/SkinObjectDateTime.h"

#include "uilib/foundation/BufferDC.h"
#include "uilib/foundation/ModuleHandle.h"
#include "uilib/skin/SkinDCGuards.h"
#include "uilib/skin/SkinDrawHelpers.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinManagerClass.h"
#include "uilib/skin/SkinManagerMetrics.h"
#include "uilib/skin/SkinSchemaNames.h"

#include <commctrl.h>

#include <iterator>

namespace
{

// From this common-controls version on the picker draws its frame and button in the visual style.
const DWORD kComCtlVersion610 = 0x6000A;
const int kButtonColumnExtra = 3;
const int kImageFrameInset = 2;
// A press handed to the picker's own drop button lands this far inside the client's right edge.
const int kOwnButtonInset = 2;
// The BUTTON class's check box, and its size where the skin gives none.
const int kButtonPartCheckBox = 3;
const int kCheckBoxSize = 13;
const int kCheckUnchecked = 1;
const int kCheckUncheckedDisabled = 4;
const int kCheckChecked = 5;
const int kCheckCheckedDisabled = 8;

const WVP_SKIN_CALENDAR_COLOR kCalendarColors[] = {
    {MCSC_BACKGROUND, COLOR_WINDOW},     {MCSC_MONTHBK, COLOR_WINDOW},        {MCSC_TEXT, COLOR_WINDOWTEXT},
    {MCSC_TITLEBK, COLOR_ACTIVECAPTION}, {MCSC_TITLETEXT, COLOR_CAPTIONTEXT}, {MCSC_TRAILINGTEXT, COLOR_GRAYTEXT},
};

} // namespace

const WVP_SKIN_CALENDAR_COLOR* WVPSkinCalendarColors(int& nCount)
{
    nCount = int(std::size(kCalendarColors));
    return kCalendarColors;
}

IMPLEMENT_DYNCREATE(CWVPSkinObjectDateTime, CWVPSkinObjectComboBox)

BEGIN_MESSAGE_MAP(CWVPSkinObjectDateTime, CWVPSkinObjectComboBox)
ON_MESSAGE(WM_CREATE, OnCreate)
ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
END_MESSAGE_MAP()

CWVPSkinObjectDateTime::CWVPSkinObjectDateTime()
{
}

void CWVPSkinObjectDateTime::RefreshMetrics()
{
    CWVPSkinObjectComboBox::RefreshMetrics();
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return;
    for (const WVP_SKIN_CALENDAR_COLOR& color : kCalendarColors)
        ::SendMessageW(m_hWnd, DTM_SETMCCOLOR, color.nCalendarIndex, LPARAM(GetColor(color.nSysColor)));
}

RECT CWVPSkinObjectDateTime::GetDropButtonRect() const
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    rc.left = rc.right - GetMetrics()->m_cxVScroll;
    return rc;
}

int CWVPSkinObjectDateTime::GetComboState() const
{
    if (!::IsWindowEnabled(m_hWnd))
        return kStateDisabled;
    return m_bHot || ::GetCapture() == m_hWnd ? kStateHot : kStateNormal;
}

void CWVPSkinObjectDateTime::DrawFrame(HDC hDC)
{
    CWVPSkinManagerClass* combo = GetSkinClass();
    if (combo && (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) &&
        combo->GetThemeEnumValue(kPartFrame, GetComboState(), kSkinPropBgType, -1) == kSkinBgImageFile)
    {
        RECT window;
        ::GetWindowRect(m_hWnd, &window);
        ::OffsetRect(&window, -window.left, -window.top);
        RECT inner = window;
        ::InflateRect(&inner, -kImageFrameInset, -kImageFrameInset);
        CWVPSkinSavedDC saved(hDC);
        ::ExcludeClipRect(hDC, inner.left, inner.top, inner.right, inner.bottom);
        combo->DrawThemeBackground(hDC, kPartFrame, GetComboState(), &window);
        return;
    }
    CWVPSkinObjectComboBox::DrawFrame(hDC);
}

void CWVPSkinObjectDateTime::DrawComboBox(HDC hDC)
{
    CWVPSkinManagerMetrics* metrics = GetMetrics();
    CWVPSkinManagerClass* combo = GetSkinClass();
    if (!hDC || !metrics || !combo)
        return;
    bool enabled = ::IsWindowEnabled(m_hWnd) != FALSE;
    int state = GetComboState();
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    CWVPBufferDC buffer(hDC, CRect(rc));
    HDC dc = buffer.GetSafeHdc();
    COLORREF background = metrics->GetColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE);
    WVPSkinFillSolidRect(dc, rc, background);
    m_bOwnPaint = true;
    CallDefWindowProc(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), 0);
    m_bOwnPaint = false;

    bool drawButton = false;
    if (WVPGetComCtlVersion() < kComCtlVersion610)
    {
        WVPSkinFillSolidRectXY(dc, rc.right - metrics->m_cxVScroll - kButtonColumnExtra, rc.top,
                               metrics->m_cxVScroll + kButtonColumnExtra, rc.bottom - rc.top, background);
        drawButton = true;
    }
    else
    {
        int bgType = combo->GetThemeEnumValue(kPartFrame, state, kSkinPropBgType, -1);
        if (bgType == kSkinBgImageFile)
        {
            RECT inner = rc;
            ::InflateRect(&inner, -kImageFrameInset, -kImageFrameInset);
            ::ExcludeClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
            combo->DrawThemeBackground(dc, kPartFrame, state, &rc);
        }
        else if (bgType == kSkinBgBorderFill)
        {
            WVPSkinDrawFrameColor(
                dc, rc, 1,
                combo->GetThemeColor(kPartFrame, state, kSkinPropBorderColor, metrics->GetColor(COLOR_WINDOWFRAME)));
            RECT ring = rc;
            ::InflateRect(&ring, -1, -1);
            WVPSkinDrawFrameColor(dc, ring, 1, background);
        }
    }
    ::SelectClipRgn(dc, nullptr);

    if (style & DTS_SHOWNONE)
    {
        RECT square = rc;
        ::InflateRect(&square, -1, -1);
        square.right = square.left + (square.bottom - square.top);
        WVPSkinFillSolidRect(dc, square, background);
        CWVPSkinManagerClass* button = m_pManager->GetSkinClass(L"BUTTON");
        SYSTEMTIME time = {};
        bool none = ::SendMessageW(m_hWnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) == GDT_NONE;
        int check = none ? (enabled ? kCheckUnchecked : kCheckUncheckedDisabled)
                         : (enabled ? kCheckChecked : kCheckCheckedDisabled);
        SIZE size = {kCheckBoxSize, kCheckBoxSize};
        if (button)
        {
            button->GetThemePartSize(kButtonPartCheckBox, check, nullptr, CWVPSkinManagerClass::kSizeTrue, size);
            int x = square.left + (square.right - square.left - size.cx) / 2;
            int y = square.top + (square.bottom - square.top - size.cy) / 2;
            RECT box = {x, y, x + size.cx, y + size.cy};
            button->DrawThemeBackground(dc, kButtonPartCheckBox, check, &box);
        }
    }

    if (!(style & DTS_UPDOWN) && drawButton)
    {
        RECT drop = GetDropButtonRect();
        WVPSkinFillSolidRect(dc, drop, background);
        combo->DrawThemeBackground(dc, kPartDropDownButton, state, &drop);
    }
}

LRESULT CWVPSkinObjectDateTime::OnCreate(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(WM_CREATE, wParam, lParam);
    if (result == -1)
        return -1;
    Invalidate();
    // The picker keeps no calendar colours set before it was created: it gets them again now.
    RefreshMetrics();
    return 0;
}

bool CWVPSkinObjectDateTime::IsCalendarShown() const
{
    HWND calendar = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, DTM_GETMONTHCAL, 0, 0));
    return calendar && ::IsWindowVisible(calendar);
}

LRESULT CWVPSkinObjectDateTime::OnLButtonDown(WPARAM wParam, LPARAM lParam)
{
    POINT pt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    RECT drop = GetDropButtonRect();
    if (::IsWindowEnabled(m_hWnd) && !(::GetWindowLongW(m_hWnd, GWL_STYLE) & DTS_UPDOWN) && ::PtInRect(&drop, pt))
    {
        // The skin draws the drop button: the picker's own keyboard path opens the calendar.
        ::SetFocus(m_hWnd);
        WVPSkinCallWindowProc(m_wndProc, m_hWnd, WM_SYSKEYDOWN, VK_DOWN, 0);
        if (IsCalendarShown())
            return 0;
        // Pickers without that key open it from their own drop button, which lies under the
        // skin's at the client's right edge.
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        return DefWindowProc(WM_LBUTTONDOWN, wParam, MAKELPARAM(rc.right - kOwnButtonInset, (rc.top + rc.bottom) / 2));
    }
    return DefWindowProc(WM_LBUTTONDOWN, wParam, lParam);
}
