// The tooltip service of a markup context: shows the "ToolTip" text of the element under the mouse
// of the context's host window. The markup context creates it with itself and releases it with
// itself; the back pointer is cleared then, so a tooltip context that outlives it stays harmless.
#pragma once

#include "uilib/controls/ToolTipContext.h"
#include "uilib/markup/MarkupContext.h"

class CWVPMarkupContext::CTooltipContext : public CWVPToolTipContext
{
  public:
    explicit CTooltipContext(CWVPMarkupContext* owner);

    CWVPMarkupContext* GetMarkupContext() const
    {
        return m_pMarkupContext;
    }
    // Called by the owner as it goes away.
    void DetachMarkupContext()
    {
        m_pMarkupContext = nullptr;
    }

  protected:
    // The tool is the hover element's nearest "ToolTip" text, whatever the point.
    INT_PTR OnToolHitTest(CWnd* owner, CPoint point, TOOLINFOW* info) override;

  private:
    CWVPMarkupContext* m_pMarkupContext;
};
