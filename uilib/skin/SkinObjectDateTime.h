#pragma once
// The skin object of date-time pickers ("SysDateTimePick32"): the picker prints its fields into
// the skin's buffer; the object draws the drop button and the "none" check box from the skin, opens
// the calendar from its own drop button and gives the calendar the skin's colours.
#include "uilib/skin/SkinObjectComboBox.h"

class CWVPSkinObjectDateTime : public CWVPSkinObjectComboBox
{
    DECLARE_DYNCREATE(CWVPSkinObjectDateTime)
  public:
    CWVPSkinObjectDateTime();

    void RefreshMetrics() override;
    void DrawFrame(HDC hDC) override;
    void DrawComboBox(HDC hDC) override;
    int GetComboState() const override;
    // The drop button: the rightmost scroll-bar width of the client rectangle, full height.
    RECT GetDropButtonRect() const;
    // Whether the drop-down calendar is open.
    bool IsCalendarShown() const;

  protected:
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// The calendar colours of the skin, in the order of the MCSC_ indexes they are set for.
struct WVP_SKIN_CALENDAR_COLOR
{
    int nCalendarIndex; // MCSC_
    int nSysColor;      // COLOR_
};
const WVP_SKIN_CALENDAR_COLOR* WVPSkinCalendarColors(int& nCount);
