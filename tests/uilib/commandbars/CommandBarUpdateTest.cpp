// A bar's idle update against a frame's update handlers, document-template visibility, the status
// line on selection and the automatic shortcut texts.
#include "RwTest.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarCmdUI.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/ControlButton.h"
#include "uilib/commandbars/Controls.h"

#include <map>
#include <string>

namespace
{
const UINT ID_ON = 0x8E01;          // enabled and checked by its handler
const UINT ID_OFF = 0x8E02;         // disabled by its handler
const UINT ID_OFF_CHECKED = 0x8E03; // disabled, then checked by its handler
const UINT ID_TEXT = 0x8E04;        // retitled by its handler
const UINT ID_COMMAND_ONLY = 0x8E05;
const UINT ID_NO_HANDLER = 0x8E06;
const UINT ID_BAR_OWN = 0x8E07; // answered by the bar's own routing

std::string Narrow(const CString& text)
{
    return std::string(CStringA(text).GetString());
}

class CUpdateFrame : public CFrameWnd
{
  public:
    std::map<UINT, int> m_asked;
    std::vector<WPARAM> m_selections;

    afx_msg void OnUpdateOn(CCmdUI* ui)
    {
        ++m_asked[ui->m_nID];
        ui->Enable(TRUE);
        ui->SetCheck(1);
    }
    afx_msg void OnUpdateOff(CCmdUI* ui)
    {
        ++m_asked[ui->m_nID];
        ui->Enable(FALSE);
    }
    afx_msg void OnUpdateOffChecked(CCmdUI* ui)
    {
        ++m_asked[ui->m_nID];
        ui->Enable(FALSE);
        ui->SetCheck(1);
    }
    afx_msg void OnUpdateText(CCmdUI* ui)
    {
        ++m_asked[ui->m_nID];
        ui->SetText(L"Renamed");
    }
    afx_msg void OnUpdateOwn(CCmdUI* ui)
    {
        ++m_asked[ui->m_nID];
        ui->Enable(FALSE);
    }
    afx_msg void OnCommandOnly()
    {
    }
    afx_msg LRESULT OnControlSelected(WPARAM wParam, LPARAM)
    {
        m_selections.push_back(wParam);
        return 0;
    }
    void PostNcDestroy() override
    {
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CUpdateFrame, CFrameWnd)
ON_UPDATE_COMMAND_UI(ID_ON, OnUpdateOn)
ON_UPDATE_COMMAND_UI(ID_OFF, OnUpdateOff)
ON_UPDATE_COMMAND_UI(ID_OFF_CHECKED, OnUpdateOffChecked)
ON_UPDATE_COMMAND_UI(ID_TEXT, OnUpdateText)
ON_UPDATE_COMMAND_UI(ID_BAR_OWN, OnUpdateOwn)
ON_COMMAND(ID_COMMAND_ONLY, OnCommandOnly)
ON_MESSAGE(WVP_WM_CONTROLSELECTED, OnControlSelected)
END_MESSAGE_MAP()

// A bar that answers one id through its own routing and counts its reflected requests.
class CRoutingBar : public CWVPCommandBar
{
  public:
    int m_ownAnswers = 0;
    void ClearLayoutFlags()
    {
        m_dwLayoutFlags = 0;
    }
    afx_msg void OnUpdateOwn(CCmdUI* ui)
    {
        ++m_ownAnswers;
        ui->Enable(TRUE);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRoutingBar, CWVPCommandBar)
ON_UPDATE_COMMAND_UI(ID_BAR_OWN, OnUpdateOwn)
END_MESSAGE_MAP()

// A button that counts its idle operation.
class CIdleCountingButton : public CWVPControlButton
{
  public:
    void OnIdleUpdate() override
    {
        ++m_idleRuns;
    }
    int m_idleRuns = 0;
};

// A hidden frame with a status line, a bar window inside it and a manager for the frame.
struct Fixture
{
    CUpdateFrame* frame = new CUpdateFrame;
    CWnd status;
    CRoutingBar* bar = new CRoutingBar;
    CWVPCommandBarManager manager;

