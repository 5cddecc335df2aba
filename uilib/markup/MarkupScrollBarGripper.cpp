#include "uilib/markup/MarkupScrollBarGripper.h"

#include "uilib/markup/MarkupDrawingContext.h"

void CWVPMarkupScrollBarGripper::OnRender(CWVPMarkupDrawingContext* dc)
{
    dc->FillSolidRect({0, 0, m_szRender.cx, m_szRender.cy}, ::GetSysColor(COLOR_BTNFACE));
}

void CWVPMarkupScrollBarGripper::ArrangeCore(const RECT& finalRect)
{
    CWVPMarkupUIElement::ArrangeCore(finalRect);
    m_ptOffset = {finalRect.left, finalRect.top};
}
