#pragma once
// The drop-down of a combo box on a bar: a popup bar with a small list interface (selection, search
// by text, scrolling, item text and the keys a combo box hands it) that the combo box drives without
// knowing what shows the items. The list (ControlComboBoxList.h) is the usual kind.
#include "uilib/commandbars/PopupBar.h"

class CWVPControlComboBox;

class CWVPControlComboBoxPopupBar : public CWVPPopupBar
{
    DECLARE_SERIAL(CWVPControlComboBoxPopupBar)

  public:
    CWVPControlComboBoxPopupBar();

    // The list interface; the base holds no items.
    virtual int GetCurSel() const;
    // The first item after `start` (wrapping around) whose text starts with, or equals, the text.
    virtual int FindString(int start, LPCWSTR text) const;
    virtual int FindStringExact(int start, LPCWSTR text) const;
    virtual int SetTopIndex(int index);
    virtual void SetCurSel(int index);
    virtual void GetText(int index, CString& text) const;
    // A key the combo box passes on (see ControlComboBox.h): TRUE when the drop-down took it.
    virtual BOOL ProcessComboKey(CWVPControlComboBox* pCombo, UINT key);

    int OnHookKeyDown(UINT key, LPARAM lParam) override;

    // The combo box that opened (or owns) this drop-down, or null.
    CWVPControlComboBox* GetParentCombo() const;

  protected:
    // Hands a key of ProcessComboKey to what shows the items; `editable` tells which kind of combo
    // box asks. The base gives it to the popup bar's own key handling.
    virtual void ForwardComboKey(UINT key, BOOL editable);
};
