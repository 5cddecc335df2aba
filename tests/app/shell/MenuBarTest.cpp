// The menu bar driven by keys typed in a panel of the running program, the language switch that
// re-translates it, the window-subclassing chain under it and the tool bar layout's wrapping.
#include "ShellHarness.h"

#include "app/core/LangMgr.h"
#include "app/shell/FixMFCToolBar.h"
#include "app/shell/SubclassWnd.h"
#include "resources/resource.h"

using shelltest::LanguageFile;
using shelltest::ShellHarness;

namespace
{
// Posts a key as the keyboard would, to the window with the focus inside a panel.
void Key(HWND to, UINT key, bool alt = false)
{
    const LPARAM down = 1 | (alt ? (1 << 29) : 0), up = down | (1u << 30) | (1u << 31);
    const bool system = alt || key == VK_MENU || key == VK_F10;
    ::PostMessageW(to, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, down);
    ::PostMessageW(to, system ? WM_SYSKEYUP : WM_KEYUP, key, up);
}

std::string ButtonText(CMenuBar& bar, int index)
{
    WCHAR text[64] = {};
    TBBUTTON button = {};
    bar.SendMessage(TB_GETBUTTON, index, LPARAM(&button));
    bar.SendMessage(TB_GETBUTTONTEXTW, button.idCommand, LPARAM(text));
    return rwtest::Utf8(text);
}

int g_ownCalls = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER + 7 || message == WM_NCDESTROY)
        g_ownCalls++;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// A hook that counts what it sees and passes everything on.
class CountingHook : public CSubclassWnd
{
  public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_USER + 7)
            seen++;
        return CSubclassWnd::WindowProc(message, wParam, lParam);
    }
    int seen = 0;
};
} // namespace

TEST(MenuBar, KeysInAPanelDriveTheMenuBar)
{
    ShellHarness shell("MenuKeys");
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    CMenuBar& bar = frame->m_wndMenuBar;
    // A handle, not the temporary object GetWindow gives, which the idle time frees.
    const HWND panel = ::GetWindow(frame->GetPanel(kTaskListPanel)->GetSafeHwnd(), GW_CHILD);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(ButtonText(bar, 0), "&File");
    EXPECT_EQ(ButtonText(bar, 4), "&Help");

    // Alt typed in a panel reaches the bar: the first button is hot.
    Key(panel, VK_MENU);
    shell.Pump();
    EXPECT_EQ(bar.GetTrackingState(), CMenuBar::kStateButton);
    EXPECT_EQ(bar.GetHotButton(), 0);
    // So do the arrow keys and Escape, typed in the panel as well.
    Key(panel, VK_RIGHT);
    shell.Pump();
    EXPECT_EQ(bar.GetHotButton(), 1);
    Key(panel, VK_LEFT);
    Key(panel, VK_LEFT);
    shell.Pump();
    EXPECT_EQ(bar.GetHotButton(), 4);
    Key(panel, VK_ESCAPE);
    shell.Pump();
    EXPECT_EQ(bar.GetTrackingState(), CMenuBar::kStateNone);
    Key(panel, VK_MENU);
    shell.Pump();
    ASSERT_EQ(bar.GetTrackingState(), CMenuBar::kStateButton);
    ASSERT_EQ(bar.GetHotButton(), 0);

    // The bar's key handling, message by message: Right moves on, Left wraps back, Escape leaves
    // button mode, F10 enters and leaves it, a key that is no menu key leaves it unconsumed.
    auto translate = [&](UINT message, UINT key, bool alt = false) {
        MSG msg = {panel, message, key, LPARAM(1 | (alt ? (1 << 29) : 0))};
        return bar.TranslateFrameMessage(&msg);
    };
    EXPECT_TRUE(translate(WM_KEYDOWN, VK_RIGHT));
    EXPECT_EQ(bar.GetHotButton(), 1);
    EXPECT_TRUE(translate(WM_KEYDOWN, VK_LEFT));
    EXPECT_TRUE(translate(WM_KEYDOWN, VK_LEFT));
    EXPECT_EQ(bar.GetHotButton(), 4);
    EXPECT_TRUE(translate(WM_KEYDOWN, VK_ESCAPE));
    EXPECT_EQ(bar.GetTrackingState(), CMenuBar::kStateNone);
    EXPECT_TRUE(translate(WM_SYSKEYDOWN, VK_F10));
    EXPECT_TRUE(translate(WM_SYSKEYUP, VK_F10));
    EXPECT_EQ(bar.GetTrackingState(), CMenuBar::kStateButton);
    EXPECT_TRUE(translate(WM_SYSKEYUP, VK_F10));
    EXPECT_EQ(bar.GetTrackingState(), CMenuBar::kStateNone);
    EXPECT_TRUE(translate(WM_SYSKEYUP, VK_MENU));
    EXPECT_FALSE(translate(WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(bar.GetTrackingState(), CMenuBar::kStateNone);
    // In button mode a letter that is no access key beeps and is consumed.
    EXPECT_TRUE(translate(WM_SYSKEYUP, VK_MENU));
    EXPECT_TRUE(translate(WM_KEYDOWN, 'Q'));
    EXPECT_TRUE(translate(WM_KEYDOWN, VK_ESCAPE));
    // The bar is hidden (the default), and still answers.
    EXPECT_FALSE(bar.IsWindowVisible());
    shell.Stop();
}

TEST(MenuBar, CheckMarksFollowTheSettings)
{
    ShellHarness shell("MenuChecks");
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    HMENU tools = ::GetSubMenu(frame->m_wndMenuBar.GetMenu(), 3);
    ASSERT_NE(tools, nullptr);
    for (bool on : {false, true})
    {
        shell.App()->m_settings.showmenu = on;
        frame->SendMessage(WM_INITMENUPOPUP, WPARAM(tools), 3);
        EXPECT_EQ((::GetMenuState(tools, ID_TOOL_SHOWMENU, MF_BYCOMMAND) & MF_CHECKED) != 0, on);
    }
    // The language sub-menu lists the languages with the current one checked.
    HMENU languages = ::GetSubMenu(tools, 0);
    EXPECT_EQ(::GetMenuItemCount(languages), LangMgr::GetLanguageCount());
    EXPECT_TRUE(::GetMenuState(languages, ID_LANGUAGE_FIRST, MF_BYCOMMAND) & MF_CHECKED);
    // The background command toggles its setting and its check mark.
    HMENU tray = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAYMENU));
    HMENU trayPopup = ::GetSubMenu(tray, 0);
    frame->SendMessage(WM_COMMAND, ID_TRAY_BACKGROUND);
    frame->SendMessage(WM_INITMENUPOPUP, WPARAM(trayPopup), 0);
    EXPECT_TRUE(shell.App()->m_settings.background);
    EXPECT_TRUE(::GetMenuState(trayPopup, ID_TRAY_BACKGROUND, MF_BYCOMMAND) & MF_CHECKED);
    ::DestroyMenu(tray);
    shell.Stop();
}

