// Galleries on a bar: the flow of their items, their scroll bar and scrolling, the keys, the
// preview notifications their owner gets, and empty galleries; the progress control's fill.
#include "CommandBarHost.h"
#include "DibCanvas.h"
#include "RwTest.h"
#include "uilib/commandbars/ControlAction.h"
#include "uilib/commandbars/ControlActions.h"
#include "uilib/commandbars/ControlGallery.h"
#include "uilib/commandbars/ControlGalleryPaintManager.h"
#include "uilib/commandbars/ControlProgress.h"
#include "uilib/commandbars/GalleryItemCollection.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/PopupBar.h"
#include "uilib/foundation/ColorManager.h"

#include <functional>
#include <vector>

using rwtest::CommandBarHost;

namespace
{
const int kGalleryId = 700;

// The gallery notifications the host received, in order.
std::vector<UINT>& Notes()
{
    static std::vector<UINT> notes;
    return notes;
}

WNDPROC g_hostProc = nullptr;

LRESULT CALLBACK RecordingHostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WVP_WM_CONTROLNOTIFY)
    {
        const UINT code = reinterpret_cast<NMHDR*>(lParam)->code;
        if (code >= WVP_GN_PREVIEWSTART && code <= WVP_GN_SELCHANGE)
            Notes().push_back(code);
        return 0;
    }
    return ::CallWindowProcW(g_hostProc, hwnd, message, wParam, lParam);
}

// A host whose bar holds one gallery bound to a collection of `count` cells of 20 x 20 (labels
// where `labels` says), and records what the gallery tells its owner.
struct GalleryHost
{
    CommandBarHost host;
    CWVPControlGallery* gallery = nullptr;
    CWVPGalleryItemCollection* items = new CWVPGalleryItemCollection;

    explicit GalleryHost(int count, std::vector<int> labels = {}, BOOL borders = FALSE)
    {
        host.manager->EnableActions();
        g_hostProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(host.host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingHostProc)));
        for (int i = 0; i < count; ++i)
        {
            WCHAR caption[16];
            ::wsprintfW(caption, L"Item %d", i);
            bool label = false;
            for (int l : labels)
                label = label || l == i;
            if (label)
                items->AddLabel(caption);
            else
                items->AddItem(100 + i, caption);
        }
        gallery = static_cast<CWVPControlGallery*>(host.bar->GetControls()->AddByType(wvpControlGallery, kGalleryId));
        gallery->ShowBorders(borders);
        gallery->GetAction()->SetAttachedObject(items);
        host.Layout();
        Notes().clear();
    }

    // Makes the gallery the bar's selected control without choosing an item.
    void Select()
    {
        host.bar->SetSelected(gallery->GetIndex(), FALSE);
        Notes().clear();
    }
};
} // namespace

TEST(ControlGalleryTest, ItemsFlowInRowsUnderTheirLabels)
{
    // The width beside the scroll bar holds five cells of 20 a row.
    GalleryHost g(9, {0, 4});
    g.items->GetItem(7)->SetSize(CSize(0, 25)); // a full-row item
    g.gallery->LayoutItems();
    const CRect area = g.gallery->GetItemsArea();
    const int W = area.Width();
    ASSERT_EQ(120 - ::GetSystemMetrics(SM_CXVSCROLL), W);
    struct Expected
    {
        int index, left, top, right, bottom;
        BOOL rowStart;
    } expected[] = {
        {0, 0, 0, W, 19, TRUE},     // label: full width, 19 high
        {1, 0, 20, 20, 40, TRUE},   // one pixel below it
        {3, 40, 20, 60, 40, FALSE}, // same row
        {4, 0, 40, W, 59, TRUE},    // the next label closes the row
        {5, 0, 60, 20, 80, TRUE},   //
        {7, 0, 80, W, 105, TRUE},   // a zero width wraps and fills its own row
        {8, 0, 105, 20, 125, TRUE}, //
    };
    const auto& positions = g.gallery->GetPositions();
    for (const Expected& e : expected)
    {
        const CRect rc = positions[size_t(e.index)].rcItem - area.TopLeft();
        EXPECT_EQ(CRect(e.left, e.top, e.right, e.bottom), rc) << e.index;
        EXPECT_EQ(e.rowStart, positions[size_t(e.index)].bBeginRow) << e.index;
    }
    EXPECT_EQ(125, g.gallery->GetItemsHeight());

    // Hidden labels take no room and cannot be hit.
    g.gallery->ShowLabels(FALSE);
    g.gallery->LayoutItems();
    EXPECT_TRUE(positions[0].rcItem.IsRectEmpty());
    EXPECT_EQ(CRect(0, 0, 20, 20), positions[1].rcItem - area.TopLeft());
    EXPECT_EQ(CRect(60, 0, 80, 20), positions[5].rcItem - area.TopLeft());
    EXPECT_EQ(-1, g.gallery->ItemFromPoint(area.TopLeft() + CPoint(W + 2, 5)));
    EXPECT_EQ(5, g.gallery->ItemFromPoint(area.TopLeft() + CPoint(65, 5)));
}

