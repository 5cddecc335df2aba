// An MDI frame window of our own with its MDI client and captioned children, shown at the
// screen's top-left corner: skin tests maximise, resize and arrange it, and the screenshot program
// photographs it.
#pragma once

#include <windows.h>

#include "SkinGallery.h"

namespace rwtest
{

class SkinMdiFrame
{
  public:
    static const int kWidth = 560;
    static const int kHeight = 380;

    SkinMdiFrame()
    {
        Register();
        m_hWnd = ::CreateWindowExW(0, kFrameClass, L"MDI frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, kWidth,
                                   kHeight, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        if (!m_hWnd)
            return;
        m_hClient = ::GetWindow(m_hWnd, GW_CHILD);
        ::ShowWindow(m_hWnd, SW_SHOW);
        ::SetForegroundWindow(m_hWnd);
        ::UpdateWindow(m_hWnd);
        Pump();
    }
    ~SkinMdiFrame()
    {
        if (m_hWnd)
            ::DestroyWindow(m_hWnd);
        Pump();
    }
    SkinMdiFrame(const SkinMdiFrame&) = delete;
    SkinMdiFrame& operator=(const SkinMdiFrame&) = delete;

    HWND hwnd() const
    {
        return m_hWnd;
    }
    HWND client() const
    {
        return m_hClient;
    }
    // A new captioned child of the client, at the place given in client coordinates.
    HWND AddChild(LPCWSTR title, int x, int y, int cx, int cy)
    {
        MDICREATESTRUCTW create = {};
        create.szClass = kChildClass;
        create.szTitle = title;
        create.hOwner = ::GetModuleHandleW(nullptr);
        create.x = x;
        create.y = y;
        create.cx = cx;
        create.cy = cy;
        create.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        HWND child =
            reinterpret_cast<HWND>(::SendMessageW(m_hClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
        Pump();
        return child;
    }
    static void Pump()
    {
        SkinGallery::Pump();
    }

  private:
    static constexpr const wchar_t* kFrameClass = L"RwSkinMdiFrame";
    static constexpr const wchar_t* kChildClass = L"RwSkinMdiChild";

    static void Register()
    {
        WNDCLASSW wc = {};
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.lpfnWndProc = &FrameProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
        wc.lpszClassName = kFrameClass;
        ::RegisterClassW(&wc);
        wc.lpfnWndProc = &ChildProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kChildClass;
        ::RegisterClassW(&wc);
    }

    static LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        HWND client = ::GetWindow(hwnd, GW_CHILD);
        if (message == WM_CREATE)
        {
            CLIENTCREATESTRUCT ccs = {};
            ccs.idFirstChild = 50000;
            client = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"MDIClient", nullptr,
                                       WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0,
                                       hwnd, nullptr, ::GetModuleHandleW(nullptr), &ccs);
            return client ? 0 : -1;
        }
        return ::DefFrameProcW(hwnd, client, message, wParam, lParam);
    }

    static LRESULT CALLBACK ChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        return ::DefMDIChildProcW(hwnd, message, wParam, lParam);
    }

    HWND m_hWnd = nullptr;
    HWND m_hClient = nullptr;
};

} // namespace rwtest
