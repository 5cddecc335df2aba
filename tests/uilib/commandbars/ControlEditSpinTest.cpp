// An edit field on a bar driven by real input (SendInput in a virtual desktop of the test's own,
// see tools/wineprefix.sh): a held spin button repeats and speeds up from steps of 1 to 5 to 20,
// and Escape typed into the field brings back the text it had when it got the focus.
#include "CommandBarHost.h"
#include "EditFieldProbe.h"
#include "RealInput.h"
#include "RwTest.h"
#include "WideText.h"
#include "uilib/commandbars/ControlEdit.h"
#include "uilib/commandbars/MouseManager.h"

#include <vector>

using rwtest::CommandBarHost;
using rwtest::PumpUntil;

namespace
{
bool g_released = false;
const std::vector<int>* g_deltas = nullptr;

// Lets the held button go once a step of 20 came, or when the wait is over.
DWORD g_holdStart = 0;
const DWORD kHoldLimit = 15000;
void CALLBACK ReleaseTick(HWND, UINT, UINT_PTR id, DWORD)
{
    const bool fastest = g_deltas && !g_deltas->empty() && g_deltas->back() == 20;
    if (g_released || (!fastest && ::GetTickCount() - g_holdStart < kHoldLimit))
        return;
    ::KillTimer(nullptr, id);
    g_released = true;
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof input);
}

struct SpinHost
{
    CommandBarHost host;
    CWVPControlEdit* edit = nullptr;
    rwtest::SpinOwnerProbe owner{host.host};

    SpinHost()
    {
        edit = static_cast<CWVPControlEdit*>(host.Add(wvpControlEdit, 300, L"Count"));
        edit->SetHasLabel(TRUE);
        edit->SetWidth(160);
        edit->ShowSpinButtons(TRUE);
        host.Layout();
        g_deltas = &owner.deltas;
        ::SetForegroundWindow(host.host);
        PumpUntil([&] { return ::GetForegroundWindow() == host.host; }, 5000);
    }
    ~SpinHost()
    {
        g_deltas = nullptr;
    }
    POINT Screen(CPoint pt) const
    {
        POINT p = pt;
        ::ClientToScreen(host.bar->GetSafeHwnd(), &p);
        return p;
    }
};
} // namespace

TEST(ControlEditSpinTest, HeldButtonSpeedsUpFromOneToFiveToTwenty)
{
    SpinHost f;
    f.edit->SetEditText(L"3");
    const CRect spin = f.edit->GetSpinButtonsRect();
    const POINT up = f.Screen(CPoint(spin.CenterPoint().x, spin.top + 3));
    rwtest::SendMouse(0, up);
    g_released = false;
    g_holdStart = ::GetTickCount();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, ReleaseTick);
    rwtest::SendMouse(MOUSEEVENTF_LEFTDOWN, up);
    ASSERT_TRUE(PumpUntil([] { return g_released; }, kHoldLimit + 5000));
    ASSERT_TRUE(PumpUntil([&] { return f.edit->GetPressed() == 0 && ::GetCapture() == nullptr; }, 5000))
        << "the loop ends with the button";
    ::KillTimer(nullptr, timer);

    ASSERT_FALSE(f.owner.deltas.empty());
    EXPECT_EQ(1, f.owner.deltas.front()) << "the press itself steps once";
    std::vector<int> kinds;
    for (int delta : f.owner.deltas)
        if (kinds.empty() || kinds.back() != delta)
            kinds.push_back(delta);
    EXPECT_EQ((std::vector<int>{1, 5, 20}), kinds) << "steps of 1, then 5, then 20, never back";
    int ones = 0;
    for (int delta : f.owner.deltas)
        ones += delta == 1;
    EXPECT_GE(ones, 3) << "the slow steps last a while before the first step of 5";
    int sum = 3;
    for (int delta : f.owner.deltas)
    {
        sum += delta;
        while (sum % delta)
            ++sum;
    }
    const int shown = WVPParseSpinValue(f.edit->GetEditText());
    EXPECT_EQ(sum, shown);
    EXPECT_EQ(0, shown % 20) << "the value lands on a multiple of the last step";
    EXPECT_EQ(0, f.edit->GetPressed());
}

TEST(ControlEditSpinTest, EscapeRestoresTheTextOfTheFocusTime)
{
    SpinHost f;
    f.edit->SetEditText(L"41");
    const HWND window = f.edit->GetEditCtrl()->GetSafeHwnd();
    CRect rc;
    ::GetWindowRect(window, &rc);
    const POINT inside = {rc.left + 5, rc.CenterPoint().y};
    rwtest::SendMouse(0, inside);
    rwtest::SendMouse(MOUSEEVENTF_LEFTDOWN, inside);
    rwtest::SendMouse(MOUSEEVENTF_LEFTUP, inside);
    ASSERT_TRUE(PumpUntil([&] { return f.edit->IsFocused() && ::GetFocus() == window; }, 5000));
    rwtest::SendKey(VK_END);
    rwtest::SendKey('7');
    ASSERT_TRUE(PumpUntil([&] { return f.edit->GetEditText() != L"41"; }, 5000));
    rwtest::SendKey(VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([&] { return !f.edit->IsFocused(); }, 5000));
    EXPECT_EQ("41", rwtest::Utf8(f.edit->GetEditText()));
    EXPECT_NE(window, ::GetFocus());
}
