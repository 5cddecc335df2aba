#pragma once
// A radio button on a bar or menu; the paint manager draws it by its type.
#include "uilib/commandbars/ControlButton.h"

class CWVPControlRadioButton : public CWVPControlButton
{
    DECLARE_SERIAL(CWVPControlRadioButton)

  public:
    CWVPControlRadioButton();
};
