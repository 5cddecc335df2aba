// The scroll viewer and its bars: layout with and without bars, the scroll commands with their
// steps and limits, the wheel, the bar's geometry and hit test, presses on arrows and page areas,
// the thumb drag with its snap-back, how a tracking loop ends (a WM_QUIT it meets is posted again),
// and what the bars draw in the classic look or, in the themed prefix, through the visual style.
#include "ScrollFixture.h"

#include <climits>

#include "../foundation/ThemeState.h"
#include "uilib/foundation/WinThemeWrapper.h"
extern "C"
{
#include <vsstyle.h>
}

namespace
{
using markuptest::ScrollHost;
typedef CWVPMarkupScrollViewer Viewer;
typedef CWVPMarkupScrollBar Bar;

const int kVertical = Viewer::orientationVertical;
const int kHorizontal = Viewer::orientationHorizontal;

// A viewer of 120 by 100 over a red column 300 pixels tall: a vertical range of 0..299, page 100.
const wchar_t kTall[] = L"<ScrollViewer><Rectangle Height=\"300\" Fill=\"Red\"/></ScrollViewer>";
const int kViewerWidth = 120;
const int kViewerHeight = 100;

int BarWidth()
{
    return ::GetSystemMetrics(SM_CXVSCROLL);
}

RECT Rect(int l, int t, int r, int b)
{
    return {l, t, r, b};
}

std::string RectText(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// The rectangle an element was last arranged in, relative to its visual parent.
std::string Placed(const CWVPMarkupUIElement* e)
{
    return e ? RectText(e->GetFinalRect()) : "none";
}
} // namespace

TEST(MarkupScrollViewer, BarsFollowTheirVisibility)
{
    const int bw = BarWidth(), bh = ::GetSystemMetrics(SM_CYHSCROLL);
    struct Case
    {
        LPCWSTR markup;
        bool vertical, horizontal;
        SIZE content; // where the content was arranged (it starts at the origin)
    } cases[] = {
        // Defaults: a vertical bar always, never a horizontal one; narrow content is stretched.
        {L"<ScrollViewer><Rectangle Width=\"40\" Height=\"30\"/></ScrollViewer>", true, false, {120 - bw, 100}},
        {L"<ScrollViewer VerticalScrollBarVisibility=\"Auto\"><Rectangle Width=\"40\" Height=\"30\"/></ScrollViewer>",
         false, false, {120, 100}},
        {L"<ScrollViewer VerticalScrollBarVisibility=\"Auto\"><Rectangle Height=\"300\"/></ScrollViewer>", true, false,
         {120 - bw, 300}},
        // Without a vertical bar the content gets the viewer's height.
        {L"<ScrollViewer VerticalScrollBarVisibility=\"Disabled\"><Rectangle Height=\"300\"/></ScrollViewer>", false,
         false, {120, 100}},
        {L"<ScrollViewer HorizontalScrollBarVisibility=\"Auto\"><Rectangle Width=\"400\" Height=\"50\"/>"
         L"</ScrollViewer>",
         true, true, {400, 100 - bh}},
        {L"<ScrollViewer HorizontalScrollBarVisibility=\"Auto\"><Rectangle Width=\"60\" Height=\"50\"/>"
         L"</ScrollViewer>",
         true, false, {120 - bw, 100}},
        {L"<ScrollViewer HorizontalScrollBarVisibility=\"Visible\" VerticalScrollBarVisibility=\"Disabled\">"
         L"<Rectangle Width=\"60\" Height=\"50\"/></ScrollViewer>",
         false, true, {120, 100 - bh}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(rwtest::Utf8(c.markup));
        ScrollHost host;
        Viewer* viewer = host.Build(c.markup, kViewerWidth, kViewerHeight);
        ASSERT_NE(nullptr, viewer);
        Bar* v = viewer->GetScrollBar(kVertical);
        Bar* h = viewer->GetScrollBar(kHorizontal);
        EXPECT_EQ(c.vertical, v != nullptr);
        EXPECT_EQ(c.horizontal, h != nullptr);
        EXPECT_EQ(c.vertical && c.horizontal, viewer->GetGripper() != nullptr);
        const int vw = 120 - (v ? bw : 0), vh = 100 - (h ? bh : 0);
        if (v)
        {
            EXPECT_EQ(RectText(Rect(vw, 0, 120, vh)), Placed(v));
            EXPECT_EQ(kVertical, v->GetOrientation());
            EXPECT_EQ(viewer, v->GetLogicalParent());
        }
        if (h)
        {
            EXPECT_EQ(RectText(Rect(0, vh, vw, 100)), Placed(h));
            EXPECT_EQ(kHorizontal, h->GetOrientation());
        }
        if (viewer->GetGripper())
        {
            EXPECT_EQ(RectText(Rect(vw, vh, 120, 100)), Placed(viewer->GetGripper()));
        }
        CWVPMarkupUIElement* content = static_cast<CWVPMarkupUIElement*>(viewer->GetVisualChild(0));
        EXPECT_EQ(RectText(Rect(0, 0, c.content.cx, c.content.cy)), Placed(content));
        // Visual children: the content, then the vertical bar, the horizontal bar and the gripper.
        const int count = 1 + (v ? 1 : 0) + (h ? 1 : 0) + (viewer->GetGripper() ? 1 : 0);
        ASSERT_EQ(count, viewer->GetVisualChildrenCount());
        int i = 1;
        CWVPMarkupVisual* expected[] = {v, h, viewer->GetGripper()};
        for (CWVPMarkupVisual* e : expected)
        {
            if (!e)
                continue;
            EXPECT_EQ(e, viewer->GetVisualChild(i++));
        }
        EXPECT_EQ(nullptr, viewer->GetVisualChild(i));
    }

    // A bar that is no longer wanted goes, and its offset with it.
    ScrollHost host;
    Viewer* viewer = host.Build(L"<ScrollViewer HorizontalScrollBarVisibility=\"Auto\">"
                                L"<Rectangle Width=\"400\" Height=\"300\"/></ScrollViewer>",
                                kViewerWidth, kViewerHeight);
    viewer->SetScrollOffset(kHorizontal, 50);
    EXPECT_EQ(50, viewer->GetScrollOffset(kHorizontal));
    CWVPMarkupUIElement* content = static_cast<CWVPMarkupUIElement*>(viewer->GetVisualChild(0));
    EXPECT_EQ(-50, content->GetFinalRect().left);
    content->SetValue(CWVPMarkupFrameworkElement::s_pWidthProperty, new CWVPMarkupInt(60));
    host.Layout(kViewerWidth, kViewerHeight);
    EXPECT_EQ(nullptr, viewer->GetScrollBar(kHorizontal));
    EXPECT_EQ(nullptr, viewer->GetGripper());
    EXPECT_EQ(0, viewer->GetScrollOffset(kHorizontal));
    EXPECT_EQ(0, content->GetFinalRect().left);
}

// Every command from a few starting offsets of a range whose limit is 200, and the wheel.
TEST(MarkupScrollViewer, CommandsStepAndStopAtTheEnds)
{
    ScrollHost host;
    Viewer* viewer = host.Build(kTall, kViewerWidth, kViewerHeight);
    ASSERT_NE(nullptr, viewer);
    EXPECT_EQ(200, viewer->GetScrollLimit(kVertical));
    EXPECT_EQ(0, viewer->GetScrollLimit(kHorizontal));
    struct Case
    {
        int from, command, thumb, expected;
    } cases[] = {
        {0, SB_LINEDOWN, 0, 16},        {190, SB_LINEDOWN, 0, 200},    {200, SB_LINEDOWN, 0, 200},
        {17, SB_LINEUP, 0, 1},          {16, SB_LINEUP, 0, 0},         {5, SB_LINEUP, 0, 0},
        {50, SB_PAGEDOWN, 0, 150},      {150, SB_PAGEDOWN, 0, 200},    {150, SB_PAGEUP, 0, 50},
        {50, SB_PAGEUP, 0, 0},          {80, SB_TOP, 0, 0},            {80, SB_BOTTOM, 0, 200},
        {0, SB_THUMBTRACK, 120, 120},   {0, SB_THUMBPOSITION, 999, 200}, {30, SB_THUMBPOSITION, -4, 0},
        {30, SB_ENDSCROLL, 77, 30},
    };
    for (const Case& c : cases)
    {
        viewer->SetScrollOffset(kVertical, c.from);
        ASSERT_EQ(c.from, viewer->GetScrollOffset(kVertical));
        viewer->Scroll(kVertical, c.command, c.thumb);
        EXPECT_EQ(c.expected, viewer->GetScrollOffset(kVertical)) << "from " << c.from << " command " << c.command;
        // The content and the bar follow at once.
        EXPECT_EQ(-c.expected, static_cast<CWVPMarkupUIElement*>(viewer->GetVisualChild(0))->GetFinalRect().top);
        EXPECT_EQ(c.expected, host.Bar()->GetScrollInfo().nPos);
    }

    struct Wheel
    {
        int from, delta, expected;
    } wheels[] = {{0, -WHEEL_DELTA, 48}, {48, WHEEL_DELTA, 0}, {20, WHEEL_DELTA, 0}, {190, -WHEEL_DELTA, 200}};
    for (const Wheel& w : wheels)
    {
        viewer->SetScrollOffset(kVertical, w.from);
        CWVPMarkupMouseWheelEventArgs args(nullptr, viewer, host.hwnd, 10, 10);
        args.m_nDelta = w.delta;
        viewer->OnMouseWheel(&args);
        EXPECT_TRUE(args.m_bHandled);
        EXPECT_EQ(w.expected, viewer->GetScrollOffset(kVertical)) << "wheel " << w.delta << " from " << w.from;
    }

    // Offsets beyond the extent are clamped; there is nothing to scroll across.
    const int set[][2] = {{-5, 0}, {INT_MIN, 0}, {1000, 200}, {INT_MAX, 200}, {120, 120}};
    for (const auto& s : set)
    {
        viewer->SetScrollOffset(kVertical, s[0]);
        EXPECT_EQ(s[1], viewer->GetScrollOffset(kVertical)) << s[0];
    }
    viewer->SetScrollOffset(kHorizontal, 30);
    EXPECT_EQ(0, viewer->GetScrollOffset(kHorizontal));
}

// Content smaller than the viewport does not scroll by any means, and its bar shows disabled.
TEST(MarkupScrollViewer, SmallContentDoesNotScroll)
{
    ScrollHost host;
    Viewer* viewer = host.Build(L"<ScrollViewer><Rectangle Height=\"50\"/></ScrollViewer>", kViewerWidth,
                                kViewerHeight);
    ASSERT_NE(nullptr, host.Bar());
    EXPECT_EQ(0, viewer->GetScrollLimit(kVertical));
    for (int command = SB_LINEUP; command <= SB_ENDSCROLL; ++command)
    {
        viewer->Scroll(kVertical, command, 30);
        EXPECT_EQ(0, viewer->GetScrollOffset(kVertical)) << command;
    }
    CWVPMarkupMouseWheelEventArgs wheel(nullptr, viewer, host.hwnd, 10, 10);
    wheel.m_nDelta = -WHEEL_DELTA;
    viewer->OnMouseWheel(&wheel);
    viewer->SetScrollOffset(kVertical, 10);
    EXPECT_EQ(0, viewer->GetScrollOffset(kVertical));

    Bar* bar = host.Bar();
    EXPECT_FALSE(bar->IsBarEnabled());
    EXPECT_EQ(Bar::partNone, bar->HitTest(5, 5));
    EXPECT_EQ(Bar::partNone, bar->HitTest(5, 95));
    CWVPMarkupMouseEventArgs move(CWVPMarkupInputElement::s_pMouseMoveEvent, bar, host.hwnd, host.OnBar(5, 95).x,
                                  host.OnBar(5, 95).y);
    bar->OnMouseMove(&move);
    EXPECT_EQ(Bar::partNone, bar->GetLayout().hotPart);
    host.Post(WM_APP, {0, 0});
    host.Press(host.OnBar(5, 95));
    EXPECT_EQ(0, viewer->GetScrollOffset(kVertical));
    EXPECT_NE(host.hwnd, ::GetCapture());
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, host.hwnd, WM_APP, WM_APP, PM_REMOVE)) << "a disabled bar ran a loop";
}

