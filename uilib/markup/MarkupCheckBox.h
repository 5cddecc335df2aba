// The markup check box: a check glyph left of its content, unchecked, checked or (for a
// three-state box) indeterminate.
#pragma once

#include "uilib/markup/MarkupToggleButton.h"

class CWVPMarkupCheckBox : public CWVPMarkupToggleButton
{
    DECLARE_MARKUP_TYPE()
  public:
    void OnRender(CWVPMarkupDrawingContext* dc) override;
};
