#include "RwTest.h"
#include "platform/mfc/ExitSequence.h"
#include "platform/mfc/ThreadState.h"
#include "uilib/commandbars/HookManager.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinObject.h"

#include <functional>
#include <string>
#include <vector>

namespace
{
const wchar_t kWideClass[] = L"RwHookManagerTestWide";
const char kNarrowClass[] = "RwHookManagerTestNarrow";
const UINT kProbe = WM_APP + 7;
const LRESULT kOwnAnswer = 42;

// What happened, in order: "own" for the window's own procedure, a receiver's name when asked.
std::vector<std::string> g_log;
LPARAM g_ownLParam = 0;
// Whether the window's own procedure saw WM_NCDESTROY with itself current and no sink left.
bool g_ncDestroyUnhooked = false;
// The window's answer to the skin's question whether it refuses the skin.
LRESULT g_refuseSkin = 0;

LRESULT CALLBACK OwnProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbe)
    {
        g_log.push_back("own");
        g_ownLParam = lParam;
        return kOwnAnswer;
    }
    if (message == WVPSkinQueryStateMessage() && g_refuseSkin)
        return g_refuseSkin;
    if (message == WM_NCDESTROY)
        g_ncDestroyUnhooked = ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&OwnProc) &&
                              !WVPHookManager()->Lookup(hWnd);
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

LRESULT CALLBACK NarrowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbe)
        return kOwnAnswer;
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

// A subclasser that comes after the hook manager.
WNDPROC g_belowOuter = nullptr;
LRESULT CALLBACK OuterProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbe)
        g_log.push_back("outer");
    return ::CallWindowProcW(g_belowOuter, hWnd, message, wParam, lParam);
}

// A receiver that logs the messages it is asked about and answers as told.
class Receiver : public CWVPHookManagerHookAble
{
  public:
    explicit Receiver(const char* name, int answer = HookNotHandled) : m_name(name), m_answer(answer)
    {
        ++s_alive;
    }
    ~Receiver() override
    {
        --s_alive;
    }
    int OnHookMessage(HWND hWnd, UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override
    {
        if (message == WM_NCDESTROY)
            ++s_ncDestroySeen;
        if (message != kProbe && message != WM_DESTROY)
            return HookNotHandled;
        g_log.push_back(m_name + (message == WM_DESTROY ? ":destroy" : ""));
        m_lastSent = AfxGetThreadState()->m_lastSentMsg.message;
        if (m_changeLParam)
            lParam = m_changeLParam;
        if (m_throw && message == kProbe)
            throw std::string("receiver failure");
        if (m_onMessage)
            m_onMessage(hWnd, message);
        result = 77;
        (void)wParam;
        return m_answer;
    }
    std::string m_name;
    int m_answer;
    LPARAM m_changeLParam = 0;
    bool m_throw = false;
    UINT m_lastSent = 0;
    std::function<void(HWND, UINT)> m_onMessage;
    static int s_alive;
    static int s_ncDestroySeen;
};
int Receiver::s_alive = 0;
int Receiver::s_ncDestroySeen = 0;

class HookManagerTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &OwnProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kWideClass;
        ::RegisterClassW(&wc);
        WNDCLASSA wca = {};
        wca.lpfnWndProc = &NarrowProc;
        wca.hInstance = ::GetModuleHandleW(nullptr);
        wca.lpszClassName = kNarrowClass;
        ::RegisterClassA(&wca);
        g_log.clear();
        g_ncDestroyUnhooked = false;
        g_refuseSkin = 0;
        Receiver::s_ncDestroySeen = 0;
    }
    void TearDown() override
    {
        for (HWND window : m_windows)
        {
            if (::IsWindow(window))
                ::DestroyWindow(window);
        }
    }
    HWND Create()
    {
        HWND window = ::CreateWindowExW(0, kWideClass, L"", WS_POPUP, 0, 0, 100, 80, nullptr, nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr);
        m_windows.push_back(window);
        return window;
    }
    static LONG_PTR Proc(HWND window)
    {
        return ::GetWindowLongPtrW(window, GWLP_WNDPROC);
    }
    std::vector<HWND> m_windows;
};
} // namespace

