#pragma once
// The window list of a Window menu: a placeholder that, before each layout of its bar, stands in
// for one numbered item per MDI child of the site frame (the active one checked).
#include "uilib/commandbars/ControlButton.h"

const int WVP_ID_WINDOWLIST = 35000;

class CWVPControlWindowList : public CWVPControlButton
{
    DECLARE_SERIAL(CWVPControlWindowList)

  public:
    CWVPControlWindowList();

    void OnCalcDynamicSize(DWORD mode) override;
    BOOL IsCustomizeDragOverAvail(CWVPCommandBar* pBar) override;

    // The control id of the first MDI child, shared by the window lists of the process.
    static UINT GetFirstMDIChild();
};
