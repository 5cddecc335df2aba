// CMDIFrameWnd: a frame whose client area is an MDI client holding child frames (CMDIChildWnd);
// the active child comes first in command routing.
#pragma once

#include "platform/mfc/FrameWnd.h"

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd();

    HWND m_hWndMDIClient;

    virtual BOOL CreateClient(LPCREATESTRUCT cs, CMenu* windowMenu);
    BOOL LoadFrame(UINT idResource, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, CWnd* parent = nullptr,
                   CCreateContext* context = nullptr) override;
    CMDIChildWnd* MDIGetActive(BOOL* maximized = nullptr) const;
    void MDIActivate(CWnd* child);
    void MDINext();
    void MDIPrev();
    void MDIMaximize(CWnd* child);
    void MDIRestore(CWnd* child);
    void MDITile(int type = MDITILE_VERTICAL);
    void MDICascade(int type = 0);
    void MDIIconArrange();
    CMenu* MDISetMenu(CMenu* frameMenu, CMenu* windowMenu);

    CFrameWnd* GetActiveFrame() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void RecalcLayout(BOOL notify = TRUE) override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);

protected:
    DECLARE_MESSAGE_MAP()
};
