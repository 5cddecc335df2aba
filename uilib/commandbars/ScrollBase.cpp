#include "uilib/commandbars/ScrollBase.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/ScrollBarPaintManager.h"
#include "uilib/foundation/CaptureLoop.h"

#include <windowsx.h>

#include <algorithm>

namespace
{
// The first repeat waits four fifths of the double-click time, later ones a tenth of it.
UINT FirstRepeatDelay()
{
    return ::GetDoubleClickTime() * 4 / 5;
}

UINT RepeatDelay()
{
    return std::max(1u, ::GetDoubleClickTime() / 10);
}

BOOL IsMouseMessage(UINT message)
{
    return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST;
}

// One press on a scroll bar: an arrow or page area that scrolls and repeats while held, or the
// thumb following the pointer.
class CScrollTracking : public CWVPCaptureLoop
{
  public:
    CScrollTracking(CWVPScrollBase* scroll, HWND hwnd) : CWVPCaptureLoop(hwnd), m_scroll(scroll)
    {
    }

    CWVPScrollBase* m_scroll;
    BOOL m_bThumb = FALSE;
    // The button is up; the loop still serves a running scroll animation.
    BOOL m_bReleased = FALSE;
    BOOL m_bInside = TRUE;
    int m_nCommand = SB_LINEUP;
    CRect m_rcPart;
    int m_nOffset = 0;
    int m_nLastPos = 0;

    void Scroll()
    {
        m_scroll->DoScroll(m_nCommand, 0);
        m_scroll->CalculateScrollBarInfo();
    }

    void StartRepeat(UINT delay)
    {
        m_scroll->m_nRepeatInterval = int(delay);
        ::SetTimer(GetWindow(), WVP_TIMER_SCROLLREPEAT, delay, nullptr);
    }

    // The page areas end at the thumb as it moves.
    void FollowThumb()
    {
        const WVP_SCROLLBAR_POSINFO& i = m_scroll->m_info;
        if (m_nCommand == SB_PAGEUP)
            (i.vertical ? m_rcPart.bottom : m_rcPart.right) = i.thumbStart;
        else if (m_nCommand == SB_PAGEDOWN)
            (i.vertical ? m_rcPart.top : m_rcPart.left) = i.thumbEnd;
    }

    void OnPartMouse(UINT message, CPoint pt)
    {
        FollowThumb();
        if (message == WM_LBUTTONUP)
        {
            Release();
            return;
        }
        const BOOL inside = m_rcPart.PtInRect(pt);
        if (inside == m_bInside)
            return;
        m_bInside = inside;
        m_scroll->m_bTrackingInside = inside;
        m_scroll->RedrawScrollBar();
        if (inside)
        {
            Scroll();
            StartRepeat(RepeatDelay());
        }
    }

    void OnThumbMouse(UINT message, CPoint pt)
    {
        WVP_SCROLLBAR_POSINFO& i = m_scroll->m_info;
        if (message == WM_LBUTTONUP || !(::GetKeyState(VK_LBUTTON) & 0x8000))
        {
            Release();
            return;
        }
        const BOOL follows = m_rcPart.PtInRect(pt) || m_scroll->GetScrollBarPaintManager()->m_nThumbSize;
        int start = i.thumbDragOrigin;
        if (follows)
            start = std::max(i.thumbRangeStart,
                             std::min((i.vertical ? pt.y : pt.x) + m_nOffset, i.thumbRangeStart + i.thumbRange));
        if (start == i.thumbStart)
            return;
        const int position = m_scroll->PositionOfPixel(start);
        if (position != m_nLastPos)
        {
            m_nLastPos = position;
            m_scroll->DoScroll(SB_THUMBTRACK, position);
        }
        i.thumbStart = start;
        i.thumbEnd = start + i.thumbSize;
        m_scroll->RedrawScrollBar();
    }

    void Release()
    {
        m_bReleased = TRUE;
        m_bInside = FALSE;
        ::KillTimer(GetWindow(), WVP_TIMER_SCROLLREPEAT);
    }

  protected:
    BOOL OnMessage(MSG& msg) override
    {
        const BOOL handled = Handle(msg);
        if (m_bReleased && !m_scroll->m_bScrollAnimation)
            Stop();
        return handled;
    }

