#include "uilib/markup/MarkupInlineUIContainer.h"

#include "uilib/markup/MarkupUIElement.h"

namespace
{
// The room an embedded element is measured in.
const int kEmbeddedMeasureSize = 32000;
} // namespace

CWVPMarkupInputElement* CWVPMarkupInlineUIContainer::InputHitTest(POINT point)
{
    CWVPMarkupInputElement* hit = m_pChild ? m_pChild->InputHitTest(point) : nullptr;
    return hit ? hit : this;
}

MarkupTextPosition CWVPMarkupInlineUIContainer::GetFirstPosition() const
{
    return m_pChild ? 0 : kNoTextPosition;
}

void CWVPMarkupInlineUIContainer::GetNextPosition(MarkupTextPosition& position) const
{
    position = position == 0 ? 1 : kNoTextPosition;
}

BOOL CWVPMarkupInlineUIContainer::IsWordBreakPosition(MarkupTextPosition position) const
{
    return position == 0 || position == 1;
}

void CWVPMarkupInlineUIContainer::ArrangeRange(const RECT& rect, MarkupTextPosition first, MarkupTextPosition)
{
    if (first == 0 && m_pChild)
        m_pChild->Arrange(rect);
}

SIZE CWVPMarkupInlineUIContainer::MeasureRange(CWVPMarkupDrawingContext* dc, MarkupTextPosition first,
                                               MarkupTextPosition)
{
    if (first != 0 || !m_pChild || !dc)
        return {0, 0};
    m_pChild->Measure(dc, kEmbeddedMeasureSize, kEmbeddedMeasureSize);
    return m_pChild->GetDesiredSize();
}

void CWVPMarkupInlineUIContainer::RenderRange(CWVPMarkupDrawingContext* dc, const RECT&, MarkupTextPosition first,
                                              MarkupTextPosition)
{
    if (first == 0 && m_pChild && dc)
        m_pChild->Render(dc);
}
