// Shows one content element in a viewport and scrolls it in pixels. It makes its own scroll bars
// as visual children (and a gripper in the corner when both show) as their visibilities ask, and
// the bars send it the system's scroll commands; the mouse wheel scrolls it too.
#pragma once

#include "uilib/markup/MarkupContentControl.h"

class CWVPMarkupScrollBar;
class CWVPMarkupScrollBarGripper;

class CWVPMarkupScrollViewer : public CWVPMarkupContentControl
{
    DECLARE_MARKUP_TYPE()
  public:
    enum Orientation
    {
        orientationHorizontal = 0,
        orientationVertical = 1,
    };
    enum Visibility
    {
        visibilityDisabled = 0,
        visibilityAuto = 1,
        visibilityVisible = 2,
    };
    // Pixels moved by one line command and by one notch of the wheel.
    static constexpr int kLineStep = 16;
    static constexpr int kWheelStep = 48;

    CWVPMarkupScrollViewer();
    ~CWVPMarkupScrollViewer() override;

    int GetVisualChildrenCount() const override;
    CWVPMarkupVisual* GetVisualChild(int index) const override;
    void OnMouseWheel(CWVPMarkupMouseWheelEventArgs* args) override;
    SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    SIZE ArrangeOverride(int finalWidth, int finalHeight) override;

    int GetScrollOffset(int orientation) const;
    // The largest offset the bar's range allows (0 without that bar).
    int GetScrollLimit(int orientation) const;
    // Clamps to 0 .. limit; a change re-arranges the content.
    void SetScrollOffset(int orientation, int offset);
    // Applies a scroll command (SB_LINEUP .. SB_ENDSCROLL) of the bar of that orientation.
    void Scroll(int orientation, int command, int thumbPosition);

    CWVPMarkupScrollBar* GetScrollBar(int orientation) const;
    CWVPMarkupScrollBarGripper* GetGripper() const
    {
        return m_pGripper;
    }

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pVerticalScrollBarVisibilityProperty;
    static CWVPMarkupDependencyProperty* s_pHorizontalScrollBarVisibilityProperty;

  private:
    CWVPMarkupUIElement* GetContent() const;
    CWVPMarkupScrollBar* EnsureBar(CWVPMarkupScrollBar*& slot, int orientation);
    void DropBar(CWVPMarkupScrollBar*& slot, int& offset);
    void UpdateGripper();

    CWVPMarkupScrollBar* m_pVerticalBar;
    CWVPMarkupScrollBar* m_pHorizontalBar;
    CWVPMarkupScrollBarGripper* m_pGripper;
    int m_nHorizontalOffset;
    int m_nVerticalOffset;
};
