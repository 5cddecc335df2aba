#pragma once
// The edit window of bar fields: a plain or rich edit child with a Cut/Copy/Paste context menu
// drawn as a popup bar. Bar edits and the combo box's edit part derive from it.
#include "platform/mfc/Mfc.h"
#include "platform/mfc/Edit.h"

class CWVPControl;

// Commands of the context menu (their strings come from the program's resources).
const UINT WVP_ID_EDIT_COPY = 57634;
const UINT WVP_ID_EDIT_CUT = 57635;
const UINT WVP_ID_EDIT_PASTE = 57637;

class CWVPEdit : public CEdit
{
    DECLARE_DYNCREATE(CWVPEdit)

  public:
    CWVPEdit();

    BOOL OnCmdMsg(UINT id, int code, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Shows the context menu at the point (client coordinates of this window); FALSE when no menu
    // was shown (the program has no strings for the commands).
    virtual BOOL ShowContextMenu(CWVPControl* pControl, CPoint pt);
    // Creates the window (rich edit when the library loads, else plain), empty and with id 0.
    virtual BOOL CreateEditWindow(DWORD style, CWnd* pParent);

    // Replaces the text; the intermediate emptying does not count as a user change.
    void SetEditWindowText(LPCWSTR text);
    BOOL IsCommandEnabled(UINT id) const;
    // Passes editing keys (clipboard, undo, Backspace, navigation, Delete) to the window: 1 taken,
    // 2 the key is left to the focus window.
    int ProcessEditKey(UINT key);
    BOOL IsSettingText() const
    {
        return m_bSettingText;
    }
    BOOL IsComposing() const
    {
        return m_bComposition;
    }
    void SetGlass(BOOL glass)
    {
        m_bGlass = glass;
    }

  protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    BOOL m_bComposition;
    BOOL m_bGlass;
    BOOL m_bSettingText;
};
