// An edit field on a bar while a skin is loaded: the skin's edit object takes over the field's
// window, which must still show the grey hint and take typed text.
#include "CommandBarHost.h"
#include "EditFieldProbe.h"
#include "RwTest.h"
#include "WideText.h"
#include "uilib/commandbars/ControlEdit.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinObject.h"

using rwtest::CommandBarHost;

namespace
{
void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

} // namespace

TEST(ControlEditSkinTest, SkinnedFieldShowsItsHintAndTakesInput)
{
    CWVPSkinManager* skin = WVPSkinManager();
    skin->GetResourceFile()->m_hCallerModule = ::GetModuleHandleW(nullptr);
    ASSERT_TRUE(skin->LoadSkin(nullptr, L"NORMALBLUE_INI"));
    {
        CommandBarHost host;
        CWVPControlEdit* edit = static_cast<CWVPControlEdit*>(host.Add(wvpControlEdit, 300, L"Find"));
        edit->SetHasLabel(TRUE);
        edit->SetWidth(160);
        edit->SetEditHint(L"Search");
        host.Layout();
        const HWND window = edit->GetEditCtrl()->GetSafeHwnd();
        ASSERT_TRUE(::IsWindow(window));
        ASSERT_NE(nullptr, skin->SetHook(window, L"Edit", nullptr, FALSE)) << "the skin's edit object takes the field";
        Pump();

        WCHAR text[64] = {};
        ::GetWindowTextW(window, text, ARRAYSIZE(text));
        EXPECT_EQ("Search", rwtest::Utf8(text));
        EXPECT_EQ("", rwtest::Utf8(edit->GetEditText()));
        const int hint = rwtest::DarkestPrintedPixel(window);
        EXPECT_LT(hint, 255) << "the hint is drawn";
        EXPECT_GE(hint, 64) << "in grey";

        ::SetForegroundWindow(host.host);
        ::SetFocus(window);
        Pump();
        ASSERT_TRUE(edit->IsFocused());
        for (WCHAR ch : {L'o', L'k'})
            ::SendMessageW(window, WM_CHAR, WPARAM(ch), 1);
        EXPECT_EQ("ok", rwtest::Utf8(edit->GetEditText()));
        ::SetFocus(host.host);
        Pump();
        EXPECT_LT(rwtest::DarkestPrintedPixel(window), 64) << "typed text is drawn in the text colour";
        skin->Remove(window);
    }
    skin->LoadSkin(nullptr, nullptr);
}
