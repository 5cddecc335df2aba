#pragma once
// Watches the shell's auto-complete drop-down of an edit field while the field has the focus: the
// drop-down is trusted by the mouse manager (clicks in it keep the bars open), and the field can
// hand it navigation keys. Only one field watches at a time in the process.
#include "platform/mfc/Mfc.h"
#include "uilib/commandbars/HookManager.h"

// Posted to the watched edit window when the drop-down appears.
const UINT WVP_WM_AUTOCOMPLETE_SHOWN = 10354;

class CWVPControlComboBoxAutoCompleteWnd : public CWVPHookManagerHookAble
{
  public:
    explicit CWVPControlComboBoxAutoCompleteWnd(HWND hWndEdit);
    ~CWVPControlComboBoxAutoCompleteWnd() override;
    CWVPControlComboBoxAutoCompleteWnd(const CWVPControlComboBoxAutoCompleteWnd&) = delete;
    CWVPControlComboBoxAutoCompleteWnd& operator=(const CWVPControlComboBoxAutoCompleteWnd&) = delete;

    void SetWatching(BOOL watching);
    BOOL IsWatching() const;
    // Gives Page Up/Down and Up/Down to the shown drop-down's list; TRUE when it took the key.
    BOOL ForwardKeyToDropDown(UINT key);
    void HideDropDown();
    HWND GetDropDown() const
    {
        return m_hWndDropDown;
    }
    HWND GetEditWindow() const
    {
        return m_hWndEdit;
    }
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

    // Applies the shell's auto-completion to the window; FALSE when the shell library, its entry or
    // the call fails.
    static BOOL AFX_CDECL ApplyShellAutoComplete(HWND hWndEdit, DWORD flags);

  private:
    static LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam);
    void OnWindowPosChanging(HWND hWnd, const WINDOWPOS* pPos);

    HWND m_hWndEdit;
    HWND m_hWndDropDown;
};