// Scrolled to the end, content that shrinks moves the offset back to its new end.
TEST(MarkupScrollViewer, OffsetFollowsShrinkingContent)
{
    ScrollHost host;
    Viewer* viewer = host.Build(kTall, kViewerWidth, kViewerHeight);
    viewer->Scroll(kVertical, SB_BOTTOM, 0);
    EXPECT_EQ(200, viewer->GetScrollOffset(kVertical));
    CWVPMarkupUIElement* content = static_cast<CWVPMarkupUIElement*>(viewer->GetVisualChild(0));
    content->SetValue(CWVPMarkupFrameworkElement::s_pHeightProperty, new CWVPMarkupInt(250));
    host.Layout(kViewerWidth, kViewerHeight);
    EXPECT_EQ(150, viewer->GetScrollOffset(kVertical));
    EXPECT_EQ(-150, content->GetFinalRect().top);
    EXPECT_EQ(150, viewer->GetScrollLimit(kVertical));
}

// Content of an unlimited width (as wide as the largest integer) beside a vertical bar: the
// viewer still asks for no more than it was given, and scrolls across the whole width.
TEST(MarkupScrollViewer, UnlimitedContentWidthDoesNotOverflow)
{
    ScrollHost host;
    Viewer* viewer = host.Build(L"<ScrollViewer HorizontalScrollBarVisibility=\"Visible\">"
                                L"<Rectangle Width=\"2147483647\" Height=\"2147483647\"/></ScrollViewer>",
                                kViewerWidth, kViewerHeight);
    ASSERT_NE(nullptr, viewer);
    EXPECT_EQ(kViewerWidth, viewer->GetDesiredSize().cx);
    EXPECT_EQ(kViewerHeight, viewer->GetDesiredSize().cy);
    const int viewWidth = kViewerWidth - BarWidth();
    EXPECT_EQ(INT_MAX - viewWidth, viewer->GetScrollLimit(kHorizontal));
    viewer->Scroll(kHorizontal, SB_BOTTOM, 0);
    EXPECT_EQ(INT_MAX - viewWidth, viewer->GetScrollOffset(kHorizontal));
    viewer->Scroll(kHorizontal, SB_LINEDOWN, 0);
    viewer->Scroll(kHorizontal, SB_PAGEDOWN, 0);
    EXPECT_EQ(INT_MAX - viewWidth, viewer->GetScrollOffset(kHorizontal));
    const RECT placed = static_cast<CWVPMarkupUIElement*>(viewer->GetVisualChild(0))->GetFinalRect();
    EXPECT_EQ(-(INT_MAX - viewWidth), placed.left);
    EXPECT_GT(placed.right, 0);
}