    Fixture()
    {
        frame->Create(nullptr, L"frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 200));
        status.Create(L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(0, 170, 400, 190), frame, AFX_IDW_STATUS_BAR);
        HWND barWindow = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 30, frame->m_hWnd,
                                           nullptr, nullptr, nullptr);
        bar->Attach(barWindow);
        bar->SetPosition(wvpBarTop);
        manager.SetSite(frame->m_hWnd);
    }
    ~Fixture()
    {
        bar->Detach();
        bar->InternalRelease();
        frame->DestroyWindow();
        delete frame;
    }
    void UseManager()
    {
        bar->SetCommandBars(&manager);
    }
    CWVPControl* Add(int id)
    {
        return bar->GetControls()->AddByType(wvpControlButton, id);
    }
    std::string StatusText()
    {
        CString text;
        status.GetWindowText(text);
        return Narrow(text);
    }
};
} // namespace

TEST(CommandBarUpdateTest, UpdateHandlersEnableCheckAndRetitleControls)
{
    Fixture f;
    f.bar->SetOwnerSite(f.frame->m_hWnd);
    CWVPControl* on = f.Add(ID_ON);
    CWVPControl* off = f.Add(ID_OFF);
    CWVPControl* offChecked = f.Add(ID_OFF_CHECKED);
    CWVPControl* text = f.Add(ID_TEXT);
    CWVPControl* noHandler = f.Add(ID_NO_HANDLER);
    on->SetEnabled(FALSE);
    off->SetChecked(1);
    noHandler->SetEnabled(TRUE);
    f.bar->UpdateControlsCmdUI();

    struct Expect
    {
        const char* name;
        CWVPControl* control;
        int enabled;
        int checked;
    } expect[] = {
        {"enabled and checked", on, 1, 1},
        {"disabled loses its check", off, 0, 0},
        {"disabled, then checked in the same update", offChecked, 0, 1},
        {"retitled, state untouched", text, 1, 0},
        {"no handler and no manager: left alone", noHandler, 1, 0},
    };
    for (const Expect& e : expect)
    {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(e.enabled, e.control->GetEnabled());
        EXPECT_EQ(e.checked, e.control->GetChecked());
    }
    EXPECT_EQ("Renamed", Narrow(text->GetCaption()));
}

TEST(CommandBarUpdateTest, ActionBoundControlsFollowTheirActionWhileEnabled)
{
    Fixture f;
    f.UseManager();
    f.manager.EnableActions();
    CWVPControl* on = f.Add(ID_ON);
    CWVPControl* off = f.Add(ID_OFF);
    ASSERT_NE(nullptr, on->GetAction());
    f.bar->UpdateControlsCmdUI();
    EXPECT_EQ(-1, on->GetOwnEnabled());
    EXPECT_EQ(1, on->GetEnabled());
    EXPECT_EQ(0, off->GetOwnEnabled());
    EXPECT_EQ(0, off->GetEnabled());
}

TEST(CommandBarUpdateTest, DisableWithoutHandlerFollowsTheManagersOption)
{
    struct Case
    {
        const char* name;
        BOOL manager;
        BOOL option;
        int noHandler;
        int commandOnly;
    } cases[] = {
        {"option on: a command without handlers is disabled", TRUE, TRUE, 0, 1},
        {"option off", TRUE, FALSE, 1, 1},
        {"no manager", FALSE, TRUE, 1, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Fixture f;
        if (c.manager)
            f.UseManager();
        f.manager.GetCommandBarsOptions()->bDisableCommandIfNoHandler = c.option;
        CWVPControl* noHandler = f.Add(ID_NO_HANDLER);
        CWVPControl* commandOnly = f.Add(ID_COMMAND_ONLY);
        if (!c.manager)
            f.bar->SetOwnerSite(f.frame->m_hWnd);
        f.bar->UpdateControlsCmdUI();
        EXPECT_EQ(c.noHandler, noHandler->GetEnabled());
        EXPECT_EQ(c.commandOnly, commandOnly->GetEnabled());
    }
}

TEST(CommandBarUpdateTest, OnlyControlsThatMayShowAreAskedAndTheBarAnswersFirst)
{
    Fixture f;
    f.UseManager();
    struct Case
    {
        const char* name;
        DWORD hideFlags;
        DWORD flags;
        int asked;
    } cases[] = {
        {"shown", 0, 0, 1},
        {"hidden by the user", WVP_HIDE_HIDDEN, 0, 1},
        {"scrolled out of view", WVP_HIDE_SCROLL, 0, 1},
        {"waiting for the popup to expand", WVP_HIDE_EXPAND, 0, 1},
        {"no room", WVP_HIDE_WRAP, 0, 0},
        {"another template", WVP_HIDE_DOCTEMPLATE, 0, 0},
        {"updated by its owner", 0, WVP_CONTROLFLAG_MANUALUPDATE, 0},
    };
    std::vector<CIdleCountingButton*> buttons;
    for (const Case& c : cases)
    {
        CIdleCountingButton* button = new CIdleCountingButton;
        f.bar->GetControls()->AddControl(button, ID_ON);
        button->SetHideFlags(c.hideFlags);
        button->SetFlags(c.flags);
        buttons.push_back(button);
    }
    f.Add(ID_BAR_OWN);
    f.bar->UpdateControlsCmdUI();
    EXPECT_EQ(1, f.bar->m_ownAnswers);
    EXPECT_EQ(0, f.frame->m_asked[ID_BAR_OWN]);
    int expectedAsks = 0;
    for (size_t i = 0; i < buttons.size(); ++i)
    {
        SCOPED_TRACE(cases[i].name);
        expectedAsks += cases[i].asked;
        // The control's own idle operation runs whenever it may show, asked or not.
        EXPECT_EQ(cases[i].hideFlags & WVP_HIDE_WRAP || cases[i].hideFlags & WVP_HIDE_DOCTEMPLATE ? 0 : 1,
                  buttons[i]->m_idleRuns);
        EXPECT_EQ(cases[i].asked, buttons[i]->GetChecked());
    }
    EXPECT_EQ(expectedAsks, f.frame->m_asked[ID_ON]);

    // Tracking without notification: nobody is asked, the idle operations still run.
    f.frame->m_asked.clear();
    f.bar->SetNoNotifyTracking(TRUE);
    f.bar->UpdateControlsCmdUI();
    EXPECT_EQ(0, f.frame->m_asked[ID_ON]);
    EXPECT_EQ(1, f.bar->m_ownAnswers);
    EXPECT_EQ(2, buttons[0]->m_idleRuns);
}

TEST(CommandBarUpdateTest, CustomizeModeEnablesWithoutAsking)
{
    Fixture f;
    f.UseManager();
    f.manager.SetCustomizeMode(TRUE);
    CWVPControl* off = f.Add(ID_OFF);
    off->SetEnabled(FALSE);
    f.bar->UpdateControlsCmdUI();
    EXPECT_EQ(1, off->GetEnabled());
    EXPECT_EQ(0, f.frame->m_asked[ID_OFF]);
}

TEST(CommandBarUpdateTest, ABarWithoutWindowOrSiteIsNotUpdated)
{
    Fixture f;
    // A top-level bar window with no owner, no parent and no manager, in a thread without a main
    // window, works for nobody.
    ASSERT_EQ(nullptr, AfxGetMainWnd());
    CRoutingBar* alone = new CRoutingBar;
    alone->Attach(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 30, nullptr, nullptr, nullptr, nullptr));
    CWVPControl* off = alone->GetControls()->AddByType(wvpControlButton, ID_OFF);
    alone->UpdateControlsCmdUI();
    EXPECT_EQ(1, off->GetEnabled());
    ::DestroyWindow(alone->Detach());
    alone->InternalRelease();
    CRoutingBar* loose = new CRoutingBar;
    loose->SetOwnerSite(f.frame->m_hWnd);
    CWVPControl* looseOff = loose->GetControls()->AddByType(wvpControlButton, ID_OFF);
    loose->UpdateControlsCmdUI(); // no window
    EXPECT_EQ(1, looseOff->GetEnabled());
    EXPECT_EQ(0, f.frame->m_asked[ID_OFF]);
    loose->InternalRelease();
}

TEST(CommandBarUpdateTest, DocumentTemplatesShowAndHideControls)
{
    const UINT A = 201, B = 202, C = 203;
    Fixture f;
    f.UseManager();
    CWVPControl* assignedAB = f.Add(ID_ON);
    assignedAB->GetDocTemplatesAssigned().SetAt(A, TRUE);
    assignedAB->GetDocTemplatesAssigned().SetAt(B, TRUE);
    CWVPControl* assignedABExcludedB = f.Add(ID_OFF);
    assignedABExcludedB->GetDocTemplatesAssigned().SetAt(A, TRUE);
    assignedABExcludedB->GetDocTemplatesAssigned().SetAt(B, TRUE);
    assignedABExcludedB->GetDocTemplatesExcluded().SetAt(B, TRUE);
    CWVPControl* excludedC = f.Add(ID_TEXT);
    excludedC->GetDocTemplatesExcluded().SetAt(C, TRUE);
    CWVPControl* free = f.Add(ID_NO_HANDLER);

    struct Case
    {
        UINT active;
        BOOL shown[4];
        BOOL relayout;
    } cases[] = {
        {A, {TRUE, TRUE, TRUE, TRUE}, FALSE},
        {B, {TRUE, FALSE, TRUE, TRUE}, TRUE},
        // Not assigned to C: hidden, although C is not among the exclusions either.
        {C, {FALSE, FALSE, FALSE, TRUE}, TRUE},
        {0, {FALSE, FALSE, FALSE, TRUE}, FALSE}, // no active template changes nothing
        {A, {TRUE, TRUE, TRUE, TRUE}, TRUE},
    };
    CWVPControl* controls[] = {assignedAB, assignedABExcludedB, excludedC, free};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.active);
        f.manager.SetActiveDocTemplate(c.active);
        f.bar->ClearLayoutFlags();
        f.bar->UpdateDocTemplateControls();
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(c.shown[i], (controls[i]->GetHideFlags() & WVP_HIDE_DOCTEMPLATE) == 0) << i;
        EXPECT_EQ(c.relayout, (f.bar->GetLayoutFlags() & 1) != 0);
    }
}

