#pragma once
// The skin object of month calendars ("SysMonthCal32"): the calendar paints itself in the skin's
// colours, which the object hands it whenever the skin changes.
#include "uilib/skin/SkinObjectFrame.h"

class CWVPSkinObjectMonthCal : public CWVPSkinObjectFrame
{
    DECLARE_DYNCREATE(CWVPSkinObjectMonthCal)
  public:
    CWVPSkinObjectMonthCal();

    void RefreshMetrics() override;

  protected:
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
