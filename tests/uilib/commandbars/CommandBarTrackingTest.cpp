// A plain command bar driven by real input (SendInput in a virtual desktop of the test's own, see
// tools/wineprefix.sh): keys reach a tracking bar through the thread's keyboard hook, clicks
// outside it through the mouse hook. The script runs from a thread timer inside the loops, one
// step per tick; input messages come before timer messages, so each step sees the previous
// step's input handled.
#include "CommandBarHost.h"
#include "RealInput.h"
#include "RwTest.h"
#include "uilib/commandbars/CommandBarKeyboardTip.h"
#include "uilib/commandbars/ControlPopup.h"
#include "uilib/commandbars/KeyboardManager.h"
#include "uilib/commandbars/MouseManager.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/PopupBar.h"

#include <algorithm>
#include <functional>
#include <vector>

using rwtest::CommandBarHost;
using rwtest::HostLog;

namespace
{
// A step answers true when done; a step that is not done yet runs again at the next tick.
typedef std::function<bool()> Step;

struct Script
{
    std::vector<Step> steps;
    size_t next = 0;
    DWORD start = 0;
    bool timedOut = false;
};
Script* g_script = nullptr;
// A script that waits longer than this fails instead of hanging the suite.
const DWORD kScriptLimit = 20000;

void CALLBACK ScriptTick(HWND, UINT, UINT_PTR id, DWORD)
{
    Script* script = g_script;
    if (!script || script->next >= script->steps.size())
    {
        ::KillTimer(nullptr, id);
        return;
    }
    if (script->steps[script->next]())
    {
        ++script->next;
        return;
    }
    if (::GetTickCount() - script->start > kScriptLimit)
    {
        script->timedOut = true;
        script->next = script->steps.size();
        // Whatever was waiting, the loops end.
        WVPMouseManager()->CloseTrackedBars();
        if (::GetAsyncKeyState(VK_LBUTTON) < 0)
        {
            INPUT input = {};
            input.type = INPUT_MOUSE;
            input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
            ::SendInput(1, &input, sizeof input);
        }
    }
}

// Runs `loop` (which enters a modal loop) while the steps run; true when every step ran.
template <class Loop> bool RunScript(std::vector<Step> steps, Loop loop)
{
    Script script;
    script.steps = std::move(steps);
    script.start = ::GetTickCount();
    g_script = &script;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 15, ScriptTick);
    loop();
    // Steps left after the loop ended run from a plain pump.
    rwtest::PumpUntil([&] { return script.next >= script.steps.size(); }, kScriptLimit);
    ::KillTimer(nullptr, timer);
    g_script = nullptr;
    EXPECT_FALSE(script.timedOut) << "step " << script.next << " never completed";
    return !script.timedOut && script.next == script.steps.size();
}

using rwtest::SendKey;
using rwtest::SendMouse;

Step Key(UINT vk)
{
    return [vk] {
        SendKey(vk);
        return true;
    };
}

Step Mouse(DWORD flags, std::function<POINT()> at)
{
    return [flags, at] {
        SendMouse(flags, at());
        return true;
    };
}

Step Until(std::function<bool()> condition)
{
    return condition;
}

// Escape for a bar that still tracks: running a command may have ended the tracking already.
Step EscapeWhileTracking(CWVPCommandBar* bar)
{
    return [bar] {
        if (bar->GetTrackingMode())
            SendKey(VK_ESCAPE);
        return true;
    };
}

bool HasCommand(int id)
{
    const auto& commands = HostLog().commands;
    return std::find(commands.begin(), commands.end(), id) != commands.end();
}

BOOL KeyboardHooked()
{
    CWVPKeyboardManager* keyboard = WVPKeyboardManagerNA();
    return keyboard && keyboard->IsHooked();
}

class CommandBarTrackingTest : public ::testing::Test
{
  protected:
    void Foreground(CommandBarHost& host)
    {
        ::SetForegroundWindow(host.host);
        ::SetFocus(host.host);
        ASSERT_TRUE(rwtest::PumpUntil([&] { return ::GetForegroundWindow() == host.host; }));
    }
};
} // namespace

