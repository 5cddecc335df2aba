// Gives an input element a place in a tree of drawn rectangles: an offset in its visual parent,
// a render size, a bounding box covering its child visuals, rendering with clipping and viewport
// offsets, and hit testing.
#pragma once

#include "uilib/markup/MarkupInputElement.h"

class CWVPMarkupDrawingContext;

class CWVPMarkupVisual : public CWVPMarkupInputElement
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupVisual();
    int GetLogicalChildrenCount() const override;
    CWVPMarkupObject* GetLogicalChild(int index) const override;
    CWVPMarkupInputElement* InputHitTest(POINT point) override;

    virtual int GetVisualChildrenCount() const;
    virtual CWVPMarkupVisual* GetVisualChild(int index) const;
    virtual BOOL GetLayoutClip(RECT* clip);
    virtual void OnRender(CWVPMarkupDrawingContext* dc);
    virtual void OnRenderFocusVisual(CWVPMarkupDrawingContext* dc);
    virtual CWVPMarkupInputElement* InputHitTestCore(POINT point);

    void Render(CWVPMarkupDrawingContext* dc);
    void UpdateBoundingBox();
    CWVPMarkupVisual* GetVisualParent() const;

    POINT GetVisualOffset() const { return m_ptOffset; }
    SIZE GetRenderSize() const { return m_szRender; }
    const RECT& GetBoundingBox() const { return m_rcBounds; }

  protected:
    POINT m_ptOffset;
    SIZE m_szRender;
    RECT m_rcBounds;
};
