// CStatusBar: the status line along the bottom of a frame, on the common status control: panes
// by indicator id, the frame's message text in the first pane, idle update of the others.
#pragma once

#include "platform/mfc/ControlBar.h"

#include "platform/mfc/Array.h"

// Pane styles.
const UINT SBPS_NORMAL = 0x0000;
const UINT SBPS_NOBORDERS = SBT_NOBORDERS;
const UINT SBPS_POPOUT = SBT_POPOUT;
const UINT SBPS_OWNERDRAW = SBT_OWNERDRAW;
const UINT SBPS_DISABLED = 0x04000000;
const UINT SBPS_STRETCH = 0x08000000;

class CStatusBar : public CControlBar
{
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar();
    virtual ~CStatusBar();

    virtual BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = 0xE801);
    using CWnd::Create;
    BOOL SetIndicators(const UINT* ids, int count);
    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    void GetItemRect(int index, LPRECT rect) const;
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    UINT GetPaneStyle(int index) const;
    void SetPaneStyle(int index, UINT style);
    CString GetPaneText(int index) const;
    BOOL SetPaneText(int index, LPCWSTR text, BOOL update = TRUE);

    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

    afx_msg void OnSize(UINT type, int cx, int cy);

    // The common control paints itself.
    afx_msg void OnPaint()
    {
        Default();
    }

protected:
    DECLARE_MESSAGE_MAP()

protected:
    struct Pane
    {
        UINT id;
        UINT style;
        int width;
        CString text;
    };
    CArray<Pane, const Pane&> m_panes;
    // Gives the control the panes' right edges (the stretching pane takes the spare width).
    void UpdateParts();
};