TEST(MenuBar, LanguageSwitchRetranslatesTheMenus)
{
    ShellHarness shell("Languages");
    shelltest::WriteFile(shell.Path("lang/Testish.xml"),
                         LanguageFile("Testish", "<menu_main_file>&amp;Dossier</menu_main_file>"));
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    int testish = -1;
    for (int i = 0; i < LangMgr::GetLanguageCount(); i++)
        if (LangMgr::GetLanguageName(i) == L"Testish")
            testish = i;
    ASSERT_GE(testish, 0);
    frame->SendMessage(WM_COMMAND, ID_LANGUAGE_FIRST + testish);
    shell.Pump();
    EXPECT_EQ(rwtest::Utf8(shell.App()->m_settings.language), "Testish");
    EXPECT_EQ(ButtonText(frame->m_wndMenuBar, 0), "&Dossier");
    // A key the language lacks keeps its key text.
    EXPECT_EQ(ButtonText(frame->m_wndMenuBar, 1), "menu_main_edit");
    HMENU languages = ::GetSubMenu(::GetSubMenu(frame->m_wndMenuBar.GetMenu(), 3), 0);
    EXPECT_TRUE(::GetMenuState(languages, ID_LANGUAGE_FIRST + testish, MF_BYCOMMAND) & MF_CHECKED);
    shell.Stop();
    EXPECT_EQ(shelltest::ElementText(shell.Settings(), "language"), "Testish");
}

