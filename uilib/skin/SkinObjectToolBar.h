#pragma once
// The skin object of tool bars ("ToolbarWindow32"): the tool bar keeps its logic, layout and hot
// tracking; its painting is replaced by the skin's TOOLBAR parts with the buttons' images, texts
// and drop-down arrows drawn over them.
#include "platform/mfc/String.h"
#include "uilib/skin/SkinObjectFrame.h"

#include <commctrl.h>

class CWVPSkinObjectToolBar : public CWVPSkinObjectFrame
{
    DECLARE_DYNCREATE(CWVPSkinObjectToolBar)
  public:
    // Parts of the schema's TOOLBAR class.
    enum Part
    {
        kPartButton = 1,
        kPartDropDownButton = 2,
        kPartSplitButton = 3,
        kPartSplitButtonDropDown = 4,
        kPartSeparator = 5,
    };
    // States of its button parts.
    enum State
    {
        kStateNormal = 1,
        kStateHot = 2,
        kStatePressed = 3,
        kStateDisabled = 4,
        kStateChecked = 5,
    };

    CWVPSkinObjectToolBar();

    // The whole tool bar into the DC, through a double buffer.
    void OnDraw(HDC hDC);
    void DrawButtons(HDC hDC);
    void DrawButton(HDC hDC, int nIndex);
    void DrawButtonImage(HDC hDC, int x, int y, int nIndex);

    // The state a button draws in.
    int GetButtonState(int nIndex, const TBBUTTON& button) const;
    BOOL HasDropDownArrow(const TBBUTTON& button) const;
    BOOL IsSplitDropDown(const TBBUTTON& button) const;
    BOOL HasImage(const TBBUTTON& button) const;
    // The button's whole text, however long: its length is asked first.
    CString GetButtonText(const TBBUTTON& button) const;
    static BOOL IsAlphaImageList(HIMAGELIST hImageList);

  protected:
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
