#include "uilib/foundation/DrawHelpers.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/mfc/ExitSequence.h"
#include "platform/mfc/Wnd.h"
#include "uilib/foundation/ColorManager.h"
#include "uilib/foundation/OSVersionInfo.h"
#include "uilib/foundation/PaintManagerColor.h"

namespace
{
const WCHAR kMsImg32[] = L"msimg32.dll";
const WCHAR kArial[] = L"Arial";
const WCHAR kTahoma[] = L"Tahoma";
const WCHAR kShellDlg[] = L"MS Shell Dlg";
const BYTE kLastWesternCharset = 2; // ANSI, default and symbol
const double kHalf = 0.5;

CWVPDrawHelpers* g_drawHelpers = nullptr;

void DestroyDrawHelpers(void*)
{
    delete g_drawHelpers;
    g_drawHelpers = nullptr;
}

// Fills a rectangle with one colour without a brush.
void FillSolid(HDC dc, const RECT& rect, COLORREF color)
{
    COLORREF old = ::SetBkColor(dc, color);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

int ClampChannel(double v)
{
    return std::min((int)v, 255);
}

// GDI32's layout functions: not looked up yet, looked up and absent, or bound.
enum LayoutBinding
{
    LayoutUnbound,
    LayoutAbsent,
    LayoutBound
};
LayoutBinding g_layoutBinding = LayoutUnbound;
DWORD(WINAPI* g_pfnGetLayout)(HDC) = nullptr;
DWORD(WINAPI* g_pfnSetLayout)(HDC, DWORD) = nullptr;

bool BindLayout()
{
    if (g_layoutBinding == LayoutUnbound)
    {
        HMODULE gdi = ::GetModuleHandleW(L"GDI32.DLL");
        if (gdi)
        {
            g_pfnGetLayout = reinterpret_cast<DWORD(WINAPI*)(HDC)>(::GetProcAddress(gdi, "GetLayout"));
            g_pfnSetLayout = reinterpret_cast<DWORD(WINAPI*)(HDC, DWORD)>(::GetProcAddress(gdi, "SetLayout"));
        }
        g_layoutBinding = (g_pfnGetLayout && g_pfnSetLayout) ? LayoutBound : LayoutAbsent;
    }
    return g_layoutBinding == LayoutBound;
}

int CALLBACK FontFamilyProc(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM param)
{
    LPCWSTR wanted = reinterpret_cast<LPCWSTR>(param);
    return ::lstrcmpiW(font->lfFaceName, wanted) == 0 ? 0 : 1;
}
} // namespace

CWVPDrawHelpers::CWVPDrawHelpers()
    : m_pfnGradientFill(nullptr), m_pfnAlphaBlend(nullptr), m_pfnTransparentBlt(nullptr), m_hMsImg32(nullptr)
{
    m_hMsImg32 = ::LoadLibraryW(kMsImg32);
    if (m_hMsImg32)
    {
        m_pfnGradientFill = reinterpret_cast<WVPGradientFillProc>(::GetProcAddress(m_hMsImg32, "GradientFill"));
        m_pfnAlphaBlend = reinterpret_cast<WVPAlphaBlendProc>(::GetProcAddress(m_hMsImg32, "AlphaBlend"));
        m_pfnTransparentBlt = reinterpret_cast<WVPTransparentBltProc>(::GetProcAddress(m_hMsImg32, "TransparentBlt"));
    }
}

void CWVPDrawHelpers::FillGradient(CDC* dc, LPCRECT rect, COLORREF from, COLORREF to, BOOL horizontal)
{
    if (!dc || !dc->m_hDC || !rect || ::IsRectEmpty(rect))
        return;
    if (IsLowColorDC(dc) || from == to)
    {
        FillSolid(dc->m_hDC, *rect, from);
        return;
    }
    if (!m_pfnGradientFill || (IsDCRightToLeft(dc) && WVPOSVersionInfo().IsWin9x()))
        FillGradientBands(dc, rect, from, to, horizontal);
    else
        FillGradientNative(dc, rect, from, to, horizontal);
}

void CWVPDrawHelpers::FillGradientNative(CDC* dc, LPCRECT rect, COLORREF from, COLORREF to, BOOL horizontal)
{
    TRIVERTEX vertices[2];
    vertices[0].x = rect->left;
    vertices[0].y = rect->top;
    vertices[0].Red = (COLOR16)(GetRValue(from) << 8);
    vertices[0].Green = (COLOR16)(GetGValue(from) << 8);
    vertices[0].Blue = (COLOR16)(GetBValue(from) << 8);
    vertices[0].Alpha = 0;
    vertices[1].x = rect->right;
    vertices[1].y = rect->bottom;
    vertices[1].Red = (COLOR16)(GetRValue(to) << 8);
    vertices[1].Green = (COLOR16)(GetGValue(to) << 8);
    vertices[1].Blue = (COLOR16)(GetBValue(to) << 8);
    vertices[1].Alpha = 0;
    GRADIENT_RECT mesh = {0, 1};
    CallGradientFill(dc->m_hDC, vertices, 2, &mesh, 1, horizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
}

void CWVPDrawHelpers::FillGradientBands(CDC* dc, LPCRECT rect, COLORREF from, COLORREF to, BOOL horizontal)
{
    int width = std::max((int)(rect->right - rect->left), 1);
    int height = std::max((int)(rect->bottom - rect->top), 1);
    CRect area;
    CRect clip;
    if (::GetClipBox(dc->m_hDC, &clip) == NULLREGION || clip.IsRectEmpty())
        area = *rect;
    else if (!area.IntersectRect(&clip, rect))
        return;
    if (horizontal)
    {
        for (int x = area.left; x < area.right; ++x)
        {
            CRect band(x, area.top, x + 1, area.bottom);
            FillSolid(dc->m_hDC, band, InterpolateColor(from, to, 1.0 - (double)(x - rect->left) / width));
        }
    }
    else
    {
        for (int y = area.top; y < area.bottom; ++y)
        {
            CRect band(area.left, y, area.right, y + 1);
            FillSolid(dc->m_hDC, band, InterpolateColor(from, to, 1.0 - (double)(y - rect->top) / height));
        }
    }
}

void CWVPDrawHelpers::FillGradientClipped(CDC* dc, LPCRECT rect, COLORREF from, COLORREF to, BOOL horizontal,
                                          LPCRECT clip)
{
    if (!clip)
    {
        FillGradient(dc, rect, from, to, horizontal);
        return;
    }
    CRect area(rect);
    COLORREF newFrom = from, newTo = to;
    if (horizontal)
    {
        area.top = std::max(area.top, clip->top);
        area.bottom = std::min(area.bottom, clip->bottom);
        if (clip->right < rect->left || rect->right < clip->left)
            return;
        double span = rect->right - rect->left;
        if (span <= 0)
            return;
        if (clip->left > rect->left)
        {
            area.left = clip->left;
            newFrom = InterpolateColor(from, to, (rect->right - clip->left) / span);
        }
        if (clip->right < rect->right)
        {
            area.right = clip->right;
            newTo = InterpolateColor(from, to, (rect->right - clip->right) / span);
        }
    }
    else
    {
        area.left = std::max(area.left, clip->left);
        area.right = std::min(area.right, clip->right);
        if (clip->bottom < rect->top || rect->bottom < clip->top)
            return;
        double span = rect->bottom - rect->top;
        if (span <= 0)
            return;
        if (clip->top > rect->top)
        {
            area.top = clip->top;
            newFrom = InterpolateColor(from, to, (rect->bottom - clip->top) / span);
        }
        if (clip->bottom < rect->bottom)
        {
            area.bottom = clip->bottom;
            newTo = InterpolateColor(from, to, (rect->bottom - clip->bottom) / span);
        }
    }
    FillGradient(dc, &area, newFrom, newTo, horizontal);
}

void CWVPDrawHelpers::FillGradientRecord(CDC* dc, LPCRECT rect, const CWVPPaintManagerColorGradient& gradient,
                                         BOOL horizontal, LPCRECT clip)
{
    COLORREF from = gradient.clrLight.GetColor(), to = gradient.clrDark.GetColor();
    if (gradient.m_fGradientFactor == (float)kHalf)
    {
        FillGradientClipped(dc, rect, from, to, horizontal, clip);
        return;
    }
    COLORREF middle = InterpolateColor(from, to, gradient.m_fGradientFactor);
    CRect first(rect), second(rect);
    if (horizontal)
        first.right = second.left = rect->right - (rect->right - rect->left) / 2;
    else
        first.bottom = second.top = rect->bottom - (rect->bottom - rect->top) / 2;
    FillGradientClipped(dc, &first, from, middle, horizontal, clip);
    FillGradientClipped(dc, &second, middle, to, horizontal, clip);
}

BOOL CWVPDrawHelpers::CallGradientFill(HDC dc, PTRIVERTEX vertices, ULONG count, PVOID mesh, ULONG meshCount,
                                       ULONG mode)
{
    return m_pfnGradientFill ? m_pfnGradientFill(dc, vertices, count, mesh, meshCount, mode) : FALSE;
}

COLORREF CWVPDrawHelpers::InterpolateColor(COLORREF a, COLORREF b, double weight)
{
    auto mix = [weight](int ca, int cb) { return ClampChannel((1.0 - weight) * cb + weight * ca); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

DWORD CWVPDrawHelpers::ColorToHLS(COLORREF color)
{
    int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    int mx = std::max(std::max(r, g), b), mn = std::min(std::min(r, g), b);
    int lum = (mx + mn + 1) / 2;
    int hue, sat;
    if (mx == mn)
    {
        hue = 255;
        sat = 0;
    }
    else
    {
        int d = mx - mn;
        sat = lum < 127 ? ((d + 1) * 256) / (mx + mn) : (d * 256) / (512 - (mx + mn));
        if (r == mx)
            hue = ((g - b) * 256) / d;
        else if (g == mx)
            hue = ((b - r) * 256) / d + 512;
        else
            hue = ((r - g) * 256) / d + 1024;
        hue /= 6;
        if (hue < 0)
            hue += 256;
    }
    hue = std::min(hue * 239 / 255, 239);
    sat = std::min(sat * 240 / 255, 240);
    lum = std::min(lum * 240 / 255, 240);
    return (DWORD)(hue | (sat << 8) | (lum << 16));
}

int CWVPDrawHelpers::HueToChannel(int m1, int m2, int hue)
{
    if (hue < 0)
        hue += 255;
    if (hue > 255)
        hue -= 255;
    int step = (m2 - m1) / 255;
    int value;
    if (6 * hue < 255)
        value = m1 + 6 * step * hue;
    else if (2 * hue < 255)
        value = m2;
    else if (3 * hue < 510)
        value = m1 + 6 * step * (170 - hue);
    else
        value = m1;
    return value / 255;
}

COLORREF CWVPDrawHelpers::HLSToColor(DWORD hls)
{
    int hue = (hls & 0xFF) * 255 / 239;
    int sat = ((hls >> 8) & 0xFF) * 255 / 240;
    int lum = ((hls >> 16) & 0xFF) * 255 / 240;
    if (sat == 0)
    {
        int grey = std::min(lum, 255);
        return RGB(grey, grey, grey);
    }
    int m2 = lum <= 127 ? lum * (sat + 255) : (lum + sat - lum * sat / 255) * 255;
    int m1 = 510 * lum - m2;
    int r = std::min(HueToChannel(m1, m2, hue + 85), 255);
    int g = std::min(HueToChannel(m1, m2, hue), 255);
    int b = std::min(HueToChannel(m1, m2, hue - 85), 255);
    return RGB(std::max(r, 0), std::max(g, 0), std::max(b, 0));
}

BOOL CWVPDrawHelpers::IsLowColorDC(CDC* dc)
{
    return CWVPColorManager::IsLowColorDisplay(dc ? dc->m_hDC : nullptr);
}

void CWVPDrawHelpers::AveragePixels(CDC* dc, const POINT* points, int count)
{
    // Only whole pairs: an odd last point has no offset to read.
    for (int i = 0; i + 1 < count; i += 2)
    {
        POINT pixel = points[i], offset = points[i + 1];
        COLORREF a = ::GetPixel(dc->m_hDC, pixel.x, pixel.y);
        COLORREF b = ::GetPixel(dc->m_hDC, pixel.x + offset.x, pixel.y + offset.y);
        ::SetPixel(dc->m_hDC, pixel.x, pixel.y,
                   RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
                       (GetBValue(a) + GetBValue(b)) / 2));
    }
}

void CWVPDrawHelpers::RemoveMnemonicMarks(LPWSTR text)
{
    if (!text)
        return;
    WCHAR* out = text;
    for (const WCHAR* in = text; *in; ++in)
    {
        if (*in == L'&')
        {
            if (in[1] != L'&')
                continue;
            ++in;
        }
        *out++ = *in;
    }
    *out = 0;
}

void CWVPDrawHelpers::RemoveMnemonicMarksString(CString& text)
{
    RemoveMnemonicMarks(text.GetBuffer());
    text.ReleaseBuffer();
}

void CWVPDrawHelpers::GetDefWindowText(HWND hwnd, CString& text)
{
    int length = (int)::DefWindowProcW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0)
    {
        text.Empty();
        return;
    }
    ::DefWindowProcW(hwnd, WM_GETTEXT, length + 1, (LPARAM)text.GetBuffer(length + 1));
    text.ReleaseBuffer();
}

BOOL CWVPDrawHelpers::IsTopParentActive(HWND hwnd)
{
    if (!hwnd)
        return FALSE;
    HWND top = hwnd;
    for (HWND up = ::GetParent(top); up; up = ::GetParent(up))
        top = up;
    return ::GetForegroundWindow() == ::GetLastActivePopup(top);
}

void CWVPDrawHelpers::DrawTriangle(CDC* dc, CPoint a, CPoint b, CPoint c)
{
    POINT points[3] = {a, b, c};
    ::Polygon(dc->m_hDC, points, 3);
}

BOOL CWVPDrawHelpers::RegisterWindowClass(HINSTANCE instance, LPCWSTR className, UINT style, HBRUSH background)
{
    WNDCLASSW wc = {};
    wc.style = style;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance ? instance : ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    if (::RegisterClassW(&wc))
        return TRUE;
    // Every window of the class registers it first: a class that is already there with the same
    // procedure is the one wanted.
    WNDCLASSW existing = {};
    return ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS &&
           ::GetClassInfoW(wc.hInstance, className, &existing) && existing.lpfnWndProc == wc.lpfnWndProc;
}

BOOL CWVPDrawHelpers::FontExists(LPCWSTR faceName)
{
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return FALSE;
    LOGFONTW font = {};
    font.lfCharSet = DEFAULT_CHARSET;
    // The enumeration stops (returns 0) at the first family of that name.
    int found = ::EnumFontFamiliesExW(screen, &font, FontFamilyProc, (LPARAM)faceName, 0);
    ::ReleaseDC(nullptr, screen);
    return found == 0;
}

CString CWVPDrawHelpers::GetDefaultFontName(BOOL preferTahoma)
{
    LOGFONTW stock = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
    const CWVPOSVersionInfo& os = WVPOSVersionInfo();
    bool foreignCharset = stock.lfCharSet > kLastWesternCharset &&
                          os.GetRecord().dwPlatformId == VER_PLATFORM_WIN32_NT && os.GetRecord().dwMajorVersion >= 5 &&
                          ::lstrcmpiW(stock.lfFaceName, kShellDlg) != 0;
    if (foreignCharset || !FontExists(kArial))
        return CString(stock.lfFaceName);
    if (preferTahoma && FontExists(kTahoma))
        return CString(kTahoma);
    return CString(kArial);
}

BOOL CWVPDrawHelpers::IsDCRightToLeft(CDC* dc)
{
    return dc && dc->m_hDC && WVPGetLayout(dc->m_hDC) != 0;
}

void CWVPDrawHelpers::SetDCLayout(CDC* dc, DWORD layout)
{
    if (dc && dc->m_hDC)
        WVPSetLayout(dc->m_hDC, layout);
}

UINT CWVPDrawHelpers::MirrorArrowKey(HWND hwnd, UINT key)
{
    if (!(::GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL))
        return key;
    if (key == VK_LEFT)
        return VK_RIGHT;
    if (key == VK_RIGHT)
        return VK_LEFT;
    return key;
}

void CWVPDrawHelpers::ScreenToWindowPoint(HWND hwnd, POINT& point)
{
    CRect window = WVPSafeWindowRect(hwnd);
    if (::GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)
        point.x = window.right - point.x;
    else
        point.x -= window.left;
    point.y -= window.top;
}

CWVPDrawHelpers* WVPDrawHelpers()
{
    if (!g_drawHelpers)
    {
        g_drawHelpers = new CWVPDrawHelpers;
        AfxRegisterExitHandler(&DestroyDrawHelpers, nullptr);
    }
    return g_drawHelpers;
}

COLORREF WVPBlendEdgePixel(CDC* dc, int x, int y, COLORREF edge, COLORREF fill, double distance)
{
    COLORREF base = fill;
    if (distance < 0)
        distance = -distance;
    else
        base = ::GetPixel(dc->m_hDC, x, y);
    auto blend = [distance](int e, int b) { return std::min(std::max((int)(e + distance * (b - e)), 0), 255); };
    return RGB(blend(GetRValue(edge), GetRValue(base)), blend(GetGValue(edge), GetGValue(base)),
               blend(GetBValue(edge), GetBValue(base)));
}

DWORD WVPGetLayout(HDC dc)
{
    return BindLayout() ? g_pfnGetLayout(dc) : 0;
}

DWORD WVPSetLayout(HDC dc, DWORD layout)
{
    return BindLayout() ? g_pfnSetLayout(dc, layout) : 0;
}

CRect WVPNullRect()
{
    return CRect(0, 0, 0, 0);
}

CRect WVPSafeWindowRect(HWND hwnd)
{
    CRect rect;
    if (!hwnd || !::IsWindow(hwnd) || !::GetWindowRect(hwnd, &rect))
        return WVPNullRect();
    return rect;
}

CRect WVPSafeClientRect(HWND hwnd)
{
    CRect rect;
    if (!hwnd || !::IsWindow(hwnd) || !::GetClientRect(hwnd, &rect))
        return WVPNullRect();
    return rect;
}

CRect WVPSafeWindowRectOfWnd(const CWnd* wnd)
{
    return WVPSafeWindowRect(wnd ? wnd->GetSafeHwnd() : nullptr);
}

CRect WVPSafeClientRectOfWnd(const CWnd* wnd)
{
    return WVPSafeClientRect(wnd ? wnd->GetSafeHwnd() : nullptr);
}

void WVPMemCopy(void* destination, const void* source, size_t count)
{
    if (destination && source && count)
        std::memcpy(destination, source, count);
}
