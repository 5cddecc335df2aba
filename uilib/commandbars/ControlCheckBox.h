#pragma once
// A check box on a bar or menu; the paint manager draws it by its type.
#include "uilib/commandbars/ControlButton.h"

class CWVPControlCheckBox : public CWVPControlButton
{
    DECLARE_SERIAL(CWVPControlCheckBox)

  public:
    CWVPControlCheckBox();
};
