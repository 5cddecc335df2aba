// The base of every element that takes part in layout: size limits, margins, alignments and a
// free tag folded around MeasureOverride and ArrangeOverride, the layout clip when the content
// does not fit, and property changes turned into the right kind of invalidation.
#pragma once

#include "uilib/markup/MarkupUIElement.h"

class CWVPMarkupThickness;

class CWVPMarkupFrameworkElement : public CWVPMarkupUIElement
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupFrameworkElement();
    void OnPropertyChanged(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* oldValue,
                           CWVPMarkupObject* newValue) override;
    BOOL GetLayoutClip(RECT* clip) override;
    void ArrangeCore(const RECT& finalRect) override;
    SIZE MeasureCore(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;

    virtual SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight);
    virtual SIZE ArrangeOverride(int finalWidth, int finalHeight);

    // 0 left/top, 1 center, 2 right/bottom, 3 stretch (unset).
    int GetHorizontalAlignment() const;
    int GetVerticalAlignment() const;
    POINT GetAlignmentOffset(int clientWidth, int clientHeight, int inkWidth, int inkHeight) const;
    void ComputeLimits();
    const CWVPMarkupThickness* GetMargin() const;
    // Left plus right and top plus bottom margin, in 64 bits so that no sum overflows.
    void GetMarginSums(long long* horizontal, long long* vertical) const;

    struct Limits
    {
        int maxHeight, minHeight, maxWidth, minWidth;
    };
    const Limits& GetLimits() const { return m_limits; }
    BOOL NeedsClip() const { return m_bNeedsClip; }

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pMarginProperty;
    static CWVPMarkupDependencyProperty* s_pHorizontalAlignmentProperty;
    static CWVPMarkupDependencyProperty* s_pVerticalAlignmentProperty;
    static CWVPMarkupDependencyProperty* s_pWidthProperty;
    static CWVPMarkupDependencyProperty* s_pHeightProperty;
    static CWVPMarkupDependencyProperty* s_pMinWidthProperty;
    static CWVPMarkupDependencyProperty* s_pMinHeightProperty;
    static CWVPMarkupDependencyProperty* s_pMaxWidthProperty;
    static CWVPMarkupDependencyProperty* s_pMaxHeightProperty;
    static CWVPMarkupDependencyProperty* s_pTagProperty;

  protected:
    BOOL m_bNeedsClip;
    SIZE m_szUnclipped;
    BOOL m_bUnclippedValid;
    Limits m_limits;
};
