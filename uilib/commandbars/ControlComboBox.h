#pragma once
// The combo box of a command bar: a popup control whose popup bar is its drop-down (the list of
// ControlComboBoxList.h, or another CWVPControlComboBoxPopupBar), shown as an editable field (a real
// edit window) or as a drop-down list whose selected text the control draws. It keeps a selection,
// completes typed text from the list, restores selection and text when the user cancels, and
// reports each step to the owner with the combo-box notification codes (CBN_*).
#include "uilib/commandbars/ControlPopup.h"
#include "uilib/commandbars/ControlComboBoxEditCtrl.h"
#include <richedit.h>

class CWVPControlComboBoxPopupBar;
class CWVPControlComboBoxList;
class CWVPCommandBarManager;

// "ComboStyle": the caption shows as a label on tool bars.
const int WVP_COMBOSTYLE_LABEL = 1;

class CWVPControlComboBox : public CWVPControlPopup
{
    DECLARE_SERIAL(CWVPControlComboBox)

  public:
    explicit CWVPControlComboBox(CWVPCommandBarManager* pManager = nullptr);
    ~CWVPControlComboBox() override;

    void SetEnabled(int enabled) override;
    void SetFocused(BOOL focused) override;
    BOOL IsFocused() const override;
    void SetRect(CRect rc) override;
    BOOL IsCaptionVisible() const override;
    BOOL Compare(CWVPControl* pOther) override;
    void SetHideFlags(DWORD flags) override;
    void OnExecute() override;
    void OnCalcDynamicSize(DWORD mode) override;
    BOOL ActivateByKeyboard() override;
    void InvalidatePlacement() override;
    void Copy(CWVPControl* pSource, BOOL recursive = FALSE) override;
    CWVPControl* Clone(BOOL recursive = FALSE) override;
    void OnClick(BOOL keyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    BOOL IsFocusable() const override;
    BOOL OnHookKeyDown(UINT key) override;
    BOOL OnHookMouseWheel(UINT flags, short delta, CPoint pt) override;
    void SetParent(CWVPCommandBar* pBar) override;
    BOOL OnSetPopup(BOOL open) override;
    void OnMouseMove(CPoint pt) override;
    void OnMouseHover() override;
    BOOL OnSetSelected(int state) override;
    BOOL IsCustomizeResizeAllow() const override;
    int GetCustomizeMinWidth() const override;
    void OnRemoved() override;
    void OnActionChanged(int property) override;
    void OnActionChanging(int property) override;

    // The selected item's text in the drop-down (empty without selection or drop-down).
    virtual CString GetListBoxText() const;
    virtual void FillCharFormat(CHARFORMAT2W& cf);
    // Draws the content of a drop-down list (no edit window): the selected text or the hint.
    virtual void DrawComboText(CDC* pDC, CRect rc);
    virtual CString GetText() const;
    // Every user change of the edit text: completion, the matching item, CBN_EDITCHANGE.
    virtual void OnEditTextChanged();
    // The selection changed: the text follows it, CBN_SELCHANGE goes to the owner.
    virtual void OnSelChanged();
    virtual CWVPControlComboBoxEditCtrl* CreateEditWindowObject();
    virtual void OnSetFocus(HWND hWndOld);
    virtual void OnKillFocus();
    virtual void InsetForEditIcon(int& left);
    // An owner-drawn list item.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

    // The drop-down when it is a combo drop-down, else null.
    CWVPControlComboBoxPopupBar* GetComboPopup() const;
    BOOL IsComboPopup() const
    {
        return GetComboPopup() != nullptr;
    }
    // The list when the drop-down is the usual list, else null.
    CWVPControlComboBoxList* GetComboList() const;
    int GetCurSel() const;
    void SetCurSel(int index);
    // Selects the item equal to the edit text; else scrolls to the first that starts with it and
    // selects none.
    void SelectMatchingItem();

    // Text: the displayed text may be the hint; the edit text never is.
    CString GetDisplayedText() const;
    void SetDisplayedText(LPCWSTR text);
    CString GetEditText() const;
    void SetEditText(LPCWSTR text);
    CString GetEditHint() const;
    void SetEditHint(LPCWSTR hint);
    BOOL IsHintShown() const;

    BOOL GetDropDown() const
    {
        return m_bDropDown;
    }
    // TRUE gives the combo box an edit field; FALSE makes it a drop-down list.
    void SetDropDown(BOOL editable);
    int GetComboStyle() const
    {
        return m_nComboStyle;
    }
    void SetComboStyle(int style)
    {
        m_nComboStyle = style;
        DelayLayoutParent();
    }
    BOOL GetAutoComplete() const
    {
        return m_bAutoComplete;
    }
    void SetAutoComplete(BOOL autoComplete)
    {
        m_bAutoComplete = autoComplete;
    }
    int GetDropDownItemCount() const
    {
        return m_nDropDownItemCount;
    }
    void SetDropDownItemCount(int count)
    {
        m_nDropDownItemCount = count;
    }
    int GetEditIconId() const
    {
        return m_nEditIconId;
    }
    void SetEditIconId(int id)
    {
        m_nEditIconId = id;
    }
    DWORD GetEditStyle() const
    {
        return m_dwEditStyle;
    }
    void SetEditStyle(DWORD style)
    {
        m_dwEditStyle = style;
    }
    DWORD GetShellAutoComplete() const
    {
        return m_dwShellAutoCompleteFlags;
    }
    void SetShellAutoComplete(DWORD flags)
    {
        m_dwShellAutoCompleteFlags = flags;
    }
    // The label and arrow widths, measured by the paint manager when it sizes the control.
    int GetLabelWidth() const
    {
        return m_nLabelWidth;
    }
    void SetLabelWidth(int width);
    int GetDropDownButtonWidth() const
    {
        return m_nDropDownButtonWidth;
    }
    void SetDropDownButtonWidth(int width);
    CWVPControlComboBoxEditCtrl* GetEditCtrl() const
    {
        return m_pEdit;
    }
    void UpdateWindowVisibility();

  protected:
    friend class CWVPControlComboBoxEditCtrl;
    void StoreWindowText();
    void MarkTextStale()
    {
        m_bTextStale = TRUE;
    }
    BOOL IsHintText(const CString& text) const;
    void ShowHintIfEmpty();
    void DestroyEditWindow();
    // The drop-down's key handling for a key of the combo box.
    void PassKeyToDropDown(UINT key);

    CWVPControlComboBoxEditCtrl* m_pEdit;
    BOOL m_bDropDown;
    int m_nComboStyle;
    int m_nSavedSel;
    CString m_strTextOnFocus;
    BOOL m_bReplace;
    int m_nLabelWidth;
    int m_nDropDownButtonWidth;
    CString m_strEditHint;
    BOOL m_bAutoComplete;
    BOOL m_bSuppressCompletion;
    DWORD m_dwShellAutoCompleteFlags;
    BOOL m_bFocused;
    int m_nEditIconId;
    BOOL m_bAccepted;
    int m_nDropDownItemCount;
    mutable CString m_strText;
    mutable BOOL m_bTextStale;
    DWORD m_dwEditStyle;
    int m_nCurSel;
    BOOL m_bUpdating;
};
