// The scroll-bar engine of the frame object: geometry from the scroll information, hit testing,
// drawing through the schema and the modal drag with auto-repeat and thumb tracking.
#include "uilib/skin/SkinObjectFrame.h"

#include "uilib/foundation/BufferDC.h"
#include "uilib/foundation/CaptureLoop.h"
#include "uilib/skin/SkinManager.h"

#include <memory>

namespace
{

const UINT_PTR kScrollRepeatTimerId = 64069;
const int kThumbDragWidthFactor = 8;
const int kThumbCommand = 4;
const int kNoCommand = -1;

bool IsMouseMessage(UINT nMessage)
{
    return nMessage >= WM_MOUSEFIRST && nMessage <= WM_MOUSEWHEEL;
}

// Axis coordinate of a point for a bar.
int Along(const CWVPSkinObjectFrame::SCROLLBARPOSINFO* pSBInfo, POINT pt)
{
    return pSBInfo->fVert ? pt.y : pt.x;
}

} // namespace

RECT CWVPSkinObjectFrame::GetScrollBarRect(int nBar)
{
    RECT rc = {};
    if (nBar == SB_CTL)
    {
        ::GetClientRect(m_hWnd, &rc);
        return rc;
    }
    RECT window, client;
    ::GetWindowRect(m_hWnd, &window);
    ::GetClientRect(m_hWnd, &client);
    POINT origin = {0, 0};
    ::ClientToScreen(m_hWnd, &origin);
    ::OffsetRect(&client, origin.x - window.left, origin.y - window.top);
    const CWVPSkinManagerMetrics* metrics = GetMetrics();
    if (nBar == SB_VERT)
    {
        bool left = (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
        rc = left ? RECT{client.left - metrics->m_cxVScroll, client.top, client.left, client.bottom}
                  : RECT{client.right, client.top, client.right + metrics->m_cxVScroll, client.bottom};
    }
    else
    {
        rc = RECT{client.left, client.bottom, client.right, client.bottom + metrics->m_cyHScroll};
    }
    return rc;
}

void CWVPSkinObjectFrame::SetupScrollBarInfo(SCROLLBARPOSINFO* pSBInfo, const RECT& rc, const SCROLLINFO& si)
{
    const CWVPSkinManagerMetrics* metrics = GetMetrics();
    pSBInfo->rc = rc;
    pSBInfo->pxTop = pSBInfo->fVert ? rc.top : rc.left;
    pSBInfo->pxBottom = pSBInfo->fVert ? rc.bottom : rc.right;
    pSBInfo->pxLeft = pSBInfo->fVert ? rc.left : rc.top;
    pSBInfo->pxRight = pSBInfo->fVert ? rc.right : rc.bottom;
    int arrow = pSBInfo->fVert ? metrics->m_cyVScroll : metrics->m_cxHScroll;
    int fullArrow = arrow;
    pSBInfo->pxThumbBottom = arrow;
    pSBInfo->posMin = si.nMin;
    pSBInfo->posMax = si.nMax;
    pSBInfo->page = int(si.nPage);
    pSBInfo->pos = si.nPos;
    int range = si.nMax - si.nMin + 1;
    int length = pSBInfo->pxBottom - pSBInfo->pxTop;
    if (arrow > length / 2)
        arrow = length / 2;
    pSBInfo->pxUpArrow = pSBInfo->pxTop + arrow;
    pSBInfo->pxDownArrow = pSBInfo->pxBottom - arrow;
    if (pSBInfo->page && range)
    {
        pSBInfo->pxThumbBottom = ::MulDiv(pSBInfo->pxDownArrow - pSBInfo->pxUpArrow, pSBInfo->page, range);
        if (pSBInfo->pxThumbBottom < fullArrow / 2)
            pSBInfo->pxThumbBottom = fullArrow / 2;
    }
    pSBInfo->pxTrackStart = pSBInfo->pxTop + arrow;
    pSBInfo->pxFreeTrack = pSBInfo->pxBottom - pSBInfo->pxTrackStart - arrow - pSBInfo->pxThumbBottom;
    int page = pSBInfo->page ? pSBInfo->page : 1;
    if (range == page)
        pSBInfo->pxThumbStart = pSBInfo->pxTrackStart - 1;
    else
        pSBInfo->pxThumbStart =
            pSBInfo->pxTrackStart + ::MulDiv(pSBInfo->pos - pSBInfo->posMin, pSBInfo->pxFreeTrack, range - page);
    pSBInfo->pxThumbEnd = pSBInfo->pxThumbStart + pSBInfo->pxThumbBottom;
}

void CWVPSkinObjectFrame::CalcScrollBarInfo(SCROLLBARPOSINFO* pSBInfo)
{
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    ::GetScrollInfo(m_hWnd, pSBInfo->nBar, &si);
    SetupScrollBarInfo(pSBInfo, GetScrollBarRect(pSBInfo->nBar), si);
}

int CWVPSkinObjectFrame::HitTestScrollBar(const SCROLLBARPOSINFO* pSBInfo, POINT pt) const
{
    if (!pSBInfo->fVisible || !::PtInRect(&pSBInfo->rc, pt))
        return kScrollNone;
    int c = Along(pSBInfo, pt);
    if (c < pSBInfo->pxUpArrow)
        return kScrollFirstArrow;
    if (c >= pSBInfo->pxDownArrow)
        return kScrollSecondArrow;
    if (c < pSBInfo->pxThumbStart)
        return kScrollPageBefore;
    if (c < pSBInfo->pxThumbEnd)
        return kScrollThumb;
    return kScrollPageAfter;
}

int CWVPSkinObjectFrame::PosFromThumb(const SCROLLBARPOSINFO* pSBInfo, int px) const
{
    if (px < pSBInfo->pxTrackStart)
        return pSBInfo->posMin;
    if (px < pSBInfo->pxTrackStart + pSBInfo->pxFreeTrack)
    {
        if (!pSBInfo->pxFreeTrack)
            return pSBInfo->posMin - 1;
        int span = pSBInfo->posMax - pSBInfo->posMin - (pSBInfo->page ? pSBInfo->page - 1 : 0);
        return pSBInfo->posMin + ::MulDiv(span, px - pSBInfo->pxTrackStart, pSBInfo->pxFreeTrack);
    }
    return pSBInfo->page ? pSBInfo->posMax - pSBInfo->page + 1 : pSBInfo->posMax;
}

void CWVPSkinObjectFrame::DrawScrollBar(HDC hDC, SCROLLBARPOSINFO* pSBInfo)
{
    if (m_pManager && m_pManager->GetSchema())
        m_pManager->GetSchema()->DrawThemeScrollBar(hDC, this, pSBInfo);
}

void CWVPSkinObjectFrame::RedrawScrollBar(SCROLLBARPOSINFO* pSBInfo)
{
    if (!pSBInfo->fVisible || !::IsWindow(m_hWnd) || !IsSkinEnabled())
        return;
    bool client = pSBInfo->nBar == SB_CTL;
    HDC dc = client ? ::GetDC(m_hWnd) : ::GetWindowDC(m_hWnd);
    if (!dc)
        return;
    if (!m_pSBTrack || !m_pSBTrack->bTrackThumb)
        CalcScrollBarInfo(pSBInfo);
    if (!::IsRectEmpty(&pSBInfo->rc))
    {
        CWVPBufferDCEx buffer(dc, CRect(pSBInfo->rc));
        DrawScrollBar(buffer.GetSafeHdc(), pSBInfo);
    }
    ::ReleaseDC(m_hWnd, dc);
}

void CWVPSkinObjectFrame::RedrawScrollBarIndex(int nIndex)
{
    if (nIndex == 0 || nIndex == 1)
        RedrawScrollBar(&m_spi[nIndex]);
}

BOOL CWVPSkinObjectFrame::GetTrackPos(int nBar, int& nTrackPos) const
{
    if (!m_pSBTrack || !m_pSBTrack->bTrackThumb || m_pSBTrack->nBar != nBar)
        return FALSE;
    nTrackPos = m_pSBTrack->posNew;
    return TRUE;
}

RECT CWVPSkinObjectFrame::CalcThumbDragRect(const SCROLLBARPOSINFO* pSBInfo) const
{
    int thickness = pSBInfo->pxRight - pSBInfo->pxLeft;
    int across = kThumbDragWidthFactor * thickness;
    int along = 2 * ::GetSystemMetrics(pSBInfo->fVert ? SM_CYVTHUMB : SM_CXHTHUMB);
    RECT rc = pSBInfo->rc;
    if (pSBInfo->fVert)
        ::InflateRect(&rc, across, along);
    else
        ::InflateRect(&rc, along, across);
    return rc;
}

POINT CWVPSkinObjectFrame::TrackPoint(POINT ptScreen) const
{
    if (m_pSBTrack && m_pSBTrack->bNonClient)
    {
        RECT window;
        ::GetWindowRect(m_hWnd, &window);
        return POINT{ptScreen.x - window.left, ptScreen.y - window.top};
    }
    ::ScreenToClient(m_hWnd, &ptScreen);
    return ptScreen;
}

void CWVPSkinObjectFrame::SendScrollMessage(int nCode, int nPos)
{
    if (!m_pSBTrack || !m_pSBTrack->hWndTrack)
        return;
    ::SendMessageW(m_pSBTrack->hWndTrack, m_pSBTrack->fVert ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(nCode, nPos),
                   m_pSBTrack->nBarLParam);
}

void CWVPSkinObjectFrame::TrackScrollBar(POINT pt, SCROLLBARPOSINFO* pSBInfo, BOOL bShift)
{
    std::unique_ptr<SCROLLBARTRACKINFO> track(new SCROLLBARTRACKINFO{});
    track->fVert = pSBInfo->fVert;
    track->nBar = pSBInfo->nBar;
    track->pSBInfo = pSBInfo;
    track->cmdSB = kNoCommand;
    bool control = pSBInfo->nBar == SB_CTL;
    track->hWndTrack = control ? ::GetParent(m_hWnd) : m_hWnd;
    track->nBarLParam = control ? reinterpret_cast<LPARAM>(m_hWnd) : 0;
    track->bNonClient = !control;
    track->rcTrack = pSBInfo->rc;
    RECT& rc = track->rcTrack;
    int& nearEdge = pSBInfo->fVert ? rc.top : rc.left;
    int& farEdge = pSBInfo->fVert ? rc.bottom : rc.right;
    int c = Along(pSBInfo, pt);
    bool thumb = false;
    if (c < pSBInfo->pxUpArrow)
    {
        pSBInfo->ht = kScrollFirstArrow;
        track->cmdSB = SB_LINEUP;
        farEdge = pSBInfo->pxUpArrow;
    }
    else if (c < pSBInfo->pxThumbStart)
    {
        pSBInfo->ht = kScrollPageBefore;
        track->cmdSB = SB_PAGEUP;
        nearEdge = pSBInfo->pxUpArrow;
        farEdge = pSBInfo->pxThumbStart;
        thumb = bShift != FALSE;
    }
    else if (c < pSBInfo->pxThumbEnd)
    {
        pSBInfo->ht = kScrollThumb;
        thumb = true;
    }
    else if (c < pSBInfo->pxDownArrow)
    {
        pSBInfo->ht = kScrollPageAfter;
        track->cmdSB = SB_PAGEDOWN;
        nearEdge = pSBInfo->pxThumbEnd;
        farEdge = pSBInfo->pxDownArrow;
        thumb = bShift != FALSE;
    }
    else
    {
        pSBInfo->ht = kScrollSecondArrow;
        track->cmdSB = SB_LINEDOWN;
        nearEdge = pSBInfo->pxDownArrow;
    }
    m_pSBTrack = track.get();
    if (thumb)
    {
        if (pSBInfo->pxThumbBottom >= pSBInfo->pxDownArrow - pSBInfo->pxUpArrow)
        {
            pSBInfo->ht = kScrollNone;
            m_pSBTrack = nullptr;
            return;
        }
        pSBInfo->ht = kScrollThumb;
        track->cmdSB = kThumbCommand;
        track->rcTrack = CalcThumbDragRect(pSBInfo);
        pSBInfo->pxStart = pSBInfo->pxThumbStart;
        track->pxOld = pSBInfo->pxThumbStart;
        track->posOld = track->posNew = pSBInfo->pos;
        track->bTrackThumb = TRUE;
        track->dpxThumb = bShift ? -pSBInfo->pxThumbBottom / 2 : pSBInfo->pxThumbStart - c;
        ::SetCapture(m_hWnd);
        SendScrollMessage(SB_THUMBTRACK, track->posNew);
    }
    ::SetCapture(m_hWnd);
    if (track->bTrackThumb)
        TrackThumb(WM_LBUTTONDOWN, pt);
    else
        TrackBox(WM_LBUTTONDOWN, pt);
    // The drag: the repeat timer and every mouse message go to the tracking; it runs while a track
    // is under way and the frame holds the capture.
    class CTrackLoop : public CWVPCaptureLoop
    {
      public:
        explicit CTrackLoop(CWVPSkinObjectFrame* frame) : CWVPCaptureLoop(frame->m_hWnd), m_pFrame(frame)
        {
        }

      protected:
        BOOL KeepRunning() override
        {
            return m_pFrame->m_pSBTrack != nullptr;
        }
        BOOL OnMessage(MSG& msg) override
        {
            if (msg.message == WM_TIMER && msg.wParam == kScrollRepeatTimerId && msg.hwnd == m_pFrame->m_hWnd)
            {
                m_pFrame->OnScrollRepeatTimer(msg.pt);
                return TRUE;
            }
            if (!IsMouseMessage(msg.message))
                return FALSE;
            const POINT at = m_pFrame->TrackPoint(msg.pt);
            if (m_pFrame->m_pSBTrack->bTrackThumb)
                m_pFrame->TrackThumb(msg.message, at);
            else
                m_pFrame->TrackBox(msg.message, at);
            return TRUE;
        }

      private:
        CWVPSkinObjectFrame* m_pFrame;
    };
    // The first step may have ended the track already (or given the capture up).
    if (m_pSBTrack && ::GetCapture() == m_hWnd)
    {
        CTrackLoop loop(this);
        loop.Run();
    }
    if (track->hTimerSB)
        ::KillTimer(m_hWnd, kScrollRepeatTimerId);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    pSBInfo->ht = kScrollNone;
    m_pSBTrack = nullptr;
    RedrawScrollBar(pSBInfo);
}

void CWVPSkinObjectFrame::TrackBox(UINT nMessage, POINT pt)
{
    SCROLLBARTRACKINFO* track = m_pSBTrack;
    if (!track || (nMessage && !IsMouseMessage(nMessage)))
        return;
    SCROLLBARPOSINFO* sb = track->pSBInfo;
    if (track->cmdSB == SB_PAGEUP)
        (sb->fVert ? track->rcTrack.bottom : track->rcTrack.right) = sb->pxThumbStart;
    else if (track->cmdSB == SB_PAGEDOWN)
        (sb->fVert ? track->rcTrack.top : track->rcTrack.left) = sb->pxThumbEnd;
    BOOL inside = ::PtInRect(&track->rcTrack, pt);
    if (inside != track->fHitOld)
    {
        track->fHitOld = inside;
        RedrawScrollBar(sb);
    }
    UINT doubleClick = ::GetDoubleClickTime();
    switch (nMessage)
    {
    case WM_LBUTTONDOWN:
        if (inside)
        {
            track->hTimerSB = ::SetTimer(m_hWnd, kScrollRepeatTimerId, doubleClick * 4 / 5, nullptr);
            SendScrollMessage(track->cmdSB, 0);
        }
        break;
    case WM_MOUSEMOVE:
        if (inside && !track->hTimerSB)
        {
            track->hTimerSB = ::SetTimer(m_hWnd, kScrollRepeatTimerId, doubleClick / 10, nullptr);
            SendScrollMessage(track->cmdSB, 0);
        }
        else if (!inside && track->hTimerSB)
        {
            ::KillTimer(m_hWnd, kScrollRepeatTimerId);
            track->hTimerSB = 0;
        }
        break;
    case WM_LBUTTONUP:
        EndScroll();
        break;
    default:
        break;
    }
}

// The pointer is judged where the timer message places it, as mouse messages are: the X pointer
// that GetCursorPos reads can lag the positions the messages carry.
void CWVPSkinObjectFrame::OnScrollRepeatTimer(POINT ptScreen)
{
    SCROLLBARTRACKINFO* track = m_pSBTrack;
    if (!track)
        return;
    TrackBox(0, TrackPoint(ptScreen));
    if (m_pSBTrack && track->fHitOld)
    {
        track->hTimerSB = ::SetTimer(m_hWnd, kScrollRepeatTimerId, ::GetDoubleClickTime() / 10, nullptr);
        SendScrollMessage(track->cmdSB, 0);
        if (m_pSBTrack)
            CalcScrollBarInfo(track->pSBInfo);
    }
}

void CWVPSkinObjectFrame::TrackThumb(UINT nMessage, POINT pt)
{
    SCROLLBARTRACKINFO* track = m_pSBTrack;
    if (!track || !IsMouseMessage(nMessage))
        return;
    SCROLLBARPOSINFO* sb = track->pSBInfo;
    int px;
    if (::PtInRect(&track->rcTrack, pt))
    {
        px = Along(sb, pt) + track->dpxThumb;
        if (px < sb->pxTrackStart)
            px = sb->pxTrackStart;
        if (px > sb->pxTrackStart + sb->pxFreeTrack)
            px = sb->pxTrackStart + sb->pxFreeTrack;
    }
    else
    {
        px = sb->pxStart;
    }
    MoveThumb(px);
    track->fHitOld = TRUE;
    if (nMessage == WM_LBUTTONUP || ::GetKeyState(VK_LBUTTON) >= 0)
        EndScroll();
}

void CWVPSkinObjectFrame::MoveThumb(int px)
{
    SCROLLBARTRACKINFO* track = m_pSBTrack;
    SCROLLBARPOSINFO* sb = track->pSBInfo;
    if (px == track->pxOld)
        return;
    for (int pass = 0; pass < 2; ++pass)
    {
        track->posNew = PosFromThumb(sb, px);
        if (track->posNew != track->posOld)
        {
            SendScrollMessage(SB_THUMBTRACK, track->posNew);
            track->posOld = track->posNew;
        }
        if (px <= sb->pxTrackStart + sb->pxFreeTrack || !m_pSBTrack)
            break;
        px = sb->pxTrackStart + sb->pxFreeTrack;
    }
    if (!m_pSBTrack)
        return;
    sb->pxThumbStart = px;
    sb->pxThumbEnd = px + sb->pxThumbBottom;
    track->pxOld = px;
    RedrawScrollBar(sb);
}

LRESULT CWVPSkinObjectFrame::EndScroll()
{
    SCROLLBARTRACKINFO* track = m_pSBTrack;
    if (!track)
        return 0;
    int command = track->cmdSB;
    track->cmdSB = kNoCommand;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (command == kThumbCommand)
    {
        SendScrollMessage(SB_THUMBPOSITION, track->posOld);
        track->bTrackThumb = FALSE;
        RedrawScrollBar(track->pSBInfo);
    }
    else if (track->hTimerSB)
    {
        ::KillTimer(m_hWnd, kScrollRepeatTimerId);
        track->hTimerSB = 0;
    }
    HWND target = track->hWndTrack;
    LRESULT result =
        target ? ::SendMessageW(target, track->fVert ? WM_VSCROLL : WM_HSCROLL, SB_ENDSCROLL, track->nBarLParam) : 0;
    return result;
}
