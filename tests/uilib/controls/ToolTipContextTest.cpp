// The tooltip context driving the common-control tooltip for a window's tools. The pointer is the
// real one (SendInput inside a Wine virtual desktop of the test's own, tools/wineprefix.sh): the
// tooltip window reads the cursor itself before it shows a tip.
#include "RwTest.h"
#include "uilib/controls/ToolTipContext.h"
#include "uilib/foundation/ColorManager.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/foundation/ModuleHandle.h"

#include <cstdlib>

#include <functional>
#include <string>
#include <vector>

namespace
{

// A step that waits longer than this fails the test instead of hanging the suite.
const DWORD kWaitLimit = 15000;
// Delays given to the tooltip window: short to show, long before it hides on its own.
const int kInitialDelay = 50;
const int kAutoPopDelay = 30000;
const int kToolIdAlpha = 1;
// Tools of a markup context are named by their element: a pointer-sized id.
const char kBetaElement = 0;
const INT_PTR kToolIdBeta = reinterpret_cast<INT_PTR>(&kBetaElement);
const int kToolIdGamma = 3;
const int kHostWidth = 420;
const int kHostHeight = 200;
const int kAwayX = 900;
const int kAwayY = 700;

struct Tool
{
    RECT rect;
    INT_PTR id;
    const wchar_t* text;
    const wchar_t* title;
    const wchar_t* description;
};

std::string Narrow(const wchar_t* text)
{
    char buffer[512] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

bool IsRelayed(UINT message)
{
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           message == WM_MOUSELEAVE;
}

// A window whose tools are rectangles of its client area; it relays its mouse and key messages to
// the context, as the command bars do.
class ToolHost : public CWnd
{
  public:
    CWVPToolTipContext* context = nullptr;
    std::vector<Tool> tools;
    CWVPImageManager* images = nullptr; // where the tools' images come from
    POINT lastMove = {-1, -1};          // screen point of the last WM_MOUSEMOVE handled

    INT_PTR OnToolHitTest(CPoint point, TOOLINFOW* info) const override
    {
        for (const Tool& tool : tools)
            if (::PtInRect(&tool.rect, point))
            {
                CWVPToolTipContext::InitToolInfoEx(info, m_hWnd, tool.rect, tool.id, tool.text, tool.title,
                                                   tool.description, images);
                return tool.id;
            }
        return -1;
    }

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_MOUSEMOVE)
        {
            POINT point = {short(LOWORD(lParam)), short(HIWORD(lParam))};
            ::ClientToScreen(m_hWnd, &point);
            lastMove = point;
        }
        if (context && IsRelayed(message))
            context->RelayToolTipMessage(this, message, wParam, lParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A child over the host that hands its mouse messages to the host's context, and answers
// `transparent` when asked whether tooltips look through it.
class OverlayChild : public CWnd
{
  public:
    ToolHost* host = nullptr;
    LRESULT transparent = 1;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_WVP_TOOLTIPTRANSPARENT)
            return transparent;
        if (message == WM_MOUSEMOVE)
        {
            POINT point = {short(LOWORD(lParam)), short(HIWORD(lParam))};
            ::ClientToScreen(m_hWnd, &point);
            host->lastMove = point;
        }
        if (host && host->context && IsRelayed(message))
            host->context->RelayToolTipMessage(host, message, wParam, lParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// What the thread sent to the tooltip window: the tool messages in order, and the titles set.
std::vector<UINT> g_sent;
std::vector<std::string> g_titles;
std::vector<LPARAM> g_images;
HWND g_watched = nullptr;

LRESULT CALLBACK CallWndHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->hwnd == g_watched &&
        (call->message == TTM_ADDTOOLW || call->message == TTM_DELTOOLW || call->message == TTM_RELAYEVENT))
        g_sent.push_back(call->message);
    if (code == HC_ACTION && call->message == WM_WVP_TOOLTIPIMAGE)
        g_images.push_back(call->lParam);
    if (code == HC_ACTION && call->message == TTM_SETTITLEW)
        g_titles.push_back(call->lParam ? Narrow(reinterpret_cast<LPCWSTR>(call->lParam)) : "");
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Runs the thread's windows until the condition holds; false after the limit.
bool PumpUntil(const std::function<bool()>& condition, DWORD limit = kWaitLimit)
{
    DWORD start = ::GetTickCount();
    for (;;)
    {
        Pump();
        if (condition())
            return true;
        if (::GetTickCount() - start >= limit)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

void SendMouse(DWORD flags, POINT at)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    // Wine maps x to (dx * width) >> 16: the smallest dx that lands exactly on the pixel.
    int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = (at.x * 65536 + width - 1) / width;
    input.mi.dy = (at.y * 65536 + height - 1) / height;
    ::SendInput(1, &input, sizeof input);
}

void SendKey(WORD key)
{
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof input[0]);
}

// Lets the desktop's thread hand on every pointer motion it still holds.
void SyncDesktop()
{
    DWORD_PTR ignored;
    ::SendMessageTimeoutW(::GetDesktopWindow(), WM_NULL, 0, 0, SMTO_NORMAL, kWaitLimit, &ignored);
}

bool CursorAt(POINT at)
{
    POINT cursor;
    ::GetCursorPos(&cursor);
    return cursor.x == at.x && cursor.y == at.y;
}

class ToolTipContextTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        context.SetDelayTime(kInitialDelay, kInitialDelay, kAutoPopDelay);
        host.context = &context;
        host.tools = {{{20, 20, 120, 60}, kToolIdAlpha, L"Alpha tool", nullptr, nullptr},
                      {{200, 20, 300, 60}, kToolIdBeta, L"Beta tool", nullptr, nullptr}};
        ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW)), L"Tools",
                                  WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 100, 100, kHostWidth, kHostHeight, nullptr,
                                  nullptr));
        ::SetForegroundWindow(host.GetSafeHwnd());
        ASSERT_TRUE(PumpUntil([this] { return ::GetForegroundWindow() == host.GetSafeHwnd(); }));
        // The pointer starts away from the window, so that only the test's own moves reach it.
        POINT away = {kAwayX, kAwayY};
        SendMouse(0, away);
        SyncDesktop();
        ASSERT_TRUE(PumpUntil([away] { return CursorAt(away); }));
    }
    void TearDown() override
    {
        if (::GetAsyncKeyState(VK_LBUTTON) < 0)
            SendMouse(MOUSEEVENTF_LEFTUP, Screen(POINT{kHostWidth - 40, kHostHeight - 60}));
        if (hook)
            ::UnhookWindowsHookEx(hook);
        if (child.GetSafeHwnd())
            child.DestroyWindow();
        if (other.GetSafeHwnd())
            other.DestroyWindow();
        host.DestroyWindow();
        Pump();
    }

    POINT Screen(POINT client) const
    {
        ::ClientToScreen(host.GetSafeHwnd(), &client);
        return client;
    }
    // The centre of a tool, in screen coordinates, moved by (dx, dy).
    POINT ToolPoint(size_t index, int dx = 0, int dy = 0) const
    {
        const RECT& rc = host.tools[index].rect;
        return Screen(POINT{(rc.left + rc.right) / 2 + dx, (rc.top + rc.bottom) / 2 + dy});
    }
    POINT Outside() const
    {
        return Screen(POINT{kHostWidth - 40, kHostHeight - 60});
    }

    // Moves the real pointer there and waits until the window has handled the move. Wine moves the
    // X pointer too, and the desktop may still hand on a motion of an earlier move: the move is
    // sent again until the last move handled and the cursor agree.
    bool MoveTo(POINT at, DWORD extraFlags = 0)
    {
        DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < kWaitLimit)
        {
            SendMouse(extraFlags, at);
            extraFlags = 0;
            SyncDesktop();
            if (PumpUntil([&] { return CursorAt(at) && host.lastMove.x == at.x && host.lastMove.y == at.y; }, 2000))
                return true;
            // A move to where the pointer is already makes no message: step off and come back.
            if (CursorAt(at))
                SendMouse(0, POINT{at.x + 1, at.y});
        }
        return false;
    }

    HWND Tip() const
    {
        return context.GetToolTip() ? context.GetToolTip()->GetSafeHwnd() : nullptr;
    }
    std::string TipText() const
    {
        WCHAR text[256] = {};
        if (Tip())
            ::SendMessageW(Tip(), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
        return Narrow(text);
    }
    int TipHeight() const
    {
        RECT rc = {};
        ::GetWindowRect(Tip(), &rc);
        return rc.bottom - rc.top;
    }
    bool TipShows(const std::string& text) const
    {
        return Tip() && ::IsWindowVisible(Tip()) && TipText() == text;
    }
    bool WaitTip(const std::string& text)
    {
        return PumpUntil([&] { return TipShows(text); });
    }
    // Rests the pointer there until the tip shows the text: a late motion that took the pointer
    // elsewhere is undone by moving back.
    bool Hover(POINT at, const std::string& text)
    {
        DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < kWaitLimit)
        {
            if (!(CursorAt(at) && host.lastMove.x == at.x && host.lastMove.y == at.y) && !MoveTo(at))
                return false;
            if (PumpUntil([&] { return TipShows(text) || !CursorAt(at); }, 2000) && TipShows(text) && CursorAt(at))
                return true;
        }
        return false;
    }
    bool WaitNoTip()
    {
        return PumpUntil([&] { return !Tip() || !::IsWindowVisible(Tip()); });
    }
    // The tools the tooltip window knows, by id.
    std::vector<UINT_PTR> RegisteredTools(std::vector<RECT>* rects = nullptr) const
    {
        std::vector<UINT_PTR> ids;
        int count = Tip() ? (int)::SendMessageW(Tip(), TTM_GETTOOLCOUNT, 0, 0) : 0;
        for (int i = 0; i < count; ++i)
        {
            TOOLINFOW info = {};
            info.cbSize = WVP_TOOLINFO_SIZE;
            if (::SendMessageW(Tip(), TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&info)))
            {
                ids.push_back(info.uId);
                if (rects)
                    rects->push_back(info.rect);
            }
        }
        return ids;
    }
    // Hands the context a mouse move at a client point of the host, as if the host received it.
    void Filter(UINT message, POINT client)
    {
        MSG msg = {host.GetSafeHwnd(), message, 0, MAKELPARAM(client.x, client.y)};
        msg.pt = client;
        ::ClientToScreen(host.GetSafeHwnd(), &msg.pt);
        context.FilterToolTipMessage(&host, &msg);
    }
    void WatchToolMessages()
    {
        g_sent.clear();
        g_titles.clear();
        g_images.clear();
        g_watched = Tip();
        hook = ::SetWindowsHookExW(WH_CALLWNDPROC, &CallWndHook, nullptr, ::GetCurrentThreadId());
        ASSERT_NE(nullptr, hook);
    }

    CWVPToolTipContext context;
    ToolHost host;
    OverlayChild child;
    CWnd other;
    HHOOK hook = nullptr;
};

