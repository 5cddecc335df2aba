#pragma once
// The skin object of status bars ("msctls_statusbar32", the window class the framework's status
// bar creates): the bar paints itself through the skinned system functions; the object frames it
// with the schema's STATUS class and tells it to re-read its metrics when the skin changes.
#include "uilib/skin/SkinObjectFrame.h"

class CWVPSkinObjectStatusBar : public CWVPSkinObjectFrame
{
    DECLARE_DYNCREATE(CWVPSkinObjectStatusBar)
  public:
    CWVPSkinObjectStatusBar();

    void RefreshMetrics() override;

  protected:
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
