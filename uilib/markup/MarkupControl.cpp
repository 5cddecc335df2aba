#include "uilib/markup/MarkupControl.h"

#include "uilib/markup/MarkupBorder.h"
#include "uilib/markup/MarkupLayoutMath.h"
#include "uilib/markup/MarkupPanel.h"
#include "uilib/markup/MarkupTextElement.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"

IMPLEMENT_MARKUP_TYPE(CWVPMarkupControl, kTypeControl)

void CWVPMarkupControl::RegisterProperties()
{
    CWVPMarkupBorder::Type()->EnsureRegistered();
    CWVPMarkupPanel::Type()->EnsureRegistered();
    CWVPMarkupTextElement::Type()->EnsureRegistered();
    CWVPMarkupBorder::s_pPaddingProperty->AddOwner(Type());
    CWVPMarkupPanel::s_pBackgroundProperty->AddOwner(Type());
    CWVPMarkupTextElement::s_pForegroundProperty->AddOwner(Type());
}

const CWVPMarkupThickness* CWVPMarkupControl::GetPadding() const
{
    const CWVPMarkupThickness* padding =
        MarkupCast<CWVPMarkupThickness>(GetValue(CWVPMarkupBorder::s_pPaddingProperty));
    return padding ? padding : CWVPMarkupThickness::GetZero();
}

SIZE CWVPMarkupControl::GetPaddingSums() const
{
    const CWVPMarkupThickness* p = GetPadding();
    return {MarkupSaturate((long long)p->m_nLeft + p->m_nRight), MarkupSaturate((long long)p->m_nTop + p->m_nBottom)};
}

SIZE CWVPMarkupControl::MeasureOverride(CWVPMarkupDrawingContext* dc, int W, int H)
{
    if (GetVisualChildrenCount() < 1)
        return {0, 0};
    CWVPMarkupVisual* child = GetVisualChild(0);
    if (!child || !child->IsKindOf(CWVPMarkupUIElement::Type()))
        return {0, 0};
    CWVPMarkupUIElement* element = static_cast<CWVPMarkupUIElement*>(child);
    element->Measure(dc, W, H);
    return element->GetDesiredSize();
}

SIZE CWVPMarkupControl::ArrangeOverride(int W, int H)
{
    CWVPMarkupVisual* child = GetVisualChildrenCount() > 0 ? GetVisualChild(0) : nullptr;
    if (child && child->IsKindOf(CWVPMarkupUIElement::Type()))
        static_cast<CWVPMarkupUIElement*>(child)->Arrange({0, 0, W, H});
    return {W, H};
}
