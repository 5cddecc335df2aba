#include "DibCanvas.h"
#include "RwTest.h"
#include "SkinGallery.h"
#include "SkinGalleryFixture.h"
#include "uilib/foundation/WinThemeWrapper.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinObjectProgress.h"
#include "uilib/skin/SkinSchemaNames.h"

#include <algorithm>

namespace
{

const int kPropChunkSize = 2411;
const int kPropSpaceSize = 2412;

// The gallery's progress bars in a loaded skin: each prints the skin's bar and chunks where the
// test puts them from its range and position, or from the marquee's offset.
class SkinObjectProgressTest : public rwtest::SkinGalleryFixture
{
  protected:
    CWVPSkinObjectProgress* Bar(HWND hwnd)
    {
        return Object<CWVPSkinObjectProgress>(hwnd);
    }
    CWVPSkinManagerClass* Skin()
    {
        return manager.GetSkinClass(L"PROGRESS");
    }
    static bool IsVertical(HWND bar)
    {
        return (::GetWindowLongW(bar, GWL_STYLE) & PBS_VERTICAL) != 0;
    }
    int ChunkSize(HWND bar, int defaultSize)
    {
        return Skin()->GetThemeInt(IsVertical(bar) ? 2 : 1, 0, kPropChunkSize, defaultSize);
    }
    int SpaceSize(HWND bar)
    {
        return Skin()->GetThemeInt(IsVertical(bar) ? 2 : 1, 0, kPropSpaceSize, 2);
    }
    RECT Content(HWND bar)
    {
        RECT rc;
        ::GetClientRect(bar, &rc);
        RECT m = Skin()->GetThemeRect(IsVertical(bar) ? 2 : 1, 0, kSkinPropSizingMargins);
        return RECT{rc.left + m.left, rc.top + m.top, rc.right - m.right, rc.bottom - m.bottom};
    }
    // The bar part over the client area and the chunk part over each stretch [from, to) of the
    // content along the bar, counted from its start (the bottom of vertical bars).
    void DrawExpected(HWND bar, DibCanvas& canvas, const std::vector<std::pair<int, int>>& stretches)
    {
        RECT rc;
        ::GetClientRect(bar, &rc);
        bool vertical = IsVertical(bar);
        canvas.Fill(manager.GetMetrics()->GetColor(COLOR_BTNFACE));
        Skin()->DrawThemeBackground(canvas.dc(), vertical ? 2 : 1, 0, &rc);
        RECT content = Content(bar);
        for (const auto& s : stretches)
        {
            RECT chunk = vertical
                             ? RECT{content.left, content.bottom - s.second, content.right, content.bottom - s.first}
                             : RECT{content.left + s.first, content.top, content.left + s.second, content.bottom};
            Skin()->DrawThemeBackground(canvas.dc(), vertical ? 4 : 3, 0, &chunk);
        }
        ::GdiFlush();
    }
    int Differences(HWND bar, const std::vector<std::pair<int, int>>& stretches)
    {
        RECT rc;
        ::GetClientRect(bar, &rc);
        DibCanvas actual(rc.right, rc.bottom, RGB(255, 0, 255)), expected(rc.right, rc.bottom);
        rwtest::PrintClient(bar, actual);
        DrawExpected(bar, expected, stretches);
        return rwtest::RegionDifferences(actual, rc, expected);
    }
    // The chunks of a filled length: chunk, gap, chunk ... the one reaching the end cut short.
    std::vector<std::pair<int, int>> Chunks(HWND bar, int filled)
    {
        RECT rc;
        ::GetClientRect(bar, &rc);
        RECT content = Content(bar);
        bool vertical = IsVertical(bar);
        int length = vertical ? content.bottom - content.top : content.right - content.left;
        int chunk = ChunkSize(bar, 2 * (vertical ? rc.right : rc.bottom) / 3), gap = SpaceSize(bar);
        std::vector<std::pair<int, int>> stretches;
        for (int from = 0; from < filled; from += chunk + gap)
        {
            int to = from + chunk;
            if (to >= length)
            {
                stretches.emplace_back(from, length - 1);
                break;
            }
            stretches.emplace_back(from, to);
        }
        return stretches;
    }
    HWND CreateBar(DWORD style, int cx, int cy)
    {
        return ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | style, 8, 380, cx, cy,
                                 gallery->hwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    }
};

TEST_P(SkinObjectProgressTest, BarsPrintTheirChunks)
{
    for (int id : {rwtest::kGalleryProgress, rwtest::kGalleryVertProgress})
    {
        HWND bar = gallery->Item(id);
        ASSERT_NE(nullptr, Bar(bar)) << id;
        RECT content = Content(bar);
        int length = IsVertical(bar) ? content.bottom - content.top : content.right - content.left;
        int pos = int(::SendMessageW(bar, PBM_GETPOS, 0, 0));
        EXPECT_EQ(0, Differences(bar, Chunks(bar, ::MulDiv(length, pos, 100)))) << id;
    }
}

// Half of a 100-pixel content is ceil(50 / (chunk + gap)) chunks; a full bar stops one pixel short
// of its end; a skin without chunk and gap sizes of its own still fills by the defaults.
TEST_P(SkinObjectProgressTest, ChunksFollowPositionAndRange)
{
    RECT m = Skin()->GetThemeRect(1, 0, kSkinPropSizingMargins);
    HWND bar = CreateBar(0, 100 + m.left + m.right, 18);
    ASSERT_NE(nullptr, Bar(bar));
    ::SendMessageW(bar, PBM_SETRANGE32, 0, 100);
    ::SendMessageW(bar, PBM_SETPOS, 50, 0);
    std::vector<std::pair<int, int>> half = Chunks(bar, 50);
    EXPECT_EQ(size_t((50 + ChunkSize(bar, 12) + SpaceSize(bar) - 1) / (ChunkSize(bar, 12) + SpaceSize(bar))),
              half.size());
    EXPECT_EQ(0, Differences(bar, half));
    for (int pos : {0, 100, 130})
    {
        ::SendMessageW(bar, PBM_SETPOS, pos, 0);
        int filled = std::min(100, int(::SendMessageW(bar, PBM_GETPOS, 0, 0)));
        EXPECT_EQ(0, Differences(bar, Chunks(bar, filled))) << pos;
    }
    ::SendMessageW(bar, PBM_SETRANGE32, 40, 40); // an empty range draws no chunk
    EXPECT_EQ(0, Differences(bar, {}));
    ::DestroyWindow(bar);
}

// A marquee moves by whole chunks: by hand with PBM_STEPIT, on its own with a timer that
// PBM_SETMARQUEE starts and stops.
TEST_P(SkinObjectProgressTest, MarqueeMovesByChunks)
{
    HWND bar = gallery->Item(rwtest::kGalleryMarquee);
    CWVPSkinObjectProgress* object = Bar(bar);
    ASSERT_NE(nullptr, object);
    RECT rc;
    ::GetClientRect(bar, &rc);
    int step = ChunkSize(bar, (2 * rc.bottom - 12) / 3) + SpaceSize(bar);
    EXPECT_EQ(3 * step, object->GetMarqueeOffset());
    RECT content = Content(bar);
    int chunk = ChunkSize(bar, 2 * (content.bottom - content.top) / 3);
    std::vector<std::pair<int, int>> chunks;
    int x = object->GetMarqueeOffset();
    int width = content.right - content.left;
    for (int i = 0; i < 5; ++i, x += chunk + SpaceSize(bar))
    {
        if (x >= width)
            x = 0;
        chunks.emplace_back(x, std::min(x + chunk, width));
    }
    EXPECT_EQ(0, Differences(bar, chunks));

    EXPECT_EQ(1, ::SendMessageW(bar, PBM_STEPIT, 0, 0));
    EXPECT_EQ(4 * step, object->GetMarqueeOffset());

    EXPECT_EQ(1, ::SendMessageW(bar, PBM_SETMARQUEE, TRUE, 30));
    EXPECT_EQ(30, object->GetMarqueeInterval());
    EXPECT_EQ(0, object->GetMarqueeOffset());
    EXPECT_TRUE(rwtest::SkinGallery::PumpUntil([&] { return object->GetMarqueeOffset() > 0; }));
    EXPECT_EQ(0, object->GetMarqueeOffset() % (2 * step)); // a fast timer moves two chunks a tick

    EXPECT_EQ(1, ::SendMessageW(bar, PBM_SETMARQUEE, TRUE, 0));
    EXPECT_EQ(0, object->GetMarqueeInterval());
    EXPECT_FALSE(::KillTimer(bar, CWVPSkinObjectProgress::kMarqueeTimerId)); // stopped
}

// Skinned bars have no static edge; without a skin the classic look gives it back.
TEST_P(SkinObjectProgressTest, StaticEdgeFollowsTheSkin)
{
    HWND fresh = CreateBar(0, 100, 18);
    EXPECT_EQ(0, ::GetWindowLongW(fresh, GWL_EXSTYLE) & WS_EX_STATICEDGE);
    EXPECT_FALSE(manager.LoadSkin(nullptr, L"NO_SUCH_SKIN_INI"));
    bool classic = !CWVPWinThemeWrapper().IsThemeActive();
    EXPECT_EQ(classic, (::GetWindowLongW(fresh, GWL_EXSTYLE) & WS_EX_STATICEDGE) != 0);
    ASSERT_TRUE(manager.LoadSkin(nullptr, GetParam()));
    EXPECT_EQ(0, ::GetWindowLongW(fresh, GWL_EXSTYLE) & WS_EX_STATICEDGE);
    ::DestroyWindow(fresh);
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinObjectProgressTest, ::testing::Values(L"NORMALBLUE_INI", L"NORMALAQUA_INI"));

} // namespace
