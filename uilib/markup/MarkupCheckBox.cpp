#include "uilib/markup/MarkupCheckBox.h"

#include "uilib/markup/MarkupType.h"

namespace
{
// The visual style's check box part and the offsets of its checked and mixed states.
const int kPartCheckBox = 3;
const int kCheckedOffset = 4;
const int kMixedOffset = 8;
} // namespace

IMPLEMENT_MARKUP_TYPE(CWVPMarkupCheckBox, kTypeCheckBox)

void CWVPMarkupCheckBox::OnRender(CWVPMarkupDrawingContext* dc)
{
    int state = GetCheckState();
    int offset = state == stateChecked ? kCheckedOffset : state == stateIndeterminate ? kMixedOffset : 0;
    UINT flags = DFCS_BUTTONCHECK;
    if (state == stateChecked)
        flags |= DFCS_CHECKED;
    else if (state == stateIndeterminate)
        flags |= DFCS_BUTTON3STATE | DFCS_CHECKED;
    RenderGlyph(dc, kPartCheckBox, offset, flags);
}
