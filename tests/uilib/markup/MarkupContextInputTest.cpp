// The context's answers to relayed messages, read back without real input: which messages it
// handles and what it stores as their result, the cursor it sets, the tree that owns the mouse
// while another is relayed, and a lost capture.
#include "TreeList.h"

namespace
{
const int kWidth = 200, kHeight = 200;

class Host
{
  public:
    Host()
    {
        hwnd =
            ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, kWidth, kHeight, nullptr, nullptr, nullptr, nullptr);
        context = new CWVPMarkupContext(hwnd);
    }
    ~Host()
    {
        shown.ReleaseAll();
        context->Release();
        ::DestroyWindow(hwnd);
    }
    CWVPMarkupUIElement* Show(LPCWSTR markup)
    {
        return shown.Show(context, markup, kWidth, kHeight);
    }
    // Relays a message with a point (or, for the wheel and cursor, a word) and notes the result.
    BOOL Relay(CWVPMarkupUIElement* root, UINT message, POINT at, WPARAM wParam = 0)
    {
        result = -7;
        return context->OnWndMsg(root, message, wParam, MAKELPARAM(at.x, at.y), &result);
    }

    HWND hwnd;
    CWVPMarkupContext* context;
    markuptest::TreeList shown;
    LRESULT result = 0;
};
} // namespace

// Moves are never handled; a wheel or cursor query that an element answers stores 1, a handled
// button leaves the result alone; messages relayed for another tree while one owns the mouse are
// left to the host.
TEST(MarkupContextInput, HandledMessagesAndTheirResults)
{
    Host host;
    CWVPMarkupUIElement* first =
        host.Show(L"<StackPanel Background=\"White\"><Button Cursor=\"Hand\"><Rectangle Width=\"40\" Height=\"20\"/>"
                  L"</Button><ScrollViewer Height=\"60\"><Rectangle Height=\"500\" Fill=\"Red\"/></ScrollViewer>"
                  L"</StackPanel>");
    CWVPMarkupUIElement* second = host.Show(L"<StackPanel Background=\"White\"/>");
    ASSERT_TRUE(first && second);
    CWVPMarkupInputElement* button = static_cast<CWVPMarkupInputElement*>(first->GetLogicalChild(0));
    CWVPMarkupScrollViewer* viewer = MarkupCast<CWVPMarkupScrollViewer>(first->GetLogicalChild(1));
    ASSERT_NE(nullptr, viewer);
    RECT rb = host.context->GetElementRect(button), rv = host.context->GetElementRect(viewer);
    const POINT onButton = {(rb.left + rb.right) / 2, (rb.top + rb.bottom) / 2};
    const POINT onViewer = {rv.left + 10, rv.top + 10};
    const POINT onPanel = {kWidth / 2, kHeight - 10};
    const HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW), hand = ::LoadCursorW(nullptr, IDC_HAND);
    const WPARAM wheelDown = MAKEWPARAM(0, WORD(-WHEEL_DELTA));

    struct Case
    {
        const char* what;
        CWVPMarkupUIElement* root;
        UINT message;
        POINT at;
        WPARAM wParam;
        BOOL handled;
        LRESULT result;
        HCURSOR cursor; // after the message; null: not checked
    };
    const Case cases[] = {
        {"move onto the button", first, WM_MOUSEMOVE, onButton, 0, FALSE, -7, hand},
        {"cursor over the button", first, WM_SETCURSOR, onButton, 0, TRUE, 1, hand},
        {"the other tree", second, WM_MOUSEMOVE, onPanel, 0, FALSE, -7, nullptr},
        {"wheel over the button", first, WM_MOUSEWHEEL, onButton, wheelDown, FALSE, -7, nullptr},
        {"move onto the panel", first, WM_MOUSEMOVE, onPanel, 0, FALSE, -7, arrow},
        {"cursor over the panel", first, WM_SETCURSOR, onPanel, 0, FALSE, -7, nullptr},
        {"move onto the viewer", first, WM_MOUSEMOVE, onViewer, 0, FALSE, -7, arrow},
        {"wheel over the viewer", first, WM_MOUSEWHEEL, onViewer, wheelDown, TRUE, 1, nullptr},
        {"press on the button", first, WM_MOUSEMOVE, onButton, 0, FALSE, -7, nullptr},
        {"", first, WM_LBUTTONDOWN, onButton, MK_LBUTTON, TRUE, -7, nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.handled, host.Relay(c.root, c.message, c.at, c.wParam));
        EXPECT_EQ(c.result, host.result);
        if (c.cursor)
            EXPECT_EQ(c.cursor, ::GetCursor());
    }
    EXPECT_EQ(48, viewer->GetScrollOffset(CWVPMarkupScrollViewer::orientationVertical));
    EXPECT_TRUE(host.context->IsAncestorOrSelf(first, host.context->GetHoverElement()));

    // The capture the press took goes to another window: the button lets go without a click.
    CWVPMarkupButtonBase* pressed = MarkupCast<CWVPMarkupButtonBase>(button);
    ASSERT_NE(nullptr, pressed);
    EXPECT_EQ(button, host.context->GetCapturedElement());
    EXPECT_TRUE(pressed->IsPressed());
    EXPECT_FALSE(host.context->OnWndMsg(first, WM_CAPTURECHANGED, 0, 0, &host.result));
    EXPECT_EQ(nullptr, host.context->GetCapturedElement());
    EXPECT_FALSE(pressed->IsPressed());
    ::ReleaseCapture();

    // Once the mouse left, the other tree takes it.
    EXPECT_FALSE(host.Relay(first, WM_MOUSELEAVE, onButton));
    EXPECT_EQ(nullptr, host.context->GetHoverElement());
    EXPECT_FALSE(host.Relay(second, WM_MOUSEMOVE, onPanel));
    EXPECT_EQ(second, host.context->GetHoverElement());
}
