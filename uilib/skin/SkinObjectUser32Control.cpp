#include "uilib/skin/SkinObjectUser32Control.h"

#include "uilib/foundation/ModuleHandle.h"
#include "uilib/foundation/OSVersionInfo.h"

namespace
{

// From version 6 on the common controls draw scroll bars through the hooked functions.
const DWORD kComCtlVersion6 = 0x60000;

} // namespace

IMPLEMENT_DYNCREATE(CWVPSkinObjectUser32Control, CWVPSkinObjectFrame)
IMPLEMENT_DYNCREATE(CWVPSkinObjectComCtl32Control, CWVPSkinObjectUser32Control)

BEGIN_MESSAGE_MAP(CWVPSkinObjectUser32Control, CWVPSkinObjectFrame)
ON_MESSAGE(WM_HSCROLL, OnHScroll)
ON_MESSAGE(WM_VSCROLL, OnVScroll)
ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
ON_MESSAGE(WM_CHAR, OnChar)
ON_MESSAGE(WM_WINDOWPOSCHANGED, OnWindowPosChanged)
ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
END_MESSAGE_MAP()

CWVPSkinObjectUser32Control::CWVPSkinObjectUser32Control()
{
}

CWVPSkinObjectUser32Control::~CWVPSkinObjectUser32Control()
{
}

BOOL CWVPSkinObjectUser32Control::OnHookMessage(UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    BOOL handled = CWVPSkinObjectFrame::OnHookMessage(nMessage, wParam, lParam, lResult);
    // The wheel scrolls inside the control's own handling, wherever the message went.
    if (nMessage == WM_MOUSEWHEEL && ::IsWindow(m_hWnd))
    {
        if (!handled)
        {
            lResult = DefWindowProc(nMessage, wParam, lParam);
            handled = TRUE;
        }
        CheckScrollBars();
    }
    return handled;
}

void CWVPSkinObjectUser32Control::RedrawScrollBars()
{
    if (!::IsWindow(m_hWnd) || !::IsWindowVisible(m_hWnd))
        return;
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    if (style & WS_HSCROLL)
        RedrawScrollBarIndex(0);
    if (style & WS_VSCROLL)
        RedrawScrollBarIndex(1);
}

void CWVPSkinObjectUser32Control::CheckScrollBars()
{
    if (WVPGetComCtlVersion() >= kComCtlVersion6 || !::IsWindow(m_hWnd))
        return;
    static const struct
    {
        int nBar;
        DWORD dwStyle;
    } kBars[] = {{SB_HORZ, WS_HSCROLL}, {SB_VERT, WS_VSCROLL}};
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    for (int index = 0; index < 2; ++index)
    {
        if (!(style & kBars[index].dwStyle))
            continue;
        SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_POS};
        if (!::GetScrollInfo(m_hWnd, kBars[index].nBar, &si))
            continue;
        SCROLLINFO& last = m_scrollInfo[index];
        if (si.nPos == last.nPos && si.nMax == last.nMax && si.nMin == last.nMin)
            continue;
        last.nPos = si.nPos;
        last.nMax = si.nMax;
        last.nMin = si.nMin;
        RedrawScrollBarIndex(index);
    }
}

LRESULT CWVPSkinObjectUser32Control::DefaultThenCheck(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(nMessage, wParam, lParam);
    CheckScrollBars();
    return result;
}

LRESULT CWVPSkinObjectUser32Control::OnHScroll(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenCheck(WM_HSCROLL, wParam, lParam);
}

LRESULT CWVPSkinObjectUser32Control::OnVScroll(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenCheck(WM_VSCROLL, wParam, lParam);
}

LRESULT CWVPSkinObjectUser32Control::OnKeyDown(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenCheck(WM_KEYDOWN, wParam, lParam);
}

LRESULT CWVPSkinObjectUser32Control::OnChar(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenCheck(WM_CHAR, wParam, lParam);
}

LRESULT CWVPSkinObjectUser32Control::OnWindowPosChanged(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefaultThenCheck(WM_WINDOWPOSCHANGED, wParam, lParam);
    // Shown, the system's own bar is drawn over the frame (a combo box's dropped list shows it
    // until something repaints its frame), whether or not the position changed.
    const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (pos && (pos->flags & (SWP_SHOWWINDOW | SWP_FRAMECHANGED)))
        RedrawScrollBars();
    return result;
}

LRESULT CWVPSkinObjectUser32Control::OnEraseBkgnd(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenCheck(WM_ERASEBKGND, wParam, lParam);
}

void CWVPSkinObjectComCtl32Control::CheckScrollBars()
{
    if (WVPOSVersionInfo().IsWin9x())
        CWVPSkinObjectUser32Control::CheckScrollBars();
}
