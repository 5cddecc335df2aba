// A panel that flows its children into rows (or columns) and starts a new line when the next
// child does not fit, optionally giving every child the same cell size.
#pragma once

#include "uilib/markup/MarkupPanel.h"

class CWVPMarkupWrapPanel : public CWVPMarkupPanel
{
    DECLARE_MARKUP_TYPE()
  public:
    SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    SIZE ArrangeOverride(int finalWidth, int finalHeight) override;

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pOrientationProperty;
    static CWVPMarkupDependencyProperty* s_pItemHeightProperty;
    static CWVPMarkupDependencyProperty* s_pItemWidthProperty;

  private:
    // One finished line: children [first, end) at cross offset offset, thickness thick.
    typedef void (CWVPMarkupWrapPanel::*LineFunction)(int first, int end, int offset, int thick);

    BOOL IsHorizontal() const;
    // A child's cell as (length along the flow, thickness across it).
    SIZE GetCell(CWVPMarkupUIElement* child) const;
    // Walks the children into lines no longer than limit; returns (longest line, total thickness).
    SIZE Flow(int limit, LineFunction onLine);
    void ArrangeLine(int first, int end, int offset, int thick);
};
