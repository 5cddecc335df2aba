#pragma once
// The drawing half of the schema: paints a part of any skin class from its properties, as a
// bitmap cut into states with a glyph over it, as a bordered fill, or not at all. The resource
// file makes one per loaded skin.
#include "uilib/skin/SkinManagerSchema.h"

class CWVPSkinImage;

class CWVPSkinManagerSchemaDefault : public CWVPSkinManagerSchema
{
  public:
    explicit CWVPSkinManagerSchemaDefault(CWVPSkinManager* pManager);

    BOOL DrawThemeBackground(HDC hDC, CWVPSkinManagerClass* pClass, int nPartId, int nStateId,
                             const RECT* pRect) override;
    RECT CalcFrameBorders(DWORD dwStyle, DWORD dwExStyle) override;
    void DrawThemeFrame(HDC hDC, CWVPSkinObjectFrame* pFrame) override;
    int DrawThemeFrameButtons(HDC hDC, CWVPSkinObjectFrame* pFrame) override;
    void DrawThemeScrollBar(HDC hDC, CWVPSkinObjectFrame* pFrame, void* pSBInfo) override;

  protected:
    // The frame of a window without a full caption: edges and bands by its styles.
    void DrawNonCaptionFrame(HDC hDC, HWND hWnd, RECT rc);
    HICON GetFrameIcon(HWND hWnd) const;
    BOOL DrawThemeBorderFill(HDC hDC, CWVPSkinManagerClass* pClass, int nPartId, int nStateId, RECT rc);
    BOOL DrawThemeGlyph(HDC hDC, CWVPSkinManagerClass* pClass, int nPartId, int nStateId, const RECT& rc);
    // The source rectangle of a state in an image of count states.
    static RECT GetStateRect(const SIZE& frame, int nStateId, int nCount, bool bHorizontal);
};
