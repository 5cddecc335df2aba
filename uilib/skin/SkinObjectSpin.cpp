#include "uilib/skin/SkinObjectSpin.h"

#include "uilib/foundation/BufferDC.h"
#include "uilib/skin/SkinDrawHelpers.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinManagerClass.h"
#include "uilib/skin/SkinManagerMetrics.h"
#include "uilib/skin/SkinObjectPaintDC.h"
#include "uilib/skin/SkinSchemaNames.h"

#include <commctrl.h>

namespace
{

const int kStateNormal = 1;
const int kStateHot = 2;
const int kStatePressed = 3;
const int kStateDisabled = 4;

} // namespace

IMPLEMENT_DYNCREATE(CWVPSkinObjectSpin, CWVPSkinObjectFrame)

BEGIN_MESSAGE_MAP(CWVPSkinObjectSpin, CWVPSkinObjectFrame)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
END_MESSAGE_MAP()

CWVPSkinObjectSpin::CWVPSkinObjectSpin()
{
    m_strClassName = L"SPIN";
}

int CWVPSkinObjectSpin::HitTest(POINT pt) const
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if (!::PtInRect(&rc, pt))
        return kHalfNone;
    if (::GetWindowLongW(m_hWnd, GWL_STYLE) & UDS_HORZ)
    {
        int middle = (rc.left + rc.right) / 2;
        return pt.x < middle ? kHalfDecrement : pt.x > middle ? kHalfIncrement : kHalfNone;
    }
    int middle = (rc.top + rc.bottom) / 2;
    return pt.y > middle ? kHalfDecrement : pt.y < middle ? kHalfIncrement : kHalfNone;
}

int CWVPSkinObjectSpin::GetHalfState(int nHalf, bool bEnabled) const
{
    if (!bEnabled)
        return kStateDisabled;
    bool pressed = m_nPressedHalf == nHalf, hot = m_nHotHalf == nHalf;
    if (pressed && hot)
        return kStatePressed;
    if ((pressed && !hot) || (hot && m_nPressedHalf == kHalfNone))
        return kStateHot;
    return kStateNormal;
}

void CWVPSkinObjectSpin::DrawSpin(HDC hDC)
{
    CWVPSkinManagerMetrics* metrics = GetMetrics();
    CWVPSkinManagerClass* spin = GetSkinClass();
    if (!hDC || !metrics || !spin)
        return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    CWVPBufferDC buffer(hDC, CRect(rc));
    HDC dc = buffer.GetSafeHdc();
    ::FillRect(dc, &rc, metrics->GetBrush(COLOR_BTNFACE));
    int low = 0, high = 0;
    ::SendMessageW(m_hWnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    bool enabled = low != high && ::IsWindowEnabled(m_hWnd);

    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    RECT area = rc;
    HWND buddy = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, UDM_GETBUDDY, 0, 0));
    bool aligned = (style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) != 0;
    if (buddy && aligned && (::GetWindowLongW(buddy, GWL_EXSTYLE) & WS_EX_CLIENTEDGE))
    {
        // Joined to the buddy's border: the spin's own border continues it, open towards the buddy.
        CWVPSkinManagerClass* edit = m_pManager->GetSkinClass(L"EDIT");
        COLORREF border = edit ? edit->GetThemeColor(0, 0, kSkinPropBorderColor, metrics->GetColor(COLOR_BTNSHADOW))
                               : metrics->GetColor(COLOR_BTNSHADOW);
        WVPSkinDrawFrameColor(dc, rc, 1, border);
        int column = rc.left;
        if (style & UDS_ALIGNRIGHT)
            --area.right;
        else
        {
            ++area.left;
            column = rc.right - 1;
        }
        WVPSkinFillSolidRectXY(dc, column, rc.top + 1, 1, rc.bottom - rc.top - 2, metrics->GetColor(COLOR_WINDOW));
        ++area.top;
        --area.bottom;
    }

    if (style & UDS_HORZ)
    {
        int middle = (area.left + area.right) / 2;
        RECT left = {area.left, area.top, middle, area.bottom};
        RECT right = {area.left + area.right - middle, area.top, area.right, area.bottom};
        spin->DrawThemeBackground(dc, kPartDownHorz, GetHalfState(kHalfDecrement, enabled), &left);
        spin->DrawThemeBackground(dc, kPartUpHorz, GetHalfState(kHalfIncrement, enabled), &right);
    }
    else
    {
        int middle = (area.top + area.bottom) / 2;
        RECT top = {area.left, area.top, area.right, middle};
        RECT bottom = {area.left, area.top + area.bottom - middle, area.right, area.bottom};
        spin->DrawThemeBackground(dc, kPartUp, GetHalfState(kHalfIncrement, enabled), &top);
        spin->DrawThemeBackground(dc, kPartDown, GetHalfState(kHalfDecrement, enabled), &bottom);
    }
}

void CWVPSkinObjectSpin::SetHotHalf(int nHalf)
{
    if (nHalf != m_nHotHalf)
    {
        m_nHotHalf = nHalf;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
    if (m_nHotHalf != kHalfNone)
    {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        ::_TrackMouseEvent(&tme);
    }
}

LRESULT CWVPSkinObjectSpin::OnPaint(WPARAM wParam, LPARAM)
{
    CWVPSkinObjectPaintDC dc(m_hWnd, wParam);
    DrawSpin(dc.GetSafeHdc());
    return 0;
}

LRESULT CWVPSkinObjectSpin::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    if (!(lParam & PRF_CLIENT))
        return DefWindowProc(WM_PRINTCLIENT, wParam, lParam);
    DrawSpin(reinterpret_cast<HDC>(wParam));
    return 1;
}

LRESULT CWVPSkinObjectSpin::OnEraseBkgnd(WPARAM, LPARAM)
{
    return TRUE;
}

LRESULT CWVPSkinObjectSpin::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    POINT pt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    SetHotHalf(HitTest(pt));
    // The control still learns where the pointer is, so that a held arrow stops repeating once the
    // pointer slides off it. Its own drawing of that is replaced by ours.
    if (wParam != 0 || ::GetCapture() == m_hWnd)
        return DefWindowProc(WM_MOUSEMOVE, wParam, lParam);
    return 0;
}

LRESULT CWVPSkinObjectSpin::OnMouseLeave(WPARAM, LPARAM)
{
    SetHotHalf(kHalfNone);
    return 0;
}

LRESULT CWVPSkinObjectSpin::OnLButtonDown(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(WM_LBUTTONDOWN, wParam, lParam);
    POINT pt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    int half = HitTest(pt);
    if (half != kHalfNone)
    {
        m_nPressedHalf = half;
        m_nHotHalf = half;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
    return result;
}

LRESULT CWVPSkinObjectSpin::OnLButtonUp(WPARAM wParam, LPARAM lParam)
{
    if (m_nPressedHalf != kHalfNone)
    {
        m_nPressedHalf = kHalfNone;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
    return DefWindowProc(WM_LBUTTONUP, wParam, lParam);
}
