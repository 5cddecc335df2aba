// Skinned scroll bars driven by real input: SendInput presses, holds and drags inside a Wine
// virtual desktop of the test's own (tools/wineprefix.sh), so that the drag loops see the button
// go down and up as a user's would. What the screen shows is compared with the skin's parts drawn
// on their own.
#include "DibCanvas.h"
#include "RwTest.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinObjectScrollBar.h"

#include <functional>
#include <utility>
#include <vector>

namespace
{

const wchar_t kHostClass[] = L"RwSkinDragHost";
// A step that waits longer than this fails the test instead of hanging the suite.
const DWORD kWaitLimit = 20000;
// Parts and states of class SCROLLBAR.
const int kPartArrow = 1;
const int kPartThumbVert = 3;
const int kPartGripperVert = 9;
const int kStateDownPressed = 7;
const int kStatePressed = 3;
const int kGripperMinVert = 13;

// What the UI thread saw, written there and read by the input thread: the scroll codes the host
// received and the mouse messages its loops took from the queue.
struct Observed
{
    CRITICAL_SECTION lock;
    HANDLE changed = nullptr;
    std::vector<std::pair<int, int>> codes; // code, position
    std::vector<POINT> mouse;               // screen points of the mouse messages taken
    std::vector<UINT> messages;             // and their numbers
} g_seen;

LRESULT CALLBACK HostProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_VSCROLL)
    {
        int code = LOWORD(wParam), pos = short(HIWORD(wParam));
        ::EnterCriticalSection(&g_seen.lock);
        g_seen.codes.emplace_back(code, pos);
        ::LeaveCriticalSection(&g_seen.lock);
        ::SetEvent(g_seen.changed);
        // As an application does: the released thumb's position becomes the bar's.
        if (code == SB_THUMBPOSITION && lParam)
            ::SetScrollPos(reinterpret_cast<HWND>(lParam), SB_CTL, pos, TRUE);
        return 0;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    bool mouse = (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST) ||
                 (msg->message >= WM_NCMOUSEMOVE && msg->message <= WM_NCMBUTTONDBLCLK);
    if (code == HC_ACTION && wParam == PM_REMOVE && mouse)
    {
        ::EnterCriticalSection(&g_seen.lock);
        g_seen.mouse.push_back(msg->pt);
        g_seen.messages.push_back(msg->message);
        ::LeaveCriticalSection(&g_seen.lock);
        ::SetEvent(g_seen.changed);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Waits until the condition on what was seen holds; false after the wait limit.
bool WaitSeen(const std::function<bool(const Observed&)>& condition, DWORD limit = kWaitLimit)
{
    DWORD start = ::GetTickCount();
    for (;;)
    {
        ::EnterCriticalSection(&g_seen.lock);
        bool met = condition(g_seen);
        ::LeaveCriticalSection(&g_seen.lock);
        if (met)
            return true;
        DWORD waited = ::GetTickCount() - start;
        if (waited >= limit)
            return false;
        ::WaitForSingleObject(g_seen.changed, limit - waited);
    }
}

int CountCodes(const Observed& seen, int code)
{
    int n = 0;
    for (const auto& c : seen.codes)
        n += c.first == code;
    return n;
}

int LastPosition(int code)
{
    int pos = -1;
    ::EnterCriticalSection(&g_seen.lock);
    for (const auto& c : g_seen.codes)
        if (c.first == code)
            pos = c.second;
    ::LeaveCriticalSection(&g_seen.lock);
    return pos;
}

// The pointer's place as the script last set it: button events carry it, so that they land there
// whatever the X server's own pointer says.
POINT g_pointer = {};

void SendMouse(DWORD flags, POINT at = g_pointer)
{
    if (!(flags & MOUSEEVENTF_MOVE))
        flags |= MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    g_pointer = at;
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE)
    {
        // Wine maps x to (dx * width) >> 16: the smallest dx that lands exactly on the pixel.
        int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
        input.mi.dx = (at.x * 65536 + width - 1) / width;
        input.mi.dy = (at.y * 65536 + height - 1) / height;
    }
    ::SendInput(1, &input, sizeof input);
}

size_t MouseSeen()
{
    ::EnterCriticalSection(&g_seen.lock);
    size_t n = g_seen.mouse.size();
    ::LeaveCriticalSection(&g_seen.lock);
    return n;
}

bool LastMouseAt(POINT at)
{
    ::EnterCriticalSection(&g_seen.lock);
    bool there = !g_seen.mouse.empty() && g_seen.mouse.back().x == at.x && g_seen.mouse.back().y == at.y;
    ::LeaveCriticalSection(&g_seen.lock);
    return there;
}

bool CursorAt(POINT at)
{
    POINT cursor;
    ::GetCursorPos(&cursor);
    return cursor.x == at.x && cursor.y == at.y;
}

// Moves the pointer and waits until the window's thread has taken that move from its queue and
// handled it: the sent WM_NULL comes through only after the handling of every message taken before
// it returned. Wine moves the X server's pointer too, and the desktop's thread may still hand on a
// motion of an earlier move afterwards, even after this one: the desktop is synchronised as well,
// and the move is sent again while the last move taken or the pointer is elsewhere. `settled`
// receives the count of mouse messages whose handling the move waited for.
bool MoveTo(HWND hWnd, POINT at, size_t* settled = nullptr)
{
    const DWORD kRetry = 2000;
    DWORD start = ::GetTickCount();
    DWORD_PTR ignored;
    for (;;)
    {
        // A move to where the pointer is already makes no message.
        if (!CursorAt(at) || !LastMouseAt(at))
        {
            size_t from = MouseSeen();
            SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, at);
            WaitSeen(
                [at, from](const Observed& seen) {
                    for (size_t i = from; i < seen.mouse.size(); ++i)
                        if (seen.mouse[i].x == at.x && seen.mouse[i].y == at.y)
                            return true;
                    return false;
                },
                kRetry);
        }
        ::SendMessageTimeoutW(::GetDesktopWindow(), WM_NULL, 0, 0, SMTO_NORMAL, kWaitLimit, &ignored);
        size_t handled = MouseSeen();
        bool there = LastMouseAt(at);
        if (!::SendMessageTimeoutW(hWnd, WM_NULL, 0, 0, SMTO_NORMAL, kWaitLimit, &ignored))
            return false;
        if (there && CursorAt(at))
        {
            if (settled)
                *settled = handled;
            return true;
        }
        if (::GetTickCount() - start > kWaitLimit)
            return false;
    }
}

