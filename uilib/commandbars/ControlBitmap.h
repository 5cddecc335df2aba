#pragma once
// A picture label: the image manager's icon of the control's id, drawn in its own size.
#include "uilib/commandbars/ControlLabel.h"

class CWVPControlBitmap : public CWVPControlLabel
{
    DECLARE_SERIAL(CWVPControlBitmap)

  public:
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
};