TEST_F(ToolTipContextTest, TheTipShowsTheToolsTextBelowThePointerAndFollowsTheTool)
{
    ASSERT_TRUE(MoveTo(Outside()));
    POINT overAlpha = ToolPoint(0);
    ASSERT_TRUE(Hover(overAlpha, "Alpha tool")) << "shown: '" << TipText() << "'";

    HWND tip = Tip();
    EXPECT_EQ(host.GetSafeHwnd(), ::GetWindow(tip, GW_OWNER)) << "the tip belongs to the host's top-level window";
    DWORD style = ::GetWindowLongW(tip, GWL_STYLE);
    EXPECT_EQ(DWORD(TTS_ALWAYSTIP | TTS_NOPREFIX), style & (TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON));
    LOGFONTW ours = {}, tips = {};
    ::GetObjectW(static_cast<HFONT>(*context.GetFont()), sizeof ours, &ours);
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(tip, WM_GETFONT, 0, 0)), sizeof tips, &tips);
    EXPECT_EQ(ours.lfHeight, tips.lfHeight) << "the tip takes the context's font";
    EXPECT_EQ(ours.lfWeight, tips.lfWeight);
    EXPECT_EQ(0, ::lstrcmpW(ours.lfFaceName, tips.lfFaceName));
    RECT rc;
    ::GetWindowRect(tip, &rc);
    EXPECT_NEAR(overAlpha.x, rc.left, 2) << "the tip starts at the pointer";
    EXPECT_GT(rc.top, overAlpha.y) << "below it";
    EXPECT_LT(rc.top, overAlpha.y + 48);
    EXPECT_GT(rc.right - rc.left, 20);
    EXPECT_EQ(std::vector<UINT_PTR>{UINT_PTR(kToolIdAlpha)}, RegisteredTools());

    // Another tool replaces the first: the window knows one tool at a time, by its full id.
    ASSERT_TRUE(Hover(ToolPoint(1), "Beta tool")) << "shown: '" << TipText() << "'";
    EXPECT_EQ(std::vector<UINT_PTR>{UINT_PTR(kToolIdBeta)}, RegisteredTools());

    ASSERT_TRUE(MoveTo(Outside()));
    EXPECT_TRUE(WaitNoTip()) << "away from every tool the tip goes";
}

