#include "DialogTemplate.h"
#include "RwTest.h"
#include "WideText.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinObject.h"
#include "uilib/skin/SkinObjectClassInfo.h"
#include "uilib/skin/SkinObjectFrame.h"
#include "uilib/skin/SkinObjectScrollBar.h"

#include <commctrl.h>
#include <prsht.h>

#include <vector>

namespace
{

const wchar_t kPlainClass[] = L"RwSkinObjectTestWindow";
const UINT kAnswerMessage = WM_APP + 1;
const LRESULT kAnswer = 42;
LRESULT g_queryAnswer = 0;

LRESULT CALLBACK PlainProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kAnswerMessage)
        return kAnswer;
    if (message == WVPSkinQueryStateMessage() && g_queryAnswer)
        return g_queryAnswer;
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

WNDPROC g_belowOuter = nullptr;
LRESULT CALLBACK OuterProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(g_belowOuter, hWnd, message, wParam, lParam);
}

// A subclasser that notices when the chain below it calls it again for the same message (the
// loop that would overflow the stack) and stops there.
int g_outerDepth = 0;
int g_outerReentries = 0;
LRESULT CALLBACK GuardedOuterProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (g_outerDepth > 0 && message == kAnswerMessage)
    {
        ++g_outerReentries;
        return 0;
    }
    ++g_outerDepth;
    LRESULT result = CallWindowProcW(g_belowOuter, hWnd, message, wParam, lParam);
    --g_outerDepth;
    return result;
}

using rwtest::DialogTemplate;

class SkinObjectTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &PlainProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kPlainClass;
        RegisterClassW(&wc);
        g_queryAnswer = 0;
        manager.GetResourceFile()->m_hCallerModule = GetModuleHandleW(nullptr);
    }
    void TearDown() override
    {
        for (HWND window : windows)
            DestroyWindow(window);
    }
    HWND Create(LPCWSTR className, DWORD style = WS_OVERLAPPEDWINDOW, HWND parent = nullptr)
    {
        HWND window = CreateWindowExW(0, className, L"", style, 0, 0, 200, 150, parent, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
        if (window && !parent)
            windows.push_back(window);
        return window;
    }
    CWVPSkinManager manager;
    std::vector<HWND> windows;
};

TEST_F(SkinObjectTest, EveryNewWindowGetsTheObjectItsClassCallsFor)
{
    InitCommonControls();
    HWND plain = Create(kPlainClass);
    HWND scrollBar = Create(L"ScrollBar", WS_POPUP | SBS_HORZ);
    HWND tip = Create(TOOLTIPS_CLASSW, WS_POPUP);
    ASSERT_TRUE(plain && scrollBar && tip);

    CWVPSkinObject* frame = manager.Lookup(plain);
    ASSERT_NE(nullptr, frame);
    EXPECT_TRUE(frame->IsKindOf(RUNTIME_CLASS(CWVPSkinObjectFrame)));
    EXPECT_EQ(plain, frame->GetSkinnedWindow());
    EXPECT_EQ("WINDOW", rwtest::Utf8(frame->GetSchemaClassName()));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&CWVPSkinObject::WindowProc), GetWindowLongPtrW(plain, GWLP_WNDPROC));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(&PlainProc), frame->GetPreviousWndProc());
    ASSERT_NE(nullptr, manager.Lookup(scrollBar));
    EXPECT_TRUE(manager.Lookup(scrollBar)->IsKindOf(RUNTIME_CLASS(CWVPSkinObjectScrollBar)));
    EXPECT_EQ(nullptr, manager.Lookup(tip));

    // Without a skin every message still reaches the window's own procedure.
    EXPECT_EQ(kAnswer, SendMessageW(plain, kAnswerMessage, 0, 0));

    // The registry's names: synonyms share the info, unskinned classes have one without a class.
    CWVPSkinObjectClassRegistry& registry = manager.GetClassRegistry();
    ASSERT_NE(nullptr, registry.Lookup(L"edit"));
    EXPECT_EQ(registry.Lookup(L"Edit"), registry.Lookup(L"TMemo"));
    ASSERT_NE(nullptr, registry.Lookup(L"SysPager"));
    EXPECT_EQ(nullptr, registry.Lookup(L"SysPager")->CreateObject(L"SysPager", nullptr));
    EXPECT_EQ(nullptr, manager.SetHook(plain, L"ime", nullptr, FALSE));
    EXPECT_EQ(nullptr, manager.SetHook(plain, L"SysPager", nullptr, FALSE));
    // A class name is offered cut to 49 characters: the registry entry of the cut name applies.
    WCHAR longName[61];
    for (int i = 0; i < 60; ++i)
        longName[i] = WCHAR(L'A' + i % 26);
    longName[60] = 0;
    WCHAR cutName[50];
    lstrcpynW(cutName, longName, 50);
    CWVPSkinObjectClassInfo* info = new CWVPSkinObjectClassInfo(RUNTIME_CLASS(CWVPSkinObjectScrollBar));
    registry.AddClass(cutName, info);
    info->InternalRelease();
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = longName;
    ASSERT_TRUE(RegisterClassW(&wc));
    HWND longClass = Create(longName);
    ASSERT_NE(nullptr, manager.Lookup(longClass));
    EXPECT_TRUE(manager.Lookup(longClass)->IsKindOf(RUNTIME_CLASS(CWVPSkinObjectScrollBar)));
}