    BOOL Handle(MSG& msg)
    {
        if (msg.message == WM_TIMER && msg.hwnd == GetWindow())
        {
            if (msg.wParam == WVP_TIMER_SCROLLREPEAT)
            {
                if (m_bReleased)
                    return TRUE;
                if (!m_bThumb && m_bInside)
                    Scroll();
                StartRepeat(RepeatDelay());
                return TRUE;
            }
            if (msg.wParam == WVP_TIMER_SCROLLANIMATION)
            {
                m_scroll->AnimateScroll();
                return TRUE;
            }
        }
        if (!IsMouseMessage(msg.message))
            return FALSE;
        if (m_bReleased)
            return TRUE;
        CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
        if (msg.hwnd != GetWindow())
            ::MapWindowPoints(msg.hwnd, GetWindow(), &pt, 1);
        if (m_bThumb)
            OnThumbMouse(msg.message, pt);
        else
            OnPartMouse(msg.message, pt);
        return TRUE;
    }
};
} // namespace

CWVPScrollBase::CWVPScrollBase()
    : m_nExplicitStyle(0), m_bTracking(FALSE), m_bTrackingInside(FALSE), m_bScrollAnimation(FALSE), m_nRepeatInterval(0)
{
    ::ZeroMemory(&m_info, sizeof m_info);
    m_info.vertical = TRUE;
}

void CWVPScrollBase::AnimateScroll()
{
}

void CWVPScrollBase::CalcScrollBarInfo(CRect rc, WVP_SCROLLBAR_POSINFO* info, const SCROLLINFO* scroll)
{
    CWVPScrollBarPaintManager* painter = GetScrollBarPaintManager();
    info->barRect = rc;
    const BOOL vertical = info->vertical;
    info->trackStart = vertical ? rc.top : rc.left;
    info->trackEnd = vertical ? rc.bottom : rc.right;
    info->crossStart = vertical ? rc.left : rc.top;
    info->crossEnd = vertical ? rc.right : rc.bottom;
    int a = vertical ? painter->m_cyVScroll : painter->m_cxHScroll;
    info->thumbSize = a;
    info->scrollMin = scroll->nMin;
    info->scrollMax = scroll->nMax;
    info->scrollPage = int(scroll->nPage);
    info->scrollPos = scroll->nPos;
    const int extent = info->trackEnd - info->trackStart;
    if (extent / 2 < a)
        a = extent / 2;
    info->startArrowEnd = info->trackStart + a;
    info->endArrowStart = info->trackEnd - a;
    const int r = info->scrollMax - info->scrollMin + 1;
    // A page larger than the range shows all of it: the thumb fills the track.
    if (r > 0 && info->scrollPage > r)
        info->scrollPage = r;
    if (info->scrollPage && r != 0)
        info->thumbSize = std::max(::MulDiv(extent - 2 * a, info->scrollPage, r), info->thumbSize / 2);
    if (painter->m_nThumbSize)
        info->thumbSize = painter->m_nThumbSize;
    info->thumbRangeStart = info->trackStart + a;
    info->thumbRange = extent - 2 * a - info->thumbSize;
    const int p = info->scrollPage ? info->scrollPage : 1;
    if (r <= p)
        info->thumbStart = info->thumbRangeStart - 1;
    else
        info->thumbStart = info->thumbRangeStart + ::MulDiv(info->scrollPos - info->scrollMin, info->thumbRange, r - p);
    info->thumbEnd = info->thumbStart + info->thumbSize;
}

void CWVPScrollBase::CalculateScrollBarInfo()
{
    SCROLLINFO scroll = {sizeof scroll};
    GetScrollInfo(&scroll);
    CalcScrollBarInfo(GetScrollBarRect(), &m_info, &scroll);
}

int CWVPScrollBase::HitScrollBar(CPoint pt) const
{
    if (!m_info.barRect.PtInRect(pt))
        return WVP_HT_NONE;
    const int c = m_info.vertical ? pt.y : pt.x;
    if (c < m_info.startArrowEnd)
        return WVP_HT_LINEUP;
    if (m_info.extraPartStart > 0 && c > m_info.extraPartStart)
        return WVP_HT_EXTRA;
    if (c >= m_info.endArrowStart)
        return WVP_HT_LINEDOWN;
    if (c < m_info.thumbStart)
        return WVP_HT_PAGEUP;
    if (c < m_info.thumbEnd)
        return WVP_HT_THUMB;
    return WVP_HT_PAGEDOWN;
}

int CWVPScrollBase::PositionOfPixel(int pixel) const
{
    const WVP_SCROLLBAR_POSINFO& i = m_info;
    if (pixel < i.thumbRangeStart)
        return i.scrollMin;
    if (pixel < i.thumbRangeStart + i.thumbRange)
    {
        if (i.thumbRange == 0)
            return i.scrollMin - 1;
        return i.scrollMin + ::MulDiv(i.scrollMax - i.scrollMin - (i.scrollPage > 0 ? i.scrollPage - 1 : 0),
                                      pixel - i.thumbRangeStart, i.thumbRange);
    }
    return i.scrollPage ? i.scrollMax - i.scrollPage + 1 : i.scrollMax;
}

