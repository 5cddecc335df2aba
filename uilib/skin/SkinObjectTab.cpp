#include "uilib/skin/SkinObjectTab.h"

#include "uilib/foundation/BufferDC.h"
#include "uilib/skin/SkinDCGuards.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinManagerClass.h"
#include "uilib/skin/SkinManagerMetrics.h"
#include "uilib/skin/SkinObjectPaintDC.h"

#include <commctrl.h>

namespace
{

// A selected tab stands out this much on every side, and the strip is drawn this much larger.
const int kSelectedGrowth = 2;
// Tab texts are read into a buffer of this many characters.
const int kTextBufferLength = 256;
const int kButtonPartPush = 1;
const int kButtonStateNormal = 1;
const int kButtonStatePressed = 3;
const int kButtonStateDisabled = 4;
const UINT kHorizontalTextFormat = DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER | DT_CENTER;
// The first tab's text keeps clear of its left edge's shading.
const int kFirstTabTextInset = 3;

} // namespace

IMPLEMENT_DYNCREATE(CWVPSkinObjectTab, CWVPSkinObjectFrame)

BEGIN_MESSAGE_MAP(CWVPSkinObjectTab, CWVPSkinObjectFrame)
ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

CWVPSkinObjectTab::CWVPSkinObjectTab()
{
    m_strClassName = L"TAB";
    m_nCtlColorMessage = WM_CTLCOLORSTATIC;
}

RECT CWVPSkinObjectTab::GetHeaderRect() const
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    RECT item = {};
    int selected = int(::SendMessageW(m_hWnd, TCM_GETCURSEL, 0, 0));
    if (!::SendMessageW(m_hWnd, TCM_GETITEMRECT, selected < 0 ? 0 : selected, reinterpret_cast<LPARAM>(&item)))
    {
        rc.bottom = rc.top; // no tabs: no strip
        return rc;
    }
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    if (style & TCS_VERTICAL)
    {
        if (style & TCS_RIGHT)
            rc.left = item.left;
        else
            rc.right = item.right;
    }
    else if (style & TCS_BOTTOM)
        rc.top = item.top;
    else
    {
        int rows = int(::SendMessageW(m_hWnd, TCM_GETROWCOUNT, 0, 0));
        rc.bottom = rc.top + rows * (item.bottom - item.top) + GetMetrics()->m_cyEdge;
    }
    return rc;
}

void CWVPSkinObjectTab::DrawBackground(HDC hDC, const RECT& rc)
{
    ::FillRect(hDC, &rc, GetParentBrush(hDC, WM_CTLCOLORSTATIC));
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    CWVPSkinManagerClass* tab = GetSkinClass();
    if ((style & TCS_BUTTONS) || !tab)
        return;
    RECT pane, header = GetHeaderRect();
    ::GetClientRect(m_hWnd, &pane);
    if (style & TCS_VERTICAL)
    {
        if (style & TCS_RIGHT)
            pane.right = header.left;
        else
            pane.left = header.right;
    }
    else if (style & TCS_BOTTOM)
        pane.bottom = header.top;
    else
        pane.top = header.bottom;
    // The pane is drawn whole and clipped to the rectangle, so that its borders stay in place
    // whatever part of it is being painted.
    CWVPSkinSavedDC saved(hDC);
    ::IntersectClipRect(hDC, rc.left, rc.top, rc.right, rc.bottom);
    tab->DrawThemeBackground(hDC, kPartPane, 0, &pane);
}

