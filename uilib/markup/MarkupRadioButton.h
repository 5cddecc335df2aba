// The markup radio button: a round glyph left of its content; a click always checks it, and
// checking it unchecks the other radio buttons that share its visual parent.
#pragma once

#include "uilib/markup/MarkupToggleButton.h"

class CWVPMarkupRadioButton : public CWVPMarkupToggleButton
{
    DECLARE_MARKUP_TYPE()
  public:
    void OnRender(CWVPMarkupDrawingContext* dc) override;
    void OnToggle() override;
    void OnChecked(CWVPMarkupRoutedEventArgs* args) override;
};
