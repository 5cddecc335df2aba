#pragma once
// A popup bar: the menu or drop-down a popup control opens, a command bar of type 2 at position
// 5. Its window, tracking and placement build on this model.
#include "uilib/commandbars/CommandBar.h"

class CWVPControlPopup;

class CWVPPopupBar : public CWVPCommandBar
{
    DECLARE_DYNCREATE(CWVPPopupBar)

  public:
    CWVPPopupBar();

    // A new popup bar (one reference for the caller) of the manager.
    static CWVPPopupBar* AFX_CDECL CreatePopupBar(CWVPCommandBarManager* manager);
    // A new popup bar with copies of this bar's controls (one reference for the caller).
    CWVPPopupBar* Clone(BOOL recursive);

    CWVPCommandBar* GetParentCommandBar() const override;
    CWVPControlPopup* GetControlPopup() const
    {
        return m_pControlPopup;
    }
    void SetControlPopup(CWVPControlPopup* pControl)
    {
        m_pControlPopup = pControl;
    }
    // Shows the items that only an expanded popup shows; FALSE when there were none.
    BOOL ExpandHiddenItems();
    BOOL IsShowShadow() const
    {
        return m_bShowShadow;
    }

  protected:
    CWVPControlPopup* m_pControlPopup;
    BOOL m_bShowShadow;
    BOOL m_bExpanded;
};
