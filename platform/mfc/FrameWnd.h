// CFrameWnd: a top-level frame window. It loads its title, icon, menu and accelerators from one
// resource id, lays out its control bars through WM_SIZEPARENT, routes commands to itself and
// then to the application, updates menus and bars at idle time, and keeps the status line.
#pragma once

#include "platform/mfc/Wnd.h"
#include "platform/mfc/WinApp.h"
#include <utility>

#include "platform/mfc/List.h"

class CControlBar;
class CView;
class CDocument;

// Frame style bits beyond the window's own.
const DWORD FWS_ADDTOTITLE = 0x00008000L;
const DWORD FWS_PREFIXTITLE = 0x00004000L;
const DWORD FWS_SNAPTOBARS = 0x00002000L;

const UINT AFX_IDW_TOOLBAR = 0xE800;
const UINT AFX_IDW_STATUS_BAR = 0xE801;
const UINT AFX_IDW_PREVIEW_BAR = 0xE802;
const UINT AFX_IDW_RESIZE_BAR = 0xE803;
const UINT AFX_IDW_DOCKBAR_TOP = 0xE81B;
const UINT AFX_IDW_DOCKBAR_LEFT = 0xE81C;
const UINT AFX_IDW_DOCKBAR_RIGHT = 0xE81D;
const UINT AFX_IDW_DOCKBAR_BOTTOM = 0xE81E;
const UINT AFX_IDW_DOCKBAR_FLOAT = 0xE81F;

struct CCreateContext
{
    CRuntimeClass* m_pNewViewClass;
    CObject* m_pCurrentDoc;
    CObject* m_pNewDocTemplate;
    CWnd* m_pLastView;
    CWnd* m_pCurrentFrame;
};

class CFrameWnd : public CWnd
{
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    virtual ~CFrameWnd();

    static const CRect rectDefault;

    // Idle flags: work the frame does at the next idle time.
    enum
    {
        idleMenu = 1,
        idleTitle = 2,
        idleNotify = 4,
        idleLayout = 8,
    };

    HMENU m_hMenuDefault;   // the frame's own menu
    HACCEL m_hAccelTable;
    BOOL m_bAutoMenuEnable; // disable menu items that have no handler
    UINT m_nIdleFlags;
    BOOL m_bInRecalcLayout;
    CRect m_rectBorder;     // space the frame reserves around its client (for RepositionBars)
    BOOL m_bHelpMode;
    UINT m_nIDHelp;         // the resource id the frame was loaded from
    UINT m_nIDTracking;     // the menu item the status line shows
    UINT m_nIDLastMessage;  // the last message shown in the status line
    CString m_strTitle;
    CPtrList m_listControlBars;
    CView* m_pViewActive;

    virtual BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* parent = nullptr, LPCWSTR menuName = nullptr,
                        DWORD exStyle = 0, CCreateContext* context = nullptr);
    using CWnd::Create;
    virtual BOOL LoadFrame(UINT idResource, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, CWnd* parent = nullptr,
                           CCreateContext* context = nullptr);
    BOOL LoadAccelTable(LPCWSTR name);

    BOOL IsFrameWnd() const override { return TRUE; }
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void PostNcDestroy() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    virtual void RecalcLayout(BOOL notify = TRUE);
    void DelayRecalcLayout(BOOL notify = TRUE);
    virtual void ActivateFrame(int cmdShow = -1);
    void InitialUpdateFrame(CObject* doc, BOOL makeVisible);
    virtual CFrameWnd* GetActiveFrame() { return this; }
    // The view that gets the frame's commands first, and its document.
    CView* GetActiveView() const
    {
        return m_pViewActive;
    }
    void SetActiveView(CView* view, BOOL notify = TRUE);
    virtual CDocument* GetActiveDocument();
    virtual void OnUpdateFrameTitle(BOOL addToTitle);
    virtual void OnUpdateFrameMenu(HMENU menuAlt);
    virtual HACCEL GetDefaultAccelerator() { return m_hAccelTable; }
    virtual void GetMessageString(UINT id, CString& message) const;
    void SetMessageText(LPCWSTR text);
    void SetMessageText(UINT id);
    void SetTitle(LPCWSTR title) { m_strTitle = title; }
    CString GetTitle() const { return m_strTitle; }
    void NotifyFloatingWindows(DWORD flags);
    BOOL IsTracking() const { return m_nIDTracking != 0 && m_nIDTracking != AFX_IDS_IDLEMESSAGE; }

    // Control bars of the frame.
    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);
    CControlBar* GetControlBar(UINT id);
    void ShowControlBar(CControlBar* bar, BOOL show, BOOL delay);
    CWnd* GetMessageBar();


    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* old);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnInitMenu(CMenu* menu);
    afx_msg void OnInitMenuPopup(CMenu* menu, UINT index, BOOL sysMenu);
    afx_msg void OnMenuSelect(UINT item, UINT flags, HMENU sysMenu);
    afx_msg void OnEnterIdle(UINT why, CWnd* who);
    afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
    afx_msg BOOL OnNcActivate(BOOL active);
    afx_msg void OnEnable(BOOL enable);
    afx_msg void OnShowWindow(BOOL show, UINT status);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    afx_msg void OnHelp() {}
    afx_msg void OnContextHelp() {}
    afx_msg BOOL OnBarCheck(UINT id);
    // The tip of a bar button: the text after the newline in the string of its command.
    afx_msg BOOL OnToolTipText(UINT id, NMHDR* header, LRESULT* result);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* cmdUI);

protected:
    DECLARE_MESSAGE_MAP()

protected:
    void DestroyOwnMenu();
};
