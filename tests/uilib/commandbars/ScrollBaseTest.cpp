// Scroll-bar geometry, hit-testing and drawing, the slider's drawing and the progress range,
// without a window.
#include "DibCanvas.h"
#include "RwTest.h"
#include "uilib/commandbars/ProgressBase.h"
#include "uilib/commandbars/ProgressPaintManager.h"
#include "uilib/commandbars/ScrollBase.h"
#include "uilib/commandbars/SliderPaintManager.h"
#include "uilib/foundation/ColorManager.h"
#include "uilib/themes/DefaultTheme.h"

namespace
{
// A scroll bar of a fixed rectangle and scroll information, painted by the given painter.
class CTestScroll : public CWVPScrollBase
{
  public:
    CTestScroll(CWVPScrollBarPaintManager* painter, CRect rc, int minimum, int maximum, int page, int pos)
        : m_painter(painter), m_rc(rc)
    {
        m_scroll.nMin = minimum;
        m_scroll.nMax = maximum;
        m_scroll.nPage = UINT(page);
        m_scroll.nPos = pos;
    }
    BOOL IsScrollBarEnabled() const override
    {
        return TRUE;
    }
    CWnd* GetParentWindow() const override
    {
        return nullptr;
    }
    CRect GetScrollBarRect() override
    {
        return m_rc;
    }
    void GetScrollInfo(SCROLLINFO* info) override
    {
        *info = m_scroll;
    }
    void DoScroll(int, int) override
    {
    }
    void RedrawScrollBar() override
    {
    }
    CWVPScrollBarPaintManager* GetScrollBarPaintManager() override
    {
        return m_painter;
    }

  private:
    CWVPScrollBarPaintManager* m_painter;
    CRect m_rc;
    SCROLLINFO m_scroll = {sizeof(SCROLLINFO)};
};

class CTestProgress : public CWVPProgressBase
{
  public:
    CRect GetProgressRect() override
    {
        return CRect(0, 0, 100, 10);
    }
    void RedrawProgress() override
    {
        ++redraws;
    }
    CWVPProgressPaintManager* GetProgressPaintManager() override
    {
        return nullptr;
    }
    int redraws = 0;
};

struct Painters
{
    CWVPDefaultTheme* theme = new CWVPDefaultTheme;
    CWVPScrollBarPaintManager scroll{theme};
    Painters()
    {
        theme->RefreshMetrics();
        scroll.m_cyVScroll = scroll.m_cxHScroll = 17;
    }
    ~Painters()
    {
        theme->InternalRelease();
    }
};
} // namespace

TEST(ScrollBaseTest, GeometryOfTheParts)
{
    Painters p;
    CTestScroll bar(&p.scroll, CRect(0, 0, 17, 100), 0, 99, 10, 0);
    bar.CalculateScrollBarInfo();
    EXPECT_EQ(8, bar.m_info.thumbSize); // 66 x 10 / 100 = 7, raised to half the arrow
    EXPECT_EQ(17, bar.m_info.startArrowEnd);
    EXPECT_EQ(83, bar.m_info.endArrowStart);
    EXPECT_EQ(17, bar.m_info.thumbStart);
    struct Hit
    {
        int y, part;
    } hits[] = {{0, WVP_HT_LINEUP},   {16, WVP_HT_LINEUP},   {17, WVP_HT_THUMB},     {24, WVP_HT_THUMB},
                {25, WVP_HT_PAGEDOWN}, {82, WVP_HT_PAGEDOWN}, {83, WVP_HT_LINEDOWN}, {100, WVP_HT_NONE}};
    for (const Hit& h : hits)
        EXPECT_EQ(h.part, bar.HitScrollBar(CPoint(5, h.y))) << h.y;
    EXPECT_EQ(0, bar.PositionOfPixel(10));
    EXPECT_EQ(90, bar.PositionOfPixel(200));

    CTestScroll shortBar(&p.scroll, CRect(0, 0, 17, 30), 0, 99, 10, 0);
    shortBar.CalculateScrollBarInfo();
    EXPECT_EQ(15, shortBar.m_info.startArrowEnd); // arrows shrink to half the bar

    CTestScroll whole(&p.scroll, CRect(0, 0, 17, 100), 0, 99, 100, 0);
    whole.CalculateScrollBarInfo();
    EXPECT_EQ(whole.m_info.thumbRangeStart - 1, whole.m_info.thumbStart);
}

