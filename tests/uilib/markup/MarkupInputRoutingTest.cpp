// Markup content driven by real input: the pointer is moved and pressed with SendInput inside a
// Wine virtual desktop of the test's own (tools/wineprefix.sh), and the host window relays its
// messages to the markup context as a program's window does. The tests read back the events the
// elements received, their states, the scroll offset and the tooltip window's text.
#include "TreeList.h"

#include <functional>
#include <map>
#include <vector>

#include "uilib/markup/MarkupEntryPoints.h"
#include "uilib/markup/MarkupTooltipContext.h"

namespace
{
const wchar_t kHostClass[] = L"RwMarkupInputHost";
// A step that waits longer than this fails the test instead of hanging the suite.
const DWORD kWaitLimit = 20000;
const int kHostX = 40, kHostY = 40, kHostWidth = 320, kHostHeight = 240;
// A screen point well outside the host window.
const POINT kOutside = {700, 600};
const int kWheelNotch = 120;

// What the host window saw of the mouse.
struct Seen
{
    POINT lastMove = {-1, -1};
    // Whether a move elsewhere than lastMove came in since it was last cleared.
    bool strayMove = false;
    int moves = 0, downs = 0, ups = 0, wheels = 0, leaves = 0;
} g_seen;

CWVPMarkupUIElement* g_root;
// Set by every move and leave the host takes: the event log starts again with the next event, so
// that it holds what the last message that changed anything caused.
bool g_newMessage;

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_MOUSEMOVE:
        if (g_seen.moves && (g_seen.lastMove.x != short(LOWORD(lParam)) || g_seen.lastMove.y != short(HIWORD(lParam))))
            g_seen.strayMove = true;
        g_seen.lastMove = {short(LOWORD(lParam)), short(HIWORD(lParam))};
        ++g_seen.moves;
        break;
    case WM_LBUTTONDOWN:
        ++g_seen.downs;
        break;
    case WM_LBUTTONUP:
        ++g_seen.ups;
        break;
    case WM_MOUSEWHEEL:
        ++g_seen.wheels;
        break;
    case WM_MOUSELEAVE:
        ++g_seen.leaves;
        break;
    }
    if (message == WM_MOUSEMOVE || message == WM_MOUSELEAVE)
        g_newMessage = true;
    LRESULT result = 0;
    if (g_root && MarkupRelayMessage(g_root, message, wParam, lParam, &result))
        return result;
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
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