TEST_F(SkinObjectTest, RemovingAllRestoresEveryWindowProcedure)
{
    HWND first = Create(kPlainClass);
    HWND second = Create(L"ScrollBar", WS_POPUP | SBS_VERT);
    WNDPROC secondProc = manager.Lookup(second)->GetPreviousWndProc();
    ASSERT_NE(nullptr, secondProc);
    manager.RemoveAll(TRUE);
    EXPECT_EQ(0, manager.GetObjectCount());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&PlainProc), GetWindowLongPtrW(first, GWLP_WNDPROC));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(secondProc), GetWindowLongPtrW(second, GWLP_WNDPROC));
    EXPECT_EQ(kAnswer, SendMessageW(first, kAnswerMessage, 0, 0));
}

TEST_F(SkinObjectTest, AWindowSubclassedAboveTheSkinKeepsWorkingWhenItsObjectGoes)
{
    HWND window = Create(kPlainClass);
    ASSERT_NE(nullptr, manager.Lookup(window));
    g_belowOuter = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, LONG_PTR(&OuterProc)));
    ASSERT_EQ(reinterpret_cast<WNDPROC>(&CWVPSkinObject::WindowProc), g_belowOuter);

    manager.RemoveAll(TRUE);
    // The outer procedure stays; the skin's one below it forwards to the window's own.
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&OuterProc), GetWindowLongPtrW(window, GWLP_WNDPROC));
    EXPECT_EQ(kAnswer, SendMessageW(window, kAnswerMessage, 0, 0));
    EXPECT_TRUE(DestroyWindow(window));
    windows.clear();
}

TEST_F(SkinObjectTest, HookingAWindowAgainReplacesItsObject)
{
    HWND window = Create(kPlainClass);
    CWVPSkinObject* second = manager.SetHook(window, L"ScrollBar", nullptr, FALSE);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(second, manager.Lookup(window));
    EXPECT_EQ(1, manager.GetObjectCount());
    // The new object sits on the window's own procedure, not on the old object's.
    EXPECT_EQ(reinterpret_cast<WNDPROC>(&PlainProc), second->GetPreviousWndProc());
    EXPECT_EQ(kAnswer, SendMessageW(window, kAnswerMessage, 0, 0));
    EXPECT_TRUE(DestroyWindow(window));
    windows.clear();
    EXPECT_EQ(0, manager.GetObjectCount()) << "WM_NCDESTROY removes the object";
}

// Hooking a window again while a subclasser sits above the skin's procedure keeps one chain:
// subclasser, skin, the window's own procedure, and never back to the subclasser.
TEST_F(SkinObjectTest, HookingAWindowSubclassedAboveTheSkinKeepsTheChainStraight)
{
    HWND window = Create(kPlainClass);
    ASSERT_NE(nullptr, manager.Lookup(window));
    g_belowOuter = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, LONG_PTR(&GuardedOuterProc)));
    ASSERT_EQ(reinterpret_cast<WNDPROC>(&CWVPSkinObject::WindowProc), g_belowOuter);
    g_outerDepth = g_outerReentries = 0;

    CWVPSkinObject* second = manager.SetHook(window, L"ScrollBar", nullptr, FALSE);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&GuardedOuterProc), GetWindowLongPtrW(window, GWLP_WNDPROC));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(&PlainProc), second->GetPreviousWndProc());
    EXPECT_EQ(kAnswer, SendMessageW(window, kAnswerMessage, 0, 0));
    EXPECT_EQ(0, g_outerReentries) << "the chain led back to the subclasser";

    // Once the subclasser leaves, the object comes off as usual.
    SetWindowLongPtrW(window, GWLP_WNDPROC, LONG_PTR(g_belowOuter));
    manager.RemoveAll(TRUE);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&PlainProc), GetWindowLongPtrW(window, GWLP_WNDPROC));
    EXPECT_EQ(kAnswer, SendMessageW(window, kAnswerMessage, 0, 0));
}

