// A held scroll-bar arrow repeats its command, following the real pointer: the pointer is put on
// the arrow (in a Wine virtual desktop of the test's own, tools/wineprefix.sh) and left to settle
// there, the press is raised on the bar, and a script run by a thread timer inside the bar's loop
// moves the pointer off and back and finally releases. The repeat timer's ticks are counted as the
// loop takes them.
#include "ScrollFixture.h"

#include <algorithm>

namespace
{
using markuptest::ScrollHost;
typedef CWVPMarkupScrollViewer Viewer;
typedef CWVPMarkupScrollBar Bar;

// A step that waits longer than this gives up (and releases) instead of hanging the suite.
const DWORD kWaitLimit = 20000;
// Timers may come due this much before their time as GetTickCount reads it.
const DWORD kTickSlack = 16;
// The pointer counts as settled once no mouse input came for this long after a synchronisation.
const DWORD kQuietTime = 100;

HWND g_host;
int g_repeatTicks;

bool PointerAt(HWND host, POINT client)
{
    POINT screen = client, cursor;
    ::ClientToScreen(host, &screen);
    ::GetCursorPos(&cursor);
    return cursor.x == screen.x && cursor.y == screen.y;
}

// Puts the pointer on a host point and waits until it stays there. Wine moves the X server's
// pointer too, and the desktop's thread may hand on the motion of an earlier place afterwards,
// which puts the pointer back there: the desktop is synchronised, the host's mouse messages are
// taken away, and the pointer is moved again until it is at the point with no mouse input coming.
bool SettlePointer(HWND host, POINT client)
{
    POINT screen = client;
    ::ClientToScreen(host, &screen);
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < kWaitLimit)
    {
        if (!PointerAt(host, client))
            ::SetCursorPos(screen.x, screen.y);
        DWORD_PTR ignored;
        ::SendMessageTimeoutW(::GetDesktopWindow(), WM_NULL, 0, 0, SMTO_NORMAL, kWaitLimit, &ignored);
        MSG msg;
        while (::PeekMessageW(&msg, host, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE))
        {
        }
        if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, kQuietTime, QS_MOUSE) == WAIT_TIMEOUT &&
            PointerAt(host, client))
            return true;
    }
    return false;
}

LRESULT CALLBACK CountRepeatTicks(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_TIMER && msg->hwnd == g_host &&
        msg->wParam == Bar::kRepeatTimer)
        ++g_repeatTicks;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// The script: hold until the press and four repeats scrolled, move off and hold while the repeat
// timer ticks three times (once the bar shows unpressed), move back on until three more scrolls, release.
// A late motion of an earlier place can still take the pointer away from where a phase wants it:
// the pointer is moved there again, and off the arrow the count starts afresh.
struct Script
{
    ScrollHost* host;
    POINT on, off; // host client points
    int phase = 0;
    DWORD phaseStart = 0;
    size_t scrollsWhenOff = 0, scrollsWhileOff = 0;
    int ticksWhenOff = 0, ticksSettled = 0;
    size_t scrollsSettled = 0;
    int pressedWhileOff = -1, pressedWhenBack = -1;
    int strayMoves = 0;
    int timedOutIn = -1; // the phase that waited too long

    void MoveTo(POINT client)
    {
        POINT screen = client;
        ::ClientToScreen(host->hwnd, &screen);
        ::SetCursorPos(screen.x, screen.y);
        host->Post(WM_MOUSEMOVE, client);
    }
    void Next()
    {
        ++phase;
        phaseStart = ::GetTickCount();
    }
    void Step()
    {
        const size_t scrolls = host->context->redraws.size();
        if (phase < 4 && ::GetTickCount() - phaseStart > kWaitLimit)
        {
            timedOutIn = phase;
            host->Post(WM_LBUTTONUP, on, 0);
            phase = 4;
            return;
        }
        if (phase < 4 && !PointerAt(host->hwnd, phase == 1 || phase == 2 ? off : on))
        {
            ++strayMoves;
            MoveTo(phase == 1 || phase == 2 ? off : on);
            if (phase == 2)
                phase = 1;
            ticksWhenOff = g_repeatTicks;
            return;
        }
        switch (phase)
        {
        case 0:
            if (scrolls >= 5)
            {
                scrollsWhenOff = scrolls;
                ticksWhenOff = g_repeatTicks;
                MoveTo(off);
                Next();
            }
            break;
        case 1:
            // A motion of the pointer's earlier place may still come in after the move: the count
            // starts once the bar shows unpressed after a tick of its timer.
            if (host->Bar()->GetPressedPart() == Bar::partNone && g_repeatTicks > ticksWhenOff)
            {
                scrollsSettled = scrolls;
                ticksSettled = g_repeatTicks;
                Next();
            }
            break;
        case 2:
            if (g_repeatTicks >= ticksSettled + 3)
            {
                scrollsWhileOff = scrolls;
                pressedWhileOff = host->Bar()->GetPressedPart();
                MoveTo(on);
                Next();
            }
            break;
        case 3:
            if (pressedWhenBack < 0 && scrolls > scrollsWhileOff)
                pressedWhenBack = host->Bar()->GetPressedPart();
            if (scrolls >= scrollsWhileOff + 3)
            {
                host->Post(WM_LBUTTONUP, on, 0);
                Next();
            }
            break;
        default:
            break;
        }
    }
};