// Where the parts of a bar lie for a range and position, and which part a point hits.
TEST(MarkupScrollViewer, BarGeometryAndHitTest)
{
    ScrollHost host;
    Viewer* viewer = host.Build(kTall, kViewerWidth, kViewerHeight);
    Bar* bar = host.Bar();
    const int arrow = ::GetSystemMetrics(SM_CYVSCROLL);
    const int track = kViewerHeight - 2 * arrow;
    const int thumb = track * 100 / 300;
    const Bar::Layout& l = bar->GetLayout();
    EXPECT_TRUE(l.vertical);
    EXPECT_EQ(arrow, l.firstArrowEnd);
    EXPECT_EQ(kViewerHeight - arrow, l.secondArrowStart);
    EXPECT_EQ(thumb, l.thumbLength);
    EXPECT_EQ(track - thumb, l.freeTrack);
    EXPECT_EQ(arrow, l.thumbStart);
    viewer->SetScrollOffset(kVertical, 200);
    EXPECT_EQ(kViewerHeight - arrow, l.thumbEnd) << "at its limit the thumb meets the second arrow";
    viewer->SetScrollOffset(kVertical, 100);
    EXPECT_EQ(arrow + ::MulDiv(100, track - thumb, 200), l.thumbStart);

    const struct
    {
        int y, part;
    } hits[] = {{0, Bar::partFirstArrow},
                {arrow - 1, Bar::partFirstArrow},
                {arrow, Bar::partPageBefore},
                {l.thumbStart - 1, Bar::partPageBefore},
                {l.thumbStart, Bar::partThumb},
                {l.thumbEnd - 1, Bar::partThumb},
                {l.thumbEnd, Bar::partPageAfter},
                {kViewerHeight - arrow, Bar::partSecondArrow},
                {kViewerHeight - 1, Bar::partSecondArrow},
                {kViewerHeight, Bar::partNone},
                {-1, Bar::partNone}};
    for (const auto& h : hits)
        EXPECT_EQ(h.part, bar->HitTest(5, h.y)) << h.y;
    EXPECT_EQ(Bar::partNone, bar->HitTest(BarWidth(), 50));

    // Hot tracking follows the mouse over the parts and ends when it leaves.
    POINT at = host.OnBar(5, 2);
    CWVPMarkupMouseEventArgs move(CWVPMarkupInputElement::s_pMouseMoveEvent, bar, host.hwnd, at.x, at.y);
    bar->OnMouseMove(&move);
    EXPECT_TRUE(move.m_bHandled);
    EXPECT_EQ(Bar::partFirstArrow, l.hotPart);
    CWVPMarkupMouseEventArgs leave(CWVPMarkupInputElement::s_pMouseLeaveEvent, bar, host.hwnd, at.x, at.y);
    bar->OnMouseLeave(&leave);
    EXPECT_EQ(Bar::partNone, l.hotPart);
}

