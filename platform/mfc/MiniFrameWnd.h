// CMiniFrameWnd: a frame with a small tool-window caption (floating palettes and bars).
#pragma once

#include "platform/mfc/FrameWnd.h"

const DWORD MFS_MOVEFRAME = 0x00000800L;
const DWORD MFS_4THICKFRAME = 0x00001000L;
const DWORD MFS_SYNCACTIVE = 0x00000100L;
const DWORD MFS_THICKFRAME = 0x00000400L;
const DWORD MFS_BLOCKSYSMENU = 0x00002000L;

class CMiniFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMiniFrameWnd)
public:
    CMiniFrameWnd();

    virtual BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent = nullptr,
                        UINT id = 0);
    virtual BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                          CWnd* parent = nullptr, UINT id = 0);
    using CFrameWnd::Create;
    using CFrameWnd::CreateEx;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);

protected:
    DECLARE_MESSAGE_MAP()
    DWORD m_dwMiniStyle;
};
