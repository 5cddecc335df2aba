#include "DibCanvas.h"
#include "RwTest.h"
#include "SkinGallery.h"
#include "SkinGalleryFixture.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinObjectTrackBar.h"

#include <set>
#include <vector>

namespace
{

const int kPropColor = 204;
const int kPartTics = 9;
const int kPartTicsVert = 10;

RECT Transposed(const RECT& rc)
{
    return RECT{rc.top, rc.left, rc.bottom, rc.right};
}

// The gallery's track bars in a loaded skin: each prints what the test draws itself from the skin's
// TRACKBAR parts, with its thumb in the state the real cursor, focus, capture and enabling cause.
class SkinObjectTrackBarTest : public rwtest::SkinGalleryFixture
{
  protected:
    CWVPSkinObjectTrackBar* TrackBar(HWND hwnd)
    {
        return Object<CWVPSkinObjectTrackBar>(hwnd);
    }
    COLORREF TicColor(bool vertical)
    {
        return manager.GetSkinClass(L"TRACKBAR")
            ->GetThemeColor(vertical ? kPartTicsVert : kPartTics, 1, kPropColor,
                            manager.GetMetrics()->GetColor(COLOR_BTNTEXT));
    }
    // One tick rectangle along the bar at x, across it from top for the length.
    static void Tic(DibCanvas& canvas, bool vertical, int x, int top, int length, COLORREF clr)
    {
        RECT rc = {x, top, x + 1, top + length};
        if (vertical)
            rc = Transposed(rc);
        HBRUSH brush = ::CreateSolidBrush(clr);
        ::FillRect(canvas.dc(), &rc, brush);
        ::DeleteObject(brush);
    }
    // The bar as it should look: the ticks of the values (with the end ticks and the selection's
    // marks), the channel and the thumb in the state.
    void DrawExpected(HWND track, DibCanvas& canvas, const std::vector<int>& ticValues, int thumbState)
    {
        CWVPSkinObjectTrackBar* object = TrackBar(track);
        DWORD style = DWORD(::GetWindowLongW(track, GWL_STYLE));
        bool vertical = (style & TBS_VERT) != 0;
        canvas.Fill(manager.GetMetrics()->GetColor(COLOR_BTNFACE));
        object->CalcChannel();
        RECT ch = object->GetChannel();
        int low = int(::SendMessageW(track, TBM_GETRANGEMIN, 0, 0));
        int high = int(::SendMessageW(track, TBM_GETRANGEMAX, 0, 0));
        auto at = [&](int value) {
            return low == high ? int(ch.left)
                               : int(ch.left + ::MulDiv(value - low, ch.right - ch.left - 1, high - low));
        };
        COLORREF tics = TicColor(vertical), text = manager.GetMetrics()->GetColor(COLOR_BTNTEXT);
        std::vector<int> sides;
        if ((style & TBS_BOTH) || !(style & TBS_TOP))
            sides.push_back(1);
        if (style & (TBS_TOP | TBS_BOTH))
            sides.push_back(-1);
        int selStart = int(::SendMessageW(track, TBM_GETSELSTART, 0, 0));
        int selEnd = int(::SendMessageW(track, TBM_GETSELEND, 0, 0));
        for (int side : sides)
        {
            int y = side > 0 ? ch.bottom + 1 : ch.top - 1;
            int from = side > 0 ? y : y - 3;
            for (int x : {int(ch.left), int(ch.right - 1)}) // the end ticks are one pixel longer
                Tic(canvas, vertical, x, side > 0 ? y : y - 4, 4, tics);
            for (int value : ticValues)
                Tic(canvas, vertical, at(value), from, 3, tics);
            if ((style & TBS_ENABLESELRANGE) && selStart < selEnd)
                for (int i = 0; i < 3; ++i)
                {
                    Tic(canvas, vertical, at(selStart) - i, side > 0 ? y + i : y - 3, 3 - i, text);
                    Tic(canvas, vertical, at(selEnd) + i, side > 0 ? y + i : y - 3, 3 - i, text);
                }
        }
        CWVPSkinManagerClass* skin = manager.GetSkinClass(L"TRACKBAR");
        RECT channel = {};
        ::SendMessageW(track, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
        if (vertical && channel.right - channel.left > channel.bottom - channel.top)
            channel = Transposed(channel);
        skin->DrawThemeBackground(canvas.dc(), vertical ? 2 : 1, 1, &channel);
        RECT thumb = {};
        ::SendMessageW(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        int part = (style & TBS_BOTH) ? (vertical ? 6 : 3)
                   : vertical         ? ((style & TBS_LEFT) ? 7 : 8)
                                      : ((style & TBS_TOP) ? 5 : 4);
        skin->DrawThemeBackground(canvas.dc(), part, thumbState, &thumb);
        ::GdiFlush();
    }
    // Pixels of the printed bar that differ from the expected picture (less a one-pixel ring).
    int Differences(HWND track, const std::vector<int>& ticValues, int thumbState, bool skipRing = false)
    {
        RECT rc;
        ::GetClientRect(track, &rc);
        DibCanvas actual(rc.right, rc.bottom, RGB(255, 0, 255)), expected(rc.right, rc.bottom);
        rwtest::PrintClient(track, actual);
        DrawExpected(track, expected, ticValues, thumbState);
        if (!skipRing)
            return rwtest::RegionDifferences(actual, rc, expected);
        RECT inner = {1, 1, rc.right - 1, rc.bottom - 1};
        DibCanvas expectedInner(rc.right - 2, rc.bottom - 2);
        ::BitBlt(expectedInner.dc(), 0, 0, rc.right - 2, rc.bottom - 2, expected.dc(), 1, 1, SRCCOPY);
        ::GdiFlush();
        return rwtest::RegionDifferences(actual, inner, expectedInner);
    }
};

// Normal, hot (the real cursor on the thumb), pressed (the capture), focused and disabled thumbs
// over the ticks of every second value.
TEST_P(SkinObjectTrackBarTest, HorizontalBarFollowsItsStates)
{
    HWND track = gallery->Item(rwtest::kGalleryTrackBar);
    CWVPSkinObjectTrackBar* object = TrackBar(track);
    ASSERT_NE(nullptr, object);
    const std::vector<int> tics = {2, 4, 6, 8};
    EXPECT_EQ(0, Differences(track, tics, 1));

    RECT thumb = {};
    ::SendMessageW(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    rwtest::MoveCursorToClient(track, thumb);
    EXPECT_TRUE(rwtest::SkinGallery::PumpUntil([&] { return object->IsThumbHot(); }));
    EXPECT_EQ(0, Differences(track, tics, 2));
    ParkCursor();
    EXPECT_TRUE(rwtest::SkinGallery::PumpUntil([&] { return !object->IsThumbHot(); }));
    EXPECT_EQ(0, Differences(track, tics, 1));

    ::SetCapture(track);
    EXPECT_EQ(0, Differences(track, tics, 3));
    ::ReleaseCapture();

    ::SetFocus(track);
    ::SendMessageW(gallery->hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    rwtest::SkinGallery::Pump();
    ASSERT_EQ(track, ::GetFocus());
    EXPECT_EQ(4, object->GetThumbState());
    EXPECT_EQ(0, Differences(track, tics, 4, true));

    ::EnableWindow(track, FALSE);
    EXPECT_EQ(0, Differences(track, tics, 5, true));
}

// A vertical bar with ticks on both sides and a selection: the channel runs along the bar.
TEST_P(SkinObjectTrackBarTest, VerticalBarDrawsBothSidesAndSelection)
{
    HWND track = gallery->Item(rwtest::kGalleryVertTrackBar);
    ASSERT_NE(nullptr, TrackBar(track));
    EXPECT_EQ(0, Differences(track, {5, 10, 15}, 1));
}

// Where the ticks below the channel stand for a range and a frequency: every tick of the
// frequency once, the two end ticks always, everything at the channel's start for an empty range.
TEST_P(SkinObjectTrackBarTest, TicksFollowRangeAndFrequency)
{
    struct Case
    {
        int low, high;
        int freq; // -1: a bar without automatic ticks and one tick set at the start
        std::vector<int> values;
    };
    const Case cases[] = {
        {0, 10, 2, {0, 2, 4, 6, 8, 10}},
        {0, 10, 3, {0, 3, 6, 9, 10}},
        {0, 10, 0, {0, 10}},
        {20, 30, 5, {20, 25, 30}},
        {0, 0, -1, {0}},
    };
    for (const Case& c : cases)
    {
        DWORD style = WS_CHILD | WS_VISIBLE | TBS_BOTTOM | (c.freq >= 0 ? TBS_AUTOTICKS : 0);
        HWND track = ::CreateWindowExW(0, TRACKBAR_CLASSW, L"", style, 8, 380, 200, 34, gallery->hwnd(), nullptr,
                                       ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, track);
        CWVPSkinObjectTrackBar* object = TrackBar(track);
        ASSERT_NE(nullptr, object);
        ::SendMessageW(track, TBM_SETRANGE, FALSE, MAKELPARAM(c.low, c.high));
        if (c.freq >= 0)
            ::SendMessageW(track, TBM_SETTICFREQ, c.freq, 0);
        else
            ::SendMessageW(track, TBM_SETTIC, 0, c.low);
        RECT rc;
        ::GetClientRect(track, &rc);
        DibCanvas actual(rc.right, rc.bottom);
        rwtest::PrintClient(track, actual);
        object->CalcChannel();
        RECT ch = object->GetChannel();
        RECT thumb = {};
        ::SendMessageW(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        std::set<int> expected, seen;
        for (int value : c.values)
        {
            int x = c.low == c.high ? int(ch.left)
                                    : int(ch.left + ::MulDiv(value - c.low, ch.right - ch.left - 1, c.high - c.low));
            if (x < thumb.left || x >= thumb.right)
                expected.insert(x);
        }
        if (c.low == c.high)
            expected.insert(ch.right - 1);
        DWORD ticColor = DibCanvas::Raw(TicColor(false), 0);
        for (int x = 0; x < rc.right; ++x)
            if ((x < thumb.left || x >= thumb.right) && actual.Rgb(x, ch.bottom + 2) == ticColor)
                seen.insert(x);
        EXPECT_EQ(expected, seen) << c.low << ".." << c.high << " every " << c.freq;
        ::DestroyWindow(track);
    }
}

// The parent's custom drawing sees every stage when it asks for them.
std::vector<std::pair<DWORD, DWORD_PTR>> g_stages;

LRESULT CALLBACK CustomDrawParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == UINT(NM_CUSTOMDRAW))
    {
        const NMCUSTOMDRAW* draw = reinterpret_cast<NMCUSTOMDRAW*>(lParam);
        g_stages.emplace_back(draw->dwDrawStage, draw->dwItemSpec);
        return draw->dwDrawStage == CDDS_PREPAINT ? CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_P(SkinObjectTrackBarTest, ParentSeesEveryCustomDrawStage)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &CustomDrawParentProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RwTrackBarParent";
    ::RegisterClassW(&wc);
    HWND parent =
        ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 200, 60, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, parent);
    HWND track = ::CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 34, parent, nullptr,
                                   wc.hInstance, nullptr);
    ASSERT_NE(nullptr, TrackBar(track));
    g_stages.clear();
    DibCanvas canvas(200, 34);
    rwtest::PrintClient(track, canvas);
    const std::vector<std::pair<DWORD, DWORD_PTR>> expected = {
        {CDDS_PREPAINT, 0},
        {CDDS_ITEMPREPAINT, TBCD_TICS},
        {CDDS_ITEMPOSTPAINT, TBCD_TICS},
        {CDDS_ITEMPREPAINT, TBCD_CHANNEL},
        {CDDS_ITEMPOSTPAINT, TBCD_CHANNEL},
        {CDDS_ITEMPREPAINT, TBCD_THUMB},
        {CDDS_ITEMPOSTPAINT, TBCD_THUMB},
        {CDDS_POSTPAINT, 0},
    };
    EXPECT_EQ(expected, g_stages);
    ::DestroyWindow(parent);
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinObjectTrackBarTest, ::testing::Values(L"NORMALBLUE_INI", L"NORMALAQUA_INI"));

} // namespace
