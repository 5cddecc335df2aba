// The thread's keyboard manager: hooks only while receivers are registered, the newest receiver
// asked first, an answer of 2 letting the key through and unanswered keys eaten; deactivating the
// application closes the tracked bars.
#include "CommandBarHost.h"
#include "RwTest.h"
#include "uilib/commandbars/KeyboardManager.h"
#include "uilib/commandbars/MouseManager.h"

#include <vector>

namespace
{
std::vector<int> g_asked;

class Receiver : public CWVPHookManagerHookAble
{
  public:
    Receiver(int id, int answer) : m_id(id), m_answer(answer)
    {
    }
    int OnHookMessage(HWND, UINT message, WPARAM&, LPARAM&, LRESULT&) override
    {
        if (message == WM_KEYDOWN)
            g_asked.push_back(m_id);
        return m_answer;
    }
    int m_id;
    int m_answer;
};
} // namespace

TEST(KeyboardManagerTest, ReceiversAreAskedNewestFirst)
{
    CWVPKeyboardManager* keyboard = WVPKeyboardManager();
    ASSERT_FALSE(keyboard->IsHooked());
    Receiver first(1, 0), second(2, 0);
    keyboard->AddReceiver(&first);
    keyboard->AddReceiver(&second);
    keyboard->AddReceiver(&first);
    EXPECT_TRUE(keyboard->IsHooked());

    const struct
    {
        int firstAnswer, secondAnswer;
        std::vector<int> asked;
        BOOL eaten;
    } cases[] = {
        {0, 0, {2, 1}, TRUE},  // nobody answers: the key is eaten all the same
        {0, 1, {2}, TRUE},     // the newest handles it
        {0, 2, {2}, FALSE},    // the newest lets it through
        {2, 0, {2, 1}, FALSE}, // the older one lets it through
    };
    for (const auto& c : cases)
    {
        first.m_answer = c.firstAnswer;
        second.m_answer = c.secondAnswer;
        g_asked.clear();
        EXPECT_EQ(c.eaten, keyboard->DispatchKeyMessage(WM_KEYDOWN, 'A', 0)) << c.firstAnswer << c.secondAnswer;
        EXPECT_EQ(c.asked, g_asked) << c.firstAnswer << c.secondAnswer;
    }
    keyboard->RemoveReceiver(&second);
    EXPECT_TRUE(keyboard->IsHooked());
    keyboard->RemoveReceiver(&first);
    EXPECT_FALSE(keyboard->IsHooked()) << "the hooks go with the last receiver";
}

TEST(KeyboardManagerTest, DeactivatingTheApplicationClosesTrackedBars)
{
    rwtest::CommandBarHost host;
    host.Add(wvpControlButton, 1, L"&One");
    host.Layout();
    ASSERT_TRUE(host.bar->SetTrackingMode(1, TRUE, TRUE));
    ::SendMessageW(host.host, WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_EQ(1, host.bar->GetTrackingMode()) << "activation keeps it";
    ::SendMessageW(host.host, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_EQ(0, host.bar->GetTrackingMode());
    EXPECT_EQ(0, WVPMouseManager()->GetTrackedCount());
    EXPECT_FALSE(WVPKeyboardManager()->IsHooked());
}