CRect CWVPScrollBase::CalcTrackDragRect() const
{
    const int thickness = m_info.crossEnd - m_info.crossStart;
    const int thumb = ::GetSystemMetrics(m_info.vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
    const int crossStart = m_info.crossStart - 8 * thickness, crossEnd = m_info.crossEnd + 8 * thickness;
    const int along0 = m_info.trackStart - 2 * thumb, along1 = m_info.trackEnd + 2 * thumb;
    return m_info.vertical ? CRect(crossStart, along0, crossEnd, along1) : CRect(along0, crossStart, along1, crossEnd);
}

int CWVPScrollBase::GetScrollBarStyle() const
{
    if (m_nExplicitStyle)
        return m_nExplicitStyle;
    CWVPScrollBase* self = const_cast<CWVPScrollBase*>(this);
    const int theme = self->GetScrollBarPaintManager()->GetPaintManager()->GetThemeType();
    if (theme == wvpThemeDefault)
        return 2;
    return theme == wvpThemeOffice2007 || theme == wvpThemeRibbon ? 5 : 3;
}

void CWVPScrollBase::TrackScrollBar(CWnd* pWnd, CPoint pt, BOOL jump)
{
    const HWND hwnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    if (!hwnd)
        return;
    CalculateScrollBarInfo();
    WVP_SCROLLBAR_POSINFO& i = m_info;
    CScrollTracking tracking(this, hwnd);
    const int part = HitScrollBar(pt);
    if (part == WVP_HT_NONE || part == WVP_HT_EXTRA)
        return;
    const int c = i.vertical ? pt.y : pt.x;
    auto along = [&i](int start, int end) {
        return i.vertical ? CRect(i.crossStart, start, i.crossEnd, end) : CRect(start, i.crossStart, end, i.crossEnd);
    };
    switch (part)
    {
    case WVP_HT_LINEUP:
        tracking.m_nCommand = SB_LINEUP;
        tracking.m_rcPart = along(i.trackStart, i.startArrowEnd);
        break;
    case WVP_HT_LINEDOWN:
        tracking.m_nCommand = SB_LINEDOWN;
        tracking.m_rcPart = along(i.endArrowStart, i.trackEnd);
        break;
    case WVP_HT_PAGEUP:
        tracking.m_nCommand = SB_PAGEUP;
        tracking.m_rcPart = along(i.startArrowEnd, i.thumbStart);
        break;
    case WVP_HT_PAGEDOWN:
        tracking.m_nCommand = SB_PAGEDOWN;
        tracking.m_rcPart = along(i.thumbEnd, i.endArrowStart);
        break;
    default:
        tracking.m_bThumb = TRUE;
        break;
    }
    if (jump && (part == WVP_HT_PAGEUP || part == WVP_HT_PAGEDOWN))
    {
        // The thumb jumps under the pointer and is dragged from its centre.
        tracking.m_bThumb = TRUE;
        tracking.m_nOffset = -i.thumbSize / 2;
    }
    else if (tracking.m_bThumb)
        tracking.m_nOffset = i.thumbStart - c;
    if (tracking.m_bThumb)
    {
        if (i.thumbSize >= i.endArrowStart - i.startArrowEnd)
            return;
        tracking.m_rcPart = CalcTrackDragRect();
        i.thumbDragOrigin = i.thumbStart;
        tracking.m_nLastPos = i.scrollPos;
        DoScroll(SB_THUMBTRACK, i.scrollPos);
    }

    i.hitPart = tracking.m_bThumb ? WVP_HT_THUMB : part;
    m_bTracking = TRUE;
    m_bTrackingInside = TRUE;
    if (tracking.m_bThumb)
    {
        // A jump moves the thumb at once.
        if (jump)
            tracking.OnThumbMouse(WM_MOUSEMOVE, pt);
        RedrawScrollBar();
    }
    else
    {
        tracking.Scroll();
        tracking.StartRepeat(FirstRepeatDelay());
        RedrawScrollBar();
    }
    tracking.Run();

    ::KillTimer(hwnd, WVP_TIMER_SCROLLREPEAT);
    m_nRepeatInterval = 0;
    m_bTracking = FALSE;
    m_bTrackingInside = FALSE;
    if (tracking.m_bThumb && ::IsWindow(hwnd))
    {
        DoScroll(SB_THUMBPOSITION, tracking.m_nLastPos);
        RedrawScrollBar();
    }
    if (::IsWindow(hwnd))
        DoScroll(SB_ENDSCROLL, 0);
    if (!::IsWindow(hwnd))
        return;
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ::ScreenToClient(hwnd, &cursor);
    CalculateScrollBarInfo();
    i.hitPart = HitScrollBar(cursor);
    RedrawScrollBar();
}