TEST(MenuBar, ManyLanguagesStopBeforeOtherCommands)
{
    ShellHarness shell("ManyLanguages");
    for (int i = 0; i < 60; i++)
    {
        char name[16];
        snprintf(name, sizeof name, "Lang%02d", i);
        shelltest::WriteFile(shell.Path(std::string("lang/") + name + ".xml"),
                             LanguageFile(name, std::string("<menu_main_file>") + name + "</menu_main_file>"));
    }
    ASSERT_TRUE(shell.Start());
    CMainFrame* frame = shell.Frame();
    HMENU languages = ::GetSubMenu(::GetSubMenu(frame->m_wndMenuBar.GetMenu(), 3), 0);
    const int items = ::GetMenuItemCount(languages);
    EXPECT_EQ(items, ID_LANGUAGE_LAST - ID_LANGUAGE_FIRST + 1);
    for (int i = 0; i < items; i++)
        EXPECT_EQ(::GetMenuItemID(languages, i), UINT(ID_LANGUAGE_FIRST + i));
    // A language far down the list still switches (its id has a handler).
    const int last = items - 1;
    const CString name = LangMgr::GetLanguageName(last);
    frame->SendMessage(WM_COMMAND, ID_LANGUAGE_FIRST + last);
    shell.Pump();
    EXPECT_EQ(shell.App()->m_settings.language, name);
    EXPECT_EQ(ButtonText(frame->m_wndMenuBar, 0), rwtest::Utf8(name));
    shell.Stop();
}

TEST(SubclassWnd, HooksRemovedInEitherOrderKeepTheChain)
{
    for (bool newestFirst : {true, false})
    {
        HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, LONG_PTR(CountingProc));
        CountingHook older, newer;
        ASSERT_TRUE(older.HookWindow(window));
        ASSERT_TRUE(newer.HookWindow(window));
        g_ownCalls = 0;
        ::SendMessageW(window, WM_USER + 7, 0, 0);
        EXPECT_EQ(newer.seen, 1);
        EXPECT_EQ(older.seen, 1);
        EXPECT_EQ(g_ownCalls, 1);
        (newestFirst ? newer : older).HookWindow(nullptr);
        ::SendMessageW(window, WM_USER + 7, 0, 0);
        EXPECT_EQ((newestFirst ? older : newer).seen, 2);
        EXPECT_EQ(g_ownCalls, 2);
        (newestFirst ? older : newer).HookWindow(nullptr);
        EXPECT_EQ(WNDPROC(::GetWindowLongPtrW(window, GWLP_WNDPROC)), CountingProc);
        ::SendMessageW(window, WM_USER + 7, 0, 0);
        EXPECT_EQ(g_ownCalls, 3);
        ::DestroyWindow(window);
    }
}

TEST(SubclassWnd, DestroyedWindowLeavesNoHooks)
{
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, LONG_PTR(CountingProc));
    CountingHook first, second;
    first.HookWindow(window);
    second.HookWindow(window);
    g_ownCalls = 0;
    ::DestroyWindow(window);
    // The window's own procedure got its final message, and both hooks are off.
    EXPECT_EQ(g_ownCalls, 1);
    EXPECT_FALSE(first.IsHooked());
    EXPECT_FALSE(second.IsHooked());
    EXPECT_EQ(CSubclassWndMap::Get().Lookup(window), nullptr);
}

TEST(FixMFCToolBar, NarrowBarWrapsAtSeparators)
{
    CFrameWnd* frame = new CFrameWnd();
    ASSERT_TRUE(frame->Create(nullptr, L"bar host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 600, 300)));
    CFixMFCToolBar bar;
    ASSERT_TRUE(bar.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC));
    bar.SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(24, 22));
    TBBUTTON buttons[7] = {};
    for (int i = 0; i < 7; i++)
    {
        buttons[i].iBitmap = I_IMAGENONE;
        buttons[i].idCommand = i == 3 ? 0 : 100 + i;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = i == 3 ? BTNS_SEP : BTNS_BUTTON;
    }
    bar.SendMessage(TB_ADDBUTTONSW, 7, LPARAM(buttons));
    std::vector<TBBUTTON> copy = bar.CopyButtons();
    RECT item;
    bar.SendMessage(TB_GETITEMRECT, 0, LPARAM(&item));
    const int width = item.right - item.left;
    // Room for the first three and a half: the row breaks at the separator, not at a button.
    EXPECT_EQ(bar.WrapToolBar(copy, width * 3 + width / 2), 2);
    for (int i = 0; i < 7; i++)
        EXPECT_EQ((copy[size_t(i)].fsState & TBSTATE_WRAP) != 0, i == 3) << i;
    // Wide enough: one row.
    EXPECT_EQ(bar.WrapToolBar(copy, 32767), 1);
    // Sized for a narrow length, the bar comes out two rows high.
    const CSize one = bar.CalcDynamicLayout(32767, LM_HORZ | LM_HORZDOCK);
    const CSize two = bar.CalcDynamicLayout(width * 3 + width / 2, LM_HORZ);
    EXPECT_GT(two.cy, one.cy);
    EXPECT_LT(two.cx, one.cx);
    frame->DestroyWindow();
}
