// The skin objects of the system's and the common controls' window classes. A row names the frame
// object until the control's own skin object takes its place.
#include "uilib/skin/SkinObjectFactoryTable.h"

#include "uilib/skin/SkinObjectButton.h"
#include "uilib/skin/SkinObjectComboBox.h"
#include "uilib/skin/SkinObjectDateTime.h"
#include "uilib/skin/SkinObjectEdit.h"
#include "uilib/skin/SkinObjectFrame.h"
#include "uilib/skin/SkinObjectHeader.h"
#include "uilib/skin/SkinObjectListBox.h"
#include "uilib/skin/SkinObjectListView.h"
#include "uilib/skin/SkinObjectMDIClient.h"
#include "uilib/skin/SkinObjectMenu.h"
#include "uilib/skin/SkinObjectMonthCal.h"
#include "uilib/skin/SkinObjectProgress.h"
#include "uilib/skin/SkinObjectScrollBar.h"
#include "uilib/skin/SkinObjectSpin.h"
#include "uilib/skin/SkinObjectStatusBar.h"
#include "uilib/skin/SkinObjectTab.h"
#include "uilib/skin/SkinObjectToolBar.h"
#include "uilib/skin/SkinObjectTrackBar.h"
#include "uilib/skin/SkinObjectTreeView.h"

#include <iterator>

namespace
{

const WVP_SKIN_OBJECT_FACTORY kFactories[] = {
    {L"ComboBox", RUNTIME_CLASS(CWVPSkinObjectComboBox)},
    {L"Edit", RUNTIME_CLASS(CWVPSkinObjectEdit)},
    {L"SysDateTimePick32", RUNTIME_CLASS(CWVPSkinObjectDateTime)},
    {L"SysMonthCal32", RUNTIME_CLASS(CWVPSkinObjectMonthCal)},
    {L"ListBox", RUNTIME_CLASS(CWVPSkinObjectListBox)},
    {L"ScrollBar", RUNTIME_CLASS(CWVPSkinObjectScrollBar)},
    {L"SysListView32", RUNTIME_CLASS(CWVPSkinObjectListView)},
    {L"SysHeader32", RUNTIME_CLASS(CWVPSkinObjectHeader)},
    {L"msctls_statusbar32", RUNTIME_CLASS(CWVPSkinObjectStatusBar)},
    {L"SysTreeView32", RUNTIME_CLASS(CWVPSkinObjectTreeView)},
    {L"msctls_progress32", RUNTIME_CLASS(CWVPSkinObjectProgress)},
    {L"msctls_trackbar32", RUNTIME_CLASS(CWVPSkinObjectTrackBar)},
    {L"SysTabControl32", RUNTIME_CLASS(CWVPSkinObjectTab)},
    {L"MDIClient", RUNTIME_CLASS(CWVPSkinObjectMDIClient)},
    {L"msctls_updown32", RUNTIME_CLASS(CWVPSkinObjectSpin)},
    {L"ToolbarWindow32", RUNTIME_CLASS(CWVPSkinObjectToolBar)},
    {L"Button", RUNTIME_CLASS(CWVPSkinObjectButton)},
    {L"#32768", RUNTIME_CLASS(CWVPSkinObjectMenu)},
};

const WVP_SKIN_OBJECT_SYNONYM kSynonyms[] = {
    {L"ComboLBox", L"ListBox"},
    {L"ATL:ScrollBar", L"ScrollBar"},
    {L"TButton", L"Button"},
    {L"TRadioButton", L"Button"},
    {L"TCheckBox", L"Button"},
    {L"TGroupBox", L"Button"},
    {L"TEdit", L"Edit"},
    {L"TMemo", L"Edit"},
    {L"TRichEditViewer", L"Edit"},
    {L"TNewProgressBar", L"msctls_progress32"},
    {L"TProgressBar", L"msctls_progress32"},
    {L"TComboBox", L"ComboBox"},
    {L"TScrollBar", L"ScrollBar"},
    {L"TTrackBar", L"msctls_trackbar32"},
    {L"TTabControl", L"SysTabControl32"},
    {L"TTreeView", L"SysTreeView32"},
    {L"TListView", L"SysListView32"},
    {L"TListBox", L"ListBox"},
    {L"SysPager", L""},
};

} // namespace

const WVP_SKIN_OBJECT_FACTORY* WVPSkinObjectFactories(int& nCount)
{
    nCount = int(std::size(kFactories));
    return kFactories;
}

const WVP_SKIN_OBJECT_SYNONYM* WVPSkinObjectSynonyms(int& nCount)
{
    nCount = int(std::size(kSynonyms));
    return kSynonyms;
}
