// Popup bars: placement on a 1024 x 768 work area (the program runs in a virtual desktop of that
// size), tracking a popup with its result and flags, and ordinary menus shown as popup bars.
#include "RwTest.h"
#include "PopupBarWindow.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/PopupBar.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/foundation/PopupMenu.h"

#include <stdio.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace
{
const CRect kWorkArea(0, 0, 1024, 768);

std::string Text(const CRect& rc)
{
    char text[64];
    snprintf(text, sizeof text, "(%d, %d, %d, %d)", int(rc.left), int(rc.top), int(rc.right), int(rc.bottom));
    return text;
}

// Owns a popup bar reference for the test.
struct PopupHolder
{
    CWVPPopupBar* bar;
    PopupHolder() : bar(CWVPPopupBar::CreatePopupBar(nullptr))
    {
    }
    ~PopupHolder()
    {
        bar->InternalRelease();
    }
};

// A site window that records the commands and popup notices it receives.
struct SiteLog
{
    std::vector<UINT> commands;
    int popupsShown = 0;
};
SiteLog g_site;

LRESULT CALLBACK SiteProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        g_site.commands.push_back(LOWORD(wParam));
    else if (message == WVP_WM_POPUPSHOWING)
        ++g_site.popupsShown;
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

class PopupTrackingTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        g_site = SiteLog();
        WNDCLASSW wc = {};
        wc.lpfnWndProc = SiteProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"RwPopupSite";
        ::RegisterClassW(&wc);
        m_site = ::CreateWindowExW(0, L"RwPopupSite", L"site", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                                   nullptr, wc.hInstance, nullptr);
        ASSERT_NE(nullptr, m_site);
    }
    void TearDown() override
    {
        ::DestroyWindow(m_site);
    }
    HWND m_site = nullptr;
};

// Steps run from a thread timer inside the popup's tracking loop, against the open popup bar.
struct PopupScript
{
    int (*step)(CWVPPopupBar*) = nullptr;
    int seen = 0;
    std::vector<UINT> ids;
};
PopupScript g_script;

void CALLBACK RunPopupStep(HWND, UINT, UINT_PTR timer, DWORD)
{
    CWVPPopupBar* pPopup = rwtest::ThreadPopupBar();
    if (!pPopup)
        return;
    ::KillTimer(nullptr, timer);
    ++g_script.seen;
    for (int i = 0; i < pPopup->GetControls()->GetCount(); ++i)
        g_script.ids.push_back(UINT(pPopup->GetControls()->GetAt(i)->GetID()));
    g_script.step(pPopup);
}

int CloseWithoutChoosing(CWVPPopupBar* pPopup)
{
    pPopup->SetTrackingMode(0);
    return 0;
}

// Clicks the control of the open popup whose index g_clickIndex holds, as the mouse would.
int g_clickIndex = 0;
CWVPPaintManager* g_popupPaintManager = nullptr;
int ClickControl(CWVPPopupBar* pPopup)
{
    g_popupPaintManager = pPopup->GetPaintManager();
    const CPoint pt = pPopup->GetControls()->GetAt(g_clickIndex)->GetRect().CenterPoint();
    const HWND hwnd = pPopup->GetSafeHwnd();
    // The tracking loop judges a click by the pointer's position.
    CPoint screen = pt;
    ::ClientToScreen(hwnd, &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    ::PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    return 0;
}
} // namespace

