#include "uilib/skin/SkinObjectScrollBar.h"

#include "uilib/foundation/BufferDC.h"
#include "uilib/skin/SkinDrawHelpers.h"
#include "uilib/skin/SkinManager.h"

IMPLEMENT_DYNCREATE(CWVPSkinObjectScrollBar, CWVPSkinObjectFrame)

BEGIN_MESSAGE_MAP(CWVPSkinObjectScrollBar, CWVPSkinObjectFrame)
ON_MESSAGE(WM_CREATE, OnCreateMessage)
ON_MESSAGE(WM_PAINT, OnPaintMessage)
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClientMessage)
ON_MESSAGE(WM_ENABLE, OnEnableMessage)
ON_MESSAGE(WM_MOUSEMOVE, OnMouseMoveMessage)
ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeaveMessage)
ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDownMessage)
ON_MESSAGE(WM_LBUTTONDBLCLK, OnLButtonDownMessage)
ON_MESSAGE(SBM_SETSCROLLINFO, OnSetScrollInfoMessage)
ON_MESSAGE(SBM_SETPOS, OnSetPosMessage)
ON_MESSAGE(SBM_GETSCROLLINFO, OnGetScrollInfoMessage)
ON_MESSAGE(WM_SETFOCUS, OnSetFocusMessage)
END_MESSAGE_MAP()

namespace
{

const int kSizeBoxPart = 10;
const int kSizeBoxRightAlign = 1;

} // namespace

CWVPSkinObjectScrollBar::CWVPSkinObjectScrollBar()
{
    m_strClassName = L"SCROLLBAR";
    m_spiCtl.nBar = SB_CTL;
    m_nCtlColorMessage = WM_CTLCOLORSCROLLBAR;
}

BOOL CWVPSkinObjectScrollBar::IsSizeBox() const
{
    return (::GetWindowLongW(m_hWnd, GWL_STYLE) & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0;
}

void CWVPSkinObjectScrollBar::DrawScrollBarControl(HDC hTargetDC)
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    CWVPBufferDC buffer(hTargetDC, CRect(client));
    HDC hDC = buffer.GetSafeHdc() ? buffer.GetSafeHdc() : hTargetDC;
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    if (IsSizeBox())
    {
        ::FillRect(hDC, &client, GetParentBrush(hDC, WM_CTLCOLORSTATIC));
        CWVPSkinManagerClass* scrollBar = GetSkinClass();
        if ((style & SBS_SIZEGRIP) && scrollBar)
            scrollBar->DrawThemeBackground(hDC, kSizeBoxPart, kSizeBoxRightAlign, &client);
        return;
    }
    m_spiCtl.fVert = (style & SBS_VERT) != 0;
    m_spiCtl.fVisible = TRUE;
    if (!m_pSBTrack || !m_pSBTrack->bTrackThumb)
        CalcScrollBarInfo(&m_spiCtl);
    DrawScrollBar(hDC, &m_spiCtl);
}

void CWVPSkinObjectScrollBar::PaintNow()
{
    if (!::IsWindowVisible(m_hWnd))
        return;
    HDC dc = ::GetDC(m_hWnd);
    if (!dc)
        return;
    DrawScrollBarControl(dc);
    ::ReleaseDC(m_hWnd, dc);
}

LRESULT CWVPSkinObjectScrollBar::OnCreateMessage(WPARAM wParam, LPARAM lParam)
{
    if (CWVPSkinObjectFrame::OnCreateMessage(wParam, lParam) == -1)
        return -1;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

LRESULT CWVPSkinObjectScrollBar::OnPaintMessage(WPARAM wParam, LPARAM)
{
    if (wParam)
    {
        DrawScrollBarControl(reinterpret_cast<HDC>(wParam));
        return 0;
    }
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    if (dc)
        DrawScrollBarControl(dc);
    ::EndPaint(m_hWnd, &paint);
    return 0;
}

LRESULT CWVPSkinObjectScrollBar::OnPrintClientMessage(WPARAM wParam, LPARAM)
{
    DrawScrollBarControl(reinterpret_cast<HDC>(wParam));
    return 1;
}

LRESULT CWVPSkinObjectScrollBar::OnEnableMessage(WPARAM, LPARAM)
{
    LRESULT result = Default();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return result;
}

LRESULT CWVPSkinObjectScrollBar::OnMouseMoveMessage(WPARAM, LPARAM lParam)
{
    if (IsSizeBox())
        return 0;
    POINT pt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    int hit = pt.x == -1 && pt.y == -1 ? kScrollNone : HitTestScrollBar(&m_spiCtl, pt);
    if (hit != m_spiCtl.ht)
    {
        m_spiCtl.ht = hit;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        if (hit)
        {
            TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, m_hWnd, 0};
            ::TrackMouseEvent(&tme);
        }
    }
    return 0;
}

LRESULT CWVPSkinObjectScrollBar::OnMouseLeaveMessage(WPARAM, LPARAM)
{
    return OnMouseMoveMessage(0, MAKELPARAM(-1, -1));
}

LRESULT CWVPSkinObjectScrollBar::OnLButtonDownMessage(WPARAM, LPARAM lParam)
{
    if (IsSizeBox())
        return Default();
    POINT pt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    m_spiCtl.fVert = (::GetWindowLongW(m_hWnd, GWL_STYLE) & SBS_VERT) != 0;
    m_spiCtl.fVisible = TRUE;
    CalcScrollBarInfo(&m_spiCtl);
    TrackScrollBar(pt, &m_spiCtl, ::GetKeyState(VK_SHIFT) < 0);
    return 0;
}

LRESULT CWVPSkinObjectScrollBar::OnSetScrollInfoMessage(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(SBM_SETSCROLLINFO, FALSE, lParam);
    if (wParam)
        PaintNow();
    return result;
}

LRESULT CWVPSkinObjectScrollBar::OnSetPosMessage(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(SBM_SETPOS, wParam, FALSE);
    if (lParam)
        PaintNow();
    return result;
}

LRESULT CWVPSkinObjectScrollBar::OnGetScrollInfoMessage(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(SBM_GETSCROLLINFO, wParam, lParam);
    SCROLLINFO* si = reinterpret_cast<SCROLLINFO*>(lParam);
    int trackPos = 0;
    if (si && (si->fMask & SIF_TRACKPOS) && GetTrackPos(SB_CTL, trackPos))
        si->nTrackPos = trackPos;
    return result;
}

LRESULT CWVPSkinObjectScrollBar::OnSetFocusMessage(WPARAM, LPARAM)
{
    return 0;
}
