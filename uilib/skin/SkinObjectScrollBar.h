#pragma once
// The skin object of scroll-bar controls: draws the control from the skin and runs its arrows,
// page areas and thumb.
#include "uilib/skin/SkinObjectFrame.h"

class CWVPSkinObjectScrollBar : public CWVPSkinObjectFrame
{
    DECLARE_DYNCREATE(CWVPSkinObjectScrollBar)
  public:
    CWVPSkinObjectScrollBar();

  protected:
    DECLARE_MESSAGE_MAP()
};