// A move with a button held never shows or moves a tip; the release counts again.
TEST_F(ToolTipContextTest, MovesWithAButtonHeldShowNothing)
{
    ASSERT_TRUE(MoveTo(Outside()));
    ASSERT_TRUE(Hover(ToolPoint(0), "Alpha tool"));
    SendMouse(MOUSEEVENTF_LEFTDOWN, ToolPoint(0));
    ASSERT_TRUE(WaitNoTip()) << "the press hides the tip";

    ASSERT_TRUE(MoveTo(ToolPoint(1)));
    ASSERT_LT(::GetKeyState(VK_LBUTTON), 0);
    EXPECT_EQ(std::vector<UINT_PTR>{UINT_PTR(kToolIdAlpha)}, RegisteredTools()) << "the held move added no tool";
    EXPECT_FALSE(::IsWindowVisible(Tip()));

    // The release registers the tool under the pointer; the next move shows it.
    SendMouse(MOUSEEVENTF_LEFTUP, ToolPoint(1));
    ASSERT_TRUE(PumpUntil([] { return ::GetKeyState(VK_LBUTTON) >= 0; }));
    EXPECT_EQ(std::vector<UINT_PTR>{UINT_PTR(kToolIdBeta)}, RegisteredTools());
    EXPECT_TRUE(Hover(ToolPoint(1, 4, 2), "Beta tool")) << "shown: '" << TipText() << "'";
}