// Presses on the arrows and page areas: each scrolls once at the press (the repeat waits longer
// than the press lasts), the pressed part shows pressed while held, and the press ends on release.
TEST(MarkupScrollViewer, ArrowAndPagePressesScrollOnce)
{
    ScrollHost host;
    Viewer* viewer = host.Build(kTall, kViewerWidth, kViewerHeight);
    Bar* bar = host.Bar();
    const Bar::Layout& l = bar->GetLayout();
    int pressedSeen = -1;
    markuptest::HostHook() = [&](UINT) { pressedSeen = bar->GetPressedPart(); };
    struct Case
    {
        int y; // where on the bar, computed before the press
        int part, expected;
    };
    auto press = [&](int y, int part, int expected) {
        const POINT at = host.OnBar(8, y);
        pressedSeen = -1;
        host.Post(WM_APP, at);
        host.Post(WM_LBUTTONUP, at, 0);
        host.Press(at);
        EXPECT_EQ(part, pressedSeen) << y;
        EXPECT_EQ(expected, viewer->GetScrollOffset(kVertical)) << y;
        EXPECT_FALSE(bar->IsTracking());
        EXPECT_EQ(Bar::partNone, bar->GetPressedPart());
        EXPECT_NE(host.hwnd, ::GetCapture());
    };
    press(kViewerHeight - 2, Bar::partSecondArrow, 16);
    press(l.thumbEnd + 2, Bar::partPageAfter, 116);
    press(l.thumbStart - 2, Bar::partPageBefore, 16);
    press(2, Bar::partFirstArrow, 0);
    press(2, Bar::partFirstArrow, 0);
    // Moved off before the release: the part no longer shows pressed.
    const POINT on = host.OnBar(8, kViewerHeight - 2), off = host.OnBar(-40, kViewerHeight - 2);
    host.Post(WM_MOUSEMOVE, off);
    host.Post(WM_APP, off);
    host.Post(WM_LBUTTONUP, off, 0);
    host.Press(on);
    EXPECT_EQ(Bar::partNone, pressedSeen);
    EXPECT_EQ(16, viewer->GetScrollOffset(kVertical));
}

