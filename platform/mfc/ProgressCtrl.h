// CProgressCtrl: progress bars.
#pragma once

#include "platform/mfc/Wnd.h"

class CProgressCtrl : public CWnd
{
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    CProgressCtrl() {}
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    void SetRange(short lower, short upper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
    void SetRange32(int lower, int upper) { SendMessage(PBM_SETRANGE32, (WPARAM)lower, upper); }
    void GetRange(int& lower, int& upper) const
    {
        PBRANGE range = {};
        SendMessage(PBM_GETRANGE, FALSE, (LPARAM)&range);
        lower = range.iLow;
        upper = range.iHigh;
    }
    int GetPos() const { return (int)SendMessage(PBM_GETPOS); }
    int SetPos(int pos) { return (int)SendMessage(PBM_SETPOS, (WPARAM)pos); }
    int OffsetPos(int delta) { return (int)SendMessage(PBM_DELTAPOS, (WPARAM)delta); }
    int SetStep(int step) { return (int)SendMessage(PBM_SETSTEP, (WPARAM)step); }
    int StepIt() { return (int)SendMessage(PBM_STEPIT); }
    COLORREF SetBarColor(COLORREF color) { return (COLORREF)SendMessage(PBM_SETBARCOLOR, 0, color); }
    COLORREF SetBkColor(COLORREF color) { return (COLORREF)SendMessage(PBM_SETBKCOLOR, 0, color); }
};