TEST(ControlGalleryTest, ScrollBarPlacesAndScrollingClamps)
{
    GalleryHost g(30, {}, TRUE);
    const CRect rc = g.gallery->GetRect();
    const int w = ::GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(CRect(rc.right - w - 1, rc.top + 1, rc.right - 1, rc.bottom - 1), g.gallery->GetScrollBarRect());
    // Six rows of 20 in 58 visible pixels.
    ASSERT_EQ(120, g.gallery->GetItemsHeight());
    const int maximum = 120 - (rc.Height() - 2);
    struct Move
    {
        const char* name;
        int command;
        int from, to;
    } moves[] = {
        {"line down", SB_LINEDOWN, 0, 20},
        {"line up at the top", SB_LINEUP, 0, 0},
        {"page down", SB_PAGEDOWN, 0, 58},
        {"page down past the end", SB_PAGEDOWN, 40, maximum},
        {"thumb track", SB_THUMBTRACK, 0, 33},
        {"bottom", SB_BOTTOM, 0, maximum},
        {"top", SB_TOP, 50, 0},
        {"end of scroll changes nothing", SB_ENDSCROLL, 30, 30},
    };
    for (const Move& m : moves)
    {
        g.gallery->SetScrollOffset(m.from);
        g.gallery->DoScroll(m.command, 33);
        EXPECT_EQ(m.to, g.gallery->GetScrollOffset()) << m.name;
    }
    // The wheel moves three rows; the thumb follows the position.
    g.gallery->SetScrollOffset(0);
    EXPECT_TRUE(g.gallery->OnHookMouseWheel(0, -WHEEL_DELTA, CPoint(0, 0)));
    EXPECT_EQ(60, g.gallery->GetScrollOffset());
    EXPECT_TRUE(g.gallery->OnHookMouseWheel(0, -WHEEL_DELTA, CPoint(0, 0)));
    EXPECT_EQ(maximum, g.gallery->GetScrollOffset());
    g.gallery->CalculateScrollBarInfo();
    EXPECT_EQ(g.gallery->m_info.endArrowStart, g.gallery->m_info.thumbEnd);
    EXPECT_EQ(0, g.gallery->ScrollItemToTop(10));
    EXPECT_EQ(40, g.gallery->GetScrollOffset());
    EXPECT_EQ(-1, g.gallery->ScrollItemToTop(30));

    // Removing items shrinks the position to the new end; a short gallery cannot scroll.
    g.gallery->SetScrollOffset(maximum);
    for (int i = 0; i < 25; ++i)
        g.items->Remove(0);
    g.gallery->LayoutItems();
    EXPECT_EQ(0, g.gallery->GetScrollOffset());
    g.gallery->CalculateScrollBarInfo();
    EXPECT_LE(g.gallery->m_info.thumbEnd, g.gallery->m_info.endArrowStart);
    EXPECT_GE(g.gallery->m_info.thumbStart, g.gallery->m_info.startArrowEnd - 1);
}