// The thumb follows the mouse while it stays near the bar, snaps back to where it started when the
// mouse goes far off, follows again when it comes back, and a release far off scrolls back.
TEST(MarkupScrollViewer, ThumbDragSnapsBackWhenFarOff)
{
    ScrollHost host;
    Viewer* viewer = host.Build(kTall, kViewerWidth, kViewerHeight);
    Bar* bar = host.Bar();
    const Bar::Layout& l = bar->GetLayout();
    const int start = l.thumbStart, length = l.thumbLength, freeTrack = l.freeTrack;
    const int grab = start + length / 2, moved = freeTrack / 2;
    const int expected = 200 * moved / freeTrack;
    struct Seen
    {
        int offset, thumb, pressed;
    };
    std::vector<Seen> seen;
    markuptest::HostHook() = [&](UINT) {
        seen.push_back({viewer->GetScrollOffset(kVertical), bar->GetLayout().thumbStart, bar->GetPressedPart()});
    };
    const int farAcross = 8 * BarWidth() + 20, farAlong = kViewerHeight + 2 * ::GetSystemMetrics(SM_CYVTHUMB) + 40;
    const POINT steps[] = {
        host.OnBar(8, grab + moved),        // follows
        host.OnBar(farAcross, grab + moved), // far to the right: back
        host.OnBar(-30, grab + moved),       // near again, left of the bar
        host.OnBar(8, grab + farAlong),      // far below: back
        host.OnBar(8, grab + 5000),          // further still
        host.OnBar(8, grab - moved + 1000),  // still far
        host.OnBar(8, grab + freeTrack + 30), // past the end of the track, but near: at the end
        host.OnBar(-farAcross, grab),        // far to the left
    };
    for (const POINT& p : steps)
    {
        host.Post(WM_MOUSEMOVE, p);
        host.Post(WM_APP, p);
    }
    host.Post(WM_LBUTTONUP, steps[7], 0);
    host.Press(host.OnBar(8, grab));
    const Seen wanted[] = {{expected, start + moved, Bar::partThumb}, {0, start, Bar::partThumb},
                           {expected, start + moved, Bar::partThumb}, {0, start, Bar::partThumb},
                           {0, start, Bar::partThumb},                {0, start, Bar::partThumb},
                           {200, start + freeTrack, Bar::partThumb},  {0, start, Bar::partThumb}};
    ASSERT_EQ(8u, seen.size());
    for (size_t i = 0; i < seen.size(); ++i)
    {
        EXPECT_EQ(wanted[i].offset, seen[i].offset) << i;
        EXPECT_EQ(wanted[i].thumb, seen[i].thumb) << i;
        EXPECT_EQ(wanted[i].pressed, seen[i].pressed) << i;
    }
    EXPECT_EQ(0, viewer->GetScrollOffset(kVertical));
    EXPECT_EQ(start, l.thumbStart);
    EXPECT_FALSE(bar->IsTracking());

    // Released near the bar, the dragged position stays; the thumb sits where that position puts it.
    seen.clear();
    host.Post(WM_MOUSEMOVE, host.OnBar(8, grab + moved));
    host.Post(WM_LBUTTONUP, host.OnBar(8, grab + moved), 0);
    host.Press(host.OnBar(8, grab));
    EXPECT_EQ(expected, viewer->GetScrollOffset(kVertical));
    EXPECT_EQ(start + ::MulDiv(expected, freeTrack, 200), l.thumbStart);
}