// Context menus and submenus opened near every edge of the work area stay inside it; a point
// near the bottom-right corner opens up and to the left, a menu too tall for the room scrolls.
TEST(PopupPlacementTest, StaysInsideTheWorkAreaNearEveryEdge)
{
    MONITORINFO info = {sizeof info};
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromPoint(CPoint(0, 0), MONITOR_DEFAULTTOPRIMARY), &info));
    ASSERT_EQ(CRect(0, 0, 1024, 768), CRect(info.rcWork)) << "the test runs in a 1024 x 768 desktop";

    const CRect none(0, 0, 0, 0);
    const struct
    {
        const char* name;
        CPoint point;
        CRect exclude;
        DWORD direction;
        CSize size;
        CRect expected;
        BOOL scrolls;
    } cases[] = {
        {"point top-left", {5, 5}, none, WVP_POPUP_OPENBELOW, {200, 300}, {5, 5, 205, 305}, FALSE},
        {"point top-right", {1020, 3}, none, WVP_POPUP_OPENBELOW, {200, 300}, {824, 3, 1024, 303}, FALSE},
        {"point bottom-right", {1010, 750}, none, WVP_POPUP_OPENBELOW, {200, 300}, {824, 450, 1024, 750}, FALSE},
        {"point bottom-left", {3, 760}, none, WVP_POPUP_OPENBELOW, {200, 300}, {3, 460, 203, 760}, FALSE},
        {"point below the work area", {500, 766}, none, WVP_POPUP_OPENBELOW, {200, 300}, {500, 466, 700, 766}, FALSE},
        {"right-aligned at the left edge", {100, 100}, none, WVP_POPUP_OPENLEFT | WVP_POPUP_OPENBELOW, {200, 300},
         {0, 100, 200, 400}, FALSE},
        {"taller than the work area", {300, 100}, none, WVP_POPUP_OPENBELOW, {200, 900}, {300, 0, 500, 763}, TRUE},
        {"below a control at the bottom", {400, 760}, {400, 740, 480, 760}, WVP_POPUP_OPENBELOW, {200, 300},
         {400, 440, 600, 740}, FALSE},
        {"below a control at the right", {980, 20}, {980, 0, 1020, 20}, WVP_POPUP_OPENBELOW, {200, 300},
         {824, 20, 1024, 320}, FALSE},
        {"beside a control at the right", {1000, 100}, {900, 100, 1000, 120}, 0, {200, 300}, {700, 100, 900, 400},
         FALSE},
        {"left of a control at the left", {10, 100}, {10, 100, 110, 120}, WVP_POPUP_OPENLEFT, {200, 300},
         {110, 100, 310, 400}, FALSE},
        {"beside a control at the bottom", {200, 700}, {100, 700, 200, 720}, 0, {200, 300}, {200, 463, 400, 763},
         FALSE},
        {"tall, below a control in the middle", {400, 400}, {400, 380, 480, 400}, WVP_POPUP_OPENBELOW, {200, 700},
         {400, 0, 600, 380}, TRUE},
        {"wider than the work area", {300, 300}, none, WVP_POPUP_OPENBELOW, {1100, 100}, {0, 300, 1100, 400}, FALSE},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        PopupHolder popup;
        popup.bar->SetExcludeRect(c.exclude);
        popup.bar->SetOpenDirection(c.direction);
        const CRect rc = popup.bar->CalcPopupPosition(c.point, c.size);
        if (c.size.cx <= kWorkArea.Width())
        {
            CRect inside;
            inside.IntersectRect(&rc, &kWorkArea);
            EXPECT_EQ(Text(rc), Text(inside)) << "leaves the work area";
            EXPECT_EQ(Text(c.expected), Text(rc));
        }
        else
            EXPECT_EQ(kWorkArea.left, rc.left);
        EXPECT_EQ(c.scrolls, popup.bar->IsScrolling());
    }
}

// A missing popup and a menu with nothing to show open nothing and answer 0.
TEST_F(PopupTrackingTest, NullAndEmptyPopupsShowNothing)
{
    EXPECT_EQ(0, CWVPPopupBar::TrackPopupBar(nullptr, WVP_TRACK_RETURNCMD, 10, 10, m_site));
    EXPECT_EQ(0, CWVPPopupBar::TrackPopupBar(nullptr, 0, 10, 10, m_site));

    // A popup that opened all the same would be closed again by this timer.
    g_script = PopupScript();
    g_script.step = &CloseWithoutChoosing;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, RunPopupStep);
    PopupHolder empty;
    HMENU menu = ::CreatePopupMenu();
    ASSERT_TRUE(empty.bar->LoadMenu(CMenu::FromHandle(menu), TRUE));
    EXPECT_EQ(0, CWVPPopupBar::TrackPopupBar(empty.bar, 0, 10, 10, m_site));
    EXPECT_EQ(0, CWVPPopupBar::TrackPopupBar(empty.bar, WVP_TRACK_RETURNCMD, 10, 10, m_site));
    EXPECT_EQ(0, g_site.popupsShown);
    EXPECT_EQ(nullptr, empty.bar->GetSafeHwnd());

    // Through the popup-menu function the same.
    CWnd* site = CWnd::FromHandle(m_site);
    EXPECT_EQ(0, WVPTrackPopupMenu(CMenu::FromHandle(menu), TPM_RETURNCMD, 10, 10, site));
    EXPECT_EQ(0, g_site.popupsShown);
    EXPECT_EQ(0, g_script.seen);
    ::KillTimer(nullptr, timer);
    ::DestroyMenu(menu);
}

