#pragma once
// A keyboard tip: the small top-level window that shows the letters reaching a control or a bar
// while keyboard tips are up. The paint manager draws it; a disabled control's tip is greyed.
#include "platform/mfc/Mfc.h"

class CWVPCommandBarManager;

class CWVPCommandBarKeyboardTip : public CWnd
{
  public:
    // Alignment bits: 0 puts the top-left corner at the anchor.
    enum
    {
        AlignCenterX = 1,
        AlignRight = 2,
        AlignCenterY = 4,
        AlignBottom = 8,
    };

    CWVPCommandBarKeyboardTip(CWVPCommandBarManager* manager, const CString& tip, BOOL enabled);
    // A tip for a control (anchor in its bar's client coordinates) or a bar (anchor on the
    // screen); its text is derived from the caption unless set.
    CWVPCommandBarKeyboardTip(CWVPCommandBarManager* manager, CCmdTarget* owner, const CString& caption, int x, int y,
                              int align, BOOL enabled);

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

    void SetTipText(const CString& tip)
    {
        m_strTip = tip;
    }
    const CString& GetCaption() const
    {
        return m_strCaption;
    }
    CCmdTarget* GetOwner() const
    {
        return m_pOwner;
    }
    CPoint GetAnchor() const
    {
        return m_ptAnchor;
    }
    int GetAlign() const
    {
        return m_nAlign;
    }
    BOOL IsVisible() const
    {
        return m_bVisible;
    }
    // A text the application gave for the tip (the control's keyboard tip).
    CString m_strExplicitTip;
    BOOL m_bExplicit;

  protected:
    afx_msg void OnPaint();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    DECLARE_MESSAGE_MAP()

  private:
    CWVPCommandBarManager* m_pManager;
    CString m_strTip;
    BOOL m_bEnabled;
    CString m_strCaption;
    CCmdTarget* m_pOwner;
    CPoint m_ptAnchor;
    int m_nAlign;
    BOOL m_bVisible;
};