// The newest receiver is asked first; 0 asks the next, 2 stops asking and lets the window's own
// procedure have the message, 1 answers for the window. Changed parameters reach the window, the
// framework sees the message being handled, and removing the last receiver restores the procedure.
TEST_F(HookManagerTest, ReceiversAreAskedNewestFirst)
{
    HWND window = Create();
    Receiver first("first"), second("second");
    WVPHookManager()->SetHook(window, &first);
    WVPHookManager()->SetHook(window, &second);
    WVPHookManager()->SetHook(window, &second); // held once
    ASSERT_NE(nullptr, WVPHookManager()->Lookup(window));
    EXPECT_EQ(2, WVPHookManager()->Lookup(window)->GetSize());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&CWVPHookManager::HookWndProc), Proc(window));

    const struct
    {
        int answer;
        LRESULT result;
        std::vector<std::string> log;
    } cases[] = {
        {CWVPHookManagerHookAble::HookNotHandled, kOwnAnswer, {"second", "first", "own"}},
        {CWVPHookManagerHookAble::HookStop, kOwnAnswer, {"second", "own"}},
        {CWVPHookManagerHookAble::HookHandled, 77, {"second"}},
    };
    for (const auto& c : cases)
    {
        g_log.clear();
        second.m_answer = c.answer;
        EXPECT_EQ(c.result, ::SendMessageW(window, kProbe, 0, 5)) << c.answer;
        EXPECT_EQ(c.log, g_log) << c.answer;
    }
    EXPECT_EQ(kProbe, second.m_lastSent);

    second.m_answer = CWVPHookManagerHookAble::HookNotHandled;
    first.m_changeLParam = 99;
    ::SendMessageW(window, kProbe, 0, 5);
    EXPECT_EQ(99, g_ownLParam);

    // A receiver that throws is contained; the window still gets its message.
    g_log.clear();
    second.m_throw = true;
    EXPECT_EQ(kOwnAnswer, ::SendMessageW(window, kProbe, 0, 5));
    EXPECT_EQ((std::vector<std::string>{"second", "own"}), g_log);

    WVPHookManager()->RemoveHook(window, &second);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&CWVPHookManager::HookWndProc), Proc(window));
    WVPHookManager()->RemoveHook(window, &second); // not held: nothing
    WVPHookManager()->RemoveHook(window, &first);
    EXPECT_EQ(nullptr, WVPHookManager()->Lookup(window));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&OwnProc), Proc(window));
    g_log.clear();
    EXPECT_EQ(kOwnAnswer, ::SendMessageW(window, kProbe, 0, 5));
    EXPECT_EQ(std::vector<std::string>{"own"}, g_log);
}

// A narrow window is hooked and given back narrow, with its own procedure.
TEST_F(HookManagerTest, NarrowWindowsStayNarrow)
{
    HWND window = ::CreateWindowExA(0, kNarrowClass, "", WS_POPUP, 0, 0, 100, 80, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    m_windows.push_back(window);
    ASSERT_FALSE(::IsWindowUnicode(window));
    Receiver receiver("receiver");
    WVPHookManager()->SetHook(window, &receiver);
    EXPECT_FALSE(WVPHookManager()->Lookup(window)->IsUnicode());
    EXPECT_EQ(kOwnAnswer, ::SendMessageW(window, kProbe, 0, 0));
    EXPECT_EQ(std::vector<std::string>{"receiver"}, g_log);
    ::SetWindowTextA(window, "narrow text");
    char text[32] = {};
    ::GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ("narrow text", text);
    WVPHookManager()->RemoveHookable(&receiver);
    EXPECT_FALSE(::IsWindowUnicode(window));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&NarrowProc), ::GetWindowLongPtrA(window, GWLP_WNDPROC));
}

