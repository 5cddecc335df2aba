#pragma once
// A font of the paint manager with its refresh flag: while the flag is set, every font refresh
// makes the font again from the system's metrics; while it is clear, only a missing font is made.
#include "platform/mfc/Mfc.h"

class CWVPPaintManagerFont : public CFont
{
  public:
    CWVPPaintManagerFont() : m_bRefresh(TRUE)
    {
    }
    ~CWVPPaintManagerFont() override
    {
        DeleteObject();
    }

    BOOL GetRefresh() const
    {
        return m_bRefresh;
    }
    void SetRefresh(BOOL refresh)
    {
        m_bRefresh = refresh;
    }
    // Makes the font again from the record when the refresh flag asks for it or there is none.
    void Refresh(const LOGFONTW& lf)
    {
        if (!m_bRefresh && GetSafeHandle())
            return;
        DeleteObject();
        CreateFontIndirect(&lf);
    }
    // An application's own font: kept over refreshes.
    void SetCustomFont(const LOGFONTW& lf)
    {
        DeleteObject();
        CreateFontIndirect(&lf);
        m_bRefresh = FALSE;
    }

  private:
    BOOL m_bRefresh;
};
