#pragma once
// A text field on a command bar: a real edit child window (plain or rich edit) over the control's
// rectangle, with an optional label left of it, optional spin buttons stepping a number, a grey
// hint while it is empty and unfocused, shell auto-completion and a Cut/Copy/Paste menu. The paint
// manager draws the frame, the label and the spin buttons; this class owns the window, the focus,
// the keys and the text.
#include "uilib/commandbars/Control.h"
#include <richedit.h>
#include "uilib/commandbars/ControlEditCtrl.h"
#include "uilib/commandbars/ControlComboBoxAutoCompleteWnd.h"

// Notifications of edit fields to their owner.
const UINT WVP_NOTIFY_EDIT_SETFOCUS = 0x100;
const UINT WVP_NOTIFY_EDIT_KILLFOCUS = 0x200;
const UINT WVP_NOTIFY_EDIT_CHANGED = 0x300;
const UINT WVP_NOTIFY_EDIT_SPINUP = 0x1010;
const UINT WVP_NOTIFY_EDIT_SPINDOWN = 0x1011;

// Selection states of a field with spin buttons: the mouse over (or pressing) the up or down half.
const int WVP_SELECTED_SPINUP = 4;
const int WVP_SELECTED_SPINDOWN = 5;

// Hide flag of a field docked in a vertical bar.
const DWORD WVP_HIDE_VERTICALDOCK = 0x04;

// The record of a spin notification: the control record followed by the delta.
struct NMWVPSPIN
{
    NMWVPCONTROL hdr;
    int delta;
};

// The rich-edit library the fields load once per process (kept until the exit sequence).
struct WVPRichEditLibrary
{
    HMODULE hModule;
    CString* pClassName;
    BOOL bRich20;
};
// Loads the library on first use; the record's module is null when neither rich edit loads.
const WVPRichEditLibrary& AFX_CDECL WVPRichEdit();
// The exit handler that releases the record's class name.
void DestroyStringRecord(void* pRecord);

// The number a spin step starts from: an optional sign and decimal digits at the start of the
// text (after blanks), else 0; reads nothing past the text's end.
int AFX_CDECL WVPParseSpinValue(LPCWSTR text);

class CWVPControlEdit : public CWVPControl
{
    DECLARE_SERIAL(CWVPControlEdit)

  public:
    CWVPControlEdit();
    ~CWVPControlEdit() override;

    void SetEnabled(int enabled) override;
    void SetFocused(BOOL focused) override;
    BOOL IsFocused() const override;
    void SetRect(CRect rc) override;
    BOOL IsCaptionVisible() const override;
    BOOL Compare(CWVPControl* pOther) override;
    void SetHideFlags(DWORD flags) override;
    void OnCalcDynamicSize(DWORD mode) override;
    void DoPropExchange(CWVPPropExchange* pPX) override;
    BOOL ActivateByKeyboard() override;
    void InvalidatePlacement() override;
    void Copy(CWVPControl* pSource, BOOL recursive = FALSE) override;
    void OnClick(BOOL keyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    BOOL IsFocusable() const override;
    BOOL OnHookKeyDown(UINT key) override;
    void SetParent(CWVPCommandBar* pBar) override;
    void OnMouseMove(CPoint pt) override;
    void OnMouseHover() override;
    BOOL OnSetSelected(int state) override;
    BOOL IsCustomizeResizeAllow() const override;
    int GetCustomizeMinWidth() const override;
    void OnRemoved() override;
    void OnActionChanged(int property) override;
    void OnActionChanging(int property) override;
    CWVPControl* Clone(BOOL recursive = FALSE) override;

    virtual CWVPControlEditCtrl* CreateEditWindowObject();
    virtual void DrawEditIcon(CDC* pDC, int x, int top, int bottom);
    virtual void OnSetFocus(HWND hWndOld);
    virtual void OnKillFocus();
    virtual void InsetForEditIcon(int& left);
    virtual void OnEditTextChanged();
    virtual void FillCharFormat(CHARFORMAT2W& cf);
    virtual void OnSpinStep(int step, int direction);

    // Text: the displayed text may be the hint; the edit text never is.
    CString GetDisplayedText() const;
    void SetDisplayedText(LPCWSTR text);
    CString GetEditText() const;
    void SetEditText(LPCWSTR text);
    CString GetEditHint() const;
    void SetEditHint(LPCWSTR hint);
    BOOL IsHintShown() const;
    // Whether the text is the (non-empty) hint.
    BOOL IsHintText(const CString& text) const;
    BOOL GetReadOnly() const
    {
        return m_bReadOnly;
    }
    void SetReadOnly(BOOL readOnly);
    BOOL GetHasLabel() const
    {
        return m_bHasLabel;
    }
    void SetHasLabel(BOOL hasLabel);
    int GetLabelWidth() const
    {
        return m_nLabelWidth;
    }
    void SetLabelWidth(int width);
    DWORD GetShellAutoComplete() const
    {
        return m_dwShellAutoCompleteFlags;
    }
    void SetShellAutoComplete(DWORD flags);
    DWORD GetEditStyle() const
    {
        return m_dwEditStyle;
    }
    void SetEditStyle(DWORD style)
    {
        m_dwEditStyle = style;
    }
    BOOL IsSpinButtonsVisible() const
    {
        return m_bSpinButtons;
    }
    void ShowSpinButtons(BOOL show);
    int GetEditIconId() const
    {
        return m_nEditIconId;
    }
    void SetEditIconId(int id)
    {
        m_nEditIconId = id;
    }
    // The spin buttons' rectangle (upper half up, lower half down), empty without spin buttons.
    CRect GetSpinButtonsRect() const;
    // The pressed-button loop of the spin buttons, from a press at the point.
    void TrackSpinButton(CPoint pt);
    void UpdateWindowVisibility();
    CWVPControlEditCtrl* GetEditCtrl() const
    {
        return m_pEdit;
    }
    CWVPControlComboBoxAutoCompleteWnd* GetAutoCompleteWnd() const
    {
        return m_pAutoCompleteWnd;
    }

  protected:
    friend class CWVPControlEditCtrl;

    // Takes the window's text into the stored copy (its destruction keeps the text).
    void StoreWindowText();
    void MarkTextStale()
    {
        m_bTextStale = TRUE;
    }
    BOOL IsSpinnable() const;
    // Shows the hint when the field is empty and its window does not have the focus.
    void ShowHintIfEmpty();
    void DestroyEditWindow();

    CWVPControlEditCtrl* m_pEdit;
    BOOL m_bHasLabel;
    BOOL m_bReadOnly;
    int m_nLabelWidth;
    BOOL m_bReplace;
    CString m_strEditHint;
    BOOL m_bFocused;
    CString m_strTextOnFocus;
    mutable CString m_strText;
    mutable BOOL m_bTextStale;
    CWVPControlComboBoxAutoCompleteWnd* m_pAutoCompleteWnd;
    DWORD m_dwShellAutoCompleteFlags;
    DWORD m_dwEditStyle;
    BOOL m_bSpinButtons;
    int m_nEditIconId;
};
