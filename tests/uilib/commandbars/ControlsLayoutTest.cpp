// The layouts of a bar's controls, without a window: controls of fixed sizes on a bar drawn by
// the classic theme (separators 6 pixels on tool bars), laid out and read back.
#include "DibCanvas.h"
#include "RwTest.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/ControlButton.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/PopupBar.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/themes/DefaultTheme.h"

#include <string>
#include <vector>

namespace
{
const DWORD kHorzDock = 0x08;
const DWORD kStretch = 0x01;
const DWORD kCommit = 0x40;
const DWORD kHideWrap = 0x80;
const DWORD kFloating = 0x100;
const DWORD kLengthY = 0x20;

// A button that measures as a fixed size.
class CFixedControl : public CWVPControlButton
{
  public:
    explicit CFixedControl(CSize size) : m_size(size)
    {
    }
    CSize GetSize(CDC*) override
    {
        return m_size;
    }
    CSize m_size;
};

struct Item
{
    int cx, cy;
    BOOL beginGroup;
    DWORD flags;
};

// A bar without a window whose controls have the given sizes.
template <class Bar> struct Layout
{
    Bar* bar;
    DibCanvas canvas{8, 8};
    CDC dc;

    explicit Layout(const std::vector<Item>& items)
    {
        bar = static_cast<Bar*>(Bar::CreateObject());
        bar->SetPaintManager(new CWVPDefaultTheme);
        bar->SetPosition(wvpBarTop);
        for (const Item& item : items)
        {
            CFixedControl* control = new CFixedControl(CSize(item.cx, item.cy));
            control->SetBeginGroup(item.beginGroup);
            control->SetFlags(item.flags);
            bar->GetControls()->Add(control);
        }
        dc.Attach(canvas.dc());
    }
    ~Layout()
    {
        dc.Detach();
        bar->InternalRelease();
    }
    CWVPControl* At(int i) const
    {
        return bar->GetControls()->GetAt(i);
    }
    // "l,t,r,b" of every control, with "*" for a control that starts a row and "h" for one that
    // did not fit.
    std::string Rects() const
    {
        std::string text;
        for (int i = 0; i < bar->GetControls()->GetCount(); ++i)
        {
            const CWVPControl* control = At(i);
            const CRect rc = control->GetRect();
            if (!text.empty())
                text += " ";
            if (control->GetHideFlags() & WVP_HIDE_WRAP)
            {
                text += "h";
                continue;
            }
            text += (control->GetWrap() ? "*" : "") + std::to_string(rc.left) + "," + std::to_string(rc.top) + "," +
                    std::to_string(rc.right) + "," + std::to_string(rc.bottom);
        }
        return text;
    }
};

std::vector<Item> Same(int count, int cx, int cy)
{
    return std::vector<Item>(size_t(count), Item{cx, cy, FALSE, 0});
}
} // namespace

