// Puts one UI element into the flow of text: it has the two positions 0 and 1, so the element
// measures, arranges and draws as one unbreakable word.
#pragma once

#include "uilib/markup/MarkupInline.h"

class CWVPMarkupUIElement;

class CWVPMarkupInlineUIContainer : public CWVPMarkupInline
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupInlineUIContainer();
    ~CWVPMarkupInlineUIContainer() override;
    int GetLogicalChildrenCount() const override;
    CWVPMarkupObject* GetLogicalChild(int index) const override;
    void SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content) override;
    BOOL HasContentObject() const override;
    CWVPMarkupInputElement* InputHitTest(POINT point) override;

    MarkupTextPosition GetFirstPosition() const override;
    void GetNextPosition(MarkupTextPosition& position) const override;
    BOOL IsWordBreakPosition(MarkupTextPosition position) const override;
    void ArrangeRange(const RECT& rect, MarkupTextPosition first, MarkupTextPosition last) override;
    SIZE MeasureRange(CWVPMarkupDrawingContext* dc, MarkupTextPosition first, MarkupTextPosition last) override;
    void RenderRange(CWVPMarkupDrawingContext* dc, const RECT& rect, MarkupTextPosition first,
                     MarkupTextPosition last) override;

    void SetChild(CWVPMarkupUIElement* child);
    CWVPMarkupUIElement* GetChild() const
    {
        return m_pChild;
    }

  private:
    CWVPMarkupUIElement* m_pChild;
};
