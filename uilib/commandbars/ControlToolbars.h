#pragma once
// The tool-bars list of a View menu or a bar's context menu: before each layout of its bar it
// stands in for one check item per closeable bar of the manager; executing an item shows or hides
// that bar.
#include "uilib/commandbars/ControlButton.h"

const int WVP_ID_TOOLBARLIST = 0xE800;
const int WVP_ID_CUSTOMIZE = 35001;

class CWVPControlToolbars : public CWVPControlButton
{
    DECLARE_SERIAL(CWVPControlToolbars)

  public:
    // One item of the list: its "Tag" is the index of its bar in the manager.
    class CWVPControlToolbar : public CWVPControlButton
    {
        DECLARE_DYNCREATE(CWVPControlToolbar)

      public:
        void OnExecute() override;
    };

    CWVPControlToolbars();

    void OnCalcDynamicSize(DWORD mode) override;
    BOOL IsCustomizeDragOverAvail(CWVPCommandBar* pBar) override;

    // Adds the items of the manager's bars into the bar's collection at the index; with
    // addCustomize and the manager's customization available, the customize command follows.
    static void AFX_CDECL AddToolbarItems(CWVPCommandBar* pBar, int index, int id, BOOL addCustomize, BOOL beginGroup);
};