// Pressing a key or a mouse button hides the tip and keeps it hidden over the same tool.
TEST_F(ToolTipContextTest, AKeyOrButtonPressHidesTheTip)
{
    struct Press
    {
        const char* name;
        std::function<void(POINT)> send;
    } presses[] = {
        {"key", [](POINT) { SendKey(VK_SHIFT); }},
        {"left button",
         [](POINT at) {
             SendMouse(MOUSEEVENTF_LEFTDOWN, at);
             SendMouse(MOUSEEVENTF_LEFTUP, at);
         }},
        {"right button",
         [](POINT at) {
             SendMouse(MOUSEEVENTF_RIGHTDOWN, at);
             SendMouse(MOUSEEVENTF_RIGHTUP, at);
         }},
    };
    ASSERT_TRUE(MoveTo(Outside()));
    size_t tool = 0;
    for (const Press& press : presses)
    {
        SCOPED_TRACE(press.name);
        std::string text = Narrow(host.tools[tool].text);
        ASSERT_TRUE(Hover(ToolPoint(tool), text));
        press.send(ToolPoint(tool));
        EXPECT_TRUE(WaitNoTip());
        // Moving on within the same tool does not bring it back.
        ASSERT_TRUE(MoveTo(ToolPoint(tool, 5, 3)));
        EXPECT_FALSE(::IsWindowVisible(Tip()));
        tool = 1 - tool;
    }
}