TEST_F(CommandBarTrackingTest, ArrowsMoveLettersExecuteEscapeEnds)
{
    CommandBarHost host;
    host.Add(wvpControlButton, 101, L"&New");
    host.Add(wvpControlButton, 102, L"&Open");
    host.Add(wvpControlButton, 103, L"&Save");
    host.Add(wvpControlButton, 104, L"&Stop");
    host.Add(wvpControlButton, 105, L"E&xit");
    host.Layout();
    Foreground(host);
    CWVPCommandBar* bar = host.bar;
    ASSERT_TRUE(bar->SetTrackingMode(1, TRUE, TRUE));
    ASSERT_EQ(0, bar->GetSelected());
    auto selected = [bar](int index) { return Until([bar, index] { return bar->GetSelected() == index; }); };
    const bool ran =
        RunScript({Key(VK_RIGHT), selected(1), Key(VK_RIGHT), selected(2), Key(VK_LEFT), selected(1), Key(VK_END),
                   selected(4), Key(VK_HOME), selected(0), Key(VK_UP), selected(0), Key(VK_DOWN), selected(0),
                   // Two controls share the letter: the first after the selection is selected, not run.
                   Key('S'), selected(2), Key('S'), selected(3), Key('Q'), Key('O'),
                   Until([] { return HasCommand(102); }), EscapeWhileTracking(bar)},
                  [bar] { bar->PumpTrackingMessages(); });
    EXPECT_TRUE(ran);
    EXPECT_EQ(0, bar->GetTrackingMode());
    EXPECT_EQ(std::vector<int>{102}, HostLog().commands) << "only the letter of Open ran a command";
    EXPECT_TRUE(HostLog().hostKeys.empty()) << "the tracking bar ate every key";
    EXPECT_FALSE(KeyboardHooked());
    // With tracking over, keys reach the window again.
    SendKey('Q');
    EXPECT_TRUE(rwtest::PumpUntil([] { return !HostLog().hostKeys.empty(); }));
    EXPECT_EQ(std::vector<UINT>{'Q'}, HostLog().hostKeys);
}

TEST_F(CommandBarTrackingTest, KeyboardTipsTypedLetterByLetter)
{
    CommandBarHost host;
    host.Add(wvpControlButton, 201, L"Save");
    host.Add(wvpControlButton, 202, L"Save As");
    host.Add(wvpControlButton, 203, L"Settings");
    host.Add(wvpControlButton, 204, L"&Open")->SetEnabled(0);
    host.Layout();
    Foreground(host);
    CWVPCommandBar* bar = host.bar;
    ASSERT_TRUE(bar->SetTrackingMode(1, TRUE, TRUE));
    host.manager->ShowKeyboardTips(bar, 1);
    ASSERT_EQ(4, host.manager->GetKeyboardTips().GetSize());
    auto tipCount = [&host](int n) {
        return Until([&host, n] { return host.manager->GetKeyboardTips().GetSize() == n; });
    };
    const bool ran = RunScript({Key('O'), Key('S'), tipCount(3), Key('V'), tipCount(0), EscapeWhileTracking(bar)},
                               [bar] { bar->PumpTrackingMessages(); });
    EXPECT_TRUE(ran);
    EXPECT_EQ(std::vector<int>{202}, HostLog().commands) << "S then V chose Save As; the disabled tip ran nothing";
    EXPECT_EQ(0, bar->GetTrackingMode());
}

TEST_F(CommandBarTrackingTest, ClickOutsideEndsTrackingAndReachesItsTarget)
{
    CommandBarHost host;
    host.Add(wvpControlButton, 301, L"&One");
    host.Add(wvpControlButton, 302, L"&Two");
    host.Layout();
    Foreground(host);
    CWVPCommandBar* bar = host.bar;
    ASSERT_TRUE(bar->SetTrackingMode(1, TRUE, TRUE));
    const bool ran = RunScript({Mouse(0, [&host] { return host.TargetPoint(); }),
                                Mouse(MOUSEEVENTF_LEFTDOWN, [&host] { return host.TargetPoint(); }),
                                Mouse(MOUSEEVENTF_LEFTUP, [&host] { return host.TargetPoint(); })},
                               [bar] { bar->PumpTrackingMessages(); });
    EXPECT_TRUE(ran);
    EXPECT_EQ(0, bar->GetTrackingMode());
    EXPECT_EQ(0, WVPMouseManager()->GetTrackedCount());
    EXPECT_FALSE(KeyboardHooked());
    EXPECT_TRUE(rwtest::PumpUntil([] { return HostLog().targetClicks == 1; })) << "the click reached the target";
    EXPECT_TRUE(HostLog().commands.empty());
}

