#pragma once
// The control that opens a popup bar: a menu item with a submenu, a drop-down button or a split
// button (whose button part executes and whose arrow part opens). It holds one reference on its
// popup bar.
#include "uilib/commandbars/ControlButton.h"

// Enabled states of split buttons beyond 0 and 1.
const int WVP_SPLIT_BUTTON_ONLY = 4; // only the button part is enabled
const int WVP_SPLIT_ARROW_ONLY = 5;  // only the arrow part is enabled

class CWVPControlPopup : public CWVPControlButton
{
    DECLARE_SERIAL(CWVPControlPopup)

  public:
    CWVPControlPopup();
    ~CWVPControlPopup() override;

    // A popup control of type 2, 3 or 4.
    static CWVPControlPopup* AFX_CDECL CreatePopupControl(int type);

    void SetCommandBar(CWVPCommandBar* pBar);
    CWVPCommandBar* GetCommandBar() const override;
    BOOL GetPopuped() const override;
    BOOL OnSetPopup(BOOL open) override;
    void OnClick(BOOL keyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnLButtonUp(CPoint pt) override;
    BOOL OnLButtonDblClk(CPoint pt) override;
    void OnMouseMove(CPoint pt) override;
    void OnMouseHover() override;
    BOOL OnSetSelected(int state) override;
    BOOL ActivateByKeyboard() override;
    BOOL Compare(CWVPControl* pOther) override;
    void Copy(CWVPControl* pSource, BOOL recursive = FALSE) override;
    CWVPControl* Clone(BOOL recursive = FALSE) override;
    BOOL IsCustomizeDragOverAvail(CWVPCommandBar* pBar) override;

    virtual BOOL AdjustExcludeRect(CRect& rc, BOOL vertical);
    virtual void UpdateShadow();

    // TRUE when the other popup's bar is this popup's bar or lies anywhere below it.
    BOOL HasPopupInTree(CWVPControlPopup* pOther) const;
    BOOL GetControlShadow() const
    {
        return m_bControlShadow;
    }

  protected:
    BOOL m_bPopuped;
    CWVPCommandBar* m_pCommandBar;
    int m_nLoadedBarId;
    BOOL m_bControlShadow;
};
