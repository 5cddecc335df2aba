// Controls without a window: their texts from prompt strings and captions, their values through
// a bound action, the actions' list, and controls made by type.
#include "RwTest.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/CommandBarResources.h"
#include "uilib/commandbars/ControlAction.h"
#include "uilib/commandbars/ControlActions.h"
#include "uilib/commandbars/ControlButton.h"
#include "uilib/commandbars/ControlPopup.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/foundation/ResourceManager.h"

#include <string>

namespace
{
std::string Narrow(const CString& text)
{
    return std::string(CStringA(text).GetString());
}

// A control that counts the caption notifications it gets.
class CCountingControl : public CWVPControlButton
{
  public:
    void OnCaptionChanged() override
    {
        ++captionChanges;
    }
    int captionChanges = 0;
};
} // namespace

TEST(ControlTest, PromptStringsResolveTheirParts)
{
    struct Case
    {
        const char* name;
        const wchar_t* prompt;
        const char* description;
        const char* tooltip;
        const char* caption;
        const char* keyboardTip;
        int captionChanges;
    } cases[] = {
        {"two parts: the tooltip becomes the caption", L"Opens a file\nOpen", "Opens a file", "Open", "Open", "", 1},
        {"four parts", L"Saves it\nSave\n&Save\nS", "Saves it", "Save", "&Save", "S", 0},
        {"no newline: both texts are the whole", L"Plain", "Plain", "Plain", "Plain", "", 1},
        {"parts beyond the fourth are ignored", L"d\nt\nc\nk\nextra\nmore", "d", "t", "c", "k", 0},
        {"empty parts stay empty", L"\n\n\n", "", "", "", "", 0},
        {"a trailing newline leaves an empty tooltip", L"only description\n", "only description", "", "", "", 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CCountingControl control;
        control.SetPrompt(c.prompt);
        EXPECT_EQ(c.description, Narrow(control.GetDescription()));
        EXPECT_EQ(c.tooltip, Narrow(control.GetTooltip()));
        EXPECT_EQ(c.caption, Narrow(control.GetCaption()));
        EXPECT_EQ(c.keyboardTip, Narrow(control.GetKeyboardTip()));
        EXPECT_EQ(c.captionChanges, control.captionChanges);
    }

    // A null or empty prompt changes nothing; an existing caption and keyboard tip are kept.
    CWVPControlButton control;
    control.SetCaption(L"Mine");
    control.SetPrompt(nullptr);
    control.SetPrompt(L"");
    EXPECT_EQ("Mine", Narrow(control.GetCaption()));
    EXPECT_EQ("", Narrow(control.GetTooltip()));
    control.SetPrompt(L"d\nt\nc\nk");
    EXPECT_EQ("Mine", Narrow(control.GetCaption()));
}

TEST(ControlTest, CaptionsAndShortcuts)
{
    CWVPControlButton control;
    control.SetCaption(L"&Open\tCtrl+O");
    EXPECT_EQ("&Open", Narrow(control.GetCaption()));
    EXPECT_EQ("Ctrl+O", Narrow(control.GetShortcutText()));
    control.SetShortcutText(L"F3");
    EXPECT_EQ("F3", Narrow(control.GetShortcutText()));
    control.SetCaption(L"Tab at the end\t");
    EXPECT_EQ("Tab at the end", Narrow(control.GetCaption()));
}

TEST(ControlTest, BoundControlsFollowTheirAction)
{
    CWVPCommandBarManager manager;
    manager.EnableActions();
    CWVPControlActions& actions = *manager.GetActions();

    // Sorted by id, one per id; ids outside the range find nothing.
    CWVPControlAction* a300 = actions.Add(300);
    CWVPControlAction* a100 = actions.Add(100);
    CWVPControlAction* a200 = actions.Add(200);
    EXPECT_EQ(a100, actions.Add(100));
    ASSERT_EQ(3, actions.GetCount());
    EXPECT_EQ(a100, actions.GetAt(0));
    EXPECT_EQ(a200, actions.GetAt(1));
    EXPECT_EQ(a300, actions.GetAt(2));
    EXPECT_EQ(a200, actions.FindAction(200));
    EXPECT_EQ(nullptr, actions.FindAction(0));
    EXPECT_EQ(nullptr, actions.FindAction(-5));
    EXPECT_EQ(nullptr, actions.FindAction(150));
    EXPECT_THROW(actions.GetAt(3), CException*);

    CWVPControlButton control;
    control.SetCaption(L"Own");
    control.SetEnabled(0);
    control.SetAction(a200);
    EXPECT_EQ(200, control.GetID());
    EXPECT_EQ("", Narrow(control.GetCaption()));
    a200->SetCaption(L"Shared\tCtrl+S");
    EXPECT_EQ("Shared", Narrow(control.GetCaption()));
    EXPECT_EQ(1, control.GetEnabled());
    a200->SetEnabled(0);
    a200->SetChecked(1);
    EXPECT_EQ(0, control.GetEnabled());
    EXPECT_EQ(1, control.GetChecked());
    manager.SetCustomizeMode(TRUE);
    EXPECT_EQ(1, control.GetEnabled());
    manager.SetCustomizeMode(FALSE);

    // The icon id comes from the action: its own when positive, else its id.
    EXPECT_EQ(200, control.GetIconId());
    a200->SetIconId(57600);
    EXPECT_EQ(57600, control.GetIconId());
    control.SetIconId(7);
    EXPECT_EQ(7, control.GetIconId());

    a200->SetVisible(FALSE);
    EXPECT_FALSE(control.IsVisible(0xFFFFFFFF));
    a200->SetVisible(TRUE);

    // A caption without a tooltip and without a caption: the action's tooltip.
    a100->SetPrompt(L"Desc\nTip");
    CWVPControlButton second;
    second.SetAction(a100);
    EXPECT_EQ("Tip", Narrow(second.GetCaption()));
    EXPECT_EQ("Desc", Narrow(second.GetDescription()));

    control.SetAction(nullptr);
    EXPECT_EQ(1, control.GetEnabled());
    EXPECT_EQ(0, control.GetChecked());
    EXPECT_EQ("", Narrow(control.GetCaption()));
}

TEST(ControlTest, SettingTheSameActionCaptionNotifiesNobody)
{
    CWVPControlActions actions(nullptr);
    CWVPControlAction* action = actions.Add(10);
    CCountingControl control;
    control.SetAction(action);
    action->SetCaption(L"Go\tF5");
    EXPECT_EQ(1, control.captionChanges);
    action->SetCaption(L"Go");
    EXPECT_EQ(1, control.captionChanges);
}

TEST(ControlTest, HideFlagsAndVisibilityMasks)
{
    CWVPControlButton control;
    control.SetHideFlags(WVP_HIDE_WRAP);
    EXPECT_TRUE(control.IsVisible(WVP_HIDE_WRAP));
    EXPECT_FALSE(control.IsVisible(0));
    control.SetHideFlags(0);
    control.SetVisible(FALSE);
    EXPECT_EQ(WVP_HIDE_HIDDEN, control.GetHideFlags());
}

TEST(ControlTest, CollectionsMakeControlsByTypeAndIgnoreBadInput)
{
    CWVPControls* controls = static_cast<CWVPControls*>(CWVPControls::CreateObject());
    EXPECT_EQ(nullptr, controls->AddByType(0, 1));
    EXPECT_EQ(nullptr, controls->AddByType(12, 1));
    EXPECT_EQ(nullptr, controls->AddByType(-3, 1));
    EXPECT_EQ(0, controls->GetCount());
    EXPECT_EQ(nullptr, controls->GetAt(0));
    EXPECT_EQ(nullptr, controls->GetAt(-1));
    EXPECT_EQ(nullptr, controls->AddControl(nullptr, 5));

    for (int type = 1; type <= 11; ++type)
    {
        CWVPControl* control = controls->AddByType(type, 1000 + type);
        ASSERT_NE(nullptr, control) << type;
        EXPECT_EQ(type, control->GetType());
        EXPECT_EQ(type - 1, control->GetIndex());
        // Popup kinds open a popup bar; a combo box's popup bar is its drop-down list.
        const BOOL popup = (type >= 2 && type <= 4) || type == wvpControlComboBox;
        EXPECT_EQ(popup, control->GetCommandBar() != nullptr) << type;
    }
    EXPECT_EQ(nullptr, controls->GetAt(11));

    // Between the popup kinds only the type changes; other changes replace the control.
    CWVPControl* popup = controls->GetAt(1);
    EXPECT_EQ(popup, controls->SetControlType(popup, 4));
    CWVPControl* button = controls->GetAt(0);
    CWVPControl* replaced = controls->SetControlType(button, 2);
    ASSERT_NE(nullptr, replaced);
    EXPECT_NE(button, replaced);
    EXPECT_EQ(0, replaced->GetIndex());
    EXPECT_EQ(1001, replaced->GetID());
    EXPECT_EQ(2, replaced->GetType());
    EXPECT_EQ(11, controls->GetCount());
    controls->InternalRelease();
}

TEST(ControlTest, KeyboardOrderWrapsOnceAndSkipsHiddenControls)
{
    CWVPControls* controls = static_cast<CWVPControls*>(CWVPControls::CreateObject());
    EXPECT_EQ(-1, controls->GetNext(-1, 1));
    for (int i = 0; i < 4; ++i)
        controls->AddByType(wvpControlButton, 100 + i);
    controls->GetAt(0)->SetVisible(FALSE);
    controls->GetAt(2)->SetFlags(WVP_CONTROLFLAG_SKIPFOCUS);
    EXPECT_EQ(1, controls->GetNext(-1, 1));
    EXPECT_EQ(3, controls->GetNext(-1, -1));
    EXPECT_EQ(3, controls->GetNext(1, 1));
    EXPECT_EQ(1, controls->GetNext(3, 1));
    EXPECT_EQ(2, controls->GetNext(1, 1, FALSE));
    controls->GetAt(1)->SetVisible(FALSE);
    controls->GetAt(3)->SetVisible(FALSE);
    EXPECT_EQ(-1, controls->GetNext(-1, 1));
    controls->InternalRelease();
}

// The resize cursor of customize mode comes with the library: a 32 x 32 cursor with its hot spot
// in the middle, found through the resource manager in any program that links the command bars.
TEST(ControlTest, TheResizeCursorIsInTheLibrarysResources)
{
    HCURSOR cursor = WVPResourceManager()->LoadCursor(IDC_WVP_RESIZE_HORZ);
    ASSERT_NE(nullptr, cursor);
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(16u, info.xHotspot);
    EXPECT_EQ(16u, info.yHotspot);
    BITMAP mask = {};
    ::GetObjectW(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(32, mask.bmWidth);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
}
