// A thin layer over a GDI device context that keeps the viewport origin and clip box in step with
// the element tree, selects fonts from the context's cache, writes text lines and fills with
// markup brushes. Over a private memory device context it serves as the measuring context.
#pragma once

#include <windows.h>

class CWVPMarkupBrush;
class CWVPMarkupFont;

class CWVPMarkupDrawingContext
{
  public:
    // Over a new memory device context compatible with the screen.
    CWVPMarkupDrawingContext();
    explicit CWVPMarkupDrawingContext(HDC dc);
    virtual ~CWVPMarkupDrawingContext();
    virtual BOOL IsUncachedContext() const;
    virtual void DrawTextLine(LPCWSTR text, int length, const RECT* rect);
    virtual HGDIOBJ SelectFontObject(HGDIOBJ font);
    virtual void SetViewportOrg(POINT origin);

    void SetFont(CWVPMarkupFont* font);
    SIZE GetTextExtent(LPCWSTR text, int length) const;
    POINT OffsetViewport(POINT offset);
    void RestoreViewport(POINT origin);
    HRGN GetClipRegion();
    void IntersectClip(const RECT& rect);
    void RestoreClipRegion(HRGN region);
    void FillRect(CWVPMarkupBrush* brush, RECT rect);
    void DrawFrame(CWVPMarkupBrush* brush, RECT rect);
    void FillSolidRect(RECT rect, COLORREF color);

    HDC GetDC() const { return m_hDC; }
    HDC GetAttributeDC() const { return m_hAttribDC; }
    const RECT& GetClipBox() const { return m_rcClip; }
    POINT GetViewportOrigin() const { return m_ptViewportOrg; }

    // The value of GetClipRegion when the device context has no clip region.
    static HRGN NoClipRegion() { return reinterpret_cast<HRGN>(-1); }

  private:
    void Init();
    void RefreshClipBox();

    HDC m_hDC;
    HDC m_hAttribDC;
    CWVPMarkupFont* m_pFont;
    HGDIOBJ m_hSavedFont;
    SIZE m_szWindowExt;
    SIZE m_szViewportExt;
    POINT m_ptViewportOrg;
    RECT m_rcClip;
    BOOL m_bOwnsDC;

    CWVPMarkupDrawingContext(const CWVPMarkupDrawingContext&) = delete;
    CWVPMarkupDrawingContext& operator=(const CWVPMarkupDrawingContext&) = delete;
};
