// A scroll viewer hosted in a real window for the scrolling suites: the tree is parsed by a
// context of that window, laid out at the window's origin, and every redraw of the viewer is
// recorded with the scroll offsets it showed.
#pragma once

#include "MarkupFixture.h"

#include <functional>
#include <vector>

#include "DibCanvas.h"
#include "uilib/markup/MarkupDrawingContext.h"

namespace markuptest
{
// A context that notes the vertical offset (and the tick) of every redraw of the viewer.
class ScrollContext : public CWVPMarkupContext
{
  public:
    struct Redraw
    {
        int vertical, horizontal;
        DWORD tick;
    };
    explicit ScrollContext(HWND host) : CWVPMarkupContext(host) {}
    void OnInvalidateVisual(CWVPMarkupInputElement* element) override
    {
        if (viewer && element == viewer)
        {
            const int v = viewer->GetScrollOffset(CWVPMarkupScrollViewer::orientationVertical);
            const int h = viewer->GetScrollOffset(CWVPMarkupScrollViewer::orientationHorizontal);
            if (redraws.empty() || redraws.back().vertical != v || redraws.back().horizontal != h)
                redraws.push_back({v, h, ::GetTickCount()});
        }
        CWVPMarkupContext::OnInvalidateVisual(element);
    }
    CWVPMarkupScrollViewer* viewer = nullptr;
    std::vector<Redraw> redraws;
};

// What the host window does with a message the loop dispatches to it (WM_APP and above).
inline std::function<void(UINT)>& HostHook()
{
    static std::function<void(UINT)> hook;
    return hook;
}

inline LRESULT CALLBACK ScrollHostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_APP && HostHook())
    {
        HostHook()(message);
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// The host window stays hidden unless a test follows the real pointer over it: a shown window
// that Wine maps on the X server takes seconds to destroy there (it waits for a window manager
// that the test display does not run), and the bar's logic needs no mapped window.
class ScrollHost
{
  public:
    enum Show
    {
        hidden = 0,
        shown = WS_VISIBLE
    };
    ScrollHost(int x = 0, int y = 0, int width = 300, int height = 300, Show show = hidden)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ScrollHostProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"RwScrollHost";
        ::RegisterClassW(&wc);
        hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"scroll", WS_POPUP | DWORD(show), x, y, width, height, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        context = new ScrollContext(hwnd);
    }
    ~ScrollHost()
    {
        HostHook() = nullptr;
        root.reset();
        context->Release();
        ::DestroyWindow(hwnd);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message != WM_QUIT)
                ::DispatchMessageW(&msg);
    }
    ScrollHost(const ScrollHost&) = delete;
    ScrollHost& operator=(const ScrollHost&) = delete;

    // Parses a scroll viewer and lays it out in (0, 0, width, height).
    CWVPMarkupScrollViewer* Build(LPCWSTR markup, int width, int height)
    {
        WCHAR error[512] = {};
        CWVPMarkupObject* parsed = context->Parse(markup, error, 512);
        EXPECT_NE(nullptr, parsed) << rwtest::Utf8(error);
        root.reset(static_cast<CWVPMarkupUIElement*>(parsed));
        viewer = MarkupCast<CWVPMarkupScrollViewer>(parsed);
        context->viewer = viewer;
        Layout(width, height);
        return viewer;
    }
    void Layout(int width, int height)
    {
        CWVPMarkupDrawingContext dc;
        root->Measure(&dc, width, height);
        root->Arrange({0, 0, width, height});
    }
    void Draw(DibCanvas& canvas) const
    {
        CWVPMarkupDrawingContext dc(canvas.dc());
        root->Render(&dc);
    }
    CWVPMarkupScrollBar* Bar(int orientation = CWVPMarkupScrollViewer::orientationVertical) const
    {
        return viewer->GetScrollBar(orientation);
    }
    int Offset(int orientation = CWVPMarkupScrollViewer::orientationVertical) const
    {
        return viewer->GetScrollOffset(orientation);
    }
    // The host point of a point of the bar.
    POINT OnBar(int x, int y, int orientation = CWVPMarkupScrollViewer::orientationVertical) const
    {
        POINT origin = Bar(orientation)->GetVisualOffset();
        return {origin.x + x, origin.y + y};
    }
    // A press of the left button on a host point, raised on the bar as the host's routing does;
    // it returns when the bar's tracking ends.
    void Press(POINT at, int orientation = CWVPMarkupScrollViewer::orientationVertical)
    {
        CWVPMarkupMouseEventArgs args(CWVPMarkupInputElement::s_pMouseLeftButtonDownEvent, Bar(orientation), hwnd,
                                      at.x, at.y);
        Bar(orientation)->OnMouseLeftButtonDown(&args);
        EXPECT_TRUE(args.m_bHandled);
    }
    void Post(UINT message, POINT at, WPARAM keys = MK_LBUTTON) const
    {
        ::PostMessageW(hwnd, message, keys, MAKELPARAM(at.x, at.y));
    }

    HWND hwnd;
    ScrollContext* context;
    ElementPtr root;
    CWVPMarkupScrollViewer* viewer = nullptr;
};
} // namespace markuptest
