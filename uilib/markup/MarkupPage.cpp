#include "uilib/markup/MarkupPage.h"

SIZE CWVPMarkupPage::MeasureOverride(CWVPMarkupDrawingContext* dc, int W, int H)
{
    if (!m_pChild)
        return {0, 0};
    m_pChild->Measure(dc, W, H);
    return m_pChild->GetDesiredSize();
}

SIZE CWVPMarkupPage::ArrangeOverride(int W, int H)
{
    if (m_pChild)
        m_pChild->Arrange({0, 0, W, H});
    return {W, H};
}

CWVPMarkupInputElement* CWVPMarkupPage::InputHitTestCore(POINT)
{
    return nullptr;
}