// Pumps until the condition holds; false after the wait limit.
bool PumpUntil(const std::function<bool()>& condition)
{
    const DWORD start = ::GetTickCount();
    for (;;)
    {
        Pump();
        if (condition())
            return true;
        if (::GetTickCount() - start > kWaitLimit)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

POINT g_pointer = {};

void SendMouse(DWORD flags, int wheel = 0)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input.mi.mouseData = DWORD(wheel);
    // Wine maps x to (dx * width) >> 16: the smallest dx that lands exactly on the pixel.
    const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = (g_pointer.x * 65536 + width - 1) / width;
    input.mi.dy = (g_pointer.y * 65536 + height - 1) / height;
    ::SendInput(1, &input, sizeof input);
}

bool CursorAt(POINT at)
{
    POINT cursor;
    ::GetCursorPos(&cursor);
    return cursor.x == at.x && cursor.y == at.y;
}

class MarkupInputRouting : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        g_seen = Seen();
        WNDCLASSW wc = {};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kHostClass;
        ::RegisterClassW(&wc);
        host = ::CreateWindowExW(0, kHostClass, L"Markup", WS_POPUP | WS_VISIBLE, kHostX, kHostY, kHostWidth,
                                 kHostHeight, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(nullptr, host);
        context = new CWVPMarkupContext(host);
        ::SetForegroundWindow(host);
        ASSERT_TRUE(PumpUntil([this] { return ::GetForegroundWindow() == host; }));
        ::SetFocus(host);
        // Start from outside, so that the first move enters the window.
        MoveScreen(kOutside);
    }
    void TearDown() override
    {
        if (::GetAsyncKeyState(VK_LBUTTON) < 0)
            SendMouse(MOUSEEVENTF_LEFTUP);
        g_root = nullptr;
        shown.ReleaseAll();
        if (host)
            ::DestroyWindow(host);
        Pump();
        if (context)
            context->Release();
    }

    // Parses a tree, lays it out over the host's client area and makes it the relayed tree.
    CWVPMarkupUIElement* Show(LPCWSTR markup)
    {
        CWVPMarkupUIElement* root = shown.Show(context, markup, kHostWidth, kHostHeight);
        if (root)
            g_root = root;
        return root;
    }

    // Moves the pointer to a screen point and waits until the host handled that move (or, outside
    // the host, until the pointer is there). A motion of an earlier move that comes in late makes
    // it move again; the answer says whether the host saw no other place on the way.
    bool MoveScreen(POINT at)
    {
        g_seen.moves = 0;
        g_seen.strayMove = false;
        POINT client = at;
        ::ScreenToClient(host, &client);
        RECT rc;
        ::GetClientRect(host, &rc);
        const bool inside = ::PtInRect(&rc, client) != FALSE;
        const DWORD start = ::GetTickCount();
        for (;;)
        {
            g_pointer = at;
            SendMouse(0);
            PumpUntil([&] {
                return CursorAt(at) && (!inside || (g_seen.lastMove.x == client.x && g_seen.lastMove.y == client.y));
            });
            DWORD_PTR ignored;
            ::SendMessageTimeoutW(::GetDesktopWindow(), WM_NULL, 0, 0, SMTO_NORMAL, kWaitLimit, &ignored);
            Pump();
            if (CursorAt(at) && (!inside || (g_seen.lastMove.x == client.x && g_seen.lastMove.y == client.y)))
                return !g_seen.strayMove && (inside || !g_seen.moves);
            if (::GetTickCount() - start > kWaitLimit)
            {
                ADD_FAILURE() << "pointer did not settle at " << at.x << "," << at.y;
                return false;
            }
        }
    }
    // The screen point of an element's middle, or of a point of it.
    POINT ScreenPoint(CWVPMarkupInputElement* element, int dx = -1, int dy = -1)
    {
        RECT rc = context->GetElementRect(element);
        POINT at = {dx < 0 ? (rc.left + rc.right) / 2 : rc.left + dx, dy < 0 ? (rc.top + rc.bottom) / 2 : rc.top + dy};
        ::ClientToScreen(host, &at);
        return at;
    }
    // Moves from one point to another while a log is watched: a late motion of an earlier place on
    // the way makes the step run again from the first point, with the log cleared. A log that keeps
    // only the last message's events holds the step from the first point to the second either way.
    void MoveWatched(POINT from, POINT to, std::string& log)
    {
        for (int attempt = 0; attempt < 5; ++attempt)
        {
            MoveScreen(from);
            log.clear();
            if (MoveScreen(to))
                return;
        }
    }
    // Moves onto the middle of an element.
    void MoveOnto(CWVPMarkupInputElement* element)
    {
        MoveScreen(ScreenPoint(element));
    }
    void Press()
    {
        const int downs = g_seen.downs;
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        ASSERT_TRUE(PumpUntil([&] { return g_seen.downs > downs; }));
    }
    void ReleaseButton()
    {
        const int ups = g_seen.ups;
        SendMouse(MOUSEEVENTF_LEFTUP);
        ASSERT_TRUE(PumpUntil([&] { return g_seen.ups > ups; }));
    }
    void Click(CWVPMarkupInputElement* element)
    {
        MoveOnto(element);
        Press();
        ReleaseButton();
    }

  public:
    HWND host = nullptr;
    CWVPMarkupContext* context = nullptr;
    markuptest::TreeList shown;
};

// Writes "Event:name " for each event of the elements it knows by name.
class EventLog : public CWVPMarkupDelegate
{
  public:
    std::map<CWVPMarkupObject*, std::string> names;
    std::string text;
    // Keep only the events of the last message that caused any (see g_newMessage).
    bool lastMessageOnly = false;
    void OnEvent(CWVPMarkupObject* sender, CWVPMarkupRoutedEventArgs* args) override
    {
        if (lastMessageOnly && g_newMessage)
            text.clear();
        g_newMessage = false;
        text += rwtest::Utf8(args->m_pEvent->GetName()) + ":" + names[sender] + " ";
    }
    void Listen(CWVPMarkupInputElement* element, const char* name, std::initializer_list<CWVPMarkupRoutedEvent*> events)
    {
        names[element] = name;
        for (CWVPMarkupRoutedEvent* e : events)
            element->AddHandler(e, this);
    }
};