Script* g_script;

void CALLBACK RunScript(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_script)
        g_script->Step();
}
} // namespace

TEST(MarkupScrollBarRepeat, HeldArrowRepeatsWhileThePointerStaysOnIt)
{
    ScrollHost host(40, 40, 300, 300, ScrollHost::shown);
    g_host = host.hwnd;
    Viewer* viewer = host.Build(L"<ScrollViewer><Rectangle Height=\"3000\" Fill=\"Red\"/></ScrollViewer>", 120, 200);
    ASSERT_NE(nullptr, viewer);
    const Bar::Layout& l = host.Bar()->GetLayout();
    Script script;
    script.host = &host;
    script.on = host.OnBar(8, l.end - 3);
    script.off = host.OnBar(-40, l.end - 3);
    script.phaseStart = ::GetTickCount();
    ASSERT_TRUE(SettlePointer(host.hwnd, script.on));
    HHOOK hook = ::SetWindowsHookExW(WH_GETMESSAGE, CountRepeatTicks, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    g_repeatTicks = 0;
    g_script = &script;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, RunScript);
    const DWORD pressed = ::GetTickCount();
    host.Press(script.on);
    ::KillTimer(nullptr, timer);
    g_script = nullptr;
    ::UnhookWindowsHookEx(hook);

    ASSERT_EQ(-1, script.timedOutIn) << " scrolls " << host.context->redraws.size() << " ticks " << g_repeatTicks
                                     << " stray moves " << script.strayMoves;
    EXPECT_FALSE(host.Bar()->IsTracking());
    const std::vector<markuptest::ScrollContext::Redraw>& r = host.context->redraws;
    // Every scroll is one line further down.
    for (size_t i = 0; i < r.size(); ++i)
        EXPECT_EQ(int(i + 1) * Viewer::kLineStep, r[i].vertical) << i;
    // The press scrolls at once; the first repeat waits 4/5 of the double-click time, the later ones
    // a tenth of it.
    const DWORD doubleClick = ::GetDoubleClickTime();
    EXPECT_EQ(500u, doubleClick);
    ASSERT_GE(r.size(), 5u);
    EXPECT_GE(r[1].tick - pressed + kTickSlack, doubleClick * 4 / 5);
    DWORD shortest = ~0u;
    for (size_t i = 2; i < script.scrollsWhenOff; ++i)
    {
        EXPECT_GE(r[i].tick - r[i - 1].tick + kTickSlack, doubleClick / 10) << i;
        shortest = (std::min)(shortest, r[i].tick - r[i - 1].tick);
    }
    EXPECT_LT(shortest, doubleClick * 4 / 5) << "the later repeats come faster than the first";
    // Off the arrow: no scroll and no pressed look while the timer ticked on.
    EXPECT_EQ(script.scrollsSettled, script.scrollsWhileOff);
    EXPECT_EQ(Bar::partNone, script.pressedWhileOff);
    // Back on it: pressed again, and the repeat resumes.
    EXPECT_EQ(Bar::partSecondArrow, script.pressedWhenBack);
    EXPECT_GE(r.size(), script.scrollsWhileOff + 3);
    EXPECT_EQ(Bar::partNone, host.Bar()->GetPressedPart());
}