// Within one tool the context only relays; a tool whose rectangle changed is added again.
TEST_F(ToolTipContextTest, TheSameToolIsRelayedAndAChangedRectangleReAddsIt)
{
    Filter(WM_MOUSEMOVE, POINT{30, 30});
    ASSERT_NE(nullptr, Tip());
    WatchToolMessages();
    Filter(WM_MOUSEMOVE, POINT{40, 35});
    Filter(WM_MOUSEMOVE, POINT{50, 40});
    EXPECT_EQ((std::vector<UINT>{TTM_RELAYEVENT, TTM_RELAYEVENT}), g_sent);

    g_sent.clear();
    host.tools[0].rect = RECT{10, 10, 150, 70};
    Filter(WM_MOUSEMOVE, POINT{55, 40});
    EXPECT_EQ((std::vector<UINT>{TTM_DELTOOLW, TTM_ADDTOOLW, TTM_RELAYEVENT}), g_sent);
    std::vector<RECT> rects;
    EXPECT_EQ(std::vector<UINT_PTR>{UINT_PTR(kToolIdAlpha)}, RegisteredTools(&rects));
    ASSERT_EQ(1u, rects.size());
    EXPECT_TRUE(::EqualRect(&host.tools[0].rect, &rects[0]));

    // Away from every tool the last one goes too; further moves there send nothing.
    g_sent.clear();
    Filter(WM_MOUSEMOVE, POINT{kHostWidth - 40, 120});
    Filter(WM_MOUSEMOVE, POINT{kHostWidth - 45, 120});
    EXPECT_EQ((std::vector<UINT>{TTM_RELAYEVENT, TTM_DELTOOLW}), g_sent);
    EXPECT_TRUE(RegisteredTools().empty());
}

// Tools with a title and a description show both; a title that only repeats the description is
// left out and the tool's own text shows.
TEST_F(ToolTipContextTest, TitlesShowUnlessTheyRepeatTheDescription)
{
    context.ShowTitleAndDescription(TRUE);
    host.tools = {{{20, 20, 120, 60}, kToolIdAlpha, L"Open", L"Open", L"Opens a media file"},
                  {{200, 20, 300, 60}, kToolIdBeta, L"Save file", L"Save", L"Save"},
                  {{20, 80, 120, 120}, kToolIdGamma, L"&Close", nullptr, nullptr}};
    struct
    {
        size_t tool;
        const char* text;
        const char* title;
    } cases[] = {
        {0, "Opens a media file", "Open"}, {1, "Save file", ""}, {2, "&Close", ""}, {0, "Opens a media file", "Open"}};
    // A tip of one line is less than two lines of its font high; a title adds a line.
    CClientDC dc(&host);
    CFont* old = dc.SelectObject(context.GetFont());
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc.m_hDC, &metrics);
    dc.SelectObject(old);
    ASSERT_GT(metrics.tmHeight, 0);

    ASSERT_TRUE(MoveTo(Outside()));
    WatchToolMessages();
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        g_titles.clear();
        EXPECT_TRUE(Hover(ToolPoint(c.tool), c.text)) << "shown: '" << TipText() << "'";
        ASSERT_FALSE(g_titles.empty());
        EXPECT_EQ(c.title, g_titles.back());
        if (*c.title)
            EXPECT_GE(TipHeight(), 2 * metrics.tmHeight);
        else
            EXPECT_LT(TipHeight(), 2 * metrics.tmHeight);
    }
}

// With images on, the tooltip window is told the image of each new tool: the one its image manager
// holds under the image base plus the tool id, or none.
TEST_F(ToolTipContextTest, EachNewToolHandsItsImageToTheTooltipWindow)
{
    const int imageBase = 100, width = 16;
    CWVPImageManager images;
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, width);
    ::ReleaseDC(nullptr, screen);
    UINT id = imageBase + kToolIdAlpha;
    ASSERT_TRUE(images.SetIconsFromBitmap(bitmap, &id, 1, width, width, 0, FALSE));
    ::DeleteObject(bitmap);
    CWVPImageManagerIcon* alpha = images.GetImage(id, width);
    ASSERT_NE(nullptr, alpha);

    host.images = &images;
    context.ShowImage(TRUE, imageBase, width);
    Filter(WM_MOUSEMOVE, POINT{30, 30});
    ASSERT_NE(nullptr, Tip());
    WatchToolMessages();
    Filter(WM_MOUSEMOVE, POINT{210, 30}); // the beta tool: no image under its id
    Filter(WM_MOUSEMOVE, POINT{40, 30});
    Filter(WM_MOUSEMOVE, POINT{45, 30}); // the same tool again: nothing new
    host.images = nullptr;
    Filter(WM_MOUSEMOVE, POINT{220, 30});
    EXPECT_EQ((std::vector<LPARAM>{0, reinterpret_cast<LPARAM>(alpha), 0}), g_images);
}

