// The profile picker: a profile is chosen only by a click or Enter on it (Escape chooses nothing
// and keeps the starting pair), hovering over a category shows its profiles, crossing the empty
// area below the categories keeps the last category, the wheel and the keys reach the list under
// the mouse, and WM_QUIT ends the picker and stays in the queue.
#include "RwTest.h"

#include "tests/platform/mfc/MfcTestApp.h"

#include "app/shell/ParametersWnd.h"

namespace
{
const int kCategoryItem = 25;
const int kProfileItem = 48;

CategoryArray MakeCategories()
{
    CategoryArray categories;
    for (int c = 0; c < 3; ++c)
    {
        LeftShowItem category;
        category.m_name.Format(L"category%d", c);
        for (int p = 0; p < 8; ++p)
        {
            ConvertSetting profile;
            profile.m_name.Format(L"profile%d.%d", c, p);
            profile.m_extension = L"mp4";
            category.m_profiles.Add(profile);
        }
        categories.Add(category);
    }
    return categories;
}

class ParametersWndTest : public ::testing::Test
{
  protected:
    CategoryArray m_categories = MakeCategories();
    ParametersWnd m_picker{m_categories};

    void SetUp() override
    {
        TestApp();
        m_picker.m_nCategory = 2;
        m_picker.m_nProfile = 3;
    }
    // Queues the user's actions; they run inside the picker's own loop.
    void Script(std::function<void(ParametersWnd&)> script)
    {
        m_picker.m_onOpened = script;
    }
    static void Post(CWnd& window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        ::PostMessageW(window.m_hWnd, message, wParam, lParam);
    }
    static void MoveOver(CStyleMenu& list, int item, int itemHeight)
    {
        Post(list, WM_MOUSEMOVE, 0, MAKELPARAM(20, item * itemHeight + 5));
    }
};

TEST_F(ParametersWndTest, EscapeEndsThePickerWithoutAChoice)
{
    Script([](ParametersWnd& picker) {
        EXPECT_EQ(picker.m_hWnd, ::GetFocus());
        Post(picker, WM_KEYDOWN, VK_ESCAPE);
    });
    ASSERT_EQ(0, m_picker.Popup(10, 10, 400));
    EXPECT_FALSE(m_picker.WasChosen());
    EXPECT_EQ(2, m_picker.m_nCategory);
    EXPECT_EQ(3, m_picker.m_nProfile);
    EXPECT_EQ(nullptr, m_picker.m_hWnd);
}

TEST_F(ParametersWndTest, HoveringACategoryShowsItsProfilesAndAClickChooses)
{
    Script([](ParametersWnd& picker) {
        MoveOver(picker.m_categoryList, 1, kCategoryItem);
        MoveOver(picker.m_profileList, 4, kProfileItem);
        Post(picker.m_profileList, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 4 * kProfileItem + 5));
    });
    ASSERT_EQ(0, m_picker.Popup(10, 10, 400));
    EXPECT_TRUE(m_picker.WasChosen());
    EXPECT_EQ(1, m_picker.m_nCategory);
    EXPECT_EQ(4, m_picker.m_nProfile);
    ASSERT_EQ(8u, m_picker.m_profileList.m_items.size());
    EXPECT_EQ("profile1.4(*.mp4)", Narrow(m_picker.m_profileList.m_items[4].title));
}

TEST_F(ParametersWndTest, CrossingTheEmptyAreaKeepsTheLastCategory)
{
    Script([](ParametersWnd& picker) {
        MoveOver(picker.m_categoryList, 0, kCategoryItem);
        MoveOver(picker.m_categoryList, 7, kCategoryItem); // below the three categories
        MoveOver(picker.m_profileList, 1, kProfileItem);
        Post(picker.m_profileList, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, kProfileItem + 5));
    });
    ASSERT_EQ(0, m_picker.Popup(10, 10, 400));
    EXPECT_TRUE(m_picker.WasChosen());
    EXPECT_EQ(0, m_picker.m_nCategory);
    EXPECT_EQ(1, m_picker.m_nProfile);
}

TEST_F(ParametersWndTest, KeysReachTheListUnderTheMouseAndEnterChooses)
{
    Script([](ParametersWnd& picker) {
        // The category list has the keys first: down from category 2 wraps to 0.
        Post(picker, WM_KEYDOWN, VK_DOWN);
        Post(picker, WM_KEYDOWN, VK_DOWN);
        MoveOver(picker.m_profileList, 5, kProfileItem);
        Post(picker, WM_KEYDOWN, VK_DOWN);
        Post(picker, WM_KEYDOWN, VK_RETURN);
    });
    ASSERT_EQ(0, m_picker.Popup(10, 10, 400));
    EXPECT_TRUE(m_picker.WasChosen());
    EXPECT_EQ(1, m_picker.m_nCategory);
    EXPECT_EQ(6, m_picker.m_nProfile);
}

TEST_F(ParametersWndTest, TheWheelScrollsTheListUnderTheMouse)
{
    Script([](ParametersWnd& picker) {
        MoveOver(picker.m_profileList, 0, kProfileItem);
        Post(picker, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA));
        Post(picker, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA));
        Post(picker, WM_KEYDOWN, VK_ESCAPE);
    });
    ASSERT_EQ(0, m_picker.Popup(10, 10, 400));
    EXPECT_EQ(18, m_picker.m_profileList.m_nScrollOffset);
    EXPECT_EQ(0, m_picker.m_categoryList.m_nScrollOffset);
    EXPECT_FALSE(m_picker.WasChosen());
}

TEST_F(ParametersWndTest, QuitEndsThePickerAndStaysQueued)
{
    Script([](ParametersWnd&) { ::PostQuitMessage(7); });
    ASSERT_EQ(0, m_picker.Popup(10, 10, 400));
    EXPECT_TRUE(m_picker.QuitReceived());
    EXPECT_FALSE(m_picker.WasChosen());
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
}
} // namespace
