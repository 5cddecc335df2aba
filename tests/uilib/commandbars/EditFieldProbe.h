// What the edit-field suites read back: the spin steps the owner window hears of (it may veto
// them) and how dark a field's printed text is.
#pragma once

#include <windows.h>

#include "DibCanvas.h"
#include "uilib/commandbars/ControlEdit.h"

#include <algorithm>
#include <vector>

namespace rwtest
{
// Subclasses the owner window while it lives: records the delta of each spin notification and
// answers it with `answer` (non-zero vetoes the step).
class SpinOwnerProbe
{
  public:
    explicit SpinOwnerProbe(HWND owner) : m_owner(owner)
    {
        Current() = this;
        m_previous = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnerProc)));
    }
    ~SpinOwnerProbe()
    {
        ::SetWindowLongPtrW(m_owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
        Current() = nullptr;
    }
    SpinOwnerProbe(const SpinOwnerProbe&) = delete;
    SpinOwnerProbe& operator=(const SpinOwnerProbe&) = delete;

    std::vector<int> deltas;
    LRESULT answer = 0;

  private:
    static SpinOwnerProbe*& Current()
    {
        static SpinOwnerProbe* current = nullptr;
        return current;
    }
    static LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        SpinOwnerProbe* self = Current();
        if (message == WVP_WM_CONTROLNOTIFY && lParam)
        {
            const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
            if (hdr->code == WVP_NOTIFY_EDIT_SPINUP || hdr->code == WVP_NOTIFY_EDIT_SPINDOWN)
            {
                self->deltas.push_back(reinterpret_cast<const NMWVPSPIN*>(lParam)->delta);
                return self->answer;
            }
        }
        return ::CallWindowProcW(self->m_previous, hwnd, message, wParam, lParam);
    }

    HWND m_owner;
    WNDPROC m_previous = nullptr;
};

// The darkest pixel (its brightest channel) of the window's client area as the window prints
// it: 255 when all is white, low for text in the text colour, middling for grey text.
inline int DarkestPrintedPixel(HWND hwnd)
{
    CRect client;
    ::GetClientRect(hwnd, &client);
    DibCanvas canvas(client.Width(), client.Height());
    ::SendMessageW(hwnd, WM_PRINTCLIENT, WPARAM(canvas.dc()), PRF_CLIENT | PRF_ERASEBKGND);
    int darkest = 255;
    for (int y = 0; y < client.Height(); ++y)
        for (int x = 0; x < client.Width(); ++x)
        {
            const COLORREF c = canvas.At(x, y);
            darkest = std::min(darkest, std::max({int(GetRValue(c)), int(GetGValue(c)), int(GetBValue(c))}));
        }
    return darkest;
}
} // namespace rwtest
