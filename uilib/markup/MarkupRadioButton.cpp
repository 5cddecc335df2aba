#include "uilib/markup/MarkupRadioButton.h"

#include "uilib/markup/MarkupType.h"

namespace
{
// The visual style's radio button part and the offset of its checked states.
const int kPartRadioButton = 2;
const int kCheckedOffset = 4;
} // namespace

IMPLEMENT_MARKUP_TYPE(CWVPMarkupRadioButton, kTypeRadioButton)

void CWVPMarkupRadioButton::OnRender(CWVPMarkupDrawingContext* dc)
{
    BOOL checked = GetCheckState() != stateUnchecked;
    RenderGlyph(dc, kPartRadioButton, checked ? kCheckedOffset : 0, DFCS_BUTTONRADIO | (checked ? DFCS_CHECKED : 0));
}

void CWVPMarkupRadioButton::OnToggle()
{
    SetCheckState(stateChecked);
}

void CWVPMarkupRadioButton::OnChecked(CWVPMarkupRoutedEventArgs* args)
{
    // The group: the other radio buttons among the children of the nearest visual ancestor.
    if (CWVPMarkupVisual* parent = GetVisualParent())
    {
        parent->AddRef();
        for (int i = 0; i < parent->GetVisualChildrenCount(); ++i)
        {
            CWVPMarkupRadioButton* other = MarkupCast<CWVPMarkupRadioButton>(parent->GetVisualChild(i));
            if (other && other != this && other->GetCheckState() != stateUnchecked)
                other->SetCheckState(stateUnchecked);
        }
        parent->Release();
    }
    CWVPMarkupToggleButton::OnChecked(args);
}
