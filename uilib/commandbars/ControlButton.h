#pragma once
// The plain command button of a command bar: a mouse press runs the pressed-state loop and
// executes on release inside; a key executes at once; on a menu the release executes.
#include "uilib/commandbars/Control.h"

class CWVPControlButton : public CWVPControl
{
    DECLARE_SERIAL(CWVPControlButton)

  public:
    CWVPControlButton();

    void OnClick(BOOL keyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnLButtonUp(CPoint pt) override;
    void Copy(CWVPControl* pSource, BOOL recursive = FALSE) override;
    CWVPControl* Clone(BOOL recursive = FALSE) override;
};