TEST(ControlsLayoutTest, ToolBarLayoutsAsATable)
{
    struct Case
    {
        const char* name;
        std::vector<Item> items;
        int length;
        DWORD mode;
        CSize size;
        std::string rects;
    } cases[] = {
        {"a row that does not fit breaks at the start of its group",
         {{20, 20, FALSE, 0}, {20, 20, FALSE, 0}, {20, 20, TRUE, 0}, {20, 20, FALSE, 0}, {20, 20, FALSE, 0}},
         100,
         kHorzDock | kCommit,
         {100, 46},
         "0,0,20,20 20,0,40,20 *0,26,20,46 20,26,40,46 40,26,60,46"},
        {"a group that fills its row alone breaks between its controls",
         {{40, 20, FALSE, 0}, {40, 20, FALSE, 0}, {40, 20, FALSE, 0}},
         100,
         kHorzDock | kCommit,
         {100, 40},
         "0,0,40,20 40,0,80,20 *0,20,40,40"},
        {"hide what does not fit up to the next row start",
         {{20, 20, FALSE, 0}, {20, 20, FALSE, 0}, {20, 20, FALSE, 0}, {20, 20, FALSE, 0}},
         50,
         kHorzDock | kCommit | kHideWrap,
         {50, 20},
         "0,0,20,20 20,0,40,20 h h"},
        {"a control with the new-row flag always starts a row",
         {{20, 20, FALSE, 0}, {20, 20, FALSE, WVP_CONTROLFLAG_WRAPROW}, {20, 20, FALSE, 0}},
         200,
         kHorzDock | kCommit,
         {40, 40},
         "0,0,20,20 *0,20,20,40 20,20,40,40"},
        {"a floating bar is made roughly square", Same(9, 20, 20), 0, kFloating | kCommit, {60, 60},
         "0,0,20,20 20,0,40,20 40,0,60,20 *0,20,20,40 20,20,40,40 40,20,60,40 *0,40,20,60 20,40,40,60 40,40,60,60"},
        {"a bar fitted to a length takes the narrowest rows of the same count", Same(6, 30, 20), 100, kCommit,
         {100, 40}, "0,0,30,20 30,0,60,20 60,0,90,20 *0,20,30,40 30,20,60,40 60,20,90,40"},
        {"a bar fitted to a height takes the row length that gives it", Same(6, 30, 20), 40, kLengthY | kCommit,
         {90, 40}, "0,0,30,20 30,0,60,20 60,0,90,20 *0,20,30,40 30,20,60,40 60,20,90,40"},
        {"two stretched controls share 11 free pixels as 5 and 6",
         {{20, 20, FALSE, 0},
          {20, 20, FALSE, WVP_CONTROLFLAG_STRETCHED},
          {20, 20, FALSE, 0},
          {20, 20, FALSE, WVP_CONTROLFLAG_STRETCHED}},
         91,
         kHorzDock | kStretch | kCommit,
         {91, 20},
         "0,0,20,20 20,0,45,20 45,0,65,20 65,0,91,20"},
        {"right-aligned controls go to the far end of the last row",
         {{20, 20, FALSE, 0}, {20, 20, FALSE, 0}, {20, 20, FALSE, WVP_CONTROLFLAG_RIGHTALIGN}},
         100,
         kHorzDock | kStretch | kCommit,
         {100, 20},
         "0,0,20,20 20,0,40,20 80,0,100,20"},
        {"a single row centres its controls across the bar",
         {{20, 20, FALSE, 0}, {20, 10, FALSE, 0}},
         100,
         kHorzDock | kCommit,
         {40, 20},
         "0,0,20,20 20,5,40,15"},
        {"no room places nothing", Same(3, 20, 20), 0, kHorzDock | kCommit, {23, 22}, "h h h"},
        {"a negative length places nothing", Same(2, 20, 20), -40, kHorzDock | kCommit, {23, 22}, "h h"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Layout<CWVPCommandBar> layout(c.items);
        const CSize size = layout.bar->GetControls()->CalcDynamicSize(&layout.dc, c.length, c.mode, CRect(0, 0, 0, 0));
        EXPECT_EQ(c.size.cx, size.cx);
        EXPECT_EQ(c.size.cy, size.cy);
        EXPECT_EQ(c.rects, layout.Rects());
    }
}

TEST(ControlsLayoutTest, BordersAndEmptyBars)
{
    Layout<CWVPCommandBar> layout(Same(2, 20, 20));
    const CRect borders(2, 3, 4, 5);
    CSize size = layout.bar->GetControls()->CalcDynamicSize(&layout.dc, 200, kHorzDock | kCommit, borders);
    EXPECT_EQ(CSize(46, 28), size);
    EXPECT_EQ("2,3,22,23 22,3,42,23", layout.Rects());
    EXPECT_EQ(CRect(2, 3, 42, 23), layout.At(0)->GetRowRect());

    // Measuring alone leaves the controls where they were.
    layout.bar->GetControls()->CalcDynamicSize(&layout.dc, 30, kHorzDock, borders);
    EXPECT_EQ("2,3,22,23 22,3,42,23", layout.Rects());

    layout.At(0)->SetVisible(FALSE);
    layout.At(1)->SetVisible(FALSE);
    size = layout.bar->GetControls()->CalcDynamicSize(&layout.dc, 200, kCommit, borders, 50);
    EXPECT_EQ(CSize(50, 30), size);
}

TEST(ControlsLayoutTest, PopupColumnsBreakAtTheHeightAndAtTheColumnFlag)
{
    Layout<CWVPPopupBar> layout(Same(5, 50, 20));
    CSize size = layout.bar->GetControls()->CalcPopupSize(&layout.dc, 70, 0, CRect(0, 0, 0, 0));
    EXPECT_EQ(CSize(100, 60), size);
    EXPECT_EQ("0,0,50,20 0,20,50,40 0,40,50,60 *50,0,100,20 50,20,100,40", layout.Rects());
    EXPECT_TRUE(layout.bar->IsMultiColumn());
    EXPECT_EQ(CRect(50, 0, 100, 60), layout.At(4)->GetRowRect());

    layout.At(1)->SetFlags(WVP_CONTROLFLAG_WRAPROW);
    size = layout.bar->GetControls()->CalcPopupSize(&layout.dc, 0, 0, CRect(3, 3, 3, 3));
    EXPECT_EQ(CSize(106, 86), size);
    EXPECT_EQ("3,3,53,23 *53,3,103,23 53,23,103,43 53,43,103,63 53,63,103,83", layout.Rects());
}

TEST(ControlsLayoutTest, EmptyPopupAndTooWideItems)
{
    Layout<CWVPPopupBar> empty({});
    EXPECT_EQ(CSize(30, 28), empty.bar->GetControls()->CalcPopupSize(&empty.dc, 0, 0, CRect(3, 3, 3, 3)));

    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    Layout<CWVPPopupBar> wide({{int(work.right), 20, FALSE, 0}});
    wide.bar->GetControls()->CalcPopupSize(&wide.dc, 0, 0, CRect(0, 0, 0, 0));
    EXPECT_EQ(work.right / 3, wide.At(0)->GetRect().Width());
}

namespace
{
// A button whose size follows its style: large 42 x 66 (the column height), medium 60 x 22,
// small 23 x 22.
class CStyledControl : public CWVPControlButton
{
  public:
    CSize GetSize(CDC*) override
    {
        switch (GetStyle())
        {
        case wvpButtonIconAndCaptionBelow:
            return CSize(42, 66);
        case wvpButtonIconAndCaption:
            return CSize(60, 22);
        default:
            return CSize(23, 22);
        }
    }
};

// A large-button bar whose controls all have large icons (ids 1 to count).
struct LargeBar
{
    CWVPCommandBar* bar = static_cast<CWVPCommandBar*>(CWVPCommandBar::CreateObject());
    DibCanvas canvas{8, 8};
    CDC dc;

    explicit LargeBar(int count)
    {
        bar->SetPaintManager(new CWVPDefaultTheme);
        bar->SetPosition(wvpBarTop);
        bar->SetFlags(WVP_BARFLAG_LARGEBUTTONS);
        CWVPImageManager* images = new CWVPImageManager;
        HBITMAP bitmap = CWVPImageManager::CreateDIBSection32(nullptr, 32, 32, nullptr);
        for (int id = 1; id <= count; ++id)
        {
            const UINT uid = UINT(id);
            images->SetIconsFromBitmap(bitmap, &uid, 1, 32, 32, 0, FALSE);
        }
        ::DeleteObject(bitmap);
        bar->SetImageManager(images);
        for (int id = 1; id <= count; ++id)
        {
            CWVPControl* control = new CStyledControl;
            control->SetIconId(id);
            bar->GetControls()->Add(control);
        }
        dc.Attach(canvas.dc());
    }
    ~LargeBar()
    {
        dc.Detach();
        bar->InternalRelease();
    }
    std::string Styles() const
    {
        std::string text;
        for (int i = 0; i < bar->GetControls()->GetCount(); ++i)
            text += std::to_string(bar->GetControls()->GetAt(i)->GetOwnStyle());
        return text;
    }
};
} // namespace

// Large buttons that do not fit become medium ones, three at a time from the end, before medium
// ones stacked in a column become small.
TEST(ControlsLayoutTest, LargeButtonsShrinkStepByStep)
{
    struct Case
    {
        int count, length;
        const char* styles;
        CSize size;
    } cases[] = {
        // A bar that had to shrink stretches to the whole length.
        {3, 500, "444", {126, 66}}, {3, 100, "333", {100, 66}}, {3, 50, "222", {50, 66}},
        {6, 200, "444333", {200, 66}}, {6, 150, "333333", {150, 66}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.count) + " at " + std::to_string(c.length));
        LargeBar large(c.count);
        const CSize size =
            large.bar->GetControls()->CalcDynamicSize(&large.dc, c.length, kHorzDock | kCommit, CRect(0, 0, 0, 0));
        EXPECT_EQ(c.styles, large.Styles());
        EXPECT_EQ(c.size.cx, size.cx);
        EXPECT_EQ(c.size.cy, size.cy);
    }

    // Medium buttons stack three to a column; a group starts a new column after a 6-pixel gap.
    LargeBar large(4);
    large.bar->GetControls()->GetAt(3)->SetBeginGroup(TRUE);
    large.bar->GetControls()->CalcDynamicSize(&large.dc, 120, kHorzDock | kCommit, CRect(0, 0, 0, 0));
    EXPECT_EQ("3334", large.Styles()); // the group of one keeps its large button
    const int expected[4][2] = {{0, 0}, {0, 22}, {0, 44}, {66, 0}};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(CPoint(expected[i][0], expected[i][1]), large.bar->GetControls()->GetAt(i)->GetRect().TopLeft())
            << i;
}