// A popup tracked for its command forgets the caller's result when the call returns: a command the
// popup runs later reaches the site.
TEST_F(PopupTrackingTest, ReturnedCommandSlotEndsWithTheCall)
{
    PopupHolder popup;
    popup.bar->GetControls()->AddByType(wvpControlButton, 501)->SetCaption(L"&First");
    popup.bar->GetControls()->AddByType(wvpControlButton, 502)->SetCaption(L"&Second");
    g_script = PopupScript();
    g_script.step = &CloseWithoutChoosing;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, RunPopupStep);
    EXPECT_EQ(0, CWVPPopupBar::TrackPopupBar(popup.bar, WVP_TRACK_RETURNCMD, 150, 150, m_site));
    ::KillTimer(nullptr, timer);
    ASSERT_EQ(1, g_script.seen);
    EXPECT_EQ((std::vector<UINT>{501, 502}), g_script.ids);
    EXPECT_EQ(1, g_site.popupsShown);
    EXPECT_TRUE(g_site.commands.empty());

    popup.bar->GetControls()->GetAt(1)->OnExecute();
    EXPECT_EQ(std::vector<UINT>{502}, g_site.commands);
}

// A menu loaded into a popup keeps its check marks, disabled items and shortcut texts; the popup
// takes over the reference of an image manager it is given and releases the one it held.
TEST(PopupBarMenuTest, LoadsMenuStatesAndTakesImageManager)
{
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING | MF_CHECKED, 601, L"&Word wrap");
    ::AppendMenuW(menu, MF_STRING | MF_GRAYED, 602, L"&Paste\tCtrl+V");
    HMENU sub = ::CreatePopupMenu();
    ::AppendMenuW(sub, MF_STRING, 701, L"One");
    ::AppendMenuW(menu, MF_POPUP, UINT_PTR(sub), L"&More");
    PopupHolder popup;
    ASSERT_TRUE(popup.bar->LoadMenu(CMenu::FromHandle(menu), TRUE));
    CWVPControls* controls = popup.bar->GetControls();
    ASSERT_EQ(3, controls->GetCount());
    EXPECT_EQ(TRUE, controls->GetAt(0)->GetChecked());
    EXPECT_NE(FALSE, controls->GetAt(0)->GetEnabled());
    EXPECT_EQ(FALSE, controls->GetAt(1)->GetEnabled());
    EXPECT_EQ(FALSE, controls->GetAt(1)->GetChecked());
    EXPECT_TRUE(controls->GetAt(1)->GetShortcutText() == L"Ctrl+V");
    EXPECT_EQ(wvpControlPopup, controls->GetAt(2)->GetType());
    ::DestroyMenu(menu);

    CWVPImageManager* first = new CWVPImageManager;
    CWVPImageManager* second = new CWVPImageManager;
    first->InternalAddRef();
    popup.bar->SetImageManager(first);
    EXPECT_EQ(first, popup.bar->GetImageManager());
    popup.bar->SetImageManager(second);
    EXPECT_EQ(second, popup.bar->GetImageManager());
    EXPECT_EQ(0u, (unsigned)first->InternalRelease()) << "the popup kept its reference to the first";
}

