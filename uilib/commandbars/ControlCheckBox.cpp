#include "uilib/commandbars/ControlCheckBox.h"

IMPLEMENT_SERIAL(CWVPControlCheckBox, CWVPControlButton, VERSIONABLE_SCHEMA | 0x21)

CWVPControlCheckBox::CWVPControlCheckBox()
{
    m_nType = wvpControlCheckBox;
}
