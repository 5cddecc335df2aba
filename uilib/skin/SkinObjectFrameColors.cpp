// The control colours of the frame object: the brushes its client area and its children are
// filled with, from the skin's colours or a property page's tiled tab body.
#include "uilib/skin/SkinObjectFrame.h"

#include "uilib/skin/SkinImage.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinSchemaNames.h"

namespace
{

// The picture a property page's body is tiled with: class TAB, part BODY, STOCKIMAGEFILE.
const int kPartTabBody = 10;

} // namespace

HBRUSH CWVPSkinObjectFrame::GetClientBrush(HDC hDC)
{
    return GetParentBrush(hDC, GetClientBrushMessage());
}

UINT CWVPSkinObjectFrame::GetClientBrushMessage()
{
    return m_nCtlColorMessage;
}

HBRUSH CWVPSkinObjectFrame::GetParentBrush(HDC hDC, UINT nMessage)
{
    CWVPSkinManagerMetrics* metrics = GetMetrics();
    if (!metrics)
        return nullptr;
    HWND parent = ::GetParent(m_hWnd);
    if (!parent)
        return metrics->GetBrush(COLOR_BTNFACE);
    LRESULT result = ::SendMessageW(parent, nMessage, WPARAM(hDC), LPARAM(m_hWnd));
    if (result >= 1 && result <= COLOR_MENUBAR + 1)
        return metrics->GetBrush(int(result - 1));
    if (result)
        return reinterpret_cast<HBRUSH>(result);
    bool window = nMessage == WM_CTLCOLOREDIT || nMessage == WM_CTLCOLORLISTBOX;
    return metrics->GetBrush(window ? COLOR_WINDOW : COLOR_BTNFACE);
}

HBRUSH CWVPSkinObjectFrame::FillBackground(HDC hDC, const RECT& rc, UINT nMessage)
{
    HBRUSH brush = GetParentBrush(hDC, nMessage);
    if (brush)
        ::FillRect(hDC, &rc, brush);
    return brush;
}

HBRUSH CWVPSkinObjectFrame::GetTabBodyBrush()
{
    CWVPSkinManagerMetrics* metrics = GetMetrics();
    if (metrics->m_brushTabControl)
        return metrics->m_brushTabControl;
    CWVPSkinManagerClass* tab = m_pManager->GetSkinClass(L"TAB");
    CString name = tab ? tab->GetThemeString(kPartTabBody, 0, kSkinPropStockImageFile) : CString();
    CWVPSkinImage* image =
        name.IsEmpty() ? nullptr : tab->GetImageCache().GetImage(m_pManager->GetResourceFile(), name);
    SIZE extent = image ? image->GetExtent() : SIZE{};
    if (extent.cx <= 0 || extent.cy <= 0)
        return nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, extent.cx, extent.cy);
    ::ReleaseDC(nullptr, screen);
    if (memory && bitmap)
    {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        RECT whole = {0, 0, extent.cx, extent.cy};
        image->DrawImage(memory, whole, whole, RECT{}, CLR_INVALID, kSkinSizingStretch, FALSE);
        ::SelectObject(memory, old);
        // The metrics keep the brush until they refresh; the brush holds its own copy of the picture.
        metrics->m_brushTabControl = ::CreatePatternBrush(bitmap);
    }
    if (bitmap)
        ::DeleteObject(bitmap);
    if (memory)
        ::DeleteDC(memory);
    return metrics->m_brushTabControl;
}

HBRUSH CWVPSkinObjectFrame::GetCtlColorBrush(HDC hDC, HWND hWndCtl, UINT)
{
    CWVPSkinManagerMetrics* metrics = GetMetrics();
    if (m_nWindowKind != kWindowPropertyPage)
    {
        ::SetBkColor(hDC, metrics->GetColor(COLOR_BTNFACE));
        ::SetTextColor(hDC, metrics->GetColor(COLOR_BTNTEXT));
        return metrics->GetBrush(COLOR_BTNFACE);
    }
    HBRUSH brush = GetTabBodyBrush();
    if (!brush)
        brush = metrics->GetBrush(COLOR_BTNFACE);
    if (hWndCtl && hWndCtl != m_hWnd)
    {
        // The page's picture continues under the control.
        POINT origin = {0, 0};
        ::MapWindowPoints(m_hWnd, hWndCtl, &origin, 1);
        ::SetBrushOrgEx(hDC, origin.x, origin.y, nullptr);
        ::SetBkMode(hDC, TRANSPARENT);
        ::SetTextColor(hDC, metrics->GetColor(COLOR_BTNTEXT));
    }
    return brush;
}

BOOL CWVPSkinObjectFrame::AnswerCtlColor(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    if (m_strClassName == L"COMBOBOX" || !GetMetrics())
        return FALSE;
    HDC dc = reinterpret_cast<HDC>(wParam);
    CWVPSkinManagerMetrics* metrics = GetMetrics();
    switch (nMessage)
    {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        ::SetBkColor(dc, metrics->GetColor(COLOR_WINDOW));
        ::SetTextColor(dc, metrics->GetColor(COLOR_WINDOWTEXT));
        lResult = reinterpret_cast<LRESULT>(metrics->GetBrush(COLOR_WINDOW));
        return TRUE;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        lResult = reinterpret_cast<LRESULT>(GetCtlColorBrush(dc, reinterpret_cast<HWND>(lParam), nMessage));
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT CWVPSkinObjectFrame::OnEraseBkgndMessage(WPARAM, LPARAM)
{
    LONG_PTR classBrush = ::GetClassLongPtrW(m_hWnd, GCLP_HBRBACKGROUND);
    if (classBrush < 1 || classBrush > COLOR_MENUBAR + 1 || !GetMetrics())
        return Default();
    HBRUSH skinBrush = GetMetrics()->GetBrush(int(classBrush - 1));
    if (!skinBrush)
        return Default();
    ::SetClassLongPtrW(m_hWnd, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(skinBrush));
    LRESULT result = Default();
    ::SetClassLongPtrW(m_hWnd, GCLP_HBRBACKGROUND, classBrush);
    return result;
}
