// The style menu list: the hot item follows the mouse (none below the last item, reported on every
// such move), the arrow keys wrap, the scroll zones appear only where there is more to see, the
// hover timer scrolls to the end and the wheel scrolls, and pictures load from files only when
// they are pictures.
#include <fstream>

#include "RwTest.h"

#include "DibCanvas.h"
#include "TestPaths.h"
#include "tests/platform/mfc/MfcTestApp.h"

#include "app/shell/StyleMenu.h"

namespace
{
const UINT ID_LIST = 1000;
const int kItemHeight = 25;
const int kListHeight = 100;

// The parent: records the list's notifications with the hot item at that moment.
class CMenuHost : public CWnd
{
  public:
    CStyleMenu m_list;
    std::vector<std::pair<WORD, int>> m_notes;

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (m_list.m_hWnd && (HWND)lParam == m_list.m_hWnd)
        {
            m_notes.push_back({HIWORD(wParam), m_list.GetHotItem()});
            return TRUE;
        }
        return CWnd::OnCommand(wParam, lParam);
    }
};

CString Wide(const std::string& utf8)
{
    wchar_t buffer[MAX_PATH] = {0};
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, buffer, MAX_PATH);
    return buffer;
}

// Writes a 24-bit bitmap file of one colour; answers its Win32 path.
CString WriteBitmapFile(const std::string& folder, int width, int height)
{
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + stride * height;
    std::ofstream out(folder + "/picture.bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    std::string pixels((size_t)(stride * height), '\x40');
    out.write(pixels.data(), (std::streamsize)pixels.size());
    return Wide(rwtest::ToWin32Path(folder + "/picture.bmp"));
}

class StyleMenuTest : public ::testing::Test
{
  protected:
    CMenuHost m_host;
    CStyleMenu& m_list = m_host.m_list;

    void SetUp() override
    {
        TestApp();
        ASSERT_TRUE(
            m_host.CreateEx(0, nullptr, L"host", WS_POPUP | WS_VISIBLE, 0, 0, 200, kListHeight, nullptr, nullptr));
        m_list.m_nItemHeight = kItemHeight;
        ASSERT_TRUE(m_list.Create(CRect(0, 0, 150, kListHeight), &m_host, ID_LIST));
    }
    void TearDown() override
    {
        m_host.DestroyWindow();
    }
    void AddItems(int count)
    {
        for (int i = 0; i < count; ++i)
            m_list.AddItem(L"", L"item", L"", L"");
    }
    void MouseAt(int y)
    {
        m_list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, y));
    }
    bool UpShown()
    {
        return m_list.m_upZone.IsWindowVisible() != FALSE;
    }
    bool DownShown()
    {
        return m_list.m_downZone.IsWindowVisible() != FALSE;
    }
};

TEST_F(StyleMenuTest, TheHotItemFollowsTheMouse)
{
    AddItems(3);
    MouseAt(30);
    MouseAt(40); // the same item: no second notice
    MouseAt(60);
    MouseAt(80); // below the last item: none hot, on every move
    MouseAt(90);
    const std::vector<std::pair<WORD, int>> expected = {{1, 1}, {1, 2}, {1, -1}, {1, -1}};
    EXPECT_EQ(expected, m_host.m_notes);

    // A click reports only while an item is hot.
    m_list.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(10, 90));
    EXPECT_EQ(4u, m_host.m_notes.size());
    MouseAt(5);
    m_list.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(10, 5));
    EXPECT_EQ((std::pair<WORD, int>{0, 0}), m_host.m_notes.back());
}

TEST_F(StyleMenuTest, ArrowKeysWrapAround)
{
    AddItems(3);
    m_list.SelectItem(2);
    m_list.SendMessage(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(0, m_list.GetHotItem());
    m_list.SendMessage(WM_KEYDOWN, VK_UP);
    EXPECT_EQ(2, m_list.GetHotItem());
    m_list.SelectItem(-1);
    m_list.SendMessage(WM_KEYDOWN, VK_UP);
    EXPECT_EQ(2, m_list.GetHotItem());
    EXPECT_EQ(3u, m_host.m_notes.size());
}

TEST_F(StyleMenuTest, ZonesShowOnlyWhereThereIsMoreToSee)
{
    EXPECT_FALSE(UpShown());
    EXPECT_FALSE(DownShown());
    AddItems(4); // exactly as high as the list
    EXPECT_FALSE(UpShown());
    EXPECT_FALSE(DownShown());
    m_list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA));
    EXPECT_EQ(0, m_list.m_nScrollOffset);

    AddItems(2); // 150 pixels of content in 100
    EXPECT_FALSE(UpShown());
    EXPECT_TRUE(DownShown());
    m_list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA));
    EXPECT_EQ(9, m_list.m_nScrollOffset);
    EXPECT_TRUE(UpShown());
    EXPECT_TRUE(DownShown());
    m_list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA));
    EXPECT_EQ(0, m_list.m_nScrollOffset);

    // Selecting the last item scrolls it into view.
    m_list.SelectItem(5);
    EXPECT_EQ(50, m_list.m_nScrollOffset);
    EXPECT_TRUE(UpShown());
    EXPECT_FALSE(DownShown());

    m_list.RemoveAll();
    EXPECT_EQ(0, m_list.m_nContentHeight);
    EXPECT_FALSE(UpShown());
    EXPECT_FALSE(DownShown());
}

