#include "uilib/skin/SkinObjectListBox.h"

IMPLEMENT_DYNCREATE(CWVPSkinObjectListBox, CWVPSkinObjectUser32Control)

CWVPSkinObjectListBox::CWVPSkinObjectListBox()
{
    m_strClassName = L"LISTBOX";
    m_nCtlColorMessage = WM_CTLCOLORLISTBOX;
}
