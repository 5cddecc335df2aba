#include "uilib/markup/MarkupInline.h"

#include "uilib/markup/MarkupSpan.h"
#include "uilib/markup/MarkupType.h"

CWVPMarkupInline::CWVPMarkupInline() : m_nIndex(-1)
{
}

CWVPMarkupInline* CWVPMarkupInline::GetFirstInline()
{
    return this;
}

MarkupTextPosition CWVPMarkupInline::GetFirstPosition() const
{
    return kNoTextPosition;
}

void CWVPMarkupInline::GetNextPosition(MarkupTextPosition& position) const
{
    position = 0;
}

BOOL CWVPMarkupInline::IsWordBreakPosition(MarkupTextPosition) const
{
    return FALSE;
}

BOOL CWVPMarkupInline::IsLineBreakPosition(MarkupTextPosition) const
{
    return FALSE;
}

BOOL CWVPMarkupInline::IsWhiteSpacePosition(MarkupTextPosition) const
{
    return FALSE;
}

void CWVPMarkupInline::ArrangeRange(const RECT&, MarkupTextPosition, MarkupTextPosition)
{
}

SIZE CWVPMarkupInline::MeasureRange(CWVPMarkupDrawingContext*, MarkupTextPosition, MarkupTextPosition)
{
    return {0, 0};
}

void CWVPMarkupInline::RenderRange(CWVPMarkupDrawingContext*, const RECT&, MarkupTextPosition, MarkupTextPosition)
{
}

void CWVPMarkupInline::PrepareMeasure(CWVPMarkupDrawingContext*)
{
}

int CWVPMarkupInline::GetBaselineOffset() const
{
    return 0;
}

CWVPMarkupInline* CWVPMarkupInline::GetNextInline() const
{
    const CWVPMarkupInline* x = this;
    for (;;)
    {
        CWVPMarkupInlineCollection* c = MarkupCast<CWVPMarkupInlineCollection>(x->GetLogicalParent());
        if (!c)
            return nullptr;
        // The stored index goes stale when items before it are removed: find the item then.
        int index = x->GetIndex();
        if (index < 0 || index >= c->GetCount() || c->GetItem(index) != x)
        {
            index = -1;
            for (int i = 0; i < c->GetCount() && index < 0; ++i)
                if (c->GetItem(i) == x)
                    index = i;
            if (index < 0)
                return nullptr;
        }
        if (index + 1 < c->GetCount())
        {
            CWVPMarkupInline* next = c->GetInline(index + 1);
            return next ? next->GetFirstInline() : nullptr;
        }
        CWVPMarkupSpan* span = MarkupCast<CWVPMarkupSpan>(c->GetLogicalParent());
        if (!span)
            return nullptr;
        x = span;
    }
}

void CWVPMarkupInlineCollection::OnItemAdded(CWVPMarkupObject* item, int index)
{
    if (CWVPMarkupInline* added = MarkupCast<CWVPMarkupInline>(item))
        added->SetIndex(index);
}

CWVPMarkupInline* CWVPMarkupInlineCollection::GetInline(int index) const
{
    return index >= 0 && index < GetCount() ? MarkupCast<CWVPMarkupInline>(GetItem(index)) : nullptr;
}
