// A flat tool bar that repaints cleanly when it moves and can sit in a rebar; the menu bar's base.
#pragma once

#include "app/shell/FixMFCToolBar.h"

class CFlatToolBar : public CFixMFCToolBar
{
  public:
    CFlatToolBar();
    ~CFlatToolBar() override;

    // A drop-down button shows the first sub-menu of a menu resource (none in this program).
    struct DropDown
    {
        UINT buttonId;
        UINT menuId;
    };
    virtual void OnDropDown(NMTOOLBARW* notify, UINT buttonId, const CRect& buttonRect);
    virtual void RepaintOldArea(const CRect& screenRect);

    bool m_bInReBar;
    CRect m_rcOldPos;
    std::vector<DropDown> m_dropDowns;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT cs);
    afx_msg void OnNcCalcSize(BOOL calcValid, NCCALCSIZE_PARAMS* params);
    afx_msg void OnWindowPosChanging(WINDOWPOS* pos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* pos);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnPaint();
    afx_msg void OnToolBarDropDown(NMHDR* header, LRESULT* result);

  protected:
    DECLARE_MESSAGE_MAP()
};
