// A scroll bar inside a scroll viewer: draws itself like the system's bars (through the visual
// style when one is active, classic otherwise), hot-tracks its parts, and tracks a press in a
// modal capture loop: arrows and page areas repeat their command while held, the thumb drags and
// snaps back when the mouse goes far off. Its commands go to the viewer that made it.
#pragma once

#include "uilib/markup/MarkupControl.h"
#include "uilib/foundation/WinThemeWrapper.h"

class CWVPMarkupScrollViewer;

class CWVPMarkupScrollBar : public CWVPMarkupControl
{
    DECLARE_MARKUP_TYPE()
  public:
    // The parts of a bar, as hit-tested, hot and pressed.
    enum Part
    {
        partNone = 0,
        partFirstArrow = 60,
        partSecondArrow = 61,
        partPageBefore = 62,
        partPageAfter = 63,
        partThumb = 64,
        partPopup = 65,
    };
    // The identifier of the repeat timer on the host window while an arrow or page area is held.
    static constexpr UINT_PTR kRepeatTimer = 63345;

    // Where the parts lie, computed from the range and the bar's size at each arrange; the
    // coordinates run along the bar's axis unless named across.
    struct Layout
    {
        int minimum, maximum, page, position;
        int start, end;
        int crossStart, crossEnd;
        int thumbLength;
        int firstArrowEnd;
        int secondArrowStart;
        int thumbEnd;
        int thumbStart;
        int popup;
        int freeTrack;
        int trackStart;
        RECT bar;
        int hotPart;
        BOOL vertical;
    };

    CWVPMarkupScrollBar();
    ~CWVPMarkupScrollBar() override;

    void OnMouseLeave(CWVPMarkupMouseEventArgs* args) override;
    void OnMouseMove(CWVPMarkupMouseEventArgs* args) override;
    void OnMouseLeftButtonDown(CWVPMarkupMouseEventArgs* args) override;
    void OnRender(CWVPMarkupDrawingContext* dc) override;
    SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    SIZE ArrangeOverride(int finalWidth, int finalHeight) override;

    // 1 vertical (the default), 0 horizontal.
    int GetOrientation() const
    {
        return m_nOrientation;
    }
    void SetOrientation(int orientation);
    // Takes the range's minimum, maximum, page and position; a change lays the bar out again.
    void SetScrollInfo(const SCROLLINFO& range);
    const SCROLLINFO& GetScrollInfo() const
    {
        return m_range;
    }
    const Layout& GetLayout() const
    {
        return m_layout;
    }
    // The part under a point of the bar's own coordinates; none on a disabled bar.
    int HitTest(int x, int y) const;
    BOOL IsBarEnabled() const;
    // The part drawn pressed: the tracked one while the mouse holds it, else none.
    int GetPressedPart() const;
    BOOL IsTracking() const
    {
        return m_pTracking != nullptr;
    }

  private:
    struct Tracking;
    class TrackLoop;
    friend class TrackLoop;

    void ComputeLayout(int width, int height);
    int ThumbToPosition(int thumbStart) const;
    POINT HostOrigin() const;
    CWVPMarkupScrollViewer* GetViewer() const;
    void SendCommand(int command, int position);
    void Track(HWND host, POINT point);
    BOOL OnTrackMessage(MSG& msg);
    void OnRepeat(UINT message, POINT point);
    void OnDrag(UINT message, WPARAM keys, POINT point);
    void EndTracking();
    void DrawThemed(HDC dc, int pressed, int hot);
    void DrawClassic(HDC dc, int pressed);
    RECT PartRect(int from, int to) const;
    BOOL ShowsThumb() const;

    int m_nOrientation;
    Layout m_layout;
    SCROLLINFO m_range;
    Tracking* m_pTracking;
    CWVPWinThemeWrapper m_theme;
};