TEST(CommandBarUpdateTest, TheStatusLineShowsThePromptAndReturnsToTheIdleText)
{
    Fixture f;
    f.UseManager();
    CWVPControl* open = f.Add(ID_ON);
    open->SetDescription(L"Opens a file");
    open->SetHelpId(77);
    CWVPControl* save = f.Add(ID_OFF);
    save->SetDescription(L"Saves the file");
    CWVPControl* silent = f.Add(ID_TEXT);

    f.bar->OnControlSelected(TRUE, open);
    EXPECT_EQ("Opens a file", f.StatusText());
    EXPECT_EQ(77u, f.manager.GetHelpId());
    f.bar->OnControlSelected(FALSE, open);
    EXPECT_EQ("Ready", f.StatusText());
    EXPECT_EQ(0u, f.manager.GetHelpId());
    f.bar->OnControlSelected(TRUE, save);
    EXPECT_EQ(UINT(ID_OFF), f.manager.GetHelpId());
    // A control without a description shows the idle text.
    f.bar->OnControlSelected(TRUE, silent);
    EXPECT_EQ("Ready", f.StatusText());
    EXPECT_EQ((std::vector<WPARAM>{WPARAM(open), 0, WPARAM(save), WPARAM(silent)}), f.frame->m_selections);

    // After a click the clicked control leaves the status line alone until another one is selected.
    f.frame->SetMessageText(L"Saved");
    f.bar->SetStatusControl(save->GetIndex());
    f.bar->OnControlSelected(TRUE, save);
    f.bar->OnControlSelected(FALSE, save);
    EXPECT_EQ("Saved", f.StatusText());
    EXPECT_EQ(-1, f.bar->GetStatusControl());
    f.bar->OnControlSelected(TRUE, open);
    EXPECT_EQ("Opens a file", f.StatusText());

    // Descriptions switched off: the status line stays as it is.
    f.manager.GetCommandBarsOptions()->bShowStatusDescriptions = FALSE;
    f.bar->OnControlSelected(TRUE, save);
    EXPECT_EQ("Opens a file", f.StatusText());
}

