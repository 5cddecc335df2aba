// CDC: a device context with the drawing operations of the window classes and the library:
// object selection, colours and modes, text, fills and frames, blits, lines and shapes,
// clipping and mapping. m_hDC receives output, m_hAttribDC answers queries (the same handle
// unless a subclass splits them).
#pragma once

#include <windows.h>

#include "platform/mfc/Object.h"
#include "platform/mfc/String.h"
#include "platform/mfc/Rect.h"
#include "platform/mfc/GdiObject.h"
#include "platform/mfc/Pen.h"
#include "platform/mfc/Brush.h"
#include "platform/mfc/Font.h"
#include "platform/mfc/Bitmap.h"
#include "platform/mfc/Rgn.h"
#include "platform/mfc/Palette.h"

class CWnd;

class CDC : public CObject
{
    DECLARE_DYNCREATE(CDC)
public:
    CDC() noexcept : m_hDC(nullptr), m_hAttribDC(nullptr), m_bPrinting(FALSE) {}
    virtual ~CDC();

    HDC m_hDC;
    HDC m_hAttribDC;
    BOOL m_bPrinting;

    operator HDC() const noexcept { return m_hDC; }
    HDC GetSafeHdc() const noexcept { return this ? m_hDC : nullptr; }
    CWnd* GetWindow() const;

