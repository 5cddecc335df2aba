#include "RwTest.h"
#include "uilib/commandbars/HookManager.h"
#include "uilib/commandbars/ShadowManager.h"

#include <vector>

namespace
{
using CShadowWnd = CWVPShadowManager::CShadowWnd;

// The shadow pixels of one side, read back by top-down coordinates.
struct ShadowPixels
{
    int cx, cy;
    std::vector<DWORD> bits;
    ShadowPixels(int side, int width, int height, COLORREF clr, int options)
        : cx(width), cy(height), bits((size_t)width * height, 0xDEADBEEF)
    {
        CWVPShadowManager::FillShadowPixels(bits.data(), cx, cy, side, clr, options);
    }
    DWORD At(int x, int y) const
    {
        return bits[(size_t)(cy - 1 - y) * cx + x];
    }
};

// A popup window that stands for a popup bar.
class Popup : public CWnd
{
  public:
    BOOL Create(const CRect& rc, DWORD exStyle = 0)
    {
        return CreateEx(exStyle, AfxRegisterWndClass(0), L"popup", WS_POPUP, rc, nullptr, 0);
    }
};

CRect WindowRect(const CWnd* wnd)
{
    CRect rc;
    ::GetWindowRect(wnd->GetSafeHwnd(), &rc);
    return rc;
}

std::vector<CShadowWnd*> ShadowsOf(const CWVPShadowManager& manager, const CWnd* owner)
{
    std::vector<CShadowWnd*> shadows;
    for (POSITION pos = manager.GetShadows().GetHeadPosition(); pos;)
    {
        CShadowWnd* shadow = manager.GetShadows().GetNext(pos);
        if (shadow->GetShadowOwner() == owner)
            shadows.push_back(shadow);
    }
    return shadows;
}

CShadowWnd* Side(const std::vector<CShadowWnd*>& shadows, int side)
{
    for (CShadowWnd* shadow : shadows)
    {
        if (shadow->GetSide() == side)
            return shadow;
    }
    return nullptr;
}

BOOL DropShadowSetting()
{
    BOOL on = FALSE;
    ::SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &on, 0);
    return on;
}

class ShadowManagerTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_manager = new CWVPShadowManager();
        m_dropShadow = DropShadowSetting();
    }
    void TearDown() override
    {
        m_popup.DestroyWindow();
        m_second.DestroyWindow();
        m_manager->InternalRelease();
        ::SystemParametersInfoW(SPI_SETDROPSHADOW, 0, reinterpret_cast<PVOID>(INT_PTR(m_dropShadow)), 0);
    }
    CWVPShadowManager* m_manager = nullptr;
    BOOL m_dropShadow = FALSE;
    Popup m_popup, m_second;
};
} // namespace

