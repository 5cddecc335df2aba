#include "uilib/markup/MarkupVisual.h"

#include "uilib/markup/MarkupDrawingContext.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"

IMPLEMENT_MARKUP_TYPE(CWVPMarkupVisual, kTypeVisual)

CWVPMarkupVisual::CWVPMarkupVisual() : m_ptOffset{0, 0}, m_szRender{0, 0}, m_rcBounds{0, 0, 0, 0}
{
}

int CWVPMarkupVisual::GetLogicalChildrenCount() const
{
    return GetVisualChildrenCount();
}

CWVPMarkupObject* CWVPMarkupVisual::GetLogicalChild(int index) const
{
    return GetVisualChild(index);
}

int CWVPMarkupVisual::GetVisualChildrenCount() const
{
    return 0;
}

CWVPMarkupVisual* CWVPMarkupVisual::GetVisualChild(int) const
{
    return nullptr;
}

BOOL CWVPMarkupVisual::GetLayoutClip(RECT*)
{
    return FALSE;
}

void CWVPMarkupVisual::OnRender(CWVPMarkupDrawingContext*)
{
}

void CWVPMarkupVisual::OnRenderFocusVisual(CWVPMarkupDrawingContext*)
{
}

CWVPMarkupInputElement* CWVPMarkupVisual::InputHitTestCore(POINT)
{
    return this;
}

CWVPMarkupVisual* CWVPMarkupVisual::GetVisualParent() const
{
    for (CWVPMarkupObject* p = GetLogicalParent(); p; p = p->GetLogicalParent())
        if (p->IsKindOf(CWVPMarkupVisual::Type()))
            return static_cast<CWVPMarkupVisual*>(p);
    return nullptr;
}

void CWVPMarkupVisual::Render(CWVPMarkupDrawingContext* dc)
{
    RECT clip = dc->GetClipBox();
    ::OffsetRect(&clip, -m_ptOffset.x, -m_ptOffset.y);
    RECT test;
    if (!::IntersectRect(&test, &m_rcBounds, &clip))
        return;
    RECT layoutClip = {0, 0, 0, 0};
    BOOL clipped = GetLayoutClip(&layoutClip);
    if (clipped)
    {
        if (::IsRectEmpty(&layoutClip))
            return;
        ::IntersectRect(&clip, &clip, &layoutClip);
        if (!::IntersectRect(&test, &m_rcBounds, &clip))
            return;
    }
    POINT previous = dc->OffsetViewport(m_ptOffset);
    HRGN saved = nullptr;
    if (clipped)
    {
        saved = dc->GetClipRegion();
        dc->IntersectClip(layoutClip);
    }
    OnRender(dc);
    int count = GetVisualChildrenCount();
    for (int i = 0; i < count; ++i)
        if (CWVPMarkupVisual* child = GetVisualChild(i))
            child->Render(dc);
    if (CWVPMarkupBool::ValueOf(GetValue(s_pIsKeyboardFocusedProperty), FALSE))
        OnRenderFocusVisual(dc);
    if (saved)
        dc->RestoreClipRegion(saved);
    dc->RestoreViewport(previous);
}

CWVPMarkupInputElement* CWVPMarkupVisual::InputHitTest(POINT point)
{
    point.x -= m_ptOffset.x;
    point.y -= m_ptOffset.y;
    if (!::PtInRect(&m_rcBounds, point))
        return nullptr;
    RECT clip;
    if (GetLayoutClip(&clip) && !::PtInRect(&clip, point))
        return nullptr;
    for (int i = GetVisualChildrenCount() - 1; i >= 0; --i)
        if (CWVPMarkupVisual* child = GetVisualChild(i))
            if (CWVPMarkupInputElement* hit = child->InputHitTest(point))
                return hit;
    RECT area = {0, 0, m_szRender.cx, m_szRender.cy};
    return ::PtInRect(&area, point) ? InputHitTestCore(point) : nullptr;
}

void CWVPMarkupVisual::UpdateBoundingBox()
{
    RECT box = {0, 0, m_szRender.cx, m_szRender.cy};
    int count = GetVisualChildrenCount();
    for (int i = 0; i < count; ++i)
    {
        CWVPMarkupVisual* child = GetVisualChild(i);
        if (!child)
            continue;
        child->UpdateBoundingBox();
        RECT childBox = child->m_rcBounds;
        ::OffsetRect(&childBox, child->m_ptOffset.x, child->m_ptOffset.y);
        ::UnionRect(&box, &box, &childBox);
    }
    m_rcBounds = box;
}
