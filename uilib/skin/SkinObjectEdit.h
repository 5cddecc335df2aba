#pragma once
// The skin object of edit controls: the control paints its own text; the object frames it in the
// skin, keeps its scroll bars in step and leaves an attached up-down control unpainted.
#include "uilib/skin/SkinObjectUser32Control.h"

class CWVPSkinObjectEdit : public CWVPSkinObjectUser32Control
{
    DECLARE_DYNCREATE(CWVPSkinObjectEdit)
  public:
    CWVPSkinObjectEdit();

    UINT GetClientBrushMessage() override;
    void DrawFrame(HDC hDC) override;
    // The strip, in window coordinates, where the next window (an attached up-down control) lies
    // over the edit's frame exactly 2 pixels wide; false when there is none.
    bool GetUpDownStrip(RECT& strip) const;
};