TEST(ControlGalleryTest, KeysMoveTheHighlight)
{
    // Rows of five from the top: 0..4, 5..9, 10..14, 15..19, 20..24, 25..27; three rows show.
    GalleryHost g(28);
    g.Select();
    struct Case
    {
        const char* name;
        int from;
        UINT key;
        int to;
        BOOL handled;
    } cases[] = {
        {"right", 1, VK_RIGHT, 2, TRUE},
        {"right from the row's end goes to its start", 4, VK_RIGHT, 0, TRUE},
        {"left from the row's start goes to its end", 5, VK_LEFT, 9, TRUE},
        {"down keeps the column", 2, VK_DOWN, 7, TRUE},
        {"down from the last row wraps to the first item", 26, VK_DOWN, 0, TRUE},
        {"up from the first row wraps to the last item", 3, VK_UP, 27, TRUE},
        {"down into a short row's gap wraps", 23, VK_DOWN, 0, TRUE},
        {"home", 9, VK_HOME, 0, TRUE},
        {"end", 2, VK_END, 27, TRUE},
        {"page down: the furthest bottom one view lower", 0, VK_NEXT, 19, TRUE},
        {"page up: the furthest top one view higher", 27, VK_PRIOR, 10, TRUE},
        {"tab", 3, VK_TAB, 4, TRUE},
        {"tab past the end leaves it to the bar", 27, VK_TAB, 27, FALSE},
        {"other keys are the bar's", 6, 'A', 6, FALSE},
    };
    for (const Case& c : cases)
    {
        g.gallery->SetSelectedItem(c.from);
        EXPECT_EQ(c.handled, g.gallery->OnHookKeyDown(c.key)) << c.name;
        EXPECT_EQ(c.to, g.gallery->GetSelectedItem()) << c.name;
    }

    // With another control below, Down on the last row leaves the gallery to the bar.
    g.host.Add(wvpControlButton, 900, L"Next");
    g.host.Layout();
    g.Select();
    g.gallery->SetSelectedItem(26);
    EXPECT_FALSE(g.gallery->OnHookKeyDown(VK_DOWN));
    EXPECT_EQ(26, g.gallery->GetSelectedItem());
}

TEST(ControlGalleryTest, PreviewCodesFollowTheHighlight)
{
    GalleryHost g(10);
    g.Select();
    const CRect area = g.gallery->GetItemsArea();
    const CPoint first = area.TopLeft() + CPoint(5, 5), second = area.TopLeft() + CPoint(25, 5);
    struct Step
    {
        const char* name;
        std::function<void()> action;
        std::vector<UINT> codes;
    } steps[] = {
        {"keyboard highlight starts a preview",
         [&] { g.gallery->SetSelectedItem(2); },
         {WVP_GN_PREVIEWSTART, WVP_GN_PREVIEWCHANGE, WVP_GN_SELCHANGE}},
        {"the next item changes it", [&] { g.gallery->SetSelectedItem(3); }, {WVP_GN_PREVIEWCHANGE, WVP_GN_SELCHANGE}},
        {"no item cancels it",
         [&] { g.gallery->SetSelectedItem(-1); },
         {WVP_GN_PREVIEWCHANGE, WVP_GN_PREVIEWCANCEL, WVP_GN_SELCHANGE}},
        {"the mouse highlights without a preview", [&] { g.gallery->OnMouseMove(first); }, {WVP_GN_SELCHANGE}},
        {"hovering starts one", [&] { g.gallery->OnMouseHover(); }, {WVP_GN_PREVIEWSTART, WVP_GN_PREVIEWCHANGE}},
        {"moving on changes it", [&] { g.gallery->OnMouseMove(second); }, {WVP_GN_PREVIEWCHANGE, WVP_GN_SELCHANGE}},
        {"the same item again says nothing", [&] { g.gallery->OnMouseMove(second); }, {}},
        {"leaving cancels it",
         [&] { g.gallery->OnMouseMove(CPoint(-1, -1)); },
         {WVP_GN_PREVIEWCHANGE, WVP_GN_PREVIEWCANCEL, WVP_GN_SELCHANGE}},
        {"a press and a drag of five pixels",
         [&] {
             g.gallery->OnMouseMove(first);
             g.gallery->OnClick(FALSE, first);
             g.gallery->OnMouseMove(first + CPoint(5, 0));
         },
         {WVP_GN_SELCHANGE, WVP_GN_BEGINDRAG}},
        {"executing while previewing applies it once",
         [&] {
             g.gallery->SetSelectedItem(4);
             Notes().clear();
             g.gallery->OnExecute();
             g.gallery->OnExecute();
         },
         {WVP_GN_PREVIEWAPPLY}},
    };
    for (const Step& s : steps)
    {
        Notes().clear();
        s.action();
        EXPECT_EQ(s.codes, Notes()) << s.name;
    }
    EXPECT_FALSE(g.gallery->IsPreviewing());
}

