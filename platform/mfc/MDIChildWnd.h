// CMDIChildWnd: a child frame inside an MDI frame's client; its menu and commands join the
// frame's while it is active.
#pragma once

#include "platform/mfc/FrameWnd.h"

class CMDIFrameWnd;

class CMDIChildWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd();

    HMENU m_hMenuShared; // the frame menu shown while the child is active (none: the frame's own)

    virtual BOOL Create(LPCWSTR className, LPCWSTR windowName,
                        DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                        CMDIFrameWnd* parent = nullptr, CCreateContext* context = nullptr);
    using CFrameWnd::Create;
    CMDIFrameWnd* GetMDIFrame() const;
    void MDIDestroy();
    void MDIActivate();
    void MDIMaximize();
    void MDIRestore();

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL DestroyWindow() override;
    CFrameWnd* GetActiveFrame() override { return this; }
};