// Without the no-prefix flag, mnemonic marks leave the text.
TEST_F(ToolTipContextTest, MnemonicMarksGoWithoutTheNoPrefixFlag)
{
    host.tools = {{{20, 20, 120, 60}, kToolIdAlpha, L"&Close && exit", nullptr, nullptr}};
    context.SetStyleFlags(TTS_NOPREFIX, 0);
    ASSERT_TRUE(MoveTo(Outside()));
    EXPECT_TRUE(Hover(ToolPoint(0), "Close & exit")) << "shown: '" << TipText() << "'";
    EXPECT_EQ(DWORD(TTS_ALWAYSTIP | TTS_NOPREFIX), ::GetWindowLongW(Tip(), GWL_STYLE) & 3)
        << "the window itself always takes the text as it is";
}

// A new tooltip window (after a style change) learns the tool under the pointer at the next move,
// even when it is the tool the old window had.
TEST_F(ToolTipContextTest, ANewTooltipWindowGetsTheToolUnderThePointer)
{
    ASSERT_TRUE(MoveTo(Outside()));
    ASSERT_TRUE(Hover(ToolPoint(0), "Alpha tool"));
    HWND first = Tip();
    ASSERT_TRUE(context.SetStyle(CWVPToolTipContext::StyleOffice2007));
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_TRUE(Hover(ToolPoint(0, 4, 2), "Alpha tool")) << "shown: '" << TipText() << "'";
    EXPECT_EQ(std::vector<UINT_PTR>{UINT_PTR(kToolIdAlpha)}, RegisteredTools());
}

// A child that says it is transparent for tooltips lets the tool of the window below show.
TEST_F(ToolTipContextTest, AChildTransparentForTooltipsPassesTheToolTestToItsParent)
{
    child.host = &host;
    const RECT& alpha = host.tools[0].rect;
    ASSERT_TRUE(child.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW)), L"", WS_CHILD | WS_VISIBLE,
                               alpha.left, alpha.top, alpha.right - alpha.left, alpha.bottom - alpha.top,
                               host.GetSafeHwnd(), nullptr));
    POINT over = ToolPoint(0);
    for (LRESULT answer : {0, 1})
    {
        child.transparent = answer;
        EXPECT_EQ(answer ? host.GetSafeHwnd() : child.GetSafeHwnd(), CWVPToolTipContext::WindowFromPoint(over))
            << answer;
    }
    ASSERT_TRUE(MoveTo(Outside()));
    EXPECT_TRUE(Hover(over, "Alpha tool")) << "shown: '" << TipText() << "'";
    EXPECT_EQ(host.GetSafeHwnd(),
              reinterpret_cast<HWND>(::SendMessageW(Tip(), TTM_WINDOWFROMPOINT, 0, reinterpret_cast<LPARAM>(&over))));
}

// One context serving two top-level windows makes its tooltip window again for each.
TEST_F(ToolTipContextTest, TheTooltipWindowFollowsTheOwnersTopLevelWindow)
{
    Filter(WM_MOUSEMOVE, POINT{30, 30});
    ASSERT_NE(nullptr, Tip());
    EXPECT_EQ(host.GetSafeHwnd(), ::GetWindow(Tip(), GW_OWNER));
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), L"Other", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 100, 400,
                               200, 100, nullptr, nullptr));
    ::SetForegroundWindow(other.GetSafeHwnd());
    ASSERT_TRUE(PumpUntil([this] { return ::GetForegroundWindow() == other.GetSafeHwnd(); }));
    MSG msg = {other.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10), 0, {110, 430}};
    CWnd* tipObject = context.GetToolTip();
    context.FilterToolTipMessage(&other, &msg);
    EXPECT_EQ(tipObject, context.GetToolTip()) << "the object stays";
    ASSERT_NE(nullptr, Tip());
    EXPECT_EQ(other.GetSafeHwnd(), ::GetWindow(Tip(), GW_OWNER));
}