// Moves the pointer, then looks at the window. A late motion, or a move taken while it looked,
// makes it move and look again, so that what it saw is the window with the pointer at the point
// (the repeat timer reads the pointer's place rather than a message: a late motion shows there
// before the window takes its message).
bool ObserveAt(HWND hWnd, POINT at, const std::function<void()>& observe)
{
    for (int attempt = 0; attempt < 10; ++attempt)
    {
        size_t from = 0;
        if (!MoveTo(hWnd, at, &from))
            return false;
        observe();
        DWORD_PTR ignored;
        ::SendMessageTimeoutW(::GetDesktopWindow(), WM_NULL, 0, 0, SMTO_NORMAL, kWaitLimit, &ignored);
        if (!::SendMessageTimeoutW(hWnd, WM_NULL, 0, 0, SMTO_NORMAL, kWaitLimit, &ignored))
            return false;
        if (CursorAt(at) && MouseSeen() == from)
            return true;
    }
    return false;
}

// The window's pixels over a rectangle of its window DC (or client DC) as the screen shows them.
void Capture(HWND hWnd, bool client, const RECT& rc, DibCanvas& out)
{
    HDC dc = client ? ::GetDC(hWnd) : ::GetWindowDC(hWnd);
    ::BitBlt(out.dc(), 0, 0, rc.right - rc.left, rc.bottom - rc.top, dc, rc.left, rc.top, SRCCOPY);
    ::ReleaseDC(hWnd, dc);
}

