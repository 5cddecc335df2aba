#include "uilib/commandbars/SpecialControlFactory.h"
#include "uilib/commandbars/ControlCheckBox.h"
#include "uilib/commandbars/ControlLabel.h"
#include "uilib/commandbars/ControlOleItems.h"
#include "uilib/commandbars/ControlRadioButton.h"
#include "uilib/commandbars/ControlRecentFileList.h"
#include "uilib/commandbars/ControlToolbars.h"
#include "uilib/commandbars/ControlWindowList.h"
#include "uilib/commandbars/ControlWorkspaceActions.h"

namespace
{
const LPCWSTR kOleVerbsCaption = L"<<OLE VERBS GO HERE>>";

CWVPControl* CreateListControl(int id, LPCWSTR caption, BOOL fromMenu)
{
    switch (id)
    {
    case WVP_ID_WINDOWLIST:
        return new CWVPControlWindowList;
    case WVP_ID_WORKSPACEACTIONS:
        return new CWVPControlWorkspaceActions;
    case WVP_ID_TOOLBARLIST:
        return new CWVPControlToolbars;
    case WVP_ID_RECENTFILELIST:
        return fromMenu ? nullptr : new CWVPControlRecentFileList;
    case WVP_ID_FILE_MRU_FIRST:
        return fromMenu ? new CWVPControlRecentFileList : nullptr;
    case WVP_ID_OLEVERBS:
        if (fromMenu && caption && ::lstrcmpW(caption, kOleVerbsCaption) == 0)
        {
            // Hidden until a document offers verbs.
            CWVPControl* pControl = new CWVPControlOleItems;
            pControl->SetHideFlags(WVP_HIDE_HIDDEN);
            return pControl;
        }
        return nullptr;
    default:
        return nullptr;
    }
}
} // namespace

CWVPControl* WVPCreateSpecialControl(int type, int id, LPCWSTR caption, BOOL fromMenu)
{
    switch (type)
    {
    case wvpControlButton:
        return CreateListControl(id, caption, fromMenu);
    case wvpControlLabel:
        return new CWVPControlLabel;
    case wvpControlCheckBox:
        return new CWVPControlCheckBox;
    case wvpControlRadioButton:
        return new CWVPControlRadioButton;
    default:
        return nullptr;
    }
}
