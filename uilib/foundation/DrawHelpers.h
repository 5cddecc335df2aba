// The painting toolkit of the library: the optional msimg32 functions bound once, gradients (the
// system's GradientFill or one-pixel bands), colour conversions, text and window helpers, layout
// direction and safe rectangles. Every control, skin object and paint manager draws with it.
#pragma once

#include <windows.h>

#include "platform/mfc/DC.h"
#include "platform/mfc/Point.h"
#include "platform/mfc/Rect.h"
#include "platform/mfc/String.h"

class CWnd;
class CWVPPaintManagerColorGradient;

typedef BOOL(WINAPI* WVPGradientFillProc)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
typedef BOOL(WINAPI* WVPAlphaBlendProc)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
typedef BOOL(WINAPI* WVPTransparentBltProc)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

class CWVPDrawHelpers
{
  public:
    CWVPDrawHelpers();
    virtual ~CWVPDrawHelpers() = default;

    void FillGradient(CDC* dc, LPCRECT rect, COLORREF from, COLORREF to, BOOL horizontal);
    void FillGradientNative(CDC* dc, LPCRECT rect, COLORREF from, COLORREF to, BOOL horizontal);
    void FillGradientBands(CDC* dc, LPCRECT rect, COLORREF from, COLORREF to, BOOL horizontal);
    void FillGradientClipped(CDC* dc, LPCRECT rect, COLORREF from, COLORREF to, BOOL horizontal, LPCRECT clip);
    void FillGradientRecord(CDC* dc, LPCRECT rect, const CWVPPaintManagerColorGradient& gradient, BOOL horizontal,
                            LPCRECT clip = nullptr);
    BOOL CallGradientFill(HDC dc, PTRIVERTEX vertices, ULONG count, PVOID mesh, ULONG meshCount, ULONG mode);

    static COLORREF InterpolateColor(COLORREF a, COLORREF b, double weight);
    static DWORD ColorToHLS(COLORREF color);
    static COLORREF HLSToColor(DWORD hls);
    static int HueToChannel(int m1, int m2, int hue);
    static BOOL IsLowColorDC(CDC* dc);
    // Each pair of points is a pixel and an offset; the pixel becomes the average of itself and
    // the pixel at pixel + offset. count counts points.
    static void AveragePixels(CDC* dc, const POINT* points, int count);

    static void RemoveMnemonicMarks(LPWSTR text);
    static void RemoveMnemonicMarksString(CString& text);
    static void GetDefWindowText(HWND hwnd, CString& text);
    static BOOL IsTopParentActive(HWND hwnd);
    static void DrawTriangle(CDC* dc, CPoint a, CPoint b, CPoint c);
    // Registers a class with the default window procedure and the arrow cursor; TRUE also when it
    // is registered already with that procedure.
    static BOOL RegisterWindowClass(HINSTANCE instance, LPCWSTR className, UINT style, HBRUSH background = nullptr);
    static BOOL FontExists(LPCWSTR faceName);
    static CString GetDefaultFontName(BOOL preferTahoma = FALSE);

    static BOOL IsDCRightToLeft(CDC* dc);
    static void SetDCLayout(CDC* dc, DWORD layout);
    static UINT MirrorArrowKey(HWND hwnd, UINT key);
    static void ScreenToWindowPoint(HWND hwnd, POINT& point);

    // The optional functions of msimg32; null when the library or the export is missing. Image
    // and skin drawing read them and fall back to their own code.
    WVPGradientFillProc m_pfnGradientFill;
    WVPAlphaBlendProc m_pfnAlphaBlend;
    WVPTransparentBltProc m_pfnTransparentBlt;

  private:
    HMODULE m_hMsImg32;
};

CWVPDrawHelpers* WVPDrawHelpers();

// The colour of an anti-aliased edge pixel: the edge colour mixed by distance with the pixel at
// (x, y), or with the fill colour for a negative distance (by its magnitude). Draws nothing.
COLORREF WVPBlendEdgePixel(CDC* dc, int x, int y, COLORREF edge, COLORREF fill, double distance);

// GDI32's GetLayout and SetLayout, bound on first use; 0 and nothing where they are missing.
DWORD WVPGetLayout(HDC dc);
DWORD WVPSetLayout(HDC dc, DWORD layout);

CRect WVPNullRect();
CRect WVPSafeWindowRect(HWND hwnd);
CRect WVPSafeClientRect(HWND hwnd);
CRect WVPSafeWindowRectOfWnd(const CWnd* wnd);
CRect WVPSafeClientRectOfWnd(const CWnd* wnd);
void WVPMemCopy(void* destination, const void* source, size_t count);