// Draws skin parts, in order, into the rectangle.
std::function<void(HDC)> Parts(CWVPSkinManagerClass* scrollBar, const RECT& rc,
                               std::initializer_list<std::pair<int, int>> parts)
{
    std::vector<std::pair<int, int>> list(parts);
    return [scrollBar, rc, list](HDC dc) {
        for (const auto& part : list)
            scrollBar->DrawThemeBackground(dc, part.first, part.second, &rc);
    };
}

// One script of input, run on a thread of its own while the test's thread runs the window (and
// the drag loops inside it); the button is always released at the end.
struct Script
{
    std::function<void()> body;
    static DWORD WINAPI Run(LPVOID parameter)
    {
        Script* script = static_cast<Script*>(parameter);
        try
        {
            script->body();
        }
        catch (...)
        {
        }
        if (::GetAsyncKeyState(VK_LBUTTON) < 0)
            SendMouse(MOUSEEVENTF_LEFTUP);
        return 0;
    }
};

class SkinScrollBarDragTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ::InitializeCriticalSection(&g_seen.lock);
        g_seen.changed = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &HostProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kHostClass;
        ::RegisterClassW(&wc);
        manager.GetResourceFile()->m_hCallerModule = ::GetModuleHandleW(nullptr);
        ASSERT_TRUE(manager.LoadSkin(nullptr, L"NORMALBLUE_INI"));
        host = ::CreateWindowExW(0, kHostClass, L"Drag", WS_OVERLAPPED | WS_CAPTION | WS_VSCROLL | WS_VISIBLE, 40, 40,
                                 300, 320, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, host);
        hook = ::SetWindowsHookExW(WH_GETMESSAGE, &GetMessageHook, nullptr, ::GetCurrentThreadId());
        ASSERT_NE(nullptr, hook);
        ::SetForegroundWindow(host);
        DWORD start = ::GetTickCount();
        while (::GetForegroundWindow() != host && ::GetTickCount() - start < kWaitLimit)
        {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            Pump();
        }
        ASSERT_EQ(host, ::GetForegroundWindow());
        scrollBar = manager.GetSkinClass(L"SCROLLBAR");
        ASSERT_NE(nullptr, scrollBar);
    }
    void TearDown() override
    {
        if (hook)
            ::UnhookWindowsHookEx(hook);
        if (host)
            ::DestroyWindow(host);
        manager.LoadSkin(nullptr, nullptr);
        ::CloseHandle(g_seen.changed);
        ::DeleteCriticalSection(&g_seen.lock);
        if (HasFailure())
        {
            std::string taken;
            for (size_t i = 0; i < g_seen.messages.size(); ++i)
                taken += std::to_string(g_seen.messages[i]) + "@" + std::to_string(g_seen.mouse[i].x) + "," +
                         std::to_string(g_seen.mouse[i].y) + " ";
            WCHAR cls[64] = {};
            ::GetClassNameW(::GetForegroundWindow(), cls, 64);
            char narrow[64] = {};
            ::WideCharToMultiByte(CP_UTF8, 0, cls, -1, narrow, 64, nullptr, nullptr);
            POINT cursor;
            ::GetCursorPos(&cursor);
            ADD_FAILURE() << "fg class " << narrow << " under cursor " << ::WindowFromPoint(cursor) << " at "
                          << cursor.x << "," << cursor.y;
            for (const auto& c : g_seen.codes)
                taken += "(" + std::to_string(c.first) + "," + std::to_string(c.second) + ")";
            ADD_FAILURE() << "mouse messages taken: " << taken << " screen " << ::GetSystemMetrics(SM_CXSCREEN)
                          << " capture " << ::GetCapture() << " fg " << ::GetForegroundWindow() << " host " << host;
        }
        g_seen.codes.clear();
        g_seen.mouse.clear();
        g_seen.messages.clear();
    }
    static void Pump()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    // Runs the script against this thread's windows until it ends.
    void Play(Script& script)
    {
        Pump();
        HANDLE thread = ::CreateThread(nullptr, 0, &Script::Run, &script, 0, nullptr);
        ASSERT_NE(nullptr, thread);
        while (::MsgWaitForMultipleObjects(1, &thread, FALSE, kWaitLimit, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
            Pump();
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, 0)) << "the script did not end";
        ::WaitForSingleObject(thread, INFINITE);
        ::CloseHandle(thread);
        Pump();
    }
    POINT ScreenPoint(HWND hWnd, bool client, POINT pt)
    {
        if (client)
        {
            ::ClientToScreen(hWnd, &pt);
            return pt;
        }
        RECT rc;
        ::GetWindowRect(hWnd, &rc);
        return POINT{rc.left + pt.x, rc.top + pt.y};
    }

    CWVPSkinManager manager;
    HWND host = nullptr;
    HHOOK hook = nullptr;
    CWVPSkinManagerClass* scrollBar = nullptr;
};

