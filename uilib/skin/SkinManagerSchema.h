#pragma once
// A loaded skin's class-data text as one map from property key to typed value, with the lookup
// that falls back from state to part, to class, to the global section. The skin classes, the
// metrics and the drawing read every property through it; CWVPSkinManagerSchemaDefault draws.
#include "platform/mfc/Map.h"
#include "platform/mfc/String.h"
#include "platform/mfc/SyncObject.h"
#include "uilib/skin/SkinManagerSchemaProperty.h"

class CWVPSkinManager;
class CWVPSkinManagerClass;
class CWVPSkinManagerResourceFile;
class CWVPSkinObjectFrame;

class CWVPSkinManagerSchema
{
  public:
    explicit CWVPSkinManagerSchema(CWVPSkinManager* pManager);
    virtual ~CWVPSkinManagerSchema();

    // Draws a part of a skin class in a state into the rectangle.
    virtual BOOL DrawThemeBackground(HDC hDC, CWVPSkinManagerClass* pClass, int nPartId, int nStateId,
                                     const RECT* pRect) = 0;
    // The four border widths of a frame with the styles; the top one includes the caption.
    virtual RECT CalcFrameBorders(DWORD dwStyle, DWORD dwExStyle) = 0;
    RECT CalcFrameBorders(HWND hWnd);
    // Paints the frame object's window frame: borders, caption, icon, buttons and title.
    virtual void DrawThemeFrame(HDC hDC, CWVPSkinObjectFrame* pFrame) = 0;
    // Lays out and draws the caption buttons; the x of the leftmost button's left edge.
    virtual int DrawThemeFrameButtons(HDC hDC, CWVPSkinObjectFrame* pFrame) = 0;
    // Paints one scroll bar of the frame object (its record is a CWVPSkinObjectFrame::SCROLLBARPOSINFO).
    virtual void DrawThemeScrollBar(HDC hDC, CWVPSkinObjectFrame* pFrame, void* pSBInfo) = 0;
    // Drops what the drawing caches for the current metrics.
    virtual void RefreshMetrics();
    // The colour of the square between two scroll bars: the skin's COLOR_BTNFACE.
    virtual COLORREF GetScrollBarSizeBoxColor();

    // Replaces the whole map by the properties of the resource file's text; always S_OK.
    HRESULT ReadProperties(CWVPSkinManagerResourceFile* pResourceFile);

    CWVPSkinManagerSchemaProperty* FindProperty(int nClassId, int nPartId, int nStateId, int nPropertyId) const;
    // S_OK, E_FAIL when no property is found, E_INVALIDARG when it has another type; the output
    // is left alone on failure.
    HRESULT GetIntProperty(int nClassId, int nPartId, int nStateId, int nPropertyId, int& nValue) const;
    HRESULT GetBoolProperty(int nClassId, int nPartId, int nStateId, int nPropertyId, BOOL& bValue) const;
    // The colour has passed the manager's colour filters.
    HRESULT GetColorProperty(int nClassId, int nPartId, int nStateId, int nPropertyId, COLORREF& clrValue) const;
    HRESULT GetFontProperty(int nClassId, int nPartId, int nStateId, int nPropertyId, LOGFONTW& font) const;

    CWVPSkinManager* GetSkinManager() const
    {
        return m_pManager;
    }
    // Whether 32-bit skin bitmaps still need their colours multiplied by their alpha.
    bool IsAlphaConversion() const
    {
        return m_bAlphaConversion;
    }
    const CString& GetSchemaName() const
    {
        return m_strSchemaName;
    }
    int GetPropertyCount() const
    {
        return int(m_mapProperties.GetCount());
    }

  protected:
    void RemoveAllProperties();
    // The property of the key when it has the type; sets the result code of the typed queries.
    const CWVPSkinManagerSchemaProperty* FindTyped(int nClassId, int nPartId, int nStateId, int nPropertyId, int nType,
                                                   HRESULT& hr) const;
    // A typed query: the reader copies the found property's value into the output.
    template <class T, class Reader>
    HRESULT GetTyped(int nClassId, int nPartId, int nStateId, int nPropertyId, int nType, T& value, Reader read) const
    {
        HRESULT hr;
        if (const CWVPSkinManagerSchemaProperty* p = FindTyped(nClassId, nPartId, nStateId, nPropertyId, nType, hr))
            read(*p, value);
        return hr;
    }

    bool m_bAlphaConversion = true;
    CMap<UINT, UINT, CWVPSkinManagerSchemaProperty*, CWVPSkinManagerSchemaProperty*> m_mapProperties;
    CWVPSkinManager* m_pManager;
    CString m_strSchemaName;
    CCriticalSection m_csDraw;
    int m_nGlobalsClassId;
    int m_nWindowClassId;
};
