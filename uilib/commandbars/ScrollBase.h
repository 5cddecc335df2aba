#pragma once
// The geometry of a scroll bar drawn by the command bars (a gallery's, a slider's): where its
// arrows, page areas and thumb lie for its rectangle and scroll information, which part a point
// hits, and which position a thumb pixel stands for. The controls that own scroll bars implement
// the rectangle, the scroll information and the scrolling.
#include "platform/mfc/Mfc.h"

class CWVPScrollBarPaintManager;

// Parts of a scroll bar (hit codes).
enum
{
    WVP_HT_NONE = 0,
    WVP_HT_LINEUP = 60,
    WVP_HT_LINEDOWN = 61,
    WVP_HT_PAGEUP = 62,
    WVP_HT_PAGEDOWN = 63,
    WVP_HT_THUMB = 64,
    WVP_HT_EXTRA = 65,
};

struct WVP_SCROLLBAR_POSINFO
{
    int scrollMin, scrollMax, scrollPage, scrollPos;
    int trackStart, trackEnd;
    int crossStart, crossEnd;
    int thumbSize;
    int startArrowEnd, endArrowStart;
    int thumbDragOrigin;
    int thumbEnd, thumbStart;
    int extraPartStart;
    int thumbRange, thumbRangeStart;
    CRect barRect;
    int hitPart;
    BOOL vertical;
};

class CWVPScrollBase
{
  public:
    CWVPScrollBase();
    virtual ~CWVPScrollBase() = default;

    virtual BOOL IsScrollBarEnabled() const = 0;
    virtual CWnd* GetParentWindow() const = 0;
    virtual void AnimateScroll();
    virtual CRect GetScrollBarRect() = 0;
    virtual void GetScrollInfo(SCROLLINFO* info) = 0;
    virtual void DoScroll(int command, int position) = 0;
    virtual void RedrawScrollBar() = 0;
    virtual void CalcScrollBarInfo(CRect rc, WVP_SCROLLBAR_POSINFO* info, const SCROLLINFO* scroll);
    virtual CWVPScrollBarPaintManager* GetScrollBarPaintManager() = 0;

    // The geometry of the bar's own rectangle and scroll information.
    void CalculateScrollBarInfo();
    int HitScrollBar(CPoint pt) const;
    // The scroll position a thumb pixel stands for.
    int PositionOfPixel(int pixel) const;
    // Where a dragged thumb still follows the pointer.
    CRect CalcTrackDragRect() const;
    // The explicit drawing style, else the one of the paint manager's theme.
    int GetScrollBarStyle() const;
    // Runs a press on the bar in the window (client point): arrows and page areas scroll and
    // repeat while held, the thumb follows the pointer. With jump set a press on a page area
    // drags the thumb centred on the point. Returns when the button is released (and a running
    // scroll animation has ended).
    void TrackScrollBar(CWnd* pWnd, CPoint pt, BOOL jump);

    WVP_SCROLLBAR_POSINFO m_info;
    int m_nExplicitStyle;
    // A press is running (and the pointer is inside its part).
    BOOL m_bTracking;
    BOOL m_bTrackingInside;
    // While set, the press keeps serving the animation tick after the button is released.
    BOOL m_bScrollAnimation;
    // The interval of the running repeat timer in milliseconds (0 none).
    int m_nRepeatInterval;
};

// The repeat tick of a held arrow or page area, and the scroll animation's tick.
const UINT WVP_TIMER_SCROLLREPEAT = 23345;
const UINT WVP_TIMER_SCROLLANIMATION = 23346;
