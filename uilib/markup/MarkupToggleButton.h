// A button that keeps a check state: each click moves IsChecked on (unchecked, checked and, for a
// three-state button, indeterminate), and every change raises Checked, Unchecked or Indeterminate.
#pragma once

#include "uilib/markup/MarkupButtonBase.h"

class CWVPMarkupToggleButton : public CWVPMarkupButtonBase
{
    DECLARE_MARKUP_TYPE()
  public:
    // The values of IsChecked.
    enum CheckState
    {
        stateUnchecked = 0,
        stateChecked = 1,
        stateIndeterminate = 2
    };

    // The check box's and radio button's layout and focus cue: a 13-pixel glyph centred vertically
    // at the left, the content to its right.
    SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    SIZE ArrangeOverride(int finalWidth, int finalHeight) override;
    void OnRenderFocusVisual(CWVPMarkupDrawingContext* dc) override;

    void OnClick() override;
    virtual void OnToggle();
    virtual void OnChecked(CWVPMarkupRoutedEventArgs* args);
    virtual void OnUnchecked(CWVPMarkupRoutedEventArgs* args);
    virtual void OnIndeterminate(CWVPMarkupRoutedEventArgs* args);

    int GetCheckState() const;
    void SetCheckState(int state);
    BOOL IsThreeState() const;

    static void RegisterProperties();
    static CWVPMarkupRoutedEvent* s_pCheckedEvent;
    static CWVPMarkupRoutedEvent* s_pUncheckedEvent;
    static CWVPMarkupRoutedEvent* s_pIndeterminateEvent;
    static CWVPMarkupDependencyProperty* s_pIsCheckedProperty;
    static CWVPMarkupDependencyProperty* s_pIsThreeStateProperty;

  protected:
    // Draws the glyph: the visual style's part with checkedState added to its state, or the
    // classic frame control with frameFlags.
    void RenderGlyph(CWVPMarkupDrawingContext* dc, int part, int checkedState, UINT frameFlags);
};
