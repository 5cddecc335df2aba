#pragma once
// A text label on a bar or menu: never selected, skipped by the keyboard and fixed in place; in
// customize mode a mouse click on it only ends the bar's selection.
#include "uilib/commandbars/Control.h"

class CWVPControlLabel : public CWVPControl
{
    DECLARE_SERIAL(CWVPControlLabel)

  public:
    CWVPControlLabel();

    int GetSelected() const override;
    void OnClick(BOOL keyboard = FALSE, CPoint pt = CPoint(0, 0)) override;

  protected:
    // The regular bar font of the paint manager, or the stock GUI font without one.
    HFONT GetLabelFont() const;
};
