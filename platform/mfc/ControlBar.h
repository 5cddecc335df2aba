// CControlBar: a bar along an edge of a frame (tool bars, status bars, dialog bars). It takes
// its place in the frame's layout through WM_SIZEPARENT and updates its items from the frame's
// command handlers at idle time.
#pragma once

#include "platform/mfc/Wnd.h"

class CFrameWnd;

// Bar styles.
const DWORD CBRS_ALIGN_LEFT = 0x1000L;
const DWORD CBRS_ALIGN_TOP = 0x2000L;
const DWORD CBRS_ALIGN_RIGHT = 0x4000L;
const DWORD CBRS_ALIGN_BOTTOM = 0x8000L;
const DWORD CBRS_ALIGN_ANY = 0xF000L;
const DWORD CBRS_BORDER_LEFT = 0x0100L;
const DWORD CBRS_BORDER_TOP = 0x0200L;
const DWORD CBRS_BORDER_RIGHT = 0x0400L;
const DWORD CBRS_BORDER_BOTTOM = 0x0800L;
const DWORD CBRS_BORDER_ANY = 0x0F00L;
const DWORD CBRS_TOOLTIPS = 0x0010L;
const DWORD CBRS_FLYBY = 0x0020L;
const DWORD CBRS_FLOAT_MULTI = 0x0040L;
const DWORD CBRS_BORDER_3D = 0x0080L;
const DWORD CBRS_HIDE_INPLACE = 0x0008L;
const DWORD CBRS_SIZE_DYNAMIC = 0x0004L;
const DWORD CBRS_SIZE_FIXED = 0x0002L;
const DWORD CBRS_FLOATING = 0x0001L;
const DWORD CBRS_GRIPPER = 0x00400000L;
const DWORD CBRS_NOALIGN = 0x00000000L;
const DWORD CBRS_LEFT = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
const DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
const DWORD CBRS_RIGHT = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;
const DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
const DWORD CBRS_ALL = 0x0040FFFFL;
const DWORD CBRS_ORIENT_HORZ = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
const DWORD CBRS_ORIENT_VERT = CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT;

// Layout modes of CalcDynamicLayout.
const DWORD LM_STRETCH = 0x01;
const DWORD LM_HORZ = 0x02;
const DWORD LM_MRUWIDTH = 0x04;
const DWORD LM_HORZDOCK = 0x08;
const DWORD LM_VERTDOCK = 0x10;
const DWORD LM_LENGTHY = 0x20;
const DWORD LM_COMMIT = 0x40;

class CControlBar : public CWnd
{
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    virtual ~CControlBar();

    DWORD m_dwStyle;      // CBRS_ styles
    BOOL m_bAutoDelete;   // delete the object when its window goes
    CFrameWnd* m_pDockSite;
    int m_cxLeftBorder, m_cxRightBorder, m_cyTopBorder, m_cyBottomBorder;
    int m_cxDefaultGap;
    int m_nMRUWidth;      // width of a floating dynamic bar
    int m_nCount;         // number of items (buttons, panes)
    void* m_pData;        // the items' records (bar-specific)

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD style);
    void SetBorders(int left = 0, int top = 0, int right = 0, int bottom = 0);
    void SetBorders(LPCRECT rect) { SetBorders(rect->left, rect->top, rect->right, rect->bottom); }
    CRect GetBorders() const { return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder); }
    int GetCount() const { return m_nCount; }
    BOOL IsFloating() const { return (m_dwStyle & CBRS_FLOATING) != 0; }
    BOOL IsVisible() const { return (GetStyle() & WS_VISIBLE) != 0; }
    CFrameWnd* GetDockingFrame() const;

    virtual CSize CalcFixedLayout(BOOL stretch, BOOL horizontal);
    virtual CSize CalcDynamicLayout(int length, DWORD mode);
    virtual void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler);
    // Updates one item: the bar's own update handlers first, then the target's.
    void UpdateItem(CCmdUI& state, CCmdTarget* target, BOOL disableIfNoHandler);
    virtual void OnBarStyleChange(DWORD oldStyle, DWORD newStyle);
    virtual void CalcInsideRect(CRect& rect, BOOL horizontal) const;
    virtual void DoPaint(CDC* dc);
    virtual void DrawBorders(CDC* dc, CRect& rect);
    void PostNcDestroy() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlType);

protected:
    DECLARE_MESSAGE_MAP()

protected:
    static CSize StretchedSize(CSize size, BOOL stretch, BOOL horizontal);
    // Positions a child in the frame's deferred layout.
    static void RepositionInLayout(AFX_SIZEPARENTPARAMS* layout, HWND hWnd, LPCRECT rect);
};
