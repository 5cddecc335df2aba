#include "uilib/markup/MarkupScrollBar.h"

#include <algorithm>
#include <windowsx.h>
extern "C"
{
#include <vsstyle.h>
}

#include "uilib/foundation/CaptureLoop.h"
#include "uilib/markup/MarkupDrawingContext.h"
#include "uilib/markup/MarkupLayoutMath.h"
#include "uilib/markup/MarkupScrollViewer.h"

namespace
{
const WCHAR kThemeClass[] = L"SCROLLBAR";
// Visual-style states of the track, thumb and gripper parts; an arrow's state adds its direction's
// base (up 0, down 4, left 8, right 12).
const int kStateNormal = 1;
const int kStateHot = 2;
const int kStatePressed = 3;
const int kStateDisabled = 4;
const int kArrowStatesPerDirection = 4;
// The thumb shows its gripper only when it is longer than this.
const int kGripperThumbLength = 13;
// How far off a dragged thumb may go before it snaps back: bar thicknesses across the bar, and
// system thumb sizes beyond each end of the track.
const int kDragSlackThicknesses = 8;
const int kDragSlackThumbs = 2;
// The repeat waits 4/5 of the double-click time after the press, then repeats every tenth of it.
const int kFirstRepeatNumerator = 4;
const int kFirstRepeatDenominator = 5;
const int kRepeatDivisor = 10;

// a * b / c rounded half away from zero (as MulDiv rounds), without overflowing the product.
int RoundedMulDiv(long long a, long long b, long long c)
{
    if (c == 0)
        return -1;
    long long product = a * b;
    const bool negative = (product < 0) != (c < 0);
    product = product < 0 ? -product : product;
    c = c < 0 ? -c : c;
    const long long quotient = (product + c / 2) / c;
    return MarkupSaturate(negative ? -quotient : quotient);
}
} // namespace

// One press of the mouse on a bar, for the length of its modal loop.
struct CWVPMarkupScrollBar::Tracking
{
    HWND host;
    int command; // the repeated command; -1 for the thumb
    BOOL pressed;
    BOOL dragging;
    BOOL ended;
    int part;
    RECT rect; // the part (arrows, page areas) or how far the thumb may go (drag)
    int startThumb;
    int startPosition;
    int grabOffset; // thumb start minus the cursor's coordinate
    int dragPosition;
};

class CWVPMarkupScrollBar::TrackLoop : public CWVPCaptureLoop
{
  public:
    TrackLoop(HWND host, CWVPMarkupScrollBar* bar) : CWVPCaptureLoop(host), m_pBar(bar)
    {
    }

  protected:
    BOOL OnMessage(MSG& msg) override
    {
        const BOOL handled = m_pBar->OnTrackMessage(msg);
        if (m_pBar->m_pTracking->ended)
            Stop();
        return handled;
    }

  private:
    CWVPMarkupScrollBar* m_pBar;
};

CWVPMarkupScrollBar::CWVPMarkupScrollBar()
    : m_nOrientation(CWVPMarkupScrollViewer::orientationVertical), m_layout(), m_range(), m_pTracking(nullptr),
      m_theme(TRUE)
{
    m_layout.vertical = TRUE;
}

CWVPMarkupScrollBar::~CWVPMarkupScrollBar()
{
    m_theme.CloseThemeData();
}

void CWVPMarkupScrollBar::SetOrientation(int orientation)
{
    m_nOrientation = orientation == CWVPMarkupScrollViewer::orientationHorizontal
                         ? CWVPMarkupScrollViewer::orientationHorizontal
                         : CWVPMarkupScrollViewer::orientationVertical;
}

void CWVPMarkupScrollBar::SetScrollInfo(const SCROLLINFO& range)
{
    if (range.nMax == m_range.nMax && range.nPage == m_range.nPage && range.nPos == m_range.nPos)
        return;
    m_range = range;
    m_bArrangeDirty = TRUE;
}

SIZE CWVPMarkupScrollBar::MeasureOverride(CWVPMarkupDrawingContext*, int, int)
{
    m_theme.OpenThemeData(nullptr, kThemeClass);
    if (m_nOrientation == CWVPMarkupScrollViewer::orientationVertical)
        return {::GetSystemMetrics(SM_CXVSCROLL), 0};
    return {0, ::GetSystemMetrics(SM_CYHSCROLL)};
}

SIZE CWVPMarkupScrollBar::ArrangeOverride(int width, int height)
{
    ComputeLayout(width, height);
    return {width, height};
}