// A drag ends on the release, a right press, Escape, WM_CANCELMODE, a lost capture and WM_QUIT
// (posted again for the thread's own loop); the messages after the one that ended it stay queued,
// the capture is given back, and the dragged position stays.
TEST(MarkupScrollViewer, TrackingEndsAndPostsQuitAgain)
{
    const int kQuitCode = 7;
    struct Case
    {
        const char* name;
        UINT message;
        WPARAM wParam;
    } cases[] = {
        {"release", WM_LBUTTONUP, 0},       {"right press", WM_RBUTTONDOWN, MK_RBUTTON | MK_LBUTTON},
        {"escape", WM_KEYDOWN, VK_ESCAPE},  {"cancel mode", WM_CANCELMODE, 0},
        {"lost capture", WM_APP, 0},        {"quit", WM_QUIT, kQuitCode},
        {"button no longer down", WM_MOUSEMOVE, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScrollHost host;
        Viewer* viewer = host.Build(kTall, kViewerWidth, kViewerHeight);
        Bar* bar = host.Bar();
        const Bar::Layout& l = bar->GetLayout();
        const int grab = l.thumbStart + 2, moved = l.freeTrack / 2;
        markuptest::HostHook() = [&](UINT message) {
            if (message == WM_APP)
                ::ReleaseCapture();
        };
        const POINT to = host.OnBar(8, grab + moved);
        host.Post(WM_MOUSEMOVE, to);
        if (c.message == WM_QUIT)
            ::PostThreadMessageW(::GetCurrentThreadId(), WM_QUIT, c.wParam, 0);
        else
            ::PostMessageW(host.hwnd, c.message, c.wParam, MAKELPARAM(to.x, to.y));
        host.Post(WM_APP + 1, to);
        host.Press(host.OnBar(8, grab));
        EXPECT_FALSE(bar->IsTracking());
        EXPECT_EQ(Bar::partNone, bar->GetPressedPart());
        EXPECT_NE(host.hwnd, ::GetCapture());
        EXPECT_EQ(200 * moved / l.freeTrack, viewer->GetScrollOffset(kVertical));
        MSG msg;
        EXPECT_TRUE(::PeekMessageW(&msg, host.hwnd, WM_APP + 1, WM_APP + 1, PM_REMOVE)) << "the loop went on";
        const BOOL quit = ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        EXPECT_EQ(c.message == WM_QUIT, quit != FALSE);
        if (quit)
        {
            EXPECT_EQ((WPARAM)kQuitCode, msg.wParam);
        }
    }
}

// What the bars draw: the classic look (arrows as the system draws them, the track in the scroll
// bar colour, a raised button-face thumb) or, with a visual style, the style's parts; a bar that
// cannot scroll draws its arrows disabled and no thumb.
TEST(MarkupScrollViewer, BarsDrawInTheSystemLook)
{
    const bool themed = ExpectThemed();
    CWVPWinThemeWrapper theme(TRUE);
    EXPECT_EQ(themed, theme.OpenThemeData(nullptr, L"SCROLLBAR") != nullptr && theme.IsThemeUsable());
    ScrollHost host;
    Viewer* viewer = host.Build(L"<ScrollViewer HorizontalScrollBarVisibility=\"Auto\">"
                                L"<Rectangle Width=\"400\" Height=\"300\" Fill=\"Red\"/></ScrollViewer>",
                                kViewerWidth, kViewerHeight);
    ASSERT_NE(nullptr, viewer->GetGripper());
    DibCanvas canvas(kViewerWidth, kViewerHeight, RGB(0, 0, 255));
    host.Draw(canvas);
    const Bar* v = host.Bar(kVertical);
    const Bar* h = host.Bar(kHorizontal);
    const POINT vo = v->GetVisualOffset(), ho = h->GetVisualOffset();
    const Bar::Layout& vl = v->GetLayout();
    const Bar::Layout& hl = h->GetLayout();
    auto along = [](const Bar::Layout& l, POINT origin, int from, int to) {
        RECT r = l.vertical ? RECT{l.crossStart, from, l.crossEnd, to} : RECT{from, l.crossStart, to, l.crossEnd};
        ::OffsetRect(&r, origin.x, origin.y);
        return r;
    };
    const RECT up = along(vl, vo, 0, vl.firstArrowEnd), down = along(vl, vo, vl.secondArrowStart, vl.end);
    const RECT left = along(hl, ho, 0, hl.firstArrowEnd);
    const RECT thumb = along(vl, vo, vl.thumbStart, vl.thumbEnd), after = along(vl, vo, vl.thumbEnd, vl.secondArrowStart);
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(10, 10));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), canvas.At(kViewerWidth - 2, kViewerHeight - 2)) << "gripper";
    if (themed)
    {
        auto part = [&](const RECT& r, int p, int s) {
            return canvas.Shows([&](HDC dc) { theme.DrawThemeBackground(dc, p, s, &r, nullptr); });
        };
        EXPECT_TRUE(part(up, SBP_ARROWBTN, ABS_UPNORMAL));
        EXPECT_TRUE(part(down, SBP_ARROWBTN, ABS_DOWNNORMAL));
        EXPECT_TRUE(part(left, SBP_ARROWBTN, ABS_LEFTNORMAL));
        EXPECT_TRUE(part(after, SBP_LOWERTRACKVERT, SCRBS_NORMAL));
        EXPECT_TRUE(canvas.Shows([&](HDC dc) {
            theme.DrawThemeBackground(dc, SBP_THUMBBTNVERT, SCRBS_NORMAL, &thumb, nullptr);
            theme.DrawThemeBackground(dc, SBP_GRIPPERVERT, SCRBS_NORMAL, &thumb, nullptr);
        }));
    }
    else
    {
        auto frame = [&](RECT r, UINT state) {
            return canvas.Shows([&](HDC dc) { ::DrawFrameControl(dc, &r, DFC_SCROLL, state); });
        };
        EXPECT_TRUE(frame(up, DFCS_SCROLLUP));
        EXPECT_TRUE(frame(down, DFCS_SCROLLDOWN));
        EXPECT_TRUE(frame(left, DFCS_SCROLLLEFT));
        EXPECT_EQ(::GetSysColor(COLOR_SCROLLBAR), canvas.At(after.left + 8, (after.top + after.bottom) / 2))
            << "the track is painted";
        EXPECT_TRUE(canvas.Shows([&](HDC dc) {
            RECT r = thumb;
            ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
            ::DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
        }));
    }

    // The pressed arrow while it is held.
    bool pressedShown = false;
    markuptest::HostHook() = [&](UINT) {
        DibCanvas held(kViewerWidth, kViewerHeight);
        host.Draw(held);
        RECT r = down;
        pressedShown = held.Shows([&](HDC dc) {
            if (themed)
                theme.DrawThemeBackground(dc, SBP_ARROWBTN, ABS_DOWNPRESSED, &r, nullptr);
            else
                ::DrawFrameControl(dc, &r, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_PUSHED);
        });
    };
    const POINT at = {(down.left + down.right) / 2, (down.top + down.bottom) / 2};
    host.Post(WM_APP, at);
    host.Post(WM_LBUTTONUP, at, 0);
    host.Press(at, kVertical);
    EXPECT_TRUE(pressedShown);

    // Nothing to scroll: disabled arrows and no thumb.
    ScrollHost tiny;
    tiny.Build(L"<ScrollViewer><Rectangle Height=\"50\" Fill=\"Red\"/></ScrollViewer>", kViewerWidth,
                kViewerHeight);
    DibCanvas disabled(kViewerWidth, kViewerHeight, RGB(0, 0, 255));
    tiny.Draw(disabled);
    const Bar::Layout& sl = tiny.Bar()->GetLayout();
    const POINT so = tiny.Bar()->GetVisualOffset();
    RECT sup = along(sl, so, 0, sl.firstArrowEnd), strack = along(sl, so, sl.firstArrowEnd, sl.secondArrowStart);
    if (themed)
    {
        EXPECT_TRUE(disabled.Shows([&](HDC dc) { theme.DrawThemeBackground(dc, SBP_ARROWBTN, ABS_UPDISABLED, &sup, nullptr); }));
        EXPECT_TRUE(disabled.Shows(
            [&](HDC dc) { theme.DrawThemeBackground(dc, SBP_UPPERTRACKVERT, SCRBS_DISABLED, &strack, nullptr); }));
    }
    else
    {
        EXPECT_TRUE(disabled.Shows([&](HDC dc) { ::DrawFrameControl(dc, &sup, DFC_SCROLL, DFCS_SCROLLUP | DFCS_INACTIVE); }));
        for (int y = strack.top; y < strack.bottom; ++y)
            EXPECT_EQ(::GetSysColor(COLOR_SCROLLBAR), disabled.At(strack.left + 8, y)) << y;
    }
}