TEST(ControlGalleryTest, EmptyGalleriesDrawAndAnswerKeys)
{
    struct Case
    {
        const char* name;
        int count;
        bool collection;
    } cases[] = {{"no collection", 0, false}, {"no items", 0, true}, {"items without images", 12, true}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        GalleryHost g(c.count);
        if (!c.collection)
            g.gallery->GetAction()->SetAttachedObject(nullptr);
        g.gallery->LayoutItems();
        g.Select();
        for (UINT key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_TAB, VK_RETURN})
            g.gallery->OnHookKeyDown(key);
        EXPECT_EQ(c.count > 0, g.gallery->GetSelectedItem() != -1);
        g.gallery->OnMouseMove(g.gallery->GetItemsArea().CenterPoint());
        EXPECT_EQ(-1, g.gallery->FindItemByText(-1, L"", FALSE));

        g.gallery->HideHighlight();
        const COLORREF fill = g.gallery->GetPaintManager()->GetColor(41) & 0xFFFFFF;
        const CRect rc = g.gallery->GetRect();
        DibCanvas canvas(rc.right + 4, rc.bottom + 4, RGB(1, 2, 3));
        CDC dc;
        dc.Attach(canvas.dc());
        g.gallery->Draw(&dc);
        dc.Detach();
        ::GdiFlush();
        // The background fills the gallery; captions stand in for missing images.
        EXPECT_EQ(fill, canvas.At(rc.left + 1, rc.top + 1));
        const CRect cell(g.gallery->GetItemsArea().TopLeft(), CSize(20, 20));
        int painted = 0;
        for (int y = cell.top + 3; y < cell.bottom - 3; ++y)
            for (int x = cell.left + 3; x < cell.right - 3; ++x)
                painted += canvas.At(x, y) != fill;
        EXPECT_EQ(c.count > 0, painted > 0);
    }
}