void CWVPMarkupScrollBar::ComputeLayout(int width, int height)
{
    Layout& l = m_layout;
    const BOOL vertical = m_nOrientation == CWVPMarkupScrollViewer::orientationVertical;
    l.vertical = vertical;
    l.minimum = m_range.nMin;
    l.maximum = m_range.nMax;
    l.page = MarkupSaturate(m_range.nPage);
    l.position = m_range.nPos;
    ::SetRect(&l.bar, 0, 0, width, height);
    l.start = 0;
    l.end = vertical ? height : width;
    l.crossStart = 0;
    l.crossEnd = vertical ? width : height;
    const int arrow = (std::min)(::GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL), (l.end - l.start) / 2);
    l.firstArrowEnd = l.start + arrow;
    l.secondArrowStart = l.end - arrow;
    const int systemThumb = ::GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
    const long long rangeSize = (long long)l.maximum + 1 - l.minimum;
    l.thumbLength = systemThumb;
    if (l.page != 0 && rangeSize != 0)
        l.thumbLength = (std::max)(
            MarkupSaturate((long long)(l.secondArrowStart - l.firstArrowEnd) * l.page / rangeSize), systemThumb / 2);
    l.trackStart = l.start + arrow;
    l.freeTrack = l.end - (l.trackStart + l.thumbLength + arrow);
    const long long scrollable = rangeSize - l.page;
    if (rangeSize == (l.page ? l.page : 1) || scrollable == 0)
        l.thumbStart = l.trackStart;
    else
        l.thumbStart = l.trackStart + RoundedMulDiv((long long)l.position - l.minimum, l.freeTrack, scrollable);
    l.thumbEnd = l.thumbStart + l.thumbLength;
    l.popup = 0;
}

BOOL CWVPMarkupScrollBar::IsBarEnabled() const
{
    return (long long)m_range.nMax - m_range.nPage - m_range.nMin >= 0;
}

int CWVPMarkupScrollBar::HitTest(int x, int y) const
{
    const Layout& l = m_layout;
    const POINT point = {x, y};
    if (!IsBarEnabled() || !::PtInRect(&l.bar, point))
        return partNone;
    const int c = l.vertical ? y : x;
    if (c < l.firstArrowEnd)
        return partFirstArrow;
    if (l.popup > 0 && c > l.popup)
        return partPopup;
    if (c >= l.secondArrowStart)
        return partSecondArrow;
    if (c < l.thumbStart)
        return partPageBefore;
    if (c < l.thumbEnd)
        return partThumb;
    return partPageAfter;
}

int CWVPMarkupScrollBar::ThumbToPosition(int thumbStart) const
{
    const Layout& l = m_layout;
    if (thumbStart < l.trackStart)
        return l.minimum;
    const long long into = (long long)thumbStart - l.trackStart;
    if (into <= l.freeTrack)
    {
        if (l.freeTrack == 0)
            return MarkupSaturate((long long)l.minimum - 1);
        const long long span = (long long)l.maximum - l.minimum - (l.page ? l.page - 1 : 0);
        return MarkupSaturate(l.minimum + span * into / l.freeTrack);
    }
    return l.page ? MarkupSaturate((long long)l.maximum - l.page + 1) : l.maximum;
}

RECT CWVPMarkupScrollBar::PartRect(int from, int to) const
{
    const Layout& l = m_layout;
    RECT rect;
    if (l.vertical)
        ::SetRect(&rect, l.crossStart, from, l.crossEnd, to);
    else
        ::SetRect(&rect, from, l.crossStart, to, l.crossEnd);
    return rect;
}

int CWVPMarkupScrollBar::GetPressedPart() const
{
    return m_pTracking && (m_pTracking->pressed || m_pTracking->dragging) ? m_pTracking->part : partNone;
}

CWVPMarkupScrollViewer* CWVPMarkupScrollBar::GetViewer() const
{
    return MarkupCast<CWVPMarkupScrollViewer>(GetLogicalParent());
}

POINT CWVPMarkupScrollBar::HostOrigin() const
{
    POINT origin = {0, 0};
    for (const CWVPMarkupVisual* v = this; v; v = v->GetVisualParent())
    {
        origin.x += v->GetVisualOffset().x;
        origin.y += v->GetVisualOffset().y;
    }
    return origin;
}

void CWVPMarkupScrollBar::SendCommand(int command, int position)
{
    if (CWVPMarkupScrollViewer* viewer = GetViewer())
        viewer->Scroll(m_nOrientation, command, position);
}

