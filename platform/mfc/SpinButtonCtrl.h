// CSpinButtonCtrl: up-down controls.
#pragma once

#include "platform/mfc/Wnd.h"

class CSpinButtonCtrl : public CWnd
{
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    CSpinButtonCtrl() {}
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    int GetPos() const { return (int)SendMessage(UDM_GETPOS32); }
    int SetPos(int pos) { return (int)SendMessage(UDM_SETPOS32, 0, pos); }
    void GetRange(int& lower, int& upper) const { SendMessage(UDM_GETRANGE32, (WPARAM)&lower, (LPARAM)&upper); }
    void SetRange(int lower, int upper) { SendMessage(UDM_SETRANGE32, (WPARAM)lower, upper); }
    CWnd* GetBuddy() const { return CWnd::FromHandle((HWND)SendMessage(UDM_GETBUDDY)); }
    CWnd* SetBuddy(CWnd* buddy) { return CWnd::FromHandle((HWND)SendMessage(UDM_SETBUDDY, (WPARAM)buddy->GetSafeHwnd())); }
    UINT GetBase() const { return (UINT)SendMessage(UDM_GETBASE); }
    int SetBase(int base) { return (int)SendMessage(UDM_SETBASE, (WPARAM)base); }
    BOOL SetAccel(int count, UDACCEL* accel) { return (BOOL)SendMessage(UDM_SETACCEL, (WPARAM)count, (LPARAM)accel); }
};