CWVPMarkupInputElement* Child(CWVPMarkupObject* parent, int index)
{
    return static_cast<CWVPMarkupInputElement*>(parent->GetLogicalChild(index));
}

BOOL MouseOver(CWVPMarkupInputElement* element)
{
    return CWVPMarkupBool::ValueOf(element->GetValue(CWVPMarkupInputElement::s_pIsMouseOverProperty), FALSE);
}
} // namespace

// Leave and enter run along the changed part of the chain only, innermost first, and IsMouseOver
// follows them; leaving the window clears the chain.
TEST_F(MarkupInputRouting, EnterAndLeaveFollowTheChangedPartOfTheChain)
{
    CWVPMarkupUIElement* panel =
        Show(L"<StackPanel Background=\"White\"><Border Background=\"Gray\" Padding=\"10\">"
             L"<Button><Rectangle Width=\"60\" Height=\"20\" Fill=\"Red\"/></Button></Border>"
             L"<Button><Rectangle Width=\"60\" Height=\"20\" Fill=\"Blue\"/></Button></StackPanel>");
    ASSERT_NE(nullptr, panel);
    CWVPMarkupInputElement* border = Child(panel, 0);
    CWVPMarkupInputElement* first = Child(border, 0);
    CWVPMarkupInputElement* second = Child(panel, 1);
    EventLog* log = new EventLog();
    log->lastMessageOnly = true;
    for (auto named : {std::make_pair((CWVPMarkupInputElement*)panel, "panel"), std::make_pair(border, "border"),
                       std::make_pair(first, "first"), std::make_pair(second, "second")})
        log->Listen(named.first, named.second,
                    {CWVPMarkupInputElement::s_pMouseEnterEvent, CWVPMarkupInputElement::s_pMouseLeaveEvent});

    struct Step
    {
        CWVPMarkupInputElement* target; // null: outside the window
        const char* events;
        const char* over; // IsMouseOver of panel, border, first, second
    };
    const Step steps[] = {
        {first, "MouseEnter:first MouseEnter:border MouseEnter:panel ", "1110"},
        {second, "MouseLeave:first MouseLeave:border MouseEnter:second ", "1001"},
        {border, "MouseLeave:second MouseEnter:border ", "1100"},
        {nullptr, "MouseLeave:border MouseLeave:panel ", "0000"},
    };
    POINT from = kOutside;
    for (const Step& s : steps)
    {
        SCOPED_TRACE(s.events);
        // The border's place is its padding, beside the button.
        POINT to = s.target == border ? ScreenPoint(border, 3, 3) : s.target ? ScreenPoint(s.target) : kOutside;
        MoveWatched(from, to, log->text);
        from = to;
        if (!s.target)
            ASSERT_TRUE(PumpUntil([&] { return !context->GetHoverElement(); }));
        EXPECT_EQ(s.events, log->text);
        std::string over;
        for (CWVPMarkupInputElement* e : {(CWVPMarkupInputElement*)panel, border, first, second})
            over += MouseOver(e) ? '1' : '0';
        EXPECT_EQ(s.over, over);
    }
    log->Release();
}

// A click needs the release inside the button: a press dragged out and released outside gives
// none, one dragged out and back gives one; the button shows pressed only while the pointer is on it.
TEST_F(MarkupInputRouting, ClickOnlyOnAReleaseInsideTheButton)
{
    CWVPMarkupUIElement* panel =
        Show(L"<StackPanel Background=\"White\"><Button><Rectangle Width=\"60\" Height=\"20\" Fill=\"Red\"/></Button>"
             L"<Border Height=\"60\"/></StackPanel>");
    ASSERT_NE(nullptr, panel);
    CWVPMarkupButtonBase* button = MarkupCast<CWVPMarkupButtonBase>(Child(panel, 0));
    ASSERT_NE(nullptr, button);
    EventLog* log = new EventLog();
    log->Listen(button, "button", {CWVPMarkupButtonBase::s_pClickEvent});
    RECT below = context->GetElementRect(Child(panel, 1));
    POINT off = {(below.left + below.right) / 2, (below.top + below.bottom) / 2};
    ::ClientToScreen(host, &off);

    struct Case
    {
        const char* steps;   // i: onto the button, o: off it, d: press, u: release
        const char* pressed; // IsPressed after each step
        const char* events;
    };
    const Case cases[] = {
        {"idu", "010", "Click:button "},
        {"idou", "0100", ""},
        {"idoiu", "01010", "Click:button "},
        {"iduidu", "010010", "Click:button Click:button "},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.steps);
        log->text.clear();
        std::string pressed;
        for (const char* s = c.steps; *s; ++s)
        {
            switch (*s)
            {
            case 'i':
                MoveOnto(button);
                break;
            case 'o':
                MoveScreen(off);
                break;
            case 'd':
                Press();
                EXPECT_EQ(host, ::GetCapture());
                break;
            case 'u':
                ReleaseButton();
                break;
            }
            pressed += button->IsPressed() ? '1' : '0';
        }
        EXPECT_EQ(c.pressed, pressed);
        EXPECT_EQ(c.events, log->text);
        EXPECT_EQ(nullptr, context->GetCapturedElement());
        MoveScreen(kOutside);
    }
    log->Release();
}