    static CDC* PASCAL FromHandle(HDC handle);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HDC handle);
    virtual HDC Detach();
    virtual void SetAttribDC(HDC handle) { m_hAttribDC = handle; }
    virtual void SetOutputDC(HDC handle) { m_hDC = handle; }
    virtual void ReleaseAttribDC() { m_hAttribDC = nullptr; }
    virtual void ReleaseOutputDC() { m_hDC = nullptr; }

    BOOL CreateDC(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const void* initData);
    BOOL CreateIC(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const void* initData);
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();
    virtual int SaveDC();
    virtual BOOL RestoreDC(int savedDC);
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hAttribDC, index); }
    BOOL IsPrinting() const { return m_bPrinting; }

    // Objects
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    virtual CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    int SelectObject(CRgn* region);
    CGdiObject* SelectObject(CGdiObject* object);
    HGDIOBJ SelectObject(HGDIOBJ object);
    virtual CGdiObject* SelectStockObject(int index);
    CPalette* SelectPalette(CPalette* palette, BOOL forceBackground);
    UINT RealizePalette() { return ::RealizePalette(m_hDC); }
    CPen* GetCurrentPen() const { return CPen::FromHandle((HPEN)::GetCurrentObject(m_hDC, OBJ_PEN)); }
    CBrush* GetCurrentBrush() const { return CBrush::FromHandle((HBRUSH)::GetCurrentObject(m_hDC, OBJ_BRUSH)); }
    CFont* GetCurrentFont() const { return CFont::FromHandle((HFONT)::GetCurrentObject(m_hDC, OBJ_FONT)); }
    CBitmap* GetCurrentBitmap() const
    {
        return CBitmap::FromHandle((HBITMAP)::GetCurrentObject(m_hDC, OBJ_BITMAP));
    }
    CPalette* GetCurrentPalette() const
    {
        return CPalette::FromHandle((HPALETTE)::GetCurrentObject(m_hDC, OBJ_PAL));
    }

    // Colours and modes
    COLORREF GetBkColor() const { return ::GetBkColor(m_hAttribDC); }
    virtual COLORREF SetBkColor(COLORREF color);
    int GetBkMode() const { return ::GetBkMode(m_hAttribDC); }
    int SetBkMode(int mode);
    COLORREF GetTextColor() const { return ::GetTextColor(m_hAttribDC); }
    virtual COLORREF SetTextColor(COLORREF color);
    int GetROP2() const { return ::GetROP2(m_hAttribDC); }
    int SetROP2(int mode);
    int GetPolyFillMode() const { return ::GetPolyFillMode(m_hAttribDC); }
    int SetPolyFillMode(int mode);
    int GetStretchBltMode() const { return ::GetStretchBltMode(m_hAttribDC); }
    int SetStretchBltMode(int mode);
    UINT GetTextAlign() const { return ::GetTextAlign(m_hAttribDC); }
    UINT SetTextAlign(UINT flags);
    int GetTextCharacterExtra() const { return ::GetTextCharacterExtra(m_hAttribDC); }
    int SetTextCharacterExtra(int extra) { return ::SetTextCharacterExtra(m_hDC, extra); }
    COLORREF GetNearestColor(COLORREF color) const { return ::GetNearestColor(m_hAttribDC, color); }
    CPoint GetBrushOrg() const;
    CPoint SetBrushOrg(int x, int y);
    CPoint SetBrushOrg(POINT p) { return SetBrushOrg(p.x, p.y); }
    DWORD GetLayout() const { return ::GetLayout(m_hDC); }
    DWORD SetLayout(DWORD layout) { return ::SetLayout(m_hDC, layout); }

    // Mapping
    int GetMapMode() const { return ::GetMapMode(m_hAttribDC); }
    virtual int SetMapMode(int mode);
    CPoint GetViewportOrg() const;
    virtual CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
    virtual CPoint OffsetViewportOrg(int dx, int dy);
    CSize GetViewportExt() const;
    virtual CSize SetViewportExt(int cx, int cy);
    CSize SetViewportExt(SIZE s) { return SetViewportExt(s.cx, s.cy); }
    CPoint GetWindowOrg() const;
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT p) { return SetWindowOrg(p.x, p.y); }
    CPoint OffsetWindowOrg(int dx, int dy);
    CSize GetWindowExt() const;
    virtual CSize SetWindowExt(int cx, int cy);
    CSize SetWindowExt(SIZE s) { return SetWindowExt(s.cx, s.cy); }
    void DPtoLP(LPPOINT points, int count = 1) const { ::DPtoLP(m_hAttribDC, points, count); }
    void DPtoLP(LPRECT rect) const { ::DPtoLP(m_hAttribDC, (LPPOINT)rect, 2); }
    void DPtoLP(LPSIZE size) const;
    void LPtoDP(LPPOINT points, int count = 1) const { ::LPtoDP(m_hAttribDC, points, count); }
    void LPtoDP(LPRECT rect) const { ::LPtoDP(m_hAttribDC, (LPPOINT)rect, 2); }
    void LPtoDP(LPSIZE size) const;

    // Clipping
    virtual int GetClipBox(LPRECT rect) const { return ::GetClipBox(m_hDC, rect); }
    BOOL PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
    BOOL PtVisible(POINT p) const { return ::PtVisible(m_hDC, p.x, p.y); }
    virtual BOOL RectVisible(LPCRECT rect) const { return ::RectVisible(m_hDC, rect); }
    int SelectClipRgn(CRgn* region);
    int SelectClipRgn(CRgn* region, int mode);
    int ExcludeClipRect(int x1, int y1, int x2, int y2);
    int ExcludeClipRect(LPCRECT r) { return ExcludeClipRect(r->left, r->top, r->right, r->bottom); }
    int IntersectClipRect(int x1, int y1, int x2, int y2);
    int IntersectClipRect(LPCRECT r) { return IntersectClipRect(r->left, r->top, r->right, r->bottom); }
    int OffsetClipRgn(int x, int y);
    int ExcludeUpdateRgn(CWnd* wnd);

    // Lines and shapes
    CPoint GetCurrentPosition() const;
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    BOOL Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
    {
        return ::Arc(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
    }
    BOOL Arc(LPCRECT r, POINT start, POINT end)
    {
        return ::Arc(m_hDC, r->left, r->top, r->right, r->bottom, start.x, start.y, end.x, end.y);
    }
    BOOL Polyline(const POINT* points, int count) { return ::Polyline(m_hDC, points, count); }
    BOOL PolyBezier(const POINT* points, int count) { return ::PolyBezier(m_hDC, points, count); }
    BOOL Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
    BOOL PolyPolygon(const POINT* points, const INT* counts, int polygons)
    {
        return ::PolyPolygon(m_hDC, points, counts, polygons);
    }
    BOOL Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
    BOOL Rectangle(LPCRECT r) { return ::Rectangle(m_hDC, r->left, r->top, r->right, r->bottom); }
    BOOL RoundRect(int x1, int y1, int x2, int y2, int w, int h) { return ::RoundRect(m_hDC, x1, y1, x2, y2, w, h); }
    BOOL RoundRect(LPCRECT r, POINT corner)
    {
        return ::RoundRect(m_hDC, r->left, r->top, r->right, r->bottom, corner.x, corner.y);
    }
    BOOL Ellipse(int x1, int y1, int x2, int y2) { return ::Ellipse(m_hDC, x1, y1, x2, y2); }
    BOOL Ellipse(LPCRECT r) { return ::Ellipse(m_hDC, r->left, r->top, r->right, r->bottom); }
    BOOL Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
    {
        return ::Pie(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
    }
    BOOL Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
    {
        return ::Chord(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
    }

    // Fills and frames
    void FillRect(LPCRECT rect, CBrush* brush) { ::FillRect(m_hDC, rect, (HBRUSH)brush->GetSafeHandle()); }
    void FrameRect(LPCRECT rect, CBrush* brush) { ::FrameRect(m_hDC, rect, (HBRUSH)brush->GetSafeHandle()); }
    void InvertRect(LPCRECT rect) { ::InvertRect(m_hDC, rect); }
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rect, edge, flags); }
    BOOL DrawFrameControl(LPRECT rect, UINT type, UINT state) { return ::DrawFrameControl(m_hDC, rect, type, state); }
    void DrawFocusRect(LPCRECT rect) { ::DrawFocusRect(m_hDC, rect); }
    // Draws the frame of a dragged rectangle inverted, erasing the last one drawn where they differ.
    void DrawDragRect(LPCRECT rect, SIZE size, LPCRECT rectLast, SIZE sizeLast, CBrush* brush = nullptr,
                      CBrush* brushLast = nullptr);
    BOOL FillRgn(CRgn* region, CBrush* brush)
    {
        return ::FillRgn(m_hDC, (HRGN)region->GetSafeHandle(), (HBRUSH)brush->GetSafeHandle());
    }
    BOOL FrameRgn(CRgn* region, CBrush* brush, int width, int height)
    {
        return ::FrameRgn(m_hDC, (HRGN)region->GetSafeHandle(), (HBRUSH)brush->GetSafeHandle(), width, height);
    }
    BOOL InvertRgn(CRgn* region) { return ::InvertRgn(m_hDC, (HRGN)region->GetSafeHandle()); }
    BOOL PaintRgn(CRgn* region) { return ::PaintRgn(m_hDC, (HRGN)region->GetSafeHandle()); }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
    BOOL DrawIcon(POINT p, HICON icon) { return ::DrawIcon(m_hDC, p.x, p.y, icon); }
    BOOL DrawState(CPoint pt, CSize size, HBITMAP bitmap, UINT flags, HBRUSH brush = nullptr);
    BOOL DrawState(CPoint pt, CSize size, CBitmap* bitmap, UINT flags, CBrush* brush = nullptr);
    BOOL DrawState(CPoint pt, CSize size, HICON icon, UINT flags, HBRUSH brush = nullptr);
    BOOL DrawState(CPoint pt, CSize size, HICON icon, UINT flags, CBrush* brush);
    BOOL DrawState(CPoint pt, CSize size, LPCWSTR text, UINT flags, BOOL prefixText = TRUE, int length = 0,
                   HBRUSH brush = nullptr);
    BOOL DrawState(CPoint pt, CSize size, DRAWSTATEPROC proc, LPARAM data, UINT flags, HBRUSH brush = nullptr);
    BOOL GradientFill(TRIVERTEX* vertices, ULONG count, void* mesh, ULONG meshCount, DWORD mode)
    {
        return ::GdiGradientFill(m_hDC, vertices, count, mesh, meshCount, mode);
    }

    // Pixels and blits
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF GetPixel(POINT p) const { return ::GetPixel(m_hDC, p.x, p.y); }
    COLORREF SetPixel(int x, int y, COLORREF color) { return ::SetPixel(m_hDC, x, y, color); }
    COLORREF SetPixel(POINT p, COLORREF color) { return ::SetPixel(m_hDC, p.x, p.y, color); }
    BOOL SetPixelV(int x, int y, COLORREF color) { return ::SetPixelV(m_hDC, x, y, color); }
    BOOL SetPixelV(POINT p, COLORREF color) { return ::SetPixelV(m_hDC, p.x, p.y, color); }
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop) { return ::PatBlt(m_hDC, x, y, width, height, rop); }
    BOOL BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop)
    {
        return ::BitBlt(m_hDC, x, y, width, height, src->GetSafeHdc(), xSrc, ySrc, rop);
    }
    BOOL StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth, int srcHeight,
                    DWORD rop)
    {
        return ::StretchBlt(m_hDC, x, y, width, height, src->GetSafeHdc(), xSrc, ySrc, srcWidth, srcHeight, rop);
    }
    BOOL MaskBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, CBitmap& mask, int xMask,
                 int yMask, DWORD rop)
    {
        return ::MaskBlt(m_hDC, x, y, width, height, src->GetSafeHdc(), xSrc, ySrc, (HBITMAP)mask.m_hObject, xMask,
                         yMask, rop);
    }
    BOOL TransparentBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth,
                        int srcHeight, UINT transparent)
    {
        return ::GdiTransparentBlt(m_hDC, x, y, width, height, src->GetSafeHdc(), xSrc, ySrc, srcWidth, srcHeight,
                                   transparent);
    }
    BOOL AlphaBlend(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth, int srcHeight,
                    BLENDFUNCTION blend)
    {
        return ::GdiAlphaBlend(m_hDC, x, y, width, height, src->GetSafeHdc(), xSrc, ySrc, srcWidth, srcHeight, blend);
    }
    BOOL ExtFloodFill(int x, int y, COLORREF color, UINT type) { return ::ExtFloodFill(m_hDC, x, y, color, type); }
    BOOL FloodFill(int x, int y, COLORREF color) { return ::FloodFill(m_hDC, x, y, color); }

    // Text
    virtual BOOL TextOut(int x, int y, LPCWSTR text, int count);
    BOOL TextOut(int x, int y, LPCWSTR text) { return TextOut(x, y, text, ::lstrlenW(text)); }
    virtual BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCWSTR text, UINT count, LPINT widths);
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCWSTR text, LPINT widths = nullptr)
    {
        return ExtTextOut(x, y, options, rect, text, ::lstrlenW(text), widths);
    }
    virtual CSize TabbedTextOut(int x, int y, LPCWSTR text, int count, int tabs, LPINT tabStops, int tabOrigin);
    virtual int DrawText(LPCWSTR text, int count, LPRECT rect, UINT format);
    int DrawText(LPCWSTR text, LPRECT rect, UINT format) { return DrawText(text, -1, rect, format); }
    int DrawTextEx(LPWSTR text, int count, LPRECT rect, UINT format, LPDRAWTEXTPARAMS params)
    {
        return ::DrawTextExW(m_hDC, text, count, rect, format, params);
    }
    CSize GetTextExtent(LPCWSTR text, int count) const;
    CSize GetTextExtent(LPCWSTR text) const { return GetTextExtent(text, ::lstrlenW(text)); }
    CSize GetOutputTextExtent(LPCWSTR text, int count) const;
    CSize GetOutputTextExtent(LPCWSTR text) const { return GetOutputTextExtent(text, ::lstrlenW(text)); }
    CSize GetTabbedTextExtent(LPCWSTR text, int count, int tabs, LPINT tabStops) const;
    BOOL GetTextMetrics(LPTEXTMETRICW metrics) const { return ::GetTextMetricsW(m_hAttribDC, metrics); }
    BOOL GetOutputTextMetrics(LPTEXTMETRICW metrics) const { return ::GetTextMetricsW(m_hDC, metrics); }
    int GetTextFace(int count, LPWSTR face) const { return ::GetTextFaceW(m_hAttribDC, count, face); }
    BOOL GetCharWidth(UINT first, UINT last, LPINT widths) const
    {
        return ::GetCharWidth32W(m_hAttribDC, first, last, widths);
    }
    BOOL GetTextExtentExPoint(LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT dx, LPSIZE size) const
    {
        return ::GetTextExtentExPointW(m_hAttribDC, text, count, maxExtent, fit, dx, size);
    }
    BOOL GrayString(CBrush* brush, GRAYSTRINGPROC proc, LPARAM data, int count, int x, int y, int width, int height)
    {
        return ::GrayStringW(m_hDC, (HBRUSH)brush->GetSafeHandle(), proc, data, count, x, y, width, height);
    }

protected:
    static CGdiObject* PASCAL SelectGdiObject(HDC dc, HGDIOBJ object);

private:
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
};
