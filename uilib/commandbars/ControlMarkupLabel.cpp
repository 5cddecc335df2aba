#include "uilib/commandbars/ControlMarkupLabel.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/markup/MarkupEntryPoints.h"

IMPLEMENT_SERIAL(CWVPControlMarkupLabel, CWVPControlLabel, VERSIONABLE_SCHEMA | 0x21)

namespace
{
const int kUnbounded = 0x7FFFFFFF;
} // namespace

CWVPControlMarkupLabel::CWVPControlMarkupLabel() : m_pMarkupElement(nullptr)
{
}

CWVPControlMarkupLabel::~CWVPControlMarkupLabel()
{
    MarkupReleaseElement(&m_pMarkupElement);
}

void CWVPControlMarkupLabel::OnCaptionChanged()
{
    CWVPControlLabel::OnCaptionChanged();
    MarkupReleaseElement(&m_pMarkupElement);
    CWVPMarkupContext* context = MarkupCreateContext(nullptr);
    m_pMarkupElement = MarkupParseText(context, GetCaption());
    MarkupReleaseContext(&context);
}

CSize CWVPControlMarkupLabel::GetSize(CDC* pDC)
{
    if (!m_pMarkupElement)
        return CWVPControlLabel::GetSize(pDC);
    MarkupSetDefaultFont(MarkupGetElementContext(m_pMarkupElement), GetLabelFont(), COLORREF(-1));
    const SIZE size = MarkupMeasureElement(m_pMarkupElement, kUnbounded, kUnbounded);
    return CSize(size.cx, size.cy);
}

void CWVPControlMarkupLabel::Draw(CDC* pDC)
{
    if (!m_pMarkupElement)
    {
        CWVPControlLabel::Draw(pDC);
        return;
    }
    CWVPPaintManager* pm = GetPaintManager();
    const COLORREF color =
        pm ? pm->GetRectangleTextColor(FALSE, FALSE, GetEnabled(), FALSE, FALSE, m_pParent ? m_pParent->GetType() : 0,
                                       m_pParent ? m_pParent->GetPosition() : 0)
           : ::GetSysColor(COLOR_BTNTEXT);
    MarkupSetDefaultFont(MarkupGetElementContext(m_pMarkupElement), GetLabelFont(), color);
    const CRect rc = GetRect();
    MarkupRenderElement(m_pMarkupElement, pDC->GetSafeHdc(), &rc);
}