// Clicks move a three-state check box through its cycle and check radio buttons within their
// panel only.
TEST_F(MarkupInputRouting, ClicksCycleTheCheckBoxAndChooseWithinARadioGroup)
{
    CWVPMarkupUIElement* panel =
        Show(L"<StackPanel Background=\"White\"><CheckBox IsThreeState=\"True\">c</CheckBox>"
             L"<StackPanel><RadioButton IsChecked=\"True\">a</RadioButton><RadioButton>b</RadioButton></StackPanel>"
             L"<StackPanel><RadioButton>d</RadioButton></StackPanel></StackPanel>");
    ASSERT_NE(nullptr, panel);
    CWVPMarkupToggleButton* box = MarkupCast<CWVPMarkupToggleButton>(Child(panel, 0));
    CWVPMarkupToggleButton* a = MarkupCast<CWVPMarkupToggleButton>(Child(Child(panel, 1), 0));
    CWVPMarkupToggleButton* b = MarkupCast<CWVPMarkupToggleButton>(Child(Child(panel, 1), 1));
    CWVPMarkupToggleButton* d = MarkupCast<CWVPMarkupToggleButton>(Child(Child(panel, 2), 0));
    ASSERT_TRUE(box && a && b && d);
    struct Case
    {
        CWVPMarkupToggleButton* clicked;
        const char* states; // check states of box, a, b, d after the click
    };
    const Case cases[] = {
        {box, "1100"}, {box, "2100"}, {box, "0100"}, {b, "0010"}, {d, "0011"}, {b, "0011"}, {a, "0101"},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i)
    {
        SCOPED_TRACE(i);
        Click(cases[i].clicked);
        std::string states;
        for (CWVPMarkupToggleButton* t : {box, a, b, d})
            states += char('0' + t->GetCheckState());
        EXPECT_EQ(cases[i].states, states);
    }
}