// ---- Mouse ----------------------------------------------------------------------------------
void CWVPMarkupScrollBar::OnMouseMove(CWVPMarkupMouseEventArgs* args)
{
    const POINT point = args->GetPosition(this);
    const int part = HitTest(point.x, point.y);
    if (part != m_layout.hotPart)
    {
        m_layout.hotPart = part;
        InvalidateVisual();
    }
    args->m_bHandled = TRUE;
}

void CWVPMarkupScrollBar::OnMouseLeave(CWVPMarkupMouseEventArgs* args)
{
    if (m_layout.hotPart != partNone)
    {
        m_layout.hotPart = partNone;
        InvalidateVisual();
    }
    CWVPMarkupControl::OnMouseLeave(args);
}

void CWVPMarkupScrollBar::OnMouseLeftButtonDown(CWVPMarkupMouseEventArgs* args)
{
    args->m_bHandled = TRUE;
    if (!IsBarEnabled() || m_pTracking || !::IsWindow(args->m_hWnd))
        return;
    Track(args->m_hWnd, args->GetPosition(this));
}

void CWVPMarkupScrollBar::Track(HWND host, POINT point)
{
    const Layout& l = m_layout;
    Tracking t = {};
    t.host = host;
    t.command = -1;
    t.part = HitTest(point.x, point.y);
    const BOOL shift = ::GetKeyState(VK_SHIFT) < 0;
    if (shift && (t.part == partPageBefore || t.part == partPageAfter))
        t.part = partThumb;
    switch (t.part)
    {
    case partFirstArrow:
        t.command = SB_LINEUP;
        t.rect = PartRect(l.start, l.firstArrowEnd);
        break;
    case partSecondArrow:
        t.command = SB_LINEDOWN;
        t.rect = PartRect(l.secondArrowStart, l.end);
        break;
    case partPageBefore:
        t.command = SB_PAGEUP;
        t.rect = PartRect(l.firstArrowEnd, l.thumbStart);
        break;
    case partPageAfter:
        t.command = SB_PAGEDOWN;
        t.rect = PartRect(l.thumbEnd, l.secondArrowStart);
        break;
    case partThumb:
    {
        if (l.thumbLength >= l.secondArrowStart - l.firstArrowEnd)
            return;
        const int across = kDragSlackThicknesses * (l.crossEnd - l.crossStart);
        const int along = kDragSlackThumbs * ::GetSystemMetrics(l.vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
        t.rect = PartRect(l.trackStart - along, l.secondArrowStart + along);
        if (l.vertical)
            ::InflateRect(&t.rect, across, 0);
        else
            ::InflateRect(&t.rect, 0, across);
        t.dragging = TRUE;
        t.startThumb = l.thumbStart;
        t.startPosition = m_range.nPos;
        t.dragPosition = m_range.nPos;
        t.grabOffset = shift ? -l.thumbLength / 2 : l.thumbStart - (l.vertical ? point.y : point.x);
        break;
    }
    default:
        return;
    }

    // The bar (and through it the viewer's commands) must outlive whatever the loop dispatches.
    AddRef();
    m_pTracking = &t;
    if (t.part == partThumb)
        SendCommand(SB_THUMBTRACK, m_range.nPos);
    ::SetCapture(host);
    if (t.part == partThumb)
        OnDrag(WM_LBUTTONDOWN, MK_LBUTTON, point);
    else
        OnRepeat(WM_LBUTTONDOWN, point);
    if (!t.ended)
    {
        TrackLoop loop(host, this);
        loop.Run();
    }
    EndTracking();
    m_pTracking = nullptr;
    if (::IsWindow(host))
    {
        ::KillTimer(host, kRepeatTimer);
        if (::GetCapture() == host)
            ::ReleaseCapture();
        POINT cursor;
        ::GetCursorPos(&cursor);
        ::ScreenToClient(host, &cursor);
        const POINT origin = HostOrigin();
        m_layout.hotPart = HitTest(cursor.x - origin.x, cursor.y - origin.y);
    }
    InvalidateVisual();
    Release();
}

BOOL CWVPMarkupScrollBar::OnTrackMessage(MSG& msg)
{
    Tracking& t = *m_pTracking;
    switch (msg.message)
    {
    case WM_TIMER:
    {
        if (msg.wParam != kRepeatTimer || msg.hwnd != t.host)
            return FALSE;
        if (t.part != partThumb)
        {
            POINT cursor;
            ::GetCursorPos(&cursor);
            ::ScreenToClient(t.host, &cursor);
            const POINT origin = HostOrigin();
            OnRepeat(WM_TIMER, {cursor.x - origin.x, cursor.y - origin.y});
        }
        break;
    }
    case WM_CANCELMODE:
    case WM_RBUTTONDOWN:
        EndTracking();
        break;
    case WM_KEYDOWN:
        if (msg.wParam != VK_ESCAPE)
            return FALSE;
        EndTracking();
        break;
    default:
    {
        if (msg.message < WM_MOUSEFIRST || msg.message > WM_MOUSEWHEEL)
            return FALSE;
        POINT point = {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
        if (msg.message != WM_MOUSEWHEEL)
            ::ClientToScreen(msg.hwnd, &point);
        ::ScreenToClient(t.host, &point);
        const POINT origin = HostOrigin();
        point.x -= origin.x;
        point.y -= origin.y;
        if (t.part == partThumb)
            OnDrag(msg.message, msg.wParam, point);
        else
            OnRepeat(msg.message, point);
        break;
    }
    }
    // What the bar invalidated shows before the next message is taken.
    if (::IsWindow(t.host))
        ::UpdateWindow(t.host);
    return TRUE;
}

void CWVPMarkupScrollBar::OnRepeat(UINT message, POINT point)
{
    Tracking& t = *m_pTracking;
    const Layout& l = m_layout;
    // A page area ends at the thumb, wherever the repeat has moved it.
    if (t.part == partPageBefore)
        t.rect = PartRect(l.firstArrowEnd, l.thumbStart);
    else if (t.part == partPageAfter)
        t.rect = PartRect(l.thumbEnd, l.secondArrowStart);
    const BOOL inside = ::PtInRect(&t.rect, point);
    const BOOL wasInside = t.pressed;
    if (inside != wasInside)
    {
        t.pressed = inside;
        InvalidateVisual();
    }
    const UINT doubleClick = ::GetDoubleClickTime();
    switch (message)
    {
    case WM_LBUTTONUP:
        EndTracking();
        break;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
        if (inside && !wasInside)
        {
            const UINT delay = message == WM_LBUTTONDOWN
                                   ? doubleClick * kFirstRepeatNumerator / kFirstRepeatDenominator
                                   : doubleClick / kRepeatDivisor;
            ::SetTimer(t.host, kRepeatTimer, delay, nullptr);
            SendCommand(t.command, 0);
        }
        break;
    case WM_TIMER:
        if (inside)
        {
            ::SetTimer(t.host, kRepeatTimer, doubleClick / kRepeatDivisor, nullptr);
            SendCommand(t.command, 0);
        }
        break;
    default:
        break;
    }
}

void CWVPMarkupScrollBar::OnDrag(UINT message, WPARAM keys, POINT point)
{
    Tracking& t = *m_pTracking;
    const Layout& l = m_layout;
    if (message == WM_LBUTTONUP || (message == WM_MOUSEMOVE && !(keys & MK_LBUTTON)))
    {
        EndTracking();
        return;
    }
    if (message != WM_MOUSEMOVE && message != WM_LBUTTONDOWN)
        return;
    int thumbStart = t.startThumb;
    int position = t.startPosition;
    if (::PtInRect(&t.rect, point))
    {
        const long long wanted = (long long)(l.vertical ? point.y : point.x) + t.grabOffset;
        const long long last = (long long)l.trackStart + (std::max)(l.freeTrack, 0);
        thumbStart = MarkupSaturate((std::max)((long long)l.trackStart, (std::min)(wanted, last)));
        position = ThumbToPosition(thumbStart);
    }
    t.dragPosition = position;
    if (position != m_range.nPos)
        SendCommand(SB_THUMBTRACK, position);
    // The viewer's arrangement put the thumb where the position says; while dragging it follows
    // the mouse instead.
    m_layout.thumbStart = thumbStart;
    m_layout.thumbEnd = thumbStart + m_layout.thumbLength;
    InvalidateVisual();
}

void CWVPMarkupScrollBar::EndTracking()
{
    Tracking& t = *m_pTracking;
    if (t.ended)
        return;
    t.ended = TRUE;
    const BOOL dragging = t.dragging;
    t.pressed = FALSE;
    t.dragging = FALSE;
    if (dragging)
        SendCommand(SB_THUMBPOSITION, t.dragPosition);
    else if (::IsWindow(t.host))
        ::KillTimer(t.host, kRepeatTimer);
    InvalidateVisual();
    SendCommand(SB_ENDSCROLL, 0);
}

// ---- Drawing --------------------------------------------------------------------------------
void CWVPMarkupScrollBar::OnRender(CWVPMarkupDrawingContext* dc)
{
    const Layout& l = m_layout;
    if (l.crossEnd <= l.crossStart || !dc->GetDC())
        return;
    const int pressed = GetPressedPart();
    const int hot = pressed != partNone ? partNone : l.hotPart;
    if (m_theme.IsThemeUsable())
        DrawThemed(dc->GetDC(), pressed, hot);
    else
        DrawClassic(dc->GetDC(), pressed);
}

BOOL CWVPMarkupScrollBar::ShowsThumb() const
{
    return IsBarEnabled() && m_layout.freeTrack >= 0 && m_layout.thumbLength > 0;
}

void CWVPMarkupScrollBar::DrawThemed(HDC dc, int pressed, int hot)
{
    const Layout& l = m_layout;
    const BOOL enabled = IsBarEnabled();
    auto state = [&](int part) {
        return !enabled ? kStateDisabled : part == pressed ? kStatePressed : part == hot ? kStateHot : kStateNormal;
    };
    const int firstBase = (l.vertical ? ABS_UPNORMAL : ABS_LEFTNORMAL) - kStateNormal;
    const int secondBase = firstBase + kArrowStatesPerDirection;
    RECT first = PartRect(l.start, l.firstArrowEnd), second = PartRect(l.secondArrowStart, l.end);
    m_theme.DrawThemeBackground(dc, SBP_ARROWBTN, firstBase + state(partFirstArrow), &first, nullptr);
    m_theme.DrawThemeBackground(dc, SBP_ARROWBTN, secondBase + state(partSecondArrow), &second, nullptr);

    const BOOL thumb = ShowsThumb();
    RECT before = PartRect(l.firstArrowEnd, thumb ? l.thumbStart : l.secondArrowStart);
    RECT after = PartRect(l.thumbEnd, l.secondArrowStart);
    if (!::IsRectEmpty(&before))
        m_theme.DrawThemeBackground(dc, l.vertical ? SBP_UPPERTRACKVERT : SBP_UPPERTRACKHORZ, state(partPageBefore),
                                    &before, nullptr);
    if (!thumb)
        return;
    if (!::IsRectEmpty(&after))
        m_theme.DrawThemeBackground(dc, l.vertical ? SBP_LOWERTRACKVERT : SBP_LOWERTRACKHORZ, state(partPageAfter),
                                    &after, nullptr);
    RECT box = PartRect(l.thumbStart, l.thumbEnd);
    m_theme.DrawThemeBackground(dc, l.vertical ? SBP_THUMBBTNVERT : SBP_THUMBBTNHORZ, state(partThumb), &box, nullptr);
    if (l.thumbLength > kGripperThumbLength)
        m_theme.DrawThemeBackground(dc, l.vertical ? SBP_GRIPPERVERT : SBP_GRIPPERHORZ, state(partThumb), &box,
                                    nullptr);
}

void CWVPMarkupScrollBar::DrawClassic(HDC dc, int pressed)
{
    const Layout& l = m_layout;
    const UINT inactive = IsBarEnabled() ? 0 : DFCS_INACTIVE;
    RECT first = PartRect(l.start, l.firstArrowEnd), second = PartRect(l.secondArrowStart, l.end);
    ::DrawFrameControl(dc, &first, DFC_SCROLL,
                       (l.vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | inactive |
                           (pressed == partFirstArrow ? DFCS_PUSHED : 0));
    ::DrawFrameControl(dc, &second, DFC_SCROLL,
                       (l.vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | inactive |
                           (pressed == partSecondArrow ? DFCS_PUSHED : 0));
    RECT track = PartRect(l.firstArrowEnd, l.secondArrowStart);
    if (::IsRectEmpty(&track))
        return;
    // The desktop's WM_CTLCOLORSCROLLBAR brush is not there to ask on every system: the system
    // colour's brush paints the track, with the colours a pattern brush would take.
    const COLORREF oldBack = ::SetBkColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    const COLORREF oldText = ::SetTextColor(dc, ::GetSysColor(COLOR_BTNFACE));
    ::FillRect(dc, &track, ::GetSysColorBrush(COLOR_SCROLLBAR));
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
    if (pressed == partPageBefore || pressed == partPageAfter)
    {
        RECT page = pressed == partPageBefore ? PartRect(l.firstArrowEnd, l.thumbStart)
                                              : PartRect(l.thumbEnd, l.secondArrowStart);
        ::InvertRect(dc, &page);
    }
    if (!ShowsThumb())
        return;
    RECT thumb = PartRect(l.thumbStart, l.thumbEnd);
    if (::IsRectEmpty(&thumb))
        return;
    ::FillRect(dc, &thumb, ::GetSysColorBrush(COLOR_BTNFACE));
    ::DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT | BF_ADJUST);
}