// Destroying a hooked window unhooks it before its own procedure sees WM_NCDESTROY, which no
// receiver sees; auto-delete receivers go with the hook, the others stay their owners'.
TEST_F(HookManagerTest, DestroyingTheWindowUnhooksIt)
{
    HWND window = Create();
    const int aliveBefore = Receiver::s_alive;
    Receiver* owned = new Receiver("owned");
    owned->m_bAutoDelete = TRUE;
    Receiver kept("kept");
    WVPHookManager()->SetHook(window, owned);
    WVPHookManager()->SetHook(window, &kept);
    ASSERT_TRUE(::DestroyWindow(window));
    EXPECT_TRUE(g_ncDestroyUnhooked);
    EXPECT_EQ(0, Receiver::s_ncDestroySeen);
    EXPECT_EQ((std::vector<std::string>{"kept:destroy", "owned:destroy"}), g_log);
    EXPECT_EQ(aliveBefore + 1, Receiver::s_alive); // the owned one was deleted
    EXPECT_EQ(nullptr, WVPHookManager()->Lookup(window));
}

// Receivers that leave while a message is dispatched: one that removes an earlier one and itself,
// then deletes itself, and the window's last receiver leaving inside the walk. Each receiver still
// registered is asked exactly once, and none that left is asked.
TEST_F(HookManagerTest, ReceiversMayLeaveWhileAsked)
{
    HWND window = Create();
    Receiver a("a"), b("b");
    Receiver* c = new Receiver("c");
    WVPHookManager()->SetHook(window, &a);
    WVPHookManager()->SetHook(window, &b);
    WVPHookManager()->SetHook(window, c);
    c->m_onMessage = [c, &a](HWND hWnd, UINT) {
        WVPHookManager()->RemoveHook(hWnd, &a);
        WVPHookManager()->RemoveHook(hWnd, c);
        delete c;
    };
    ::SendMessageW(window, kProbe, 0, 0);
    EXPECT_EQ((std::vector<std::string>{"c", "b", "own"}), g_log);

    // The last receiver leaves on WM_DESTROY: the hook goes in the middle of the call.
    b.m_onMessage = [&b](HWND hWnd, UINT message) {
        if (message == WM_DESTROY)
            WVPHookManager()->RemoveHook(hWnd, &b);
    };
    Receiver d("d");
    WVPHookManager()->SetHook(window, &d);
    d.m_onMessage = [&d](HWND hWnd, UINT message) {
        if (message == WM_DESTROY)
            WVPHookManager()->RemoveHookable(&d);
    };
    g_log.clear();
    ASSERT_TRUE(::DestroyWindow(window));
    EXPECT_EQ((std::vector<std::string>{"d:destroy", "b:destroy"}), g_log);
    EXPECT_TRUE(g_ncDestroyUnhooked);
}

// A receiver in the hooks of several windows leaves them all; windows left without receivers are
// unhooked, the others keep theirs.
TEST_F(HookManagerTest, RemoveHookableLeavesEveryWindow)
{
    HWND one = Create(), two = Create();
    Receiver shared("shared"), other("other");
    WVPHookManager()->SetHook(one, &shared);
    WVPHookManager()->SetHook(two, &shared);
    WVPHookManager()->SetHook(two, &other);
    const INT_PTR before = WVPHookManager()->GetCount();
    WVPHookManager()->RemoveHookable(&shared);
    EXPECT_EQ(before - 1, WVPHookManager()->GetCount());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&OwnProc), Proc(one));
    ASSERT_NE(nullptr, WVPHookManager()->Lookup(two));
    ::SendMessageW(two, kProbe, 0, 0);
    EXPECT_EQ((std::vector<std::string>{"other", "own"}), g_log);
    WVPHookManager()->RemoveWindow(two);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&OwnProc), Proc(two));
}

// A window that runs the hook procedure without being hooked gets the default processing.
TEST_F(HookManagerTest, WindowsWithoutAHookGetTheDefaultProcessing)
{
    HWND window = Create();
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWVPHookManager::HookWndProc));
    ::SetWindowTextW(window, L"kept");
    wchar_t text[16] = {};
    EXPECT_EQ(4, ::GetWindowTextW(window, text, 16));
    EXPECT_EQ(0, lstrcmpW(L"kept", text));
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnProc));
}

