#include "uilib/skin/SkinObjectMonthCal.h"

#include "uilib/skin/SkinObjectDateTime.h"

#include <commctrl.h>

IMPLEMENT_DYNCREATE(CWVPSkinObjectMonthCal, CWVPSkinObjectFrame)

BEGIN_MESSAGE_MAP(CWVPSkinObjectMonthCal, CWVPSkinObjectFrame)
ON_MESSAGE(WM_CREATE, OnCreate)
END_MESSAGE_MAP()

CWVPSkinObjectMonthCal::CWVPSkinObjectMonthCal()
{
}

void CWVPSkinObjectMonthCal::RefreshMetrics()
{
    CWVPSkinObjectFrame::RefreshMetrics();
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return;
    int count = 0;
    const WVP_SKIN_CALENDAR_COLOR* colors = WVPSkinCalendarColors(count);
    for (int i = 0; i < count; ++i)
        ::SendMessageW(m_hWnd, MCM_SETCOLOR, colors[i].nCalendarIndex, LPARAM(GetColor(colors[i].nSysColor)));
}

LRESULT CWVPSkinObjectMonthCal::OnCreate(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = OnCreateMessage(wParam, lParam);
    // The calendar keeps no colours set before it was created: it gets them again now.
    if (result != -1)
        RefreshMetrics();
    return result;
}
