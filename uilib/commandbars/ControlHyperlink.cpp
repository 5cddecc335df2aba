#include "uilib/commandbars/ControlHyperlink.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/PaintManager.h"

#include <shellapi.h>

IMPLEMENT_SERIAL(CWVPControlHyperlink, CWVPControl, VERSIONABLE_SCHEMA | 0x21)

namespace
{
const COLORREF kLinkColor = RGB(0, 0, 255);
const COLORREF kSelectedLinkColor = RGB(255, 0, 0);
const UINT kLinkFormat = DT_SINGLELINE | DT_NOPREFIX;

INT_PTR DefaultShellOpen(HWND owner, LPCWSTR address, int show)
{
    return INT_PTR(::ShellExecuteW(owner, L"open", address, nullptr, nullptr, show));
}

// Selects a font into a device context for the scope.
struct FontSelection
{
    HDC dc;
    HGDIOBJ old;
    FontSelection(HDC hdc, HFONT font) : dc(hdc), old(::SelectObject(hdc, font))
    {
    }
    ~FontSelection()
    {
        ::SelectObject(dc, old);
    }
};
} // namespace

CWVPControlHyperlink::ShellOpenFn CWVPControlHyperlink::s_shellOpen = DefaultShellOpen;

CWVPControlHyperlink::CWVPControlHyperlink() : m_hHandCursor(::LoadCursorW(nullptr, IDC_HAND))
{
    m_nType = wvpControlError;
}

HFONT CWVPControlHyperlink::GetLinkFont() const
{
    CWVPPaintManager* pm = GetPaintManager();
    if (pm && pm->m_fontBar.GetSafeHandle())
        return HFONT(pm->m_fontBar.GetSafeHandle());
    return HFONT(::GetStockObject(DEFAULT_GUI_FONT));
}

CSize CWVPControlHyperlink::GetSize(CDC* pDC)
{
    FontSelection font(pDC->GetSafeHdc(), GetLinkFont());
    const CString caption = GetCaption();
    SIZE extent = {0, 0};
    ::GetTextExtentPoint32W(pDC->GetSafeHdc(), caption, caption.GetLength(), &extent);
    return CSize(extent.cx, extent.cy);
}

void CWVPControlHyperlink::Draw(CDC* pDC)
{
    FontSelection font(pDC->GetSafeHdc(), GetLinkFont());
    const COLORREF color =
        !GetEnabled() ? ::GetSysColor(COLOR_GRAYTEXT) : (GetSelected() ? kSelectedLinkColor : kLinkColor);
    const COLORREF oldColor = pDC->SetTextColor(color);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    if (CWVPPaintManager* pm = GetPaintManager())
        pm->DrawTextOnGlass(pDC, GetCaption(), GetRect(), kLinkFormat, IsOverDwmCaption());
    else
    {
        CRect rc = GetRect();
        ::DrawTextW(pDC->GetSafeHdc(), GetCaption(), -1, &rc, kLinkFormat);
    }
    pDC->SetBkMode(oldMode);
    pDC->SetTextColor(oldColor);
}

void CWVPControlHyperlink::OnMouseMove(CPoint)
{
    if (m_hHandCursor)
        ::SetCursor(m_hHandCursor);
}

void CWVPControlHyperlink::OnClick(BOOL, CPoint)
{
    if (GetEnabled() && !IsCustomizeMode())
        OnExecute();
}

void CWVPControlHyperlink::OnExecute()
{
    const CString address = m_strTooltipText;
    if (address.IsEmpty())
        return;
    s_shellOpen(m_pParent ? m_pParent->GetSafeHwnd() : nullptr, address, SW_SHOW);
}
