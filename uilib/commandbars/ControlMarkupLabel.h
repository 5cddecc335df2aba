#pragma once
// A label whose caption is markup: parsed when the caption changes, measured and rendered in the
// bar's font and text colour.
#include "uilib/commandbars/ControlLabel.h"

class CWVPMarkupUIElement;

class CWVPControlMarkupLabel : public CWVPControlLabel
{
    DECLARE_SERIAL(CWVPControlMarkupLabel)

  public:
    CWVPControlMarkupLabel();
    ~CWVPControlMarkupLabel() override;

    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void OnCaptionChanged() override;

    // The parsed caption; null when the caption is not valid markup.
    CWVPMarkupUIElement* GetMarkupElement() const
    {
        return m_pMarkupElement;
    }

  private:
    CWVPMarkupUIElement* m_pMarkupElement;
};