// Thumb lengths of vertical bars with 17-pixel arrows: the page's share of the track between the
// arrows, never below half an arrow; sliders keep their fixed thumb.
TEST(ScrollBaseTest, ThumbSizes)
{
    Painters p;
    CWVPSliderPaintManager slider(p.theme);
    slider.RefreshMetrics();
    struct Case
    {
        const char* name;
        bool isSlider;
        int length, maximum, page, thumb;
    } cases[] = {
        {"a tenth of a 66-pixel track, raised to half an arrow", false, 100, 99, 10, 8},
        {"half the range", false, 100, 99, 50, 33},
        {"a long track", false, 217, 999, 100, 18},
        {"no page keeps the arrow's size", false, 100, 99, 0, 17},
        {"a short bar whose arrows take it all", false, 30, 99, 10, 8},
        {"a slider's thumb is fixed", true, 100, 99, 50, 11},
    };
    for (const Case& c : cases)
    {
        CTestScroll bar(c.isSlider ? static_cast<CWVPScrollBarPaintManager*>(&slider) : &p.scroll,
                        CRect(0, 0, 17, c.length), 0, c.maximum, c.page, 0);
        bar.CalculateScrollBarInfo();
        EXPECT_EQ(c.thumb, bar.m_info.thumbSize) << c.name;
    }
}

// The thumb of a bar whose page is as large as its range or larger fills the track between the
// arrows, wherever the position stands.
TEST(ScrollBaseTest, PageLargerThanTheRangeFillsTheTrack)
{
    Painters p;
    struct Case
    {
        int maximum, page, pos;
    } cases[] = {{9, 10, 0}, {9, 20, 5}, {9, 66, 9}, {0, 500, 0}, {39, 60, 39}};
    for (const Case& c : cases)
    {
        CTestScroll bar(&p.scroll, CRect(0, 0, 17, 100), 0, c.maximum, c.page, c.pos);
        bar.CalculateScrollBarInfo();
        const WVP_SCROLLBAR_POSINFO& i = bar.m_info;
        EXPECT_EQ(66, i.thumbSize) << c.page;
        EXPECT_EQ(0, i.thumbRange) << c.page;
        EXPECT_EQ(i.startArrowEnd - 1, i.thumbStart) << c.page;
        EXPECT_LE(i.thumbEnd, i.endArrowStart) << c.page;
        EXPECT_EQ(WVP_HT_THUMB, bar.HitScrollBar(CPoint(5, 50))) << c.page;
    }
}

TEST(ScrollBaseTest, ClassicScrollBarsAndSlidersDraw)
{
    Painters p;
    CTestScroll bar(&p.scroll, CRect(0, 0, 17, 100), 0, 99, 10, 0);
    bar.CalculateScrollBarInfo();
    DibCanvas canvas(20, 100, RGB(1, 2, 3));
    CDC dc;
    dc.Attach(canvas.dc());
    p.scroll.DrawScrollBar(&dc, &bar);
    ::GdiFlush();
    // Style 2 for the classic theme: raised arrows in face colour.
    EXPECT_EQ(2, bar.GetScrollBarStyle());
    CWVPColorManager* colors = WVPColorManager();
    EXPECT_EQ(colors->GetColor(COLOR_BTNHIGHLIGHT) & 0xFFFFFF, canvas.At(0, 0));
    EXPECT_EQ(colors->GetColor(COLOR_BTNSHADOW) & 0xFFFFFF, canvas.At(16, 16));
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(18, 50));
    dc.Detach();

    CWVPSliderPaintManager slider(p.theme);
    slider.RefreshMetrics();
    CTestScroll vertical(&slider, CRect(0, 0, 20, 100), 0, 10, 0, 5);
    vertical.CalculateScrollBarInfo();
    DibCanvas blank(100, 100, RGB(1, 2, 3));
    dc.Attach(blank.dc());
    slider.DrawScrollBar(&dc, &vertical);
    ::GdiFlush();
    EXPECT_EQ(0, blank.Painted());
    CTestScroll horizontal(&slider, CRect(0, 0, 100, 20), 0, 10, 0, 5);
    horizontal.m_info.vertical = FALSE;
    horizontal.CalculateScrollBarInfo();
    slider.DrawScrollBar(&dc, &horizontal);
    ::GdiFlush();
    EXPECT_GT(blank.Painted(), 100);
    dc.Detach();
}

TEST(ScrollBaseTest, ProgressRangeAndClassicFill)
{
    CTestProgress progress;
    progress.SetPos(150);
    EXPECT_EQ(100, progress.GetPos());
    progress.SetPos(-5);
    EXPECT_EQ(0, progress.GetPos());
    const int redraws = progress.redraws;
    progress.SetRange(0, 100);
    EXPECT_EQ(redraws, progress.redraws);
    progress.SetPos(50);

    Painters p;
    CWVPProgressPaintManager painter(p.theme);
    DibCanvas canvas(100, 10, RGB(1, 2, 3));
    CDC dc;
    dc.Attach(canvas.dc());
    painter.DrawProgress(&dc, &progress);
    dc.Detach();
    ::GdiFlush();
    const COLORREF highlight = WVPColorManager()->GetColor(COLOR_HIGHLIGHT) & 0xFFFFFF;
    int filled = 0;
    for (int x = 0; x < 100; ++x)
        filled += canvas.At(x, 5) == highlight;
    EXPECT_EQ(48, filled); // half of the 96-pixel inner width
}
