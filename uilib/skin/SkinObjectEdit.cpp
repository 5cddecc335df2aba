#include "uilib/skin/SkinObjectEdit.h"

#include "uilib/skin/SkinDCGuards.h"

namespace
{

// An up-down control attached to its buddy covers this much of the buddy's frame.
const int kUpDownOverlap = 2;

} // namespace

IMPLEMENT_DYNCREATE(CWVPSkinObjectEdit, CWVPSkinObjectUser32Control)

CWVPSkinObjectEdit::CWVPSkinObjectEdit()
{
    m_strClassName = L"EDIT";
    m_nCtlColorMessage = WM_CTLCOLOREDIT;
}

UINT CWVPSkinObjectEdit::GetClientBrushMessage()
{
    if (!::IsWindowEnabled(m_hWnd) || (::GetWindowLongW(m_hWnd, GWL_STYLE) & ES_READONLY))
        return WM_CTLCOLORSTATIC;
    return WM_CTLCOLOREDIT;
}

bool CWVPSkinObjectEdit::GetUpDownStrip(RECT& strip) const
{
    HWND next = ::GetWindow(m_hWnd, GW_HWNDNEXT);
    RECT window, other;
    if (!next || !::IsWindowVisible(next) || !::GetWindowRect(m_hWnd, &window) || !::GetWindowRect(next, &other) ||
        !::IntersectRect(&strip, &window, &other))
        return false;
    bool vertical = strip.right - strip.left == kUpDownOverlap && strip.bottom - strip.top > kUpDownOverlap;
    bool horizontal = strip.bottom - strip.top == kUpDownOverlap && strip.right - strip.left > kUpDownOverlap;
    if (!vertical && !horizontal)
        return false;
    ::OffsetRect(&strip, -window.left, -window.top);
    return true;
}

void CWVPSkinObjectEdit::DrawFrame(HDC hDC)
{
    CWVPSkinSavedDC saved(hDC);
    RECT strip;
    if (GetUpDownStrip(strip))
        ::ExcludeClipRect(hDC, strip.left, strip.top, strip.right, strip.bottom);
    CWVPSkinObjectUser32Control::DrawFrame(hDC);
}