// Alpha and colour of every kind of shadow pixel: the corner, the right strip's fade-in block and
// its columns, the bottom strip's end blocks and middle rows, a strip too short for a middle, and
// the halved opacity of forced shadows. Colours are the shadow colour times the factor, truncated.
TEST(ShadowPixelsTest, AlphaAndColourOfEachPart)
{
    const COLORREF clr = RGB(200, 100, 40);
    const struct
    {
        int side, cx, cy, x, y, options;
        DWORD alpha;
        COLORREF colour;
    } cases[] = {
        {CWVPShadowManager::ShadowCorner, 1, 1, 0, 0, 0, 120, RGB(200, 100, 40)},
        {CWVPShadowManager::ShadowCorner, 1, 1, 0, 0, 1, 60, RGB(200, 100, 40)},
        // Right strip: column i counted from the outer edge, row n from the top.
        {CWVPShadowManager::ShadowRight, 4, 10, 0, 4, 0, 120, RGB(200, 100, 40)}, // i 4, below the block
        {CWVPShadowManager::ShadowRight, 4, 10, 3, 9, 0, 30, RGB(50, 25, 10)},    // i 1
        {CWVPShadowManager::ShadowRight, 4, 10, 2, 1, 0, 24, RGB(40, 20, 8)},     // i 2, n 2: 4/20
        {CWVPShadowManager::ShadowRight, 4, 10, 0, 3, 0, 96, RGB(160, 80, 32)},   // i 4, n 4: 16/20
        {CWVPShadowManager::ShadowRight, 4, 10, 3, 0, 0, 6, RGB(10, 5, 2)},       // i 1, n 1
        {CWVPShadowManager::ShadowRight, 4, 10, 1, 6, 1, 45, RGB(150, 75, 30)},   // i 3, forced
        // Bottom strip: row n counted from the outer (bottom) edge.
        {CWVPShadowManager::ShadowBottom, 12, 4, 6, 0, 0, 120, RGB(200, 100, 40)}, // middle, n 4
        {CWVPShadowManager::ShadowBottom, 12, 4, 6, 3, 0, 30, RGB(50, 25, 10)},    // middle, n 1
        {CWVPShadowManager::ShadowBottom, 12, 4, 0, 0, 0, 24, RGB(40, 20, 8)},     // left j 1, n 4
        {CWVPShadowManager::ShadowBottom, 12, 4, 3, 2, 0, 48, RGB(80, 40, 16)},    // left j 4, n 2
        {CWVPShadowManager::ShadowBottom, 12, 4, 11, 0, 0, 24, RGB(40, 20, 8)},    // right j 1, n 4
        {CWVPShadowManager::ShadowBottom, 12, 4, 9, 1, 0, 54, RGB(90, 45, 18)},    // right j 3, n 3
        {CWVPShadowManager::ShadowBottom, 12, 4, 6, 0, 1, 60, RGB(200, 100, 40)},  // middle, forced
        // Six wide: the end blocks overlap, the right one covering columns 2 to 5.
        {CWVPShadowManager::ShadowBottom, 6, 4, 2, 0, 0, 96, RGB(160, 80, 32)}, // right j 4, n 4
        {CWVPShadowManager::ShadowBottom, 6, 4, 1, 0, 0, 48, RGB(80, 40, 16)},  // left j 2, n 4
    };
    for (const auto& c : cases)
    {
        const ShadowPixels pixels(c.side, c.cx, c.cy, clr, c.options);
        const DWORD pixel = pixels.At(c.x, c.y);
        SCOPED_TRACE(::testing::Message() << "side " << c.side << " " << c.cx << "x" << c.cy << " at " << c.x << ","
                                          << c.y << " options " << c.options);
        EXPECT_EQ(c.alpha, pixel >> 24);
        EXPECT_EQ((DWORD)GetRValue(c.colour), (pixel >> 16) & 0xFF);
        EXPECT_EQ((DWORD)GetGValue(c.colour), (pixel >> 8) & 0xFF);
        EXPECT_EQ((DWORD)GetBValue(c.colour), pixel & 0xFF);
    }
    // Every alpha of a forced shadow is half the normal one.
    for (int side : {0, 1, 2})
    {
        const int cx = side == 0 ? 4 : side == 1 ? 20 : 1, cy = side == 0 ? 20 : side == 1 ? 4 : 1;
        const ShadowPixels normal(side, cx, cy, 0, 0), forced(side, cx, cy, 0, 1);
        for (size_t i = 0; i < normal.bits.size(); ++i)
            ASSERT_EQ(normal.bits[i] >> 24, 2 * (forced.bits[i] >> 24)) << side << " " << i;
    }
}

// Without the system's drop-shadow setting and without forcing, a popup gets no shadow; forced, a
// rectangular popup gets a bottom and a right shadow beside it, mouse-transparent and on top.
TEST_F(ShadowManagerTest, PopupsGetTheirShadows)
{
    ASSERT_TRUE(m_manager->IsAlphaShadow()) << "a 32-bit display with layered windows";
    ::SystemParametersInfoW(SPI_SETDROPSHADOW, 0, reinterpret_cast<PVOID>(INT_PTR(FALSE)), 0);
    ASSERT_TRUE(m_popup.Create(CRect(100, 100, 200, 300)));
    m_popup.ShowWindow(SW_SHOWNA);
    m_manager->SetShadow(&m_popup, CRect(0, 0, 0, 0));
    EXPECT_TRUE(m_manager->GetShadows().IsEmpty());

    // The system's setting alone gives shadows too.
    if (::SystemParametersInfoW(SPI_SETDROPSHADOW, 0, reinterpret_cast<PVOID>(INT_PTR(TRUE)), 0) && DropShadowSetting())
    {
        m_manager->SetShadow(&m_popup, CRect(0, 0, 0, 0));
        EXPECT_EQ(2, m_manager->GetShadows().GetCount());
        m_manager->RemoveShadows(&m_popup);
        ::SystemParametersInfoW(SPI_SETDROPSHADOW, 0, reinterpret_cast<PVOID>(INT_PTR(FALSE)), 0);
    }
    EXPECT_TRUE(m_manager->GetShadows().IsEmpty());

    m_manager->SetShadowOptions(CWVPShadowManager::ShadowOptionForce);
    m_manager->SetShadow(&m_popup, CRect(0, 0, 0, 0));
    const std::vector<CShadowWnd*> shadows = ShadowsOf(*m_manager, &m_popup);
    ASSERT_EQ(2u, shadows.size());
    CShadowWnd* bottom = Side(shadows, CWVPShadowManager::ShadowBottom);
    CShadowWnd* right = Side(shadows, CWVPShadowManager::ShadowRight);
    ASSERT_TRUE(bottom && right);
    EXPECT_EQ(CRect(104, 300, 204, 304), WindowRect(bottom));
    EXPECT_EQ(CRect(200, 104, 204, 300), WindowRect(right));
    for (CShadowWnd* shadow : shadows)
    {
        EXPECT_TRUE(shadow->IsWindowVisible());
        EXPECT_TRUE(shadow->GetExStyle() & WS_EX_LAYERED);
        EXPECT_TRUE(shadow->GetExStyle() & WS_EX_TOOLWINDOW);
        EXPECT_EQ(HTTRANSPARENT, shadow->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(150, 301)));
        EXPECT_FALSE(shadow->IsControlShadow());
        EXPECT_FALSE(shadow->HasRegion());
    }
    ASSERT_NE(nullptr, WVPHookManager()->Lookup(m_popup.GetSafeHwnd()));
    EXPECT_EQ(2, WVPHookManager()->Lookup(m_popup.GetSafeHwnd())->GetSize());

    // A popup with a non-rectangular region also gets the corner pixel.
    ASSERT_TRUE(m_second.Create(CRect(300, 100, 400, 200)));
    HRGN round = ::CreateRoundRectRgn(0, 0, 100, 100, 10, 10);
    ::SetWindowRgn(m_second.GetSafeHwnd(), round, FALSE);
    m_manager->SetShadow(&m_second, CRect(0, 0, 0, 0));
    const std::vector<CShadowWnd*> rounded = ShadowsOf(*m_manager, &m_second);
    ASSERT_EQ(3u, rounded.size());
    ASSERT_NE(nullptr, Side(rounded, CWVPShadowManager::ShadowCorner));
    EXPECT_EQ(CRect(399, 199, 400, 200), WindowRect(Side(rounded, CWVPShadowManager::ShadowCorner)));

    m_manager->RemoveShadows(&m_second);
    EXPECT_EQ(2, m_manager->GetShadows().GetCount());
    EXPECT_EQ(nullptr, WVPHookManager()->Lookup(m_second.GetSafeHwnd()));
}