TEST_F(CommandBarTrackingTest, MouseClicksFollowButtonAndSplitRules)
{
    CommandBarHost host;
    host.Add(wvpControlButton, 401, L"Run");
    host.Add(wvpControlSplitButtonPopup, 402, L"Split");
    host.Add(wvpControlSplitButtonPopup, 403, L"Arrow only")->SetEnabled(WVP_SPLIT_ARROW_ONLY);
    host.Layout();
    Foreground(host);
    CWVPCommandBar* bar = host.bar;
    CWVPPaintManager* paintManager = bar->GetPaintManager();
    // Points on the command part and on the arrow part of the split buttons.
    auto commandPart = [&host, paintManager](int index) {
        return [&host, paintManager, index] {
            CRect rc = paintManager->GetSplitButtonCommandRect(host.bar->GetControl(index));
            POINT pt = rc.CenterPoint();
            ::ClientToScreen(host.bar->GetSafeHwnd(), &pt);
            return pt;
        };
    };
    auto arrowPart = [&host](int index) {
        return [&host, index] {
            POINT pt = host.ControlPoint(index);
            pt.x = host.bar->GetControl(index)->GetRect().right - 3;
            ::ClientToScreen(host.bar->GetSafeHwnd(), &pt);
            pt.y = host.ControlPoint(index).y;
            return pt;
        };
    };
    auto button = [&host] { return host.ControlPoint(0); };
    auto click = [](std::function<POINT()> at) {
        return std::vector<Step>{Mouse(0, at), Mouse(MOUSEEVENTF_LEFTDOWN, at), Mouse(MOUSEEVENTF_LEFTUP, at)};
    };
    int pressedSeen = 0;
    std::vector<Step> steps = {
        Mouse(0, button), Until([bar] { return bar->GetSelected() == 0 && bar->GetControl(0)->GetSelected() == 1; }),
        Mouse(MOUSEEVENTF_LEFTDOWN, button),
        Until([bar, &pressedSeen] { return (pressedSeen = bar->GetControl(0)->GetPressed()) != 0; }),
        Mouse(MOUSEEVENTF_LEFTUP, button), Until([] { return HasCommand(401); }),
        // Leaving the bar clears its hot control.
        Mouse(0, button), Until([bar] { return bar->GetSelected() == 0; }),
        Mouse(0, [&host] { return host.TargetPoint(); }),
        Until([bar] { return bar->GetSelected() == -1 && bar->GetControl(0)->GetSelected() == 0; })};
    for (auto& part : {click(commandPart(1)), std::vector<Step>{Until([] { return HasCommand(402); })},
                       click(arrowPart(1)), click(commandPart(2)), click(button)})
        steps.insert(steps.end(), part.begin(), part.end());
    steps.push_back(Until([] { return HostLog().commands.size() >= 3; }));
    const bool ran = RunScript(steps, [] {
        rwtest::PumpUntil([] { return g_script && g_script->next >= g_script->steps.size(); }, kScriptLimit + 1000);
    });
    EXPECT_TRUE(ran);
    EXPECT_NE(0, pressedSeen) << "the button showed pressed while the mouse button was down";
    // The arrow part opens (nothing here), the arrow-only split runs nothing from its button part.
    EXPECT_EQ((std::vector<int>{401, 402, 401}), HostLog().commands);
    EXPECT_EQ(0, bar->GetTrackingMode());
}

TEST_F(CommandBarTrackingTest, TrustedWindowKeepsTrackingAndAltEndsIt)
{
    CommandBarHost host;
    host.Add(wvpControlButton, 501, L"&One");
    host.Layout();
    Foreground(host);
    CWVPCommandBar* bar = host.bar;
    // The target stands for an edit field's drop-down: clicks there leave the bar tracking.
    WVPMouseManager()->AddTrustedWindow(host.target);
    ASSERT_TRUE(bar->SetTrackingMode(1, TRUE, TRUE));
    auto target = [&host] { return host.TargetPoint(); };
    const bool ran =
        RunScript({Mouse(0, target), Mouse(MOUSEEVENTF_LEFTDOWN, target), Mouse(MOUSEEVENTF_LEFTUP, target),
                   Until([bar] { return HostLog().targetClicks == 1 && bar->GetTrackingMode() != 0; }), Key(VK_MENU)},
                  [bar] { bar->PumpTrackingMessages(); });
    WVPMouseManager()->RemoveTrustedWindow(host.target);
    EXPECT_TRUE(ran);
    EXPECT_EQ(1, HostLog().targetClicks);
    EXPECT_EQ(0, bar->GetTrackingMode()) << "Alt closed the tracked bar";
    EXPECT_FALSE(KeyboardHooked());
    EXPECT_TRUE(HostLog().commands.empty());
}