// The tooltip shows the text of the nearest element, from the one under the pointer outwards,
// that has one.
TEST_F(MarkupInputRouting, TooltipShowsTheNearestAncestorsText)
{
    CWVPMarkupUIElement* panel =
        Show(L"<StackPanel Background=\"White\" ToolTip=\"Panel tip\">"
             L"<Border Background=\"Gray\" Padding=\"10\" ToolTip=\"Frame tip\">"
             L"<Rectangle Width=\"60\" Height=\"20\" Fill=\"Red\"/></Border>"
             L"<Rectangle Width=\"60\" Height=\"20\" Fill=\"Blue\"/>"
             L"<Rectangle Width=\"60\" Height=\"20\" Fill=\"Green\" ToolTip=\"Own tip\"/></StackPanel>");
    ASSERT_NE(nullptr, panel);
    context->GetTooltipContext()->SetDelayTime(50, 50, 30000);
    struct Case
    {
        CWVPMarkupInputElement* target;
        const char* text;
    };
    const Case cases[] = {
        {Child(Child(panel, 0), 0), "Frame tip"},
        {Child(panel, 1), "Panel tip"},
        {Child(panel, 2), "Own tip"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        MoveScreen(kOutside);
        const POINT at = ScreenPoint(c.target);
        MoveScreen(at);
        std::string shown;
        bool visible = PumpUntil([&] {
            // A late motion that took the pointer elsewhere is undone by moving back.
            POINT client = at;
            ::ScreenToClient(host, &client);
            if (!CursorAt(at) || g_seen.lastMove.x != client.x || g_seen.lastMove.y != client.y)
                MoveScreen(at);
            CWnd* tip = context->GetTooltipContext()->GetToolTip();
            HWND tipWnd = tip ? tip->GetSafeHwnd() : nullptr;
            if (!tipWnd || !::IsWindowVisible(tipWnd))
                return false;
            WCHAR text[64] = {};
            ::SendMessageW(tipWnd, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
            shown = rwtest::Utf8(text);
            return shown == c.text;
        });
        EXPECT_TRUE(visible) << "shown: " << shown;
    }
}

// Each notch of the wheel over a scroll viewer scrolls it by 48, down and back up.
TEST_F(MarkupInputRouting, WheelScrollsTheViewerUnderThePointer)
{
    CWVPMarkupUIElement* root = Show(L"<ScrollViewer><Rectangle Height=\"3000\" Fill=\"Red\"/></ScrollViewer>");
    CWVPMarkupScrollViewer* viewer = MarkupCast<CWVPMarkupScrollViewer>(root);
    ASSERT_NE(nullptr, viewer);
    POINT over = {kHostWidth / 3, kHostHeight / 3};
    ::ClientToScreen(host, &over);
    MoveScreen(over);
    const int steps[][2] = {{-kWheelNotch, 48}, {-kWheelNotch, 96}, {kWheelNotch, 48}, {kWheelNotch, 0}};
    for (const auto& s : steps)
    {
        const int wheels = g_seen.wheels;
        SendMouse(MOUSEEVENTF_WHEEL, s[0]);
        ASSERT_TRUE(PumpUntil([&] { return g_seen.wheels > wheels; }));
        EXPECT_EQ(s[1], viewer->GetScrollOffset(CWVPMarkupScrollViewer::orientationVertical));
    }
}

// A click handler that releases the tree under the pointer, which holds the capture and is the
// hover element, leaves the context with no pointer into it: the next tree takes moves and
// clicks, and nothing of the first stays alive.
TEST_F(MarkupInputRouting, ReleasingTheTreeInAClickHandlerLeavesNoDanglingElement)
{
    class Replace : public CWVPMarkupDelegate
    {
      public:
        MarkupInputRouting* test = nullptr;
        CWVPMarkupUIElement* next = nullptr;
        void OnEvent(CWVPMarkupObject*, CWVPMarkupRoutedEventArgs*) override
        {
            if (!next)
                return;
            CWVPMarkupObject* first = test->shown.trees.front();
            test->shown.trees.erase(test->shown.trees.begin());
            g_root = next;
            next = nullptr;
            first->Release();
        }
    };
    const LONG before = CWVPMarkupObject::GetLiveObjectCount();
    Replace* replace = new Replace();
    replace->test = this;
    context->AddDelegate(L"Replace", replace);
    CWVPMarkupUIElement* second = Show(L"<StackPanel Background=\"White\"><Button>"
                                       L"<Rectangle Width=\"60\" Height=\"20\" Fill=\"Blue\"/></Button></StackPanel>");
    CWVPMarkupUIElement* first = Show(L"<StackPanel Background=\"White\"><Button Click=\"Replace\">"
                                      L"<Rectangle Width=\"60\" Height=\"20\" Fill=\"Red\"/></Button></StackPanel>");
    ASSERT_TRUE(first && second);
    std::swap(shown.trees.front(), shown.trees.back()); // the first tree is the one the handler releases
    replace->next = second;
    EventLog* log = new EventLog();
    log->Listen(Child(second, 0), "second", {CWVPMarkupButtonBase::s_pClickEvent});

    Click(Child(first, 0));
    EXPECT_EQ(second, g_root);
    EXPECT_EQ(nullptr, context->GetCapturedElement());
    EXPECT_EQ(nullptr, context->GetHoverElement());
    // Keep moving and clicking on the tree that took its place.
    MoveScreen(kOutside);
    Click(Child(second, 0));
    EXPECT_EQ("Click:second ", log->text);
    EXPECT_TRUE(context->GetHoverElement() && CWVPMarkupContext::IsAncestorOrSelf(second, context->GetHoverElement()));

    g_root = nullptr;
    shown.ReleaseAll();
    EXPECT_EQ(before, CWVPMarkupObject::GetLiveObjectCount());
    log->Release();
    replace->Release();
}
