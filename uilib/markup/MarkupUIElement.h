// Adds the two-pass layout to a visual: Measure asks for the desired size under an available
// size, Arrange gives the final rectangle; both are cached by dirty flags, and invalidations
// climb to the root and the host window.
#pragma once

#include "uilib/markup/MarkupVisual.h"

class CWVPMarkupUIElement : public CWVPMarkupVisual
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupUIElement();
    BOOL GetLayoutClip(RECT* clip) override;

    virtual void InvalidateArrange();
    virtual void InvalidateVisual();
    virtual void InvalidateMeasure();
    virtual void ArrangeCore(const RECT& finalRect);
    virtual SIZE MeasureCore(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight);
    virtual void UpdateLayout(CWVPMarkupDrawingContext* dc);

    void Measure(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight);
    void Arrange(const RECT& finalRect);
    SIZE GetDesiredSize() const { return m_szDesired; }
    const RECT& GetFinalRect() const { return m_rcFinal; }
    // Visibility: 0 visible, 1 hidden, 2 collapsed.
    int GetVisibility() const;

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pClipToBoundsProperty;
    static CWVPMarkupDependencyProperty* s_pVisibilityProperty;
    static CWVPMarkupDependencyProperty* s_pFocusableProperty;
    static CWVPMarkupDependencyProperty* s_pIsEnabledProperty;

    static const int kUnbounded = 0x7FFFFFFF;

  protected:
    SIZE m_szDesired;
    RECT m_rcFinal;
    BOOL m_bMeasureDirty;
    BOOL m_bNeverMeasured;
    SIZE m_szPreviousAvailable;
    BOOL m_bArrangeDirty;
    BOOL m_bNeverArranged;
    BOOL m_bInArrange;
    BOOL m_bInMeasure;
    // The context's font generation of the last measure.
    LONG m_nFontGeneration;
};