// A manager that counts its own destruction.
int g_managersDeleted = 0;
class CountedManager : public CWVPShadowManager
{
  public:
    ~CountedManager() override
    {
        ++g_managersDeleted;
    }
};

// Shadows follow their popup: hidden and shown with it (without activation), destroyed with it.
// The manager outlives its owner's reference while shadows still hold theirs.
TEST_F(ShadowManagerTest, ShadowsFollowThePopupToItsEnd)
{
    CWVPShadowManager* manager = new CountedManager();
    manager->SetShadowOptions(CWVPShadowManager::ShadowOptionForce);
    ASSERT_TRUE(m_popup.Create(CRect(50, 50, 150, 120)));
    m_popup.ShowWindow(SW_SHOWNA);
    manager->SetShadow(&m_popup, CRect(0, 0, 0, 0));
    const std::vector<CShadowWnd*> shadows = ShadowsOf(*manager, &m_popup);
    ASSERT_EQ(2u, shadows.size());
    EXPECT_EQ(3, manager->m_dwRef);
    std::vector<HWND> windows;
    for (CShadowWnd* shadow : shadows)
        windows.push_back(shadow->GetSafeHwnd());

    m_popup.ShowWindow(SW_HIDE);
    for (HWND window : windows)
        EXPECT_FALSE(::IsWindowVisible(window));
    HWND active = ::GetActiveWindow();
    m_popup.ShowWindow(SW_SHOWNA);
    for (HWND window : windows)
        EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(active, ::GetActiveWindow());

    // The paint manager lets go of the shadow manager first; destroying the popup then destroys
    // its shadows and, with the last of them, the manager.
    g_managersDeleted = 0;
    manager->InternalRelease();
    EXPECT_EQ(0, g_managersDeleted);
    ASSERT_TRUE(m_popup.DestroyWindow());
    for (HWND window : windows)
        EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(1, g_managersDeleted);

    // Two shadowed popups, one of them destroyed.
    ASSERT_TRUE(m_popup.Create(CRect(50, 50, 150, 120)));
    ASSERT_TRUE(m_second.Create(CRect(160, 50, 260, 120)));
    m_manager->SetShadowOptions(CWVPShadowManager::ShadowOptionForce);
    m_manager->SetShadow(&m_popup, CRect(0, 0, 0, 0));
    m_manager->SetShadow(&m_second, CRect(0, 0, 0, 0));
    EXPECT_EQ(5, m_manager->m_dwRef);
    ASSERT_TRUE(m_second.DestroyWindow());
    EXPECT_EQ(3, m_manager->m_dwRef);
    EXPECT_EQ(2, m_manager->GetShadows().GetCount());
    EXPECT_EQ(2u, ShadowsOf(*m_manager, &m_popup).size());
    EXPECT_EQ(nullptr, WVPHookManager()->Lookup(m_second.GetSafeHwnd()));
}