// A subclasser that came after the hook keeps its place when the hook goes: the hook procedure
// stays in its chain and passes messages on; hooking the window again takes that place.
TEST_F(HookManagerTest, ALaterSubclasserKeepsItsChain)
{
    HWND window = Create();
    Receiver receiver("receiver");
    WVPHookManager()->SetHook(window, &receiver);
    g_belowOuter =
        reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterProc)));
    ASSERT_EQ(reinterpret_cast<WNDPROC>(&CWVPHookManager::HookWndProc), g_belowOuter);

    WVPHookManager()->RemoveHook(window, &receiver);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&OuterProc), Proc(window));
    EXPECT_EQ(kOwnAnswer, ::SendMessageW(window, kProbe, 0, 0));
    EXPECT_EQ((std::vector<std::string>{"outer", "own"}), g_log);

    g_log.clear();
    WVPHookManager()->SetHook(window, &receiver);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&OuterProc), Proc(window));
    EXPECT_EQ(kOwnAnswer, ::SendMessageW(window, kProbe, 0, 0));
    EXPECT_EQ((std::vector<std::string>{"outer", "receiver", "own"}), g_log);
    WVPHookManager()->RemoveHook(window, &receiver);
    ASSERT_TRUE(::DestroyWindow(window));
}

// The skin framework skins a hooked window after the hook: unhooking leaves the skin's procedure
// in place and its object still receiving the window's messages.
TEST_F(HookManagerTest, UnhookingLeavesALaterSkinWorking)
{
    HWND window = Create();
    Receiver receiver("receiver");
    WVPHookManager()->SetHook(window, &receiver);
    {
        CWVPSkinManager manager;
        manager.GetResourceFile()->m_hCallerModule = ::GetModuleHandleW(nullptr);
        ASSERT_TRUE(manager.LoadSkin(nullptr, L"NORMALBLUE_INI"));
        CWVPSkinObject* object = manager.SetHook(window, kWideClass, nullptr, FALSE);
        ASSERT_NE(nullptr, object);
        ASSERT_EQ(reinterpret_cast<LONG_PTR>(&CWVPSkinObject::WindowProc), Proc(window));

        WVPHookManager()->RemoveHook(window, &receiver);
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(&CWVPSkinObject::WindowProc), Proc(window));
        // The skin still handles the window: its state message reaches the object, which asks the
        // window and learns that it now refuses the skin.
        EXPECT_FALSE(object->IsOptedOut());
        g_refuseSkin = 1;
        ::SendMessageW(window, WVPSkinUpdateStateMessage(), 0, 0);
        EXPECT_TRUE(object->IsOptedOut());
        g_refuseSkin = 0;
        ::SendMessageW(window, WVPSkinUpdateStateMessage(), 0, 0);
        EXPECT_TRUE(object->IsSkinEnabled());
        EXPECT_EQ(object, manager.Lookup(window));
        EXPECT_EQ(kOwnAnswer, ::SendMessageW(window, kProbe, 0, 0));
        EXPECT_EQ(std::vector<std::string>{"own"}, g_log);
        EXPECT_FALSE(manager.LoadSkin(nullptr, nullptr));
    }
    EXPECT_EQ(kOwnAnswer, ::SendMessageW(window, kProbe, 0, 0));
    EXPECT_TRUE(::DestroyWindow(window));
}

// The exit sequence takes every hook off and gives the windows their procedures back; a later
// request makes a fresh manager.
TEST_F(HookManagerTest, TheExitSequenceRestoresEveryWindow)
{
    HWND one = Create(), two = Create();
    Receiver receiver("receiver");
    WVPHookManager()->SetHook(one, &receiver);
    WVPHookManager()->SetHook(two, &receiver);
    AfxRunExitHandlers();
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&OwnProc), Proc(one));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&OwnProc), Proc(two));
    EXPECT_EQ(0, WVPHookManager()->GetCount());
    EXPECT_EQ(kOwnAnswer, ::SendMessageW(one, kProbe, 0, 0));
    EXPECT_EQ(std::vector<std::string>{"own"}, g_log);
}