// The popup-menu function shows a menu as a popup bar of the default look, made for a program
// that has no paint manager yet: the chosen command comes back with TPM_RETURNCMD, reaches the
// window otherwise, and reaches no one when notification is off.
TEST_F(PopupTrackingTest, PopupMenuFunctionTracksAPopupBar)
{
    CWVPPaintManager::ReleaseInstance();
    ASSERT_EQ(nullptr, CWVPPaintManager::GetCurrent());
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, 801, L"&Cut\tCtrl+X");
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, 802, L"&Copy\tCtrl+C");
    ::AppendMenuW(menu, MF_STRING, 803, L"&Paste\tCtrl+V");
    CWnd* site = CWnd::FromHandle(m_site);

    const struct
    {
        const char* name;
        UINT flags;
        BOOL noNotify;
        int click;
        int result;
        std::vector<UINT> commands;
    } cases[] = {
        {"returned command", TPM_RETURNCMD | TPM_RIGHTBUTTON, FALSE, 2, 803, {}},
        {"notified command", 0, FALSE, 1, TRUE, {802}},
        {"no notification", 0, TRUE, 0, TRUE, {}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        g_site = SiteLog();
        g_script = PopupScript();
        g_script.step = &ClickControl;
        g_clickIndex = c.click;
        g_popupPaintManager = nullptr;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, RunPopupStep);
        EXPECT_EQ(c.result, WVPTrackPopupMenu(CMenu::FromHandle(menu), c.flags, 200, 150, site, 0, c.noNotify));
        ::KillTimer(nullptr, timer);
        ASSERT_EQ(1, g_script.seen);
        EXPECT_EQ((std::vector<UINT>{801, 802, 803}), g_script.ids);
        EXPECT_EQ(c.commands, g_site.commands);
        EXPECT_EQ(1, g_site.popupsShown);
        ASSERT_NE(nullptr, CWVPPaintManager::GetCurrent());
        EXPECT_EQ(CWVPPaintManager::GetCurrent(), g_popupPaintManager);
        EXPECT_EQ(int(wvpThemeDefault), CWVPPaintManager::GetCurrent()->GetThemeType());
        EXPECT_EQ(nullptr, rwtest::ThreadPopupBar()) << "the popup closed";
    }
    ::DestroyMenu(menu);
}

namespace
{
// Opens the submenu chain from the open popup and records each popup's window rectangle.
std::vector<CRect> g_chain;
int OpenSubmenus(CWVPPopupBar* pPopup)
{
    for (CWVPCommandBar* pBar = pPopup; pBar;)
    {
        CRect rc;
        ::GetWindowRect(pBar->GetSafeHwnd(), &rc);
        g_chain.push_back(rc);
        const int last = pBar->GetControlCount() - 1;
        CWVPControl* pItem = pBar->GetControl(last);
        if (!pItem || pItem->GetType() != wvpControlPopup || !pBar->SetPopuped(last, FALSE))
            break;
        pBar = pItem->GetCommandBar();
    }
    pPopup->SetTrackingMode(0);
    return 0;
}
} // namespace

// A context menu at the right edge opens to the left of the point; its submenu opens to the left
// of its item, and the submenu's own submenu keeps going left, every one inside the work area.
TEST_F(PopupTrackingTest, SubmenusAtTheRightEdgeOpenToTheLeft)
{
    HMENU menu = ::CreatePopupMenu();
    HMENU second = ::CreatePopupMenu();
    HMENU third = ::CreatePopupMenu();
    ::AppendMenuW(third, MF_STRING, 903, L"Deepest item");
    ::AppendMenuW(second, MF_STRING, 902, L"Second level item");
    ::AppendMenuW(second, MF_POPUP, UINT_PTR(third), L"&Third");
    ::AppendMenuW(menu, MF_STRING, 901, L"First level item");
    ::AppendMenuW(menu, MF_POPUP, UINT_PTR(second), L"&Second");
    PopupHolder popup;
    ASSERT_TRUE(popup.bar->LoadMenu(CMenu::FromHandle(menu), TRUE));
    ::DestroyMenu(menu);

    g_chain.clear();
    g_script = PopupScript();
    g_script.step = &OpenSubmenus;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, RunPopupStep);
    CWVPPopupBar::TrackPopupBar(popup.bar, WVP_TRACK_RETURNCMD, 1015, 200, m_site);
    ::KillTimer(nullptr, timer);
    ASSERT_EQ(1, g_script.seen);
    ASSERT_EQ(3u, g_chain.size());
    for (size_t i = 0; i < g_chain.size(); ++i)
    {
        SCOPED_TRACE(i);
        CRect inside;
        inside.IntersectRect(&g_chain[i], &kWorkArea);
        EXPECT_EQ(Text(g_chain[i]), Text(inside)) << "leaves the work area";
        if (i > 0)
            EXPECT_LE(g_chain[i].right, g_chain[i - 1].left + 4) << "does not open to the left of its parent";
    }
    EXPECT_EQ(nullptr, rwtest::ThreadPopupBar()) << "every popup closed";
}