TEST_F(SkinScrollBarDragTest, HoldingTheWindowsDownArrowRepeatsWhileThePointerStaysOnIt)
{
    SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
    ::SetScrollInfo(host, SB_VERT, &si, TRUE);
    ::UpdateWindow(host);
    auto* frame = static_cast<CWVPSkinObjectFrame*>(manager.Lookup(host));
    ASSERT_NE(nullptr, frame);
    const CWVPSkinObjectFrame::SCROLLBARPOSINFO* bar = frame->GetScrollBarPosInfo(1);
    ASSERT_TRUE(bar->fVisible);
    RECT arrow = {bar->rc.left, bar->pxDownArrow, bar->rc.right, bar->rc.bottom};
    int w = arrow.right - arrow.left, h = arrow.bottom - arrow.top;
    ASSERT_GT(w, 4);
    ASSERT_GT(h, 4);
    POINT onArrow = ScreenPoint(host, false, POINT{(arrow.left + arrow.right) / 2, (arrow.top + arrow.bottom) / 2});
    POINT offArrow = {onArrow.x - 100, onArrow.y};
    RECT local = {0, 0, w, h};

    DibCanvas held(w, h), left(w, h);
    bool steps[7] = {};
    int beforeReturn = 0;
    Script script{[&] {
        steps[0] = MoveTo(host, onArrow);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        // The press sends one, the first repeat follows after 4/5 of the double-click time and
        // the next ones every tenth of it.
        steps[1] = WaitSeen([](const Observed& seen) { return CountCodes(seen, SB_LINEDOWN) >= 3; });
        steps[2] = ObserveAt(host, onArrow, [&] { Capture(host, false, arrow, held); });
        steps[3] = ObserveAt(host, offArrow, [&] {
            Capture(host, false, arrow, left);
            ::EnterCriticalSection(&g_seen.lock);
            beforeReturn = CountCodes(g_seen, SB_LINEDOWN);
            ::LeaveCriticalSection(&g_seen.lock);
        });
        // Coming back sends one at once and repeats again.
        steps[4] = MoveTo(host, onArrow);
        steps[6] = WaitSeen(
            [beforeReturn](const Observed& seen) { return CountCodes(seen, SB_LINEDOWN) >= beforeReturn + 2; });
        SendMouse(MOUSEEVENTF_LEFTUP);
        steps[5] = WaitSeen([](const Observed& seen) { return CountCodes(seen, SB_ENDSCROLL) == 1; });
    }};
    Play(script);
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(steps[i]) << "step " << i;
    EXPECT_GE(beforeReturn, 3);

    EXPECT_TRUE(held.Shows(Parts(scrollBar, local, {{kPartArrow, kStateDownPressed}})))
        << "the held arrow shows pressed";
    EXPECT_FALSE(left.Shows(Parts(scrollBar, local, {{kPartArrow, kStateDownPressed}})))
        << "the arrow shows released while the pointer is away";
    ASSERT_FALSE(g_seen.codes.empty());
    EXPECT_EQ(SB_ENDSCROLL, g_seen.codes.back().first);
    for (size_t i = 0; i + 1 < g_seen.codes.size(); ++i)
        EXPECT_EQ(SB_LINEDOWN, g_seen.codes[i].first) << i;
    EXPECT_EQ(nullptr, frame->GetScrollBarTrackInfo());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(SkinScrollBarDragTest, TheControlsThumbFollowsADragAndSnapsBackFarToTheSide)
{
    const int barWidth = 17, barHeight = 200;
    HWND bar = ::CreateWindowExW(0, L"ScrollBar", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 20, 10, barWidth, barHeight,
                                 host, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, bar);
    auto* object = static_cast<CWVPSkinObjectScrollBar*>(manager.Lookup(bar));
    ASSERT_NE(nullptr, object);
    SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
    ::SetScrollInfo(bar, SB_CTL, &si, TRUE);
    ::UpdateWindow(host);

    CWVPSkinObjectFrame::SCROLLBARPOSINFO geometry = {};
    geometry.fVert = TRUE;
    object->SetupScrollBarInfo(&geometry, RECT{0, 0, barWidth, barHeight}, si);
    const int distance = 40;
    int startPixel = geometry.pxThumbStart;
    int movedPixel = startPixel + distance;
    ASSERT_LE(movedPixel, geometry.pxTrackStart + geometry.pxFreeTrack);
    int expectedPos = object->PosFromThumb(&geometry, movedPixel);
    ASSERT_GT(expectedPos, 0);
    int thumbLength = geometry.pxThumbBottom;
    ASSERT_GT(thumbLength, kGripperMinVert) << "the thumb draws its gripper";

    POINT grab = ScreenPoint(bar, true, POINT{barWidth / 2, startPixel + thumbLength / 2});
    POINT moved = {grab.x, grab.y + distance};
    POINT aside = {grab.x + 8 * barWidth + 30, moved.y};
    RECT whole = {0, 0, barWidth, barHeight};
    DibCanvas dragged(barWidth, barHeight), snapped(barWidth, barHeight);
    bool steps[6] = {};
    int trackPos = -1, trackedPos = -1, snappedPos = -1;
    Script script{[&] {
        steps[0] = MoveTo(host, grab);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        steps[1] = WaitSeen([](const Observed& seen) { return CountCodes(seen, SB_THUMBTRACK) >= 1; });
        steps[2] = ObserveAt(host, moved, [&] {
            trackedPos = LastPosition(SB_THUMBTRACK);
            Capture(bar, true, whole, dragged);
            SCROLLINFO query = {sizeof query, SIF_TRACKPOS};
            ::GetScrollInfo(bar, SB_CTL, &query);
            trackPos = query.nTrackPos;
        });
        steps[3] = ObserveAt(host, aside, [&] {
            snappedPos = LastPosition(SB_THUMBTRACK);
            Capture(bar, true, whole, snapped);
        });
        steps[4] = MoveTo(host, moved);
        SendMouse(MOUSEEVENTF_LEFTUP);
        steps[5] = WaitSeen([](const Observed& seen) { return CountCodes(seen, SB_ENDSCROLL) == 1; });
    }};
    Play(script);
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(steps[i]) << "step " << i;

    EXPECT_EQ(expectedPos, trackedPos);
    EXPECT_EQ(expectedPos, trackPos) << "SIF_TRACKPOS reports the dragged position";
    EXPECT_EQ(0, snappedPos) << "far to the side the thumb goes back to where the drag started";
    RECT movedThumb = {0, movedPixel, barWidth, movedPixel + thumbLength};
    RECT startThumb = {0, startPixel, barWidth, startPixel + thumbLength};
    auto pressedThumb = [this](const RECT& rc) {
        return Parts(scrollBar, rc, {{kPartThumbVert, kStatePressed}, {kPartGripperVert, kStatePressed}});
    };
    EXPECT_TRUE(dragged.Shows(pressedThumb(movedThumb)));
    EXPECT_FALSE(dragged.Shows(pressedThumb(startThumb)));
    EXPECT_TRUE(snapped.Shows(pressedThumb(startThumb)));
    EXPECT_EQ(expectedPos, LastPosition(SB_THUMBPOSITION)) << "the release sends where the thumb was let go";
    ASSERT_FALSE(g_seen.codes.empty());
    EXPECT_EQ(SB_ENDSCROLL, g_seen.codes.back().first);
    EXPECT_EQ(expectedPos, ::GetScrollPos(bar, SB_CTL));
    EXPECT_EQ(nullptr, object->GetScrollBarTrackInfo());
}

} // namespace