// Styles: what each asks of the window and of the colours, and which requests are refused.
TEST_F(ToolTipContextTest, StylesSetTheirFlagsAndDefaultColours)
{
    CWVPColorManager* colours = WVPColorManager();
    EXPECT_EQ(colours->GetColor(COLOR_INFOTEXT), context.GetTipTextColor());
    EXPECT_EQ(colours->GetColor(COLOR_INFOBK), context.GetTipBkColor());
    EXPECT_FALSE(context.SetStyle(CWVPToolTipContext::StyleStandard)) << "the style it has already";

    struct
    {
        int style;
        DWORD flags;
        COLORREF text;
    } cases[] = {
        {CWVPToolTipContext::StyleOffice2007, TTS_NOPREFIX | WVP_TTS_OFFICE2007, RGB(76, 76, 76)},
        {CWVPToolTipContext::StyleOwnRaised, TTS_NOPREFIX | WVP_TTS_RAISEDBORDER | WVP_TTS_NOSHADOW,
         colours->GetColor(COLOR_INFOTEXT)},
        {CWVPToolTipContext::StyleMarkup, TTS_NOPREFIX, colours->GetColor(COLOR_INFOTEXT)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.style);
        EXPECT_TRUE(context.SetStyle(c.style));
        EXPECT_EQ(c.style, context.GetStyle());
        EXPECT_EQ(c.flags, context.GetStyleFlags());
        EXPECT_EQ(c.text, context.GetTipTextColor());
        Filter(WM_MOUSEMOVE, POINT{30, 30});
        ASSERT_NE(nullptr, Tip());
        EXPECT_EQ(c.flags | TTS_ALWAYSTIP, ::GetWindowLongW(Tip(), GWL_STYLE) & 0xFFFF);
    }
    context.SetTipColors(RGB(1, 2, 3), RGB(4, 5, 6));
    EXPECT_EQ(RGB(4, 5, 6), context.GetTipTextColor()) << "a colour of the owner's wins";
    EXPECT_EQ(RGB(1, 2, 3), context.GetTipBkColor());

    // Balloons need common controls above 5.79.
    DWORD version = WVPGetComCtlVersion();
    EXPECT_EQ(version > MAKELONG(79, 5), !!context.SetStyle(CWVPToolTipContext::StyleBalloon));
    if (version > MAKELONG(79, 5))
    {
        Filter(WM_MOUSEMOVE, POINT{30, 30});
        ASSERT_NE(nullptr, Tip());
        EXPECT_TRUE(::GetWindowLongW(Tip(), GWL_STYLE) & TTS_BALLOON);
    }
}

// Changed style flags make the window again; the same flags keep it.
TEST_F(ToolTipContextTest, ChangedStyleFlagsMakeTheWindowAgain)
{
    Filter(WM_MOUSEMOVE, POINT{30, 30});
    HWND first = Tip();
    ASSERT_NE(nullptr, first);
    context.SetStyleFlags(TTS_NOPREFIX, TTS_NOPREFIX);
    EXPECT_EQ(first, Tip());
    context.SetStyleFlags(WVP_TTS_NOSHADOW, WVP_TTS_NOSHADOW);
    EXPECT_EQ(nullptr, context.GetToolTip());
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_EQ(DWORD(TTS_NOPREFIX | WVP_TTS_NOSHADOW), context.GetStyleFlags());
}

