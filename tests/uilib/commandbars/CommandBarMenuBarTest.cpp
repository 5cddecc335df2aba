// The menu bar: built from a menu resource in a frame, it takes the frame's menu away.
#include "RwTest.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/MenuBar.h"

#include <string>
#include <vector>

namespace
{
const UINT IDR_MAINMENU = 4101;

std::string Narrow(const CString& text)
{
    std::string out;
    for (int i = 0; i < text.GetLength(); ++i)
        out += char(text[i]);
    return out;
}

// A frame with the test menu, its manager and a menu bar of the manager (not docked).
class MenuBarFrameTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_frame = new CFrameWnd;
        ASSERT_TRUE(m_frame->Create(nullptr, L"frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 600, 400), nullptr,
                                    MAKEINTRESOURCEW(IDR_MAINMENU)));
        m_frameMenu = ::GetMenu(m_frame->m_hWnd);
        ASSERT_NE(nullptr, m_frameMenu);
        m_manager = new CWVPCommandBarManager;
        ASSERT_TRUE(m_manager->Create(m_frame));
        m_bar = static_cast<CWVPMenuBar*>(RUNTIME_CLASS(CWVPMenuBar)->CreateObject());
        m_bar->SetTitle(L"Menu Bar");
        m_manager->AddCommandBar(m_bar);
    }
    void TearDown() override
    {
        m_manager->InternalRelease();
        m_frame->DestroyWindow();
    }
    CFrameWnd* m_frame = nullptr;
    HMENU m_frameMenu = nullptr;
    CWVPCommandBarManager* m_manager = nullptr;
    CWVPMenuBar* m_bar = nullptr;
};
} // namespace

// The menu resource gives the bar's controls (types, ids, captions, groups, shortcut texts), the
// frame loses its menu to the bar, and a missing resource loads nothing.
TEST_F(MenuBarFrameTest, AMenuResourceBecomesTheBar)
{
    EXPECT_EQ(wvpBarTypeMenuBar, m_bar->GetType());
    EXPECT_FALSE(m_bar->LoadMenuBar(0xFFF0));
    EXPECT_EQ(m_frameMenu, ::GetMenu(m_frame->m_hWnd)) << "a failed load took the frame's menu";

    ASSERT_TRUE(m_bar->LoadMenuBar(IDR_MAINMENU));
    EXPECT_EQ(nullptr, ::GetMenu(m_frame->m_hWnd));
    EXPECT_EQ(m_frameMenu, m_bar->GetDefaultMenu());
    EXPECT_EQ(IDR_MAINMENU, m_bar->GetResourceId());
    EXPECT_EQ(IDR_MAINMENU, m_bar->GetCurrentMenuId());

    struct Item
    {
        int type;
        int id;
        const char* caption;
        const char* shortcut;
        BOOL beginGroup;
    };
    auto check = [](CWVPControls* controls, const std::vector<Item>& items) {
        std::vector<Item> got;
        for (int i = 0; i < controls->GetCount(); ++i)
        {
            CWVPControl* c = controls->GetAt(i);
            if (c->IsTemporary())
                continue;
            ASSERT_LT(got.size(), items.size());
            const Item& want = items[got.size()];
            SCOPED_TRACE(want.caption);
            EXPECT_EQ(want.type, c->GetType());
            if (want.id >= 0)
                EXPECT_EQ(want.id, c->GetID());
            EXPECT_EQ(want.caption, Narrow(c->GetCaption()));
            EXPECT_EQ(want.shortcut, Narrow(c->GetShortcutText()));
            EXPECT_EQ(want.beginGroup, c->GetBeginGroup());
            got.push_back(want);
        }
        EXPECT_EQ(items.size(), got.size());
    };
    CWVPControls* top = m_bar->GetControls();
    // A popup's id is its submenu's, whatever that is.
    check(top, {{wvpControlPopup, -1, "&File", "", FALSE},
                {wvpControlPopup, -1, "&Edit", "", FALSE},
                {wvpControlButton, 4221, "&Help", "", FALSE}});
    ASSERT_NE(nullptr, top->GetAt(0)->GetCommandBar());
    check(top->GetAt(0)->GetCommandBar()->GetControls(), {{wvpControlButton, 4201, "&Open...", "Ctrl+O", FALSE},
                                                          {wvpControlButton, 4202, "&Save", "Ctrl+S", FALSE},
                                                          {wvpControlButton, 4203, "E&xit", "", TRUE}});
}