TEST_F(CommandBarTrackingTest, CtrlTabMovesToTheNextBarWhoseLettersThenWork)
{
    CommandBarHost host;
    host.Add(wvpControlButton, 601, L"&New");
    host.Layout();
    CWVPCommandBar* second = static_cast<CWVPCommandBar*>(CWVPCommandBar::CreateObject());
    second->SetPosition(wvpBarTop);
    second->SetShowGripper(FALSE);
    second->SetOwnerSite(host.host);
    second->CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, 0, 40, 200, 24, host.host, nullptr);
    second->GetControls()->AddByType(wvpControlButton, 611)->SetCaption(L"&Alpha");
    second->GetControls()->AddByType(wvpControlButton, 612)->SetCaption(L"&Beta");
    host.manager->AddBar(host.bar);
    host.manager->AddBar(second);
    Foreground(host);
    ASSERT_TRUE(host.bar->SetTrackingMode(1, TRUE, TRUE));
    auto keyDown = [](UINT vk, bool down) {
        return [vk, down] {
            INPUT in = {};
            in.type = INPUT_KEYBOARD;
            in.ki.wVk = WORD(vk);
            in.ki.wScan = WORD(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
            in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
            ::SendInput(1, &in, sizeof in);
            return true;
        };
    };
    const bool ran = RunScript(
        {keyDown(VK_CONTROL, true), Key(VK_TAB), keyDown(VK_CONTROL, false),
         Until([&] { return second->GetTrackingMode() != 0 && host.bar->GetTrackingMode() == 0; }), Key('B'),
         Until([] { return HasCommand(612); }), EscapeWhileTracking(second),
         Until([&] { return second->GetTrackingMode() == 0; })},
        [] { rwtest::PumpUntil([] { return g_script && g_script->next >= g_script->steps.size(); }, kScriptLimit); });
    EXPECT_TRUE(ran);
    EXPECT_EQ(std::vector<int>{612}, HostLog().commands);
    EXPECT_FALSE(KeyboardHooked());
    second->InternalRelease();
}

TEST_F(CommandBarTrackingTest, DownOpensAPopupAndEscapeClosesOneLevel)
{
    CommandBarHost host;
    host.Add(wvpControlButton, 401, L"&New");
    CWVPControlPopup* file = static_cast<CWVPControlPopup*>(host.Add(wvpControlPopup, 402, L"&File"));
    CWVPPopupBar* menu = CWVPPopupBar::CreatePopupBar(nullptr);
    menu->GetControls()->AddByType(wvpControlButton, 403)->SetCaption(L"&Open");
    menu->GetControls()->AddByType(wvpControlButton, 404)->SetCaption(L"&Close");
    file->SetCommandBar(menu);
    menu->InternalRelease();
    host.Layout();
    Foreground(host);
    CWVPCommandBar* bar = host.bar;
    ASSERT_TRUE(bar->SetTrackingMode(1, TRUE, TRUE));
    auto menuOpen = [menu] { return menu->GetSafeHwnd() && ::IsWindowVisible(menu->GetSafeHwnd()); };
    const bool ran = RunScript(
        {Key(VK_RIGHT), Until([bar] { return bar->GetSelected() == 1; }), Key(VK_DOWN),
         Until([bar, menuOpen] { return bar->GetPopuped() == 1 && menuOpen(); }),
         // The first Escape closes the menu only: the bar still tracks with File selected.
         Key(VK_ESCAPE),
         Until([bar, menuOpen] { return bar->GetPopuped() == -1 && !menuOpen() && bar->GetTrackingMode() != 0; }),
         Until([bar] { return bar->GetSelected() == 1; }),
         // The second one ends the tracking.
         Key(VK_ESCAPE), Until([bar] { return bar->GetTrackingMode() == 0; })},
        [bar] { bar->PumpTrackingMessages(); });
    EXPECT_TRUE(ran);
    EXPECT_EQ(0, bar->GetTrackingMode());
    EXPECT_TRUE(HostLog().commands.empty()) << "no command ran";
    EXPECT_FALSE(KeyboardHooked());
}
