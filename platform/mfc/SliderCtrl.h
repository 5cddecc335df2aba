// CSliderCtrl: track-bar controls.
#pragma once

#include "platform/mfc/Wnd.h"

class CSliderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CSliderCtrl)
public:
    CSliderCtrl() {}
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    int GetPos() const { return (int)SendMessage(TBM_GETPOS); }
    void SetPos(int pos) { SendMessage(TBM_SETPOS, TRUE, pos); }
    int GetRangeMin() const { return (int)SendMessage(TBM_GETRANGEMIN); }
    int GetRangeMax() const { return (int)SendMessage(TBM_GETRANGEMAX); }
    void GetRange(int& minPos, int& maxPos) const { minPos = GetRangeMin(); maxPos = GetRangeMax(); }
    void SetRange(int minPos, int maxPos, BOOL redraw = FALSE)
    {
        SendMessage(TBM_SETRANGEMIN, FALSE, minPos);
        SendMessage(TBM_SETRANGEMAX, redraw, maxPos);
    }
    void SetRangeMin(int minPos, BOOL redraw = FALSE) { SendMessage(TBM_SETRANGEMIN, redraw, minPos); }
    void SetRangeMax(int maxPos, BOOL redraw = FALSE) { SendMessage(TBM_SETRANGEMAX, redraw, maxPos); }
    int GetLineSize() const { return (int)SendMessage(TBM_GETLINESIZE); }
    int SetLineSize(int size) { return (int)SendMessage(TBM_SETLINESIZE, 0, size); }
    int GetPageSize() const { return (int)SendMessage(TBM_GETPAGESIZE); }
    int SetPageSize(int size) { return (int)SendMessage(TBM_SETPAGESIZE, 0, size); }
    void SetTicFreq(int frequency) { SendMessage(TBM_SETTICFREQ, (WPARAM)frequency); }
    void ClearTics(BOOL redraw = FALSE) { SendMessage(TBM_CLEARTICS, redraw); }
    void GetChannelRect(LPRECT rect) const { SendMessage(TBM_GETCHANNELRECT, 0, (LPARAM)rect); }
    void GetThumbRect(LPRECT rect) const { SendMessage(TBM_GETTHUMBRECT, 0, (LPARAM)rect); }
    void SetSelection(int minPos, int maxPos) { SendMessage(TBM_SETSEL, FALSE, MAKELPARAM(minPos, maxPos)); }
    void ClearSel(BOOL redraw = FALSE) { SendMessage(TBM_CLEARSEL, redraw); }
};
