// A span that acts as a link: blue and underlined with the hand cursor by its default style, red
// under the mouse, and raising the bubbling Click event on a left-button press and release on it.
#pragma once

#include "uilib/markup/MarkupSpan.h"

class CWVPMarkupHyperlink : public CWVPMarkupSpan
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupHyperlink();
    void OnMouseLeftButtonDown(CWVPMarkupMouseEventArgs* args) override;
    void OnMouseLeftButtonUp(CWVPMarkupMouseEventArgs* args) override;
    virtual void OnClick();

    static void RegisterProperties();

  private:
    BOOL m_bPressed;
};
