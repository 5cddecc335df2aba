#pragma once
// A keyboard tip: the small top-level window that shows the letters reaching a control or a bar
// while keyboard tips are up. The paint manager draws it; a disabled control's tip is greyed.
#include "platform/mfc/Mfc.h"

class CWVPCommandBarManager;

class CWVPCommandBarKeyboardTip : public CWnd
{
  public:
    CWVPCommandBarKeyboardTip(CWVPCommandBarManager* manager, const CString& tip, BOOL enabled);

    CWVPCommandBarManager* GetManager() const
    {
        return m_pManager;
    }
    const CString& GetTipText() const
    {
        return m_strTip;
    }
    BOOL IsEnabled() const
    {
        return m_bEnabled;
    }

  protected:
    afx_msg void OnPaint();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    DECLARE_MESSAGE_MAP()

  private:
    CWVPCommandBarManager* m_pManager;
    CString m_strTip;
    BOOL m_bEnabled;
};
