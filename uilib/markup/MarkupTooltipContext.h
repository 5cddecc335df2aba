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

  private:
    CWVPMarkupContext* m_pMarkupContext;
};
