#include "uilib/markup/MarkupTooltipContext.h"

namespace
{
// The markup tooltip window (style 7) draws the tip text as markup; until the library has that
// window, markup tips use the common-control tooltip (style 0).
const int kMarkupTooltipStyle = 0;
} // namespace

CWVPMarkupContext::CTooltipContext::CTooltipContext(CWVPMarkupContext* owner) : m_pMarkupContext(owner)
{
    SetStyle(kMarkupTooltipStyle);
}

INT_PTR CWVPMarkupContext::CTooltipContext::OnToolHitTest(CWnd*, CPoint point, TOOLINFOW* info)
{
    return m_pMarkupContext ? m_pMarkupContext->HitTestToolTip(point, info) : -1;
}
