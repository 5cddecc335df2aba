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

  protected:
    BOOL DrawThemeBorderFill(HDC hDC, CWVPSkinManagerClass* pClass, int nPartId, int nStateId, RECT rc);
    BOOL DrawThemeGlyph(HDC hDC, CWVPSkinManagerClass* pClass, int nPartId, int nStateId, const RECT& rc);
    // The source rectangle of a state in an image of count states.
    static RECT GetStateRect(const SIZE& frame, int nStateId, int nCount, bool bHorizontal);
};