TEST_F(StyleMenuTest, HoveringOverTheDownZoneScrollsThreePixelsATickToTheEnd)
{
    AddItems(6);
    m_list.SendMessage(WM_STYLEMENU_SCROLLSTART, CStyleMenu::kDownZoneId);
    EXPECT_TRUE(m_list.m_bScrollingDown);
    int ticks = 0;
    while (DownShown() && ticks < 100)
    {
        m_list.SendMessage(WM_TIMER, 20);
        ++ticks;
        if (DownShown())
            EXPECT_EQ(3 * ticks, m_list.m_nScrollOffset);
    }
    EXPECT_EQ(50, m_list.m_nScrollOffset);
    EXPECT_EQ(17, ticks);
    m_list.SendMessage(WM_STYLEMENU_SCROLLSTOP, CStyleMenu::kDownZoneId);
    m_list.SendMessage(WM_TIMER, 20);
    EXPECT_EQ(50, m_list.m_nScrollOffset);

    m_list.SendMessage(WM_STYLEMENU_SCROLLSTART, CStyleMenu::kUpZoneId);
    m_list.SendMessage(WM_TIMER, 10);
    EXPECT_EQ(47, m_list.m_nScrollOffset);
    m_list.SendMessage(WM_STYLEMENU_SCROLLSTOP, CStyleMenu::kUpZoneId);

    // A click in a zone does nothing.
    m_list.m_upZone.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(47, m_list.m_nScrollOffset);
}

TEST_F(StyleMenuTest, PicturesLoadOnlyFromPictureFiles)
{
    const std::string folder = rwtest::ScratchDir("StyleMenuPictures");
    m_list.AddItem(WriteBitmapFile(folder, 20, 16), L"bitmap", L"two lines", L"");
    {
        std::ofstream text(folder + "/notes.txt");
        text << "not a picture";
    }
    m_list.AddItem(Wide(rwtest::ToWin32Path(folder + "/notes.txt")), L"text", L"", L"");
    m_list.AddItem(L"", L"none", L"", L"");
    ASSERT_EQ(3u, m_list.m_items.size());
    EXPECT_EQ(0, m_list.m_items[0].imageKind);
    EXPECT_EQ(20, m_list.m_items[0].imageWidth);
    EXPECT_EQ(16, m_list.m_items[0].imageHeight);
    EXPECT_EQ(-1, m_list.m_items[1].imageKind);
    EXPECT_EQ(nullptr, m_list.m_items[1].image);
    EXPECT_EQ(-1, m_list.m_items[2].imageKind);
    m_list.UpdateWindow();
}
namespace
{
// The list's fonts as it draws with them.
HFONT ListFont(int weight)
{
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfHeight = -13;
    if (weight)
        lf.lfWeight = weight;
    return ::CreateFontIndirectW(&lf);
}

// How tall a text is when broken into lines of a width, and how tall one of its lines is.
SIZE Measure(HFONT font, const CString& text, int width)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    RECT rect = {0, 0, width, 0};
    ::DrawTextW(dc, text, text.GetLength(), &rect, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return SIZE{rect.bottom, metrics.tmHeight};
}
} // namespace

// A title and a description longer than a line are broken into lines and shown whole: the item
// grows to hold them (and answers the mouse over all of it), and no line is drawn under the title.
TEST_F(StyleMenuTest, LongTextsAreLaidOutInFull)
{
    const CString title = L"Handheld Game Console";
    const CString description = L"Video for handheld game consoles and pocket players";
    m_list.AddItem(L"", title, description, L"");
    const int textWidth = 150 - 4;
    HFONT normal = ListFont(0), bold = ListFont(600);
    const SIZE titleSize = Measure(bold, title, textWidth);
    const SIZE text = Measure(normal, description, textWidth);
    ::DeleteObject(normal);
    ::DeleteObject(bold);
    ASSERT_GE(text.cx, 2 * text.cy) << "the description should need two lines or more";
    const int textBottom = 1 + titleSize.cx + 4 + text.cx;
    ASSERT_LT(textBottom, kListHeight);
    EXPECT_GE(m_list.m_items[0].height, textBottom);

    m_list.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    DibCanvas shown(150, kListHeight);
    HDC dc = ::GetDC(m_list.m_hWnd);
    ::BitBlt(shown.dc(), 0, 0, 150, kListHeight, dc, 0, 0, SRCCOPY);
    ::ReleaseDC(m_list.m_hWnd, dc);
    // The last line of the description has ink.
    int ink = 0;
    for (int y = textBottom - text.cy; y < textBottom; ++y)
        for (int x = 0; x < textWidth; ++x)
            ink += shown.At(x, y) != m_list.m_crBackground;
    EXPECT_GT(ink, 10);
    // Nothing drawn in black: the texts have their own colour, and the title no line under it.
    int black = 0;
    for (int y = 0; y < kListHeight; ++y)
        for (int x = 0; x < 150; ++x)
            black += shown.At(x, y) == RGB(0, 0, 0);
    EXPECT_EQ(0, black);

    MouseAt(textBottom - 2);
    EXPECT_EQ(0, m_list.GetHotItem());
}
} // namespace