// The control that opened a popup is cut out of its shadows; control shadows need both option
// bits and keep their place when the popup grows, while the popup's own shadows follow it.
TEST_F(ShadowManagerTest, ExcludedControlsAndResizing)
{
    ASSERT_TRUE(m_popup.Create(CRect(100, 100, 200, 300)));
    m_manager->SetShadowOptions(CWVPShadowManager::ShadowOptionForce);
    m_manager->SetControlShadow(CRect(100, 80, 160, 100), &m_popup);
    EXPECT_TRUE(m_manager->GetShadows().IsEmpty());

    m_manager->SetShadowOptions(CWVPShadowManager::ShadowOptionControl);
    // The control lies across the right shadow's upper part.
    m_manager->SetShadow(&m_popup, CRect(195, 90, 260, 150));
    CShadowWnd* right = Side(ShadowsOf(*m_manager, &m_popup), CWVPShadowManager::ShadowRight);
    CShadowWnd* bottom = Side(ShadowsOf(*m_manager, &m_popup), CWVPShadowManager::ShadowBottom);
    ASSERT_TRUE(right && bottom);
    EXPECT_TRUE(right->HasRegion());
    EXPECT_FALSE(bottom->HasRegion());
    CRgn region;
    region.CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(SIMPLEREGION, ::GetWindowRgn(right->GetSafeHwnd(), static_cast<HRGN>(region.GetSafeHandle())));
    CRect box;
    ::GetRgnBox(static_cast<HRGN>(region.GetSafeHandle()), &box);
    EXPECT_EQ(CRect(0, 46, 4, 196), box); // the strip below the control's bottom at 150

    m_manager->SetControlShadow(CRect(100, 80, 160, 100), &m_popup);
    std::vector<CShadowWnd*> controls;
    for (CShadowWnd* shadow : ShadowsOf(*m_manager, &m_popup))
    {
        if (shadow->IsControlShadow())
            controls.push_back(shadow);
    }
    ASSERT_EQ(2u, controls.size());
    const CRect controlBottom = WindowRect(Side(controls, CWVPShadowManager::ShadowBottom));
    EXPECT_EQ(CRect(104, 100, 164, 104), controlBottom);

    m_manager->OffsetShadows(&m_popup, 10, 20);
    EXPECT_EQ(CRect(200 + 10, 104, 204 + 10, 300 + 20), WindowRect(right));
    EXPECT_EQ(CRect(104, 300 + 20, 204 + 10, 304 + 20), WindowRect(bottom));
    EXPECT_FALSE(right->HasRegion());
    EXPECT_EQ(controlBottom, WindowRect(Side(controls, CWVPShadowManager::ShadowBottom)));
}

// A right-to-left popup grows to the left: its bottom shadow keeps its right end and its right
// shadow stays where it is.
TEST_F(ShadowManagerTest, RightToLeftPopupsGrowToTheLeft)
{
    m_manager->SetShadowOptions(CWVPShadowManager::ShadowOptionForce);
    ASSERT_TRUE(m_popup.Create(CRect(100, 100, 200, 300), WS_EX_LAYOUTRTL));
    m_manager->SetShadow(&m_popup, CRect(0, 0, 0, 0));
    CShadowWnd* right = Side(ShadowsOf(*m_manager, &m_popup), CWVPShadowManager::ShadowRight);
    CShadowWnd* bottom = Side(ShadowsOf(*m_manager, &m_popup), CWVPShadowManager::ShadowBottom);
    ASSERT_TRUE(right && bottom);
    m_manager->OffsetShadows(&m_popup, 10, 20);
    EXPECT_EQ(CRect(200, 104, 204, 320), WindowRect(right));
    EXPECT_EQ(CRect(94, 320, 204, 324), WindowRect(bottom));
}

// A cascaded popup whose right shadow starts on the bottom shadow of another lengthens upwards so
// that the two read as one shadow.
TEST_F(ShadowManagerTest, CascadedShadowsMerge)
{
    m_manager->SetShadowOptions(CWVPShadowManager::ShadowOptionForce);
    ASSERT_TRUE(m_popup.Create(CRect(100, 100, 200, 300)));
    m_manager->SetShadow(&m_popup, CRect(0, 0, 0, 0));
    // Its bottom shadow is (104, 300)-(204, 304); the second popup's right shadow starts at 303.
    ASSERT_TRUE(m_second.Create(CRect(50, 299, 150, 400)));
    m_manager->SetShadow(&m_second, CRect(0, 0, 0, 0));
    CShadowWnd* right = Side(ShadowsOf(*m_manager, &m_second), CWVPShadowManager::ShadowRight);
    ASSERT_NE(nullptr, right);
    EXPECT_EQ(CRect(150, 303 - 8, 154, 400), WindowRect(right));
}
