// CToolBar: a control bar on the common tool-bar control, with buttons loaded from a tool-bar
// resource and their enabled and checked states updated from the frame's update handlers.
#pragma once

#include "platform/mfc/ControlBar.h"

// Button styles (the control's style in the low word, its state in the high word).
const UINT TBBS_BUTTON = TBSTYLE_BUTTON;
const UINT TBBS_SEPARATOR = TBSTYLE_SEP;
const UINT TBBS_CHECKBOX = TBSTYLE_CHECK;
const UINT TBBS_GROUP = TBSTYLE_GROUP;
const UINT TBBS_CHECKGROUP = TBSTYLE_CHECKGROUP;
const UINT TBBS_DROPDOWN = TBSTYLE_DROPDOWN;
const UINT TBBS_AUTOSIZE = TBSTYLE_AUTOSIZE;
const UINT TBBS_CHECKED = MAKELONG(0, TBSTATE_CHECKED);
const UINT TBBS_INDETERMINATE = MAKELONG(0, TBSTATE_INDETERMINATE);
const UINT TBBS_DISABLED = MAKELONG(0, TBSTATE_ENABLED); // stored inverted, as the state "enabled"
const UINT TBBS_PRESSED = MAKELONG(0, TBSTATE_PRESSED);
const UINT TBBS_WRAPPED = MAKELONG(0, TBSTATE_WRAP);
const UINT TBBS_HIDDEN = MAKELONG(0, TBSTATE_HIDDEN);
const UINT ID_SEPARATOR = 0;
#ifndef RT_TOOLBAR
#define RT_TOOLBAR MAKEINTRESOURCE(241)
#endif

class CToolBar : public CControlBar
{
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();
    virtual ~CToolBar();

    CSize m_sizeImage;
    CSize m_sizeButton;
    BOOL m_bDelayedButtonLayout;
    HBITMAP m_hbmImageWell;
    HINSTANCE m_hInstImageWell;
    HRSRC m_hRsrcImageWell;

    virtual BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = 0xE800);
    virtual BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT,
                          DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect borders = CRect(0, 0, 0, 0),
                          UINT id = 0xE800);
    using CWnd::Create;
    using CWnd::CreateEx;

    BOOL LoadToolBar(LPCWSTR name);
    BOOL LoadToolBar(UINT id) { return LoadToolBar(MAKEINTRESOURCEW(id)); }
    BOOL LoadBitmap(LPCWSTR name);
    BOOL LoadBitmap(UINT id) { return LoadBitmap(MAKEINTRESOURCEW(id)); }
    BOOL SetBitmap(HBITMAP bitmap);
    BOOL SetButtons(const UINT* ids, int count);
    void SetSizes(SIZE button, SIZE image);
    void SetHeight(int height);

    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    void GetItemRect(int index, LPRECT rect) const;
    UINT GetButtonStyle(int index) const;
    void SetButtonStyle(int index, UINT style);
    void GetButtonInfo(int index, UINT& id, UINT& style, int& image) const;
    void SetButtonInfo(int index, UINT id, UINT style, int image);
    BOOL SetButtonText(int index, LPCWSTR text);
    CString GetButtonText(int index) const;
    int GetButtonCount() const { return (int)SendMessage(TB_BUTTONCOUNT); }

    // Lays the buttons out again after they changed (run by the next size calculation).
    void Layout();
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    void OnBarStyleChange(DWORD oldStyle, DWORD newStyle) override;

    afx_msg void OnNcCalcSize(BOOL calcValid, NCCALCSIZE_PARAMS* params);

    // The common control paints itself.
    afx_msg void OnPaint()
    {
        Default();
    }

protected:
    DECLARE_MESSAGE_MAP()
    BOOL GetButton(int index, TBBUTTON* button) const;
};