namespace
{
// Watches a long popup from inside its tracking loop: rests the pointer on the bottom arrow area
// until the last item shows, then on the top one until the first shows again, recording the
// first visible index at every look. A deadline ends a popup that stops moving.
struct ScrollWatch
{
    int phase = 0; // 0 start, 1 scrolling down, 2 scrolling up, 3 done
    DWORD deadline = 0;
    std::vector<int> firstIndexes;
    CRect bottomAreaAtStart, topAreaAtStart;
    BOOL lastHiddenAtStart = FALSE;
    BOOL downTimerRanOn = TRUE, upTimerRanOn = TRUE;
    BOOL lastShownAtBottom = FALSE, firstShownAtTop = FALSE;
    int count = 0;
    int strayMoves = 0;
};
ScrollWatch g_watch;

void RestPointerOn(CWVPPopupBar* pPopup, const CRect& area)
{
    const CPoint pt = area.CenterPoint();
    CPoint screen = pt;
    ::ClientToScreen(pPopup->GetSafeHwnd(), &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::PostMessageW(pPopup->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
}

BOOL PointerOn(CWVPPopupBar* pPopup, const CRect& area)
{
    POINT pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(pPopup->GetSafeHwnd(), &pt);
    return area.PtInRect(pt);
}

void CALLBACK WatchScrolling(HWND, UINT, UINT_PTR timer, DWORD)
{
    CWVPPopupBar* pPopup = rwtest::ThreadPopupBar();
    if (!pPopup)
        return;
    ScrollWatch& w = g_watch;
    CWVPControls* controls = pPopup->GetControls();
    w.count = controls->GetCount();
    const HWND hwnd = pPopup->GetSafeHwnd();
    if (w.phase == 0)
    {
        w.bottomAreaAtStart = pPopup->GetScrollAreaRect(FALSE);
        w.topAreaAtStart = pPopup->GetScrollAreaRect(TRUE);
        w.lastHiddenAtStart = (controls->GetAt(w.count - 1)->GetHideFlags() & WVP_HIDE_SCROLL) != 0;
        w.firstIndexes.push_back(pPopup->GetFirstVisibleIndex());
        w.deadline = ::GetTickCount() + 20000;
        w.phase = 1;
        RestPointerOn(pPopup, w.bottomAreaAtStart);
        return;
    }
    if (w.firstIndexes.back() != pPopup->GetFirstVisibleIndex())
        w.firstIndexes.push_back(pPopup->GetFirstVisibleIndex());
    const BOOL late = LONG(::GetTickCount() - w.deadline) > 0;
    // Wine's desktop can hand on the motion of an earlier pointer place after the pointer was put
    // on the area, which takes the pointer off it (or out of the popup) and rightly stops the
    // scrolling: the pointer is rested on the area again.
    const CRect wanted = pPopup->GetScrollAreaRect(w.phase == 2);
    if (!late && !wanted.IsRectEmpty() && !PointerOn(pPopup, wanted))
    {
        ++w.strayMoves;
        RestPointerOn(pPopup, wanted);
        return;
    }
    if (w.phase == 1 && (pPopup->GetScrollAreaRect(FALSE).IsRectEmpty() || late))
    {
        w.lastShownAtBottom = controls->GetAt(w.count - 1)->IsVisible(0);
        // A stopped timer is gone: killing it again fails.
        w.downTimerRanOn = ::KillTimer(hwnd, WVP_TIMER_SCROLLDOWN);
        w.phase = 2;
        RestPointerOn(pPopup, pPopup->GetScrollAreaRect(TRUE));
    }
    else if (w.phase == 2 && (pPopup->GetScrollAreaRect(TRUE).IsRectEmpty() || late))
    {
        w.firstShownAtTop = controls->GetAt(0)->IsVisible(0) && pPopup->GetFirstVisibleIndex() == 0;
        w.upTimerRanOn = ::KillTimer(hwnd, WVP_TIMER_SCROLLUP);
        w.phase = 3;
        ::KillTimer(nullptr, timer);
        pPopup->SetTrackingMode(0);
    }
}
} // namespace

// A menu taller than the work area shows the items that fit and a down arrow area; resting the
// pointer there shows one more item at every tick until the last one shows and the timer stops;
// the up arrow area then brings the first item back the same way.
TEST_F(PopupTrackingTest, ALongMenuScrollsWhileThePointerRestsOnAnArrowArea)
{
    PopupHolder popup;
    const int kItems = 60;
    for (int i = 0; i < kItems; ++i)
    {
        CWVPControl* pControl = popup.bar->GetControls()->AddByType(wvpControlButton, 1000 + i);
        WCHAR caption[32];
        ::wsprintfW(caption, L"Item number %d", i);
        pControl->SetCaption(caption);
        pControl->SetBeginGroup(i % 10 == 0);
    }
    g_watch = ScrollWatch();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, WatchScrolling);
    CWVPPopupBar::TrackPopupBar(popup.bar, WVP_TRACK_RETURNCMD, 300, 20, m_site);
    ::KillTimer(nullptr, timer);

    ASSERT_EQ(3, g_watch.phase) << "the popup closed before the watch ended";
    EXPECT_EQ(WVP_SCROLL_AREA_HEIGHT, g_watch.bottomAreaAtStart.Height());
    EXPECT_TRUE(g_watch.topAreaAtStart.IsRectEmpty());
    EXPECT_TRUE(g_watch.lastHiddenAtStart);
    EXPECT_TRUE(g_watch.lastShownAtBottom) << g_watch.strayMoves << " late pointer motions put right";
    EXPECT_TRUE(g_watch.firstShownAtTop) << g_watch.strayMoves << " late pointer motions put right";
    EXPECT_FALSE(g_watch.downTimerRanOn) << "the down timer still ran with nothing left to show";
    EXPECT_FALSE(g_watch.upTimerRanOn) << "the up timer still ran with nothing left to show";
    // The first visible index went up step by step, then back down to 0.
    ASSERT_GE(g_watch.firstIndexes.size(), 3u);
    EXPECT_EQ(0, g_watch.firstIndexes.front());
    EXPECT_EQ(0, g_watch.firstIndexes.back());
    const auto top = std::max_element(g_watch.firstIndexes.begin(), g_watch.firstIndexes.end());
    EXPECT_GT(*top, 10);
    EXPECT_TRUE(std::is_sorted(g_watch.firstIndexes.begin(), top + 1));
    EXPECT_TRUE(std::is_sorted(top, g_watch.firstIndexes.end(), std::greater<int>()));
}

namespace
{
// End and Home on an open long popup: which items show afterwards.
struct KeyScroll
{
    BOOL lastShownAfterEnd = FALSE, firstHiddenAfterEnd = FALSE, firstShownAfterHome = FALSE;
    int selectedAfterEnd = -1;
};
KeyScroll g_keys;
int PressEndThenHome(CWVPPopupBar* pPopup)
{
    CWVPControls* controls = pPopup->GetControls();
    const int last = controls->GetCount() - 1;
    pPopup->ProcessSpecialKey(wvpKeyEnd);
    g_keys.selectedAfterEnd = pPopup->GetSelected();
    g_keys.lastShownAfterEnd = controls->GetAt(last)->IsVisible(0);
    g_keys.firstHiddenAfterEnd = !controls->GetAt(0)->IsVisible(0);
    pPopup->ProcessSpecialKey(wvpKeyHome);
    g_keys.firstShownAfterHome = controls->GetAt(0)->IsVisible(0) && pPopup->GetFirstVisibleIndex() == 0;
    pPopup->SetTrackingMode(0);
    return 0;
}
} // namespace

// Selecting an item of a long popup from the keyboard scrolls it into view.
TEST_F(PopupTrackingTest, KeyboardSelectionScrollsTheItemIntoView)
{
    PopupHolder popup;
    for (int i = 0; i < 60; ++i)
        popup.bar->GetControls()->AddByType(wvpControlButton, 1000 + i)->SetCaption(L"Item");
    g_keys = KeyScroll();
    g_script = PopupScript();
    g_script.step = &PressEndThenHome;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, RunPopupStep);
    CWVPPopupBar::TrackPopupBar(popup.bar, WVP_TRACK_RETURNCMD, 300, 20, m_site);
    ::KillTimer(nullptr, timer);
    ASSERT_EQ(1, g_script.seen);
    EXPECT_EQ(59, g_keys.selectedAfterEnd);
    EXPECT_TRUE(g_keys.lastShownAfterEnd);
    EXPECT_TRUE(g_keys.firstHiddenAfterEnd);
    EXPECT_TRUE(g_keys.firstShownAfterHome);
}