TEST(CommandBarUpdateTest, AMissingIdleTextLeavesTheStatusLineEmpty)
{
    Fixture f;
    f.bar->SetOwnerSite(f.frame->m_hWnd);
    CWVPControl* open = f.Add(ID_ON);
    open->SetDescription(L"Opens a file");
    f.bar->OnControlSelected(TRUE, open);
    ASSERT_EQ("Opens a file", f.StatusText());
    // Resources without the idle text.
    HINSTANCE own = AfxGetResourceHandle();
    HINSTANCE other = ::GetModuleHandleW(L"kernel32.dll");
    CString probe;
    ASSERT_FALSE(probe.LoadString(other, AFX_IDS_IDLEMESSAGE));
    AfxSetResourceHandle(other);
    f.bar->OnControlSelected(FALSE, open);
    AfxSetResourceHandle(own);
    EXPECT_EQ("", f.StatusText());
}

TEST(CommandBarUpdateTest, ShortcutTextsComeFromTheManagersTable)
{
    Fixture f;
    f.UseManager();
    f.manager.SetShortcutText(ID_ON, L"Ctrl+O");
    CWVPControl* open = f.Add(ID_ON);
    CWVPControl* other = f.Add(ID_OFF);
    other->SetCaption(L"Other\tF5");
    CWVPControl* hidden = f.Add(ID_TEXT);
    hidden->SetCaption(L"Hidden\tF6");
    hidden->SetHideFlags(WVP_HIDE_HIDDEN);

    f.manager.GetCommandBarsOptions()->bAutoUpdateShortcuts = FALSE;
    f.bar->UpdateShortcuts();
    EXPECT_EQ("", Narrow(open->GetShortcutText()));
    EXPECT_EQ("F5", Narrow(other->GetShortcutText()));

    f.manager.GetCommandBarsOptions()->bAutoUpdateShortcuts = TRUE;
    f.bar->UpdateShortcuts();
    EXPECT_EQ("Ctrl+O", Narrow(open->GetShortcutText()));
    EXPECT_EQ("", Narrow(other->GetShortcutText()));
    EXPECT_EQ("F6", Narrow(hidden->GetShortcutText()));
}