void CWVPSkinObjectTab::DrawTabs(HDC hDC)
{
    if (!hDC || !GetMetrics())
        return;
    RECT client, strip = GetHeaderRect();
    ::GetClientRect(m_hWnd, &client);
    ::InflateRect(&strip, kSelectedGrowth, kSelectedGrowth);
    ::IntersectRect(&strip, &strip, &client);
    if (::IsRectEmpty(&strip))
        return;
    CWVPBufferDC buffer(hDC, CRect(strip));
    HDC dc = buffer.GetSafeHdc();
    DrawBackground(dc, strip);
    CWVPSkinWindowFontDC font(dc, m_hWnd);
    ::SetBkMode(dc, TRANSPARENT);
    int count = int(::SendMessageW(m_hWnd, TCM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index)
        DrawItem(dc, index);
    int selected = int(::SendMessageW(m_hWnd, TCM_GETCURSEL, 0, 0));
    if (selected >= 0 && selected < count)
        DrawItem(dc, selected);
}

int CWVPSkinObjectTab::GetTabPart(int nIndex, int nCount, bool bSelected)
{
    if (nIndex == 0)
        return kPartTopTabItemLeftEdge;
    if (nIndex == nCount - 1 && !bSelected)
        return kPartTopTabItemRightEdge;
    return kPartTopTabItem;
}

int CWVPSkinObjectTab::GetTabState(int nIndex, bool bSelected) const
{
    // A disabled control shows every tab disabled.
    if (!::IsWindowEnabled(m_hWnd))
        return kStateDisabled;
    return bSelected ? kStateSelected : nIndex == m_nHotTab ? kStateHot : kStateNormal;
}

void CWVPSkinObjectTab::DrawItem(HDC hDC, int nIndex)
{
    RECT rc, client, meet;
    ::GetClientRect(m_hWnd, &client);
    if (!::SendMessageW(m_hWnd, TCM_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(&rc)) ||
        !::IntersectRect(&meet, &rc, &client))
        return;
    int count = int(::SendMessageW(m_hWnd, TCM_GETITEMCOUNT, 0, 0));
    bool selected = ::SendMessageW(m_hWnd, TCM_GETCURSEL, 0, 0) == nIndex;
    DrawTab(hDC, rc, nIndex, count, selected);
    RECT text = rc;
    DrawItemImage(hDC, text, nIndex);
    DrawItemText(hDC, text, nIndex, count, selected);
    bool showFocus = !(::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
    if (selected && showFocus && ::GetFocus() == m_hWnd)
    {
        RECT focus = rc;
        ::InflateRect(&focus, -GetMetrics()->m_cxEdge / 2, -GetMetrics()->m_cyEdge / 2);
        ::DrawFocusRect(hDC, &focus);
    }
}

void CWVPSkinObjectTab::DrawTab(HDC hDC, RECT rc, int nIndex, int nCount, bool bSelected)
{
    if (::GetWindowLongW(m_hWnd, GWL_STYLE) & TCS_BUTTONS)
    {
        if (CWVPSkinManagerClass* button = m_pManager->GetSkinClass(L"BUTTON"))
            button->DrawThemeBackground(hDC, kButtonPartPush,
                                        !::IsWindowEnabled(m_hWnd) ? kButtonStateDisabled
                                        : bSelected                ? kButtonStatePressed
                                                                   : kButtonStateNormal,
                                        &rc);
        return;
    }
    if (bSelected)
        ::InflateRect(&rc, kSelectedGrowth, kSelectedGrowth);
    if (CWVPSkinManagerClass* tab = GetSkinClass())
        tab->DrawThemeBackground(hDC, GetTabPart(nIndex, nCount, bSelected), GetTabState(nIndex, bSelected), &rc);
}

void CWVPSkinObjectTab::DrawItemImage(HDC hDC, RECT& rcText, int nIndex)
{
    TCITEMW item = {};
    item.mask = TCIF_IMAGE;
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageW(m_hWnd, TCM_GETIMAGELIST, 0, 0));
    if (!images || !::SendMessageW(m_hWnd, TCM_GETITEMW, nIndex, reinterpret_cast<LPARAM>(&item)) || item.iImage < 0)
        return;
    int cx = 0, cy = 0;
    ::ImageList_GetIconSize(images, &cx, &cy);
    int cxEdge = GetMetrics()->m_cxEdge, cyEdge = GetMetrics()->m_cyEdge;
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    bool vertical = (style & TCS_VERTICAL) != 0;
    POINT at = {rcText.left + 2 * cxEdge, rcText.top + cyEdge};
    if (vertical)
        at = (style & TCS_RIGHT) ? POINT{rcText.left + 1, rcText.top + 2 * cyEdge}
                                 : POINT{rcText.left + cxEdge, rcText.top + 2 * cyEdge};
    else if (style & TCS_BOTTOM)
        at.y = rcText.top + 1;
    ::ImageList_Draw(images, item.iImage, hDC, at.x, at.y, ILD_TRANSPARENT);
    if (vertical)
        rcText.top += cy + cyEdge;
    else
        rcText.left += cx + cxEdge;
}

void CWVPSkinObjectTab::DrawItemText(HDC hDC, RECT rc, int nIndex, int nCount, bool bSelected)
{
    WCHAR text[kTextBufferLength] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = kTextBufferLength;
    if (!::SendMessageW(m_hWnd, TCM_GETITEMW, nIndex, reinterpret_cast<LPARAM>(&item)))
    {
        char narrow[kTextBufferLength] = {};
        TCITEMA itemA = {};
        itemA.mask = TCIF_TEXT;
        itemA.pszText = narrow;
        itemA.cchTextMax = kTextBufferLength;
        if (!::SendMessageA(m_hWnd, TCM_GETITEMA, nIndex, reinterpret_cast<LPARAM>(&itemA)))
            return;
        narrow[kTextBufferLength - 1] = 0;
        ::MultiByteToWideChar(CP_ACP, 0, narrow, -1, text, kTextBufferLength);
    }
    text[kTextBufferLength - 1] = 0;
    // The control may hand back its own buffer instead of filling ours.
    LPCWSTR shown = item.pszText ? item.pszText : text;
    if (!shown[0])
        return;
    CWVPSkinManagerClass* tab = GetSkinClass();
    if (!tab)
        return;
    ::SetTextColor(hDC, GetMetrics()->GetColor(::IsWindowEnabled(m_hWnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    int part = GetTabPart(nIndex, nCount, bSelected);
    int state = GetTabState(nIndex, bSelected);
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    if (style & TCS_VERTICAL)
    {
        SIZE extent = {};
        ::GetTextExtentPoint32W(hDC, shown, ::lstrlenW(shown), &extent);
        RECT at = rc;
        at.left += (rc.right - rc.left - extent.cy) / 2;
        at.top += (rc.bottom - rc.top - extent.cx) / 2;
        tab->DrawThemeText(hDC, part, state, shown, DT_SINGLELINE | DT_NOCLIP, &at);
        return;
    }
    DWORD format = kHorizontalTextFormat;
    if (::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL)
        format |= DT_HIDEPREFIX;
    if (style & TCS_BUTTONS)
    {
        if (!bSelected)
            ::OffsetRect(&rc, 0, -1);
    }
    else
    {
        ::OffsetRect(&rc, 0, bSelected ? -2 : 1);
        if (nIndex == 0)
            rc.right -= kFirstTabTextInset;
    }
    tab->DrawThemeText(hDC, part, state, shown, format, &rc);
}

void CWVPSkinObjectTab::SetHotTab(POINT pt)
{
    int hot = -1;
    int count = int(::SendMessageW(m_hWnd, TCM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count && hot < 0; ++index)
    {
        RECT rc;
        if (::SendMessageW(m_hWnd, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc)) && ::PtInRect(&rc, pt))
            hot = index;
    }
    if (hot != m_nHotTab)
    {
        m_nHotTab = hot;
        RECT header = GetHeaderRect();
        ::InflateRect(&header, kSelectedGrowth, kSelectedGrowth);
        ::InvalidateRect(m_hWnd, &header, FALSE);
    }
    if (m_nHotTab >= 0)
    {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        ::_TrackMouseEvent(&tme);
    }
}

LRESULT CWVPSkinObjectTab::OnEraseBkgnd(WPARAM wParam, LPARAM)
{
    HDC hDC = reinterpret_cast<HDC>(wParam);
    if (!hDC)
        return 0;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    CWVPBufferDC buffer(hDC, CRect(rc));
    DrawBackground(buffer.GetSafeHdc(), rc);
    return 1;
}

LRESULT CWVPSkinObjectTab::OnPaint(WPARAM wParam, LPARAM)
{
    CWVPSkinObjectPaintDC dc(m_hWnd, wParam);
    if (dc.IsGiven())
    {
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        DrawBackground(dc.GetSafeHdc(), rc);
    }
    DrawTabs(dc.GetSafeHdc());
    return 0;
}

LRESULT CWVPSkinObjectTab::OnPrintClient(WPARAM wParam, LPARAM)
{
    DrawTabs(reinterpret_cast<HDC>(wParam));
    return 1;
}

LRESULT CWVPSkinObjectTab::OnMouseMove(WPARAM, LPARAM lParam)
{
    SetHotTab(POINT{short(LOWORD(lParam)), short(HIWORD(lParam))});
    return 0;
}

LRESULT CWVPSkinObjectTab::OnMouseLeave(WPARAM, LPARAM)
{
    SetHotTab(POINT{-1, -1});
    return 0;
}