TEST(ControlGalleryTest, FindItemByTextAndPopupScrollColumn)
{
    GalleryHost g(6);
    g.items->GetItem(2)->SetCaption(L"Blue");
    g.items->GetItem(4)->SetCaption(L"Blueberry");
    struct Case
    {
        int start;
        const wchar_t* text;
        BOOL exact;
        int found;
    } cases[] = {{-1, L"blue", TRUE, 2},  {2, L"blue", TRUE, 2},
                 {2, L"BLUE", FALSE, 4},  {-1, L"Blueberry pie", FALSE, -1},
                 {4, L"item 0", TRUE, 0}, {-1, L"", FALSE, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(c.found, g.gallery->FindItemByText(c.start, c.text, c.exact)) << c.start;

    // A gallery that opens a popup has a column of up (19), down (19) and "more" buttons.
    CWVPCommandBar* popup = static_cast<CWVPCommandBar*>(CWVPCommandBar::CreateObject());
    g.gallery->SetCommandBar(popup);
    popup->InternalRelease();
    g.gallery->CalculateScrollBarInfo();
    const int top = g.gallery->GetScrollBarRect().top;
    const CRect bar = g.gallery->GetScrollBarRect();
    EXPECT_EQ(16, bar.Width());
    struct Hit
    {
        int dy, part;
    } hits[] = {
        {0, WVP_HT_LINEUP}, {18, WVP_HT_LINEUP}, {19, WVP_HT_LINEDOWN}, {38, WVP_HT_LINEDOWN}, {39, WVP_HT_EXTRA}};
    for (const Hit& h : hits)
        EXPECT_EQ(h.part, g.gallery->HitScrollBar(CPoint(bar.left + 3, top + h.dy))) << h.dy;
    EXPECT_FALSE(g.gallery->IsScrollButtonEnabled(WVP_HT_LINEUP));
}

TEST(ControlGalleryTest, ProgressControlFillsItsShare)
{
    CommandBarHost host;
    CWVPControl* control = host.bar->GetControls()->AddControl(new CWVPControlProgress, 0, L"", -1, FALSE);
    CWVPControlProgress* progress = static_cast<CWVPControlProgress*>(control);
    EXPECT_EQ(100, progress->GetSize(nullptr).cx);
    progress->SetRect(CRect(0, 0, 100, 16));
    struct Case
    {
        int lower, upper, pos, filled;
    } cases[] = {{0, 100, 50, 48}, {0, 100, 100, 96}, {0, 100, 0, 0}, {20, 20, 20, 0}, {-50, 50, 0, 48}};
    const COLORREF highlight = WVPColorManager()->GetColor(COLOR_HIGHLIGHT) & 0xFFFFFF;
    for (const Case& c : cases)
    {
        progress->SetRange(c.lower, c.upper);
        progress->SetPos(c.pos);
        DibCanvas canvas(100, 16, RGB(1, 2, 3));
        CDC dc;
        dc.Attach(canvas.dc());
        progress->Draw(&dc);
        dc.Detach();
        ::GdiFlush();
        int filled = 0;
        for (int x = 0; x < 100; ++x)
            filled += canvas.At(x, 8) == highlight;
        EXPECT_EQ(c.filled, filled) << c.lower << ".." << c.upper << " at " << c.pos;
    }
}

TEST(ControlGalleryTest, PopupReleaseExecutesAndTooltipsNameItems)
{
    GalleryHost g(6);
    g.items->GetItem(1)->SetToolTip(L"Second cell");
    g.items->GetItem(1)->SetDescription(L"The second one");
    g.items->GetItem(2)->SetToolTipId(55);
    const CRect area = g.gallery->GetItemsArea();
    struct Tip
    {
        CPoint pt;
        INT_PTR id;
        const wchar_t* text;
    } tips[] = {{area.TopLeft() + CPoint(25, 5), 101, L"Second cell"},
                {area.TopLeft() + CPoint(45, 5), 55, L"Item 2"},
                {area.TopLeft() + CPoint(5, 45), 0, nullptr}};
    for (const Tip& t : tips)
    {
        TOOLINFOW ti = {sizeof ti};
        EXPECT_EQ(t.id, g.gallery->OnToolHitTest(t.pt, &ti)) << t.id;
        if (!t.text)
            continue;
        ASSERT_NE(nullptr, ti.lpszText);
        EXPECT_EQ(0, ::lstrcmpW(t.text, ti.lpszText)) << t.id;
        EXPECT_EQ(g.host.bar->GetSafeHwnd(), ti.hwnd);
        free(ti.lpszText);
    }

    // In a popup, a release over the highlighted item executes the gallery, press or not.
    CWVPPopupBar* popup = static_cast<CWVPPopupBar*>(CWVPPopupBar::CreateObject());
    popup->SetCommandBars(g.host.manager);
    popup->SetOwnerSite(g.host.host);
    CWVPControlGallery* inPopup =
        static_cast<CWVPControlGallery*>(popup->GetControls()->AddByType(wvpControlGallery, kGalleryId));
    inPopup->SetRect(CRect(0, 0, 120, 60));
    const CPoint cell = inPopup->GetItemsArea().TopLeft() + CPoint(25, 5);
    inPopup->OnMouseMove(cell);
    EXPECT_EQ(1, inPopup->GetSelectedItem());
    rwtest::HostLog().commands.clear();
    inPopup->OnLButtonUp(cell);
    EXPECT_EQ(std::vector<int>{kGalleryId}, rwtest::HostLog().commands);
    // Without its collection the gallery has no tips.
    inPopup->GetAction()->SetAttachedObject(nullptr);
    TOOLINFOW ti = {sizeof ti};
    EXPECT_EQ(-1, inPopup->OnToolHitTest(cell, &ti));
    popup->InternalRelease();
}