TEST_F(SkinObjectTest, TheQueryStateMessageLetsAWindowRefuseTheSkin)
{
    ASSERT_TRUE(manager.LoadSkin(nullptr, L"NORMALBLUE_INI"));
    g_queryAnswer = 1;
    HWND window = Create(kPlainClass);
    CWVPSkinObject* object = manager.Lookup(window);
    ASSERT_NE(nullptr, object);
    // Only framework windows are asked at attach time; the update message asks any window.
    EXPECT_FALSE(object->IsOptedOut());
    SendMessageW(window, WVPSkinUpdateStateMessage(), 0, 0);
    EXPECT_TRUE(object->IsOptedOut());
    EXPECT_FALSE(object->IsSkinEnabled());
    g_queryAnswer = 0;
    SendMessageW(window, WVPSkinUpdateStateMessage(), 0, 0);
    EXPECT_FALSE(object->IsOptedOut());
    EXPECT_TRUE(object->IsSkinEnabled());
    // A window that forwards the query to the default procedure is answered 0 by the skin.
    EXPECT_EQ(0, SendMessageW(window, WVPSkinQueryStateMessage(), 0, 0));
    EXPECT_EQ(kAnswer, SendMessageW(window, kAnswerMessage, 0, 0));
    EXPECT_FALSE(manager.LoadSkin(nullptr, nullptr));
}

struct PageKinds
{
    HWND sheet = nullptr;
    std::vector<int> kinds;
};
CWVPSkinManager* g_pageManager = nullptr;
PageKinds* g_pageKinds = nullptr;

INT_PTR CALLBACK PageProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG && g_pageKinds)
    {
        CWVPSkinObject* object = g_pageManager->Lookup(hWnd);
        g_pageKinds->kinds.push_back(object && object->IsKindOf(RUNTIME_CLASS(CWVPSkinObjectFrame))
                                         ? static_cast<CWVPSkinObjectFrame*>(object)->GetWindowKind()
                                         : -1);
        return TRUE;
    }
    return FALSE;
}

int PageKindOf(CWVPSkinManager& manager, DWORD sheetFlags)
{
    std::vector<WORD> page = DialogTemplate(WS_CHILD | DS_CONTROL);
    PageKinds kinds;
    g_pageManager = &manager;
    g_pageKinds = &kinds;
    HWND sheet = rwtest::CreateOnePageSheet(page, &PageProc, sheetFlags);
    g_pageKinds = nullptr;
    if (!sheet)
        return -2;
    DestroyWindow(sheet);
    return kinds.kinds.empty() ? -3 : kinds.kinds.front();
}

TEST_F(SkinObjectTest, DialogsArePagesOnlyInsideANonWizardPropertySheet)
{
    InitCommonControls();
    ASSERT_TRUE(manager.LoadSkin(nullptr, L"NORMALBLUE_INI"));
    EXPECT_EQ(CWVPSkinObjectFrame::kWindowPropertyPage, PageKindOf(manager, 0));
    EXPECT_EQ(CWVPSkinObjectFrame::kWindowDialog, PageKindOf(manager, PSH_WIZARD));

    std::vector<WORD> dialog = DialogTemplate(WS_POPUP | WS_CAPTION);
    HWND top = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<DLGTEMPLATE*>(dialog.data()),
                                          nullptr, &PageProc, 0);
    ASSERT_NE(nullptr, top);
    windows.push_back(top);
    CWVPSkinObject* object = manager.Lookup(top);
    ASSERT_NE(nullptr, object);
    EXPECT_EQ(CWVPSkinObjectFrame::kWindowDialog, static_cast<CWVPSkinObjectFrame*>(object)->GetWindowKind());
    EXPECT_FALSE(manager.LoadSkin(nullptr, nullptr));
}

} // namespace