TEST(ToolTipContextRecords, InitToolInfoFillsOnlyRecordsLargeEnough)
{
    RECT rect = {1, 2, 3, 4};
    HWND window = reinterpret_cast<HWND>(0x1234);
    const INT_PTR id = kToolIdBeta;

    // The 32-bit sizes are too small on this platform: such records stay as they are.
    for (UINT size : {0u, 40u, 44u, WVP_TOOLINFO_SIZE - 1})
    {
        TOOLINFOW info = {};
        info.cbSize = size;
        CWVPToolTipContext::InitToolInfo(&info, window, rect, id, L"text");
        EXPECT_EQ(nullptr, info.hwnd) << size;
        EXPECT_EQ(nullptr, info.lpszText) << size;
    }
    CWVPToolTipContext::InitToolInfo(nullptr, window, rect, id, L"text");

    TOOLINFOW info = {};
    info.cbSize = WVP_TOOLINFO_SIZE;
    CWVPToolTipContext::InitToolInfo(&info, window, rect, id, L"Alpha");
    EXPECT_EQ(window, info.hwnd);
    EXPECT_EQ(UINT_PTR(id), info.uId) << "the full pointer-sized id";
    EXPECT_TRUE(::EqualRect(&rect, &info.rect));
    ASSERT_NE(nullptr, info.lpszText);
    EXPECT_EQ("Alpha", Narrow(info.lpszText));
    free(info.lpszText);

    // The extended part: title and description only when both are given; the image manager always.
    CWVPImageManager* images = reinterpret_cast<CWVPImageManager*>(0x5678);
    struct
    {
        UINT size;
        const wchar_t* title;
        const wchar_t* description;
        bool copied;
        bool extended;
    } cases[] = {
        {WVP_TOOLINFO_EX_SIZE, L"Title", L"Description", true, true},
        {WVP_TOOLINFO_EX_SIZE, L"Title", L"", false, true},
        {WVP_TOOLINFO_EX_SIZE, nullptr, L"Description", false, true},
        {WVP_TOOLINFO_SIZE, L"Title", L"Description", false, false},
        {sizeof(TOOLINFOW), L"Title", L"Description", false, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.size);
        WVP_TOOLTIP_EXTRA extra = {};
        TOOLINFOW record = {};
        record.cbSize = c.size;
        record.lParam = reinterpret_cast<LPARAM>(&extra);
        CWVPToolTipContext::InitToolInfoEx(&record, window, rect, id, L"Text", c.title, c.description, images);
        ASSERT_NE(nullptr, record.lpszText);
        EXPECT_EQ("Text", Narrow(record.lpszText));
        EXPECT_EQ(c.copied, extra.pszTitle != nullptr);
        EXPECT_EQ(c.copied, extra.pszDescription != nullptr);
        if (c.copied)
        {
            EXPECT_EQ("Title", Narrow(extra.pszTitle));
            EXPECT_EQ("Description", Narrow(extra.pszDescription));
            EXPECT_NE(c.title, extra.pszTitle) << "a copy";
        }
        EXPECT_EQ(c.extended ? images : nullptr, extra.pImageManager);
        free(record.lpszText);
        free(extra.pszTitle);
        free(extra.pszDescription);
    }
}

// The fonts come from the status font of the system's metrics, in normal and bold weight.
TEST(ToolTipContextFonts, NormalAndBoldStatusFonts)
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    CWVPToolTipContext context;
    LOGFONTW normal = {}, bold = {};
    ASSERT_TRUE(::GetObjectW(static_cast<HFONT>(*context.GetFont()), sizeof normal, &normal));
    ASSERT_TRUE(::GetObjectW(static_cast<HFONT>(*context.GetBoldFont()), sizeof bold, &bold));
    EXPECT_EQ(FW_NORMAL, normal.lfWeight);
    EXPECT_EQ(FW_BOLD, bold.lfWeight);
    for (const LOGFONTW* font : {&normal, &bold})
    {
        EXPECT_EQ(metrics.lfStatusFont.lfHeight, font->lfHeight);
        EXPECT_EQ(0, ::lstrcmpW(metrics.lfStatusFont.lfFaceName, font->lfFaceName));
    }
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN) / 2, context.GetMaxTipWidth());
}

} // namespace
