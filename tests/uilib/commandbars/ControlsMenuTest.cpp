// Collections built from real menus: separators, column breaks, popup ids after a tab, items that
// make no control, the OLE verbs placeholder, and menus that are not menus.
#include "RwTest.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/ControlAction.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/PopupBar.h"

#include <string>

namespace
{
std::string Narrow(const CString& text)
{
    return std::string(CStringA(text).GetString());
}

// Owns a menu handle for the test.
struct MenuHandle
{
    HMENU handle;
    MenuHandle() : handle(::CreatePopupMenu())
    {
    }
    ~MenuHandle()
    {
        if (::IsMenu(handle))
            ::DestroyMenu(handle);
    }
};

// "&File" as a popup menu: an item with a shortcut, a separator, an item that makes no
// control, a column break, a submenu whose id follows a tab, and two items of the OLE verbs id.
HMENU BuildFileMenu()
{
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, 100, L"&Open\tCtrl+O");
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, 101, L"&Save");
    ::AppendMenuW(menu, MF_STRING, 0xFF00, L"Nothing");
    ::AppendMenuW(menu, MF_STRING | MF_MENUBREAK, 102, L"Second column");
    HMENU recent = ::CreatePopupMenu();
    ::AppendMenuW(recent, MF_STRING, 300, L"First file");
    ::AppendMenuW(recent, MF_STRING, 301, L"Second file");
    ::AppendMenuW(menu, MF_POPUP, UINT_PTR(recent), L"&Recent\t205");
    ::AppendMenuW(menu, MF_STRING, 0xE210, L"<<OLE VERBS GO HERE>>");
    // Shares the placeholder's action (and so its caption), but is not the placeholder.
    ::AppendMenuW(menu, MF_STRING, 0xE210, L"Object");
    ::SetMenuDefaultItem(menu, 2, TRUE);
    return menu;
}
} // namespace

TEST(ControlsMenuTest, MenuItemsBecomeControls)
{
    MenuHandle menu;
    ::DestroyMenu(menu.handle);
    menu.handle = BuildFileMenu();

    CWVPCommandBarManager manager;
    manager.EnableActions();
    CWVPPopupBar* bar = CWVPPopupBar::CreatePopupBar(&manager);
    ASSERT_TRUE(bar->LoadMenu(CMenu::FromHandle(menu.handle), TRUE));
    CWVPControls* controls = bar->GetControls();
    ASSERT_EQ(6, controls->GetCount());

    struct Expected
    {
        int id;
        int type;
        const char* caption;
        BOOL beginGroup;
        BOOL columnBreak;
        BOOL visible;
    } expected[] = {
        {100, 1, "&Open", FALSE, FALSE, TRUE},       {101, 1, "&Save", TRUE, FALSE, TRUE},
        {102, 1, "Second column", FALSE, TRUE, TRUE}, {205, 2, "&Recent", FALSE, FALSE, TRUE},
        {0xE210, 1, "<<OLE VERBS GO HERE>>", FALSE, FALSE, FALSE}, {0xE210, 1, "<<OLE VERBS GO HERE>>", FALSE, FALSE, TRUE},
    };
    for (int i = 0; i < 6; ++i)
    {
        SCOPED_TRACE(i);
        CWVPControl* control = controls->GetAt(i);
        EXPECT_EQ(expected[i].id, control->GetID());
        EXPECT_EQ(expected[i].type, control->GetType());
        EXPECT_EQ(expected[i].caption, Narrow(control->GetCaption()));
        EXPECT_EQ(expected[i].beginGroup, control->GetBeginGroup());
        EXPECT_EQ(expected[i].columnBreak, (control->GetFlags() & WVP_CONTROLFLAG_WRAPROW) != 0);
        EXPECT_EQ(expected[i].visible, control->IsVisible(0));
        EXPECT_EQ(bar, control->GetParent());
    }
    EXPECT_EQ("Ctrl+O", Narrow(controls->GetAt(0)->GetShortcutText()));
    EXPECT_TRUE(controls->GetAt(1)->GetDefaultItem());
    // The menu's texts went into the manager's shared actions.
    ASSERT_NE(nullptr, manager.FindAction(101));
    EXPECT_EQ("&Save", Narrow(manager.FindAction(101)->GetCaption()));

    CWVPCommandBar* recent = controls->GetAt(3)->GetCommandBar();
    ASSERT_NE(nullptr, recent);
    EXPECT_EQ("Recent", Narrow(recent->GetTitle()));
    ASSERT_EQ(2, recent->GetControls()->GetCount());
    EXPECT_EQ(301, recent->GetControls()->GetAt(1)->GetID());
    EXPECT_EQ(recent->GetControls()->GetAt(0), controls->FindControl(0, 300, FALSE, TRUE));
    bar->InternalRelease();
}

TEST(ControlsMenuTest, InvalidMenusLeaveTheControlsAsTheyWere)
{
    CWVPCommandBar* bar = static_cast<CWVPCommandBar*>(CWVPCommandBar::CreateObject());
    MenuHandle menu;
    ::AppendMenuW(menu.handle, MF_STRING, 10, L"One");
    ASSERT_TRUE(bar->LoadMenu(CMenu::FromHandle(menu.handle), TRUE));
    ASSERT_EQ(1, bar->GetControls()->GetCount());

    HMENU destroyed = ::CreatePopupMenu();
    ::DestroyMenu(destroyed);
    EXPECT_FALSE(bar->LoadMenu(CMenu::FromHandle(destroyed), TRUE));
    EXPECT_FALSE(bar->LoadMenu(CMenu::FromHandle(reinterpret_cast<HMENU>(0x1234)), TRUE));
    EXPECT_FALSE(bar->LoadMenu(nullptr, TRUE));
    ASSERT_EQ(1, bar->GetControls()->GetCount());
    EXPECT_EQ(10, bar->GetControls()->GetAt(0)->GetID());

    // Without a manager the menu's texts stay the controls' own.
    EXPECT_EQ("One", Narrow(bar->GetControls()->GetAt(0)->GetCaption()));
    ::DeleteMenu(menu.handle, 0, MF_BYPOSITION);
    ASSERT_TRUE(bar->LoadMenu(CMenu::FromHandle(menu.handle), TRUE));
    EXPECT_EQ(0, bar->GetControls()->GetCount());
    bar->InternalRelease();
}
