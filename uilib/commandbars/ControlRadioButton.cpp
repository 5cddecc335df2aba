#include "uilib/commandbars/ControlRadioButton.h"

IMPLEMENT_SERIAL(CWVPControlRadioButton, CWVPControlButton, VERSIONABLE_SCHEMA | 0x21)

CWVPControlRadioButton::CWVPControlRadioButton()
{
    m_nType = wvpControlRadioButton;
}
