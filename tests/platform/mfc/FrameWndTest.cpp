// Frames: commands from a child dialog panel reach the frame and the application, update
// handlers drive menus, tool-bar buttons and dialog controls, bars take their place through
// WM_SIZEPARENT, accelerators work with the focus in a panel, idle updates reach the panels,
// and destroying the main window ends the loop.
#include "RwTest.h"

#include "MfcTestApp.h"

namespace
{
const UINT ID_FRAME_CMD = 0x8E00; // commands live at 0x8000 and above
const UINT ID_ENABLED = 0x8E01;   // update handler enables and checks
const UINT ID_DISABLED = 0x8E02;  // update handler disables (and a command handler that must not run)
const UINT ID_NOHANDLER = 0x8E03;
const UINT ID_APP_CMD = CTestApp::kFirstAppCommand;
const UINT ID_PANEL_EDIT = 0x7E10;
const UINT ID_PANEL = 0x7E20;
const UINT ID_PROBE_BAR = 0xE810;

// A panel of the main window: a child dialog whose Enter and Escape do nothing.
class CPanel : public CDialog
{
public:
    int m_idleUpdates = 0;
    void OnOK() override {}
    void OnCancel() override {}
    afx_msg LRESULT OnIdleUpdate(WPARAM, LPARAM)
    {
        ++m_idleUpdates;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPanel, CDialog)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

// A bar of fixed thickness along the top of the frame.
class CProbeBar : public CControlBar
{
public:
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override
    {
        return CSize(stretch && horizontal ? 32767 : 40, 30);
    }
};

// A window that takes its own place in the layout: 25 pixels at the bottom.
class CBottomProbe : public CWnd
{
public:
    afx_msg LRESULT OnSizeParent(WPARAM, LPARAM lParam)
    {
        AFX_SIZEPARENTPARAMS* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        CRect place = layout->rect;
        place.top = place.bottom - 25;
        layout->rect.bottom -= 25;
        if (layout->hDWP)
            layout->hDWP = ::DeferWindowPos(layout->hDWP, m_hWnd, nullptr, place.left, place.top, place.Width(),
                                            place.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBottomProbe, CWnd)
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

class CTestFrame : public CFrameWnd
{
public:
    std::vector<UINT> m_commands;
    CPanel m_panel;
    DialogTemplate m_template{WS_CHILD | WS_VISIBLE | DS_CONTROL, 200, 80, L""};

    afx_msg void OnFrameCommand(UINT id) { m_commands.push_back(id); }
    afx_msg void OnUpdateEnabled(CCmdUI* ui)
    {
        ui->Enable(TRUE);
        ui->SetCheck(1);
    }
    afx_msg void OnUpdateDisabled(CCmdUI* ui) { ui->Enable(FALSE); }

    BOOL CreatePanel()
    {
        m_template.AddControl(L"BUTTON", L"frame", BS_PUSHBUTTON, 5, 5, 40, 14, ID_FRAME_CMD);
        m_template.AddControl(L"BUTTON", L"app", BS_PUSHBUTTON, 50, 5, 40, 14, ID_APP_CMD);
        m_template.AddControl(L"BUTTON", L"on", BS_AUTOCHECKBOX, 95, 5, 40, 14, ID_ENABLED);
        m_template.AddControl(L"BUTTON", L"off", BS_PUSHBUTTON, 140, 5, 40, 14, ID_DISABLED);
        m_template.AddControl(L"BUTTON", L"none", BS_PUSHBUTTON, 5, 25, 40, 14, ID_NOHANDLER);
        m_template.AddControl(L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER, 50, 25, 80, 14, ID_PANEL_EDIT);
        if (!m_panel.CreateIndirect(m_template.Get(), this))
            return FALSE;
        m_panel.SetDlgCtrlID(ID_PANEL);
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
ON_COMMAND_RANGE(ID_FRAME_CMD, ID_DISABLED, OnFrameCommand)
ON_UPDATE_COMMAND_UI(ID_ENABLED, OnUpdateEnabled)
ON_UPDATE_COMMAND_UI(ID_DISABLED, OnUpdateDisabled)
END_MESSAGE_MAP()

// One frame serves the whole suite: hiding a shown top-level window costs Wine about two
// seconds without a window manager.
class FrameWndTest : public ::testing::Test
{
protected:
    static inline CTestFrame* s_frame = nullptr;
    CTestFrame* m_frame = nullptr;
    HWND m_hFrame = nullptr;

    static CTestFrame* MakeFrame()
    {
        CTestFrame* frame = new CTestFrame;
        if (!frame->Create(nullptr, L"frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 500, 400)) || !frame->CreatePanel())
            return nullptr;
        TestApp().m_pMainWnd = frame;
        frame->ShowWindow(SW_SHOWNA);
        PumpPending();
        return frame;
    }

    static void TearDownTestSuite()
    {
        if (s_frame && s_frame->m_hWnd)
            s_frame->DestroyWindow(); // the frame deletes itself
        s_frame = nullptr;
        // The main window's end posts WM_QUIT; take it away.
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        {
        }
        TestApp().m_pMainWnd = nullptr;
    }

    void SetUp() override
    {
        TestApp().m_appCommands.clear();
        if (!s_frame)
            s_frame = MakeFrame();
        ASSERT_NE(nullptr, s_frame);
        m_frame = s_frame;
        m_hFrame = m_frame->m_hWnd;
        m_frame->m_commands.clear();
        m_frame->m_bAutoMenuEnable = TRUE;
        m_frame->m_panel.SetDlgCtrlID(ID_PANEL);
        TestApp().m_pMainWnd = m_frame;
    }

    CButton* PanelButton(UINT id) { return static_cast<CButton*>(m_frame->m_panel.GetDlgItem(id)); }
};

TEST_F(FrameWndTest, CommandsFromAPanelReachTheFrameThenTheApplication)
{
    PanelButton(ID_FRAME_CMD)->SendMessage(BM_CLICK);
    PanelButton(ID_APP_CMD)->SendMessage(BM_CLICK);
    EXPECT_EQ(std::vector<UINT>{ID_FRAME_CMD}, m_frame->m_commands);
    EXPECT_EQ(std::vector<UINT>{ID_APP_CMD}, TestApp().m_appCommands);
}

TEST_F(FrameWndTest, AMenuCommandDisabledByItsUpdateHandlerDoesNotRun)
{
    m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_DISABLED, 0));
    m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_ENABLED, 0));
    EXPECT_EQ(std::vector<UINT>{ID_ENABLED}, m_frame->m_commands);
}

TEST_F(FrameWndTest, UpdateHandlersDriveMenuItems)
{
    struct Case
    {
        BOOL autoEnable;
        UINT id;
        bool enabled;
        bool checked;
    };
    const Case cases[] = {
        {TRUE, ID_ENABLED, true, true},   {TRUE, ID_DISABLED, false, false}, {TRUE, ID_NOHANDLER, false, false},
        {TRUE, ID_FRAME_CMD, true, false}, {TRUE, ID_APP_CMD, true, false},  {FALSE, ID_NOHANDLER, true, false},
        {FALSE, ID_DISABLED, false, false},
    };
    for (const Case& c : cases)
    {
        CMenu popup;
        popup.CreatePopupMenu();
        popup.AppendMenu(MF_STRING, c.id, L"item");
        popup.AppendMenu(MF_SEPARATOR);
        m_frame->m_bAutoMenuEnable = c.autoEnable;
        m_frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)popup.m_hMenu, 0);
        UINT state = popup.GetMenuState(0, MF_BYPOSITION);
        EXPECT_EQ(c.enabled, !(state & MF_GRAYED)) << std::hex << c.id << " auto " << c.autoEnable;
        EXPECT_EQ(c.checked, (state & MF_CHECKED) != 0) << std::hex << c.id;
    }
}

TEST_F(FrameWndTest, UpdateHandlersDriveDialogControlsAndToolBarButtons)
{
    CPanel& panel = m_frame->m_panel;
    panel.UpdateDialogControls(m_frame, TRUE);
    EXPECT_TRUE(PanelButton(ID_ENABLED)->IsWindowEnabled());
    EXPECT_EQ(BST_CHECKED, PanelButton(ID_ENABLED)->GetCheck());
    EXPECT_FALSE(PanelButton(ID_DISABLED)->IsWindowEnabled());
    EXPECT_FALSE(PanelButton(ID_NOHANDLER)->IsWindowEnabled());
    EXPECT_TRUE(PanelButton(ID_FRAME_CMD)->IsWindowEnabled());
    EXPECT_TRUE(PanelButton(ID_APP_CMD)->IsWindowEnabled());
    EXPECT_TRUE(panel.GetDlgItem(ID_PANEL_EDIT)->IsWindowEnabled()); // not a command button

    CToolBar* bar = new CToolBar;
    bar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(bar->Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    const UINT ids[] = {ID_FRAME_CMD, ID_SEPARATOR, ID_ENABLED, ID_DISABLED, ID_NOHANDLER, ID_APP_CMD};
    ASSERT_TRUE(bar->SetButtons(ids, 6));
    RunIdle();
    EXPECT_TRUE(bar->SendMessage(TB_ISBUTTONENABLED, ID_FRAME_CMD));
    EXPECT_TRUE(bar->SendMessage(TB_ISBUTTONENABLED, ID_ENABLED));
    EXPECT_TRUE(bar->SendMessage(TB_ISBUTTONCHECKED, ID_ENABLED));
    EXPECT_FALSE(bar->SendMessage(TB_ISBUTTONENABLED, ID_DISABLED));
    EXPECT_FALSE(bar->SendMessage(TB_ISBUTTONENABLED, ID_NOHANDLER));
    EXPECT_TRUE(bar->SendMessage(TB_ISBUTTONENABLED, ID_APP_CMD));

    // A tool-bar button's command goes to the frame.
    bar->SendMessage(WM_COMMAND, MAKEWPARAM(ID_FRAME_CMD, BN_CLICKED), (LPARAM)bar->m_hWnd);
    EXPECT_EQ(std::vector<UINT>{ID_FRAME_CMD}, m_frame->m_commands);
    bar->DestroyWindow(); // deletes itself
}

TEST_F(FrameWndTest, BarsTakeTheirPlaceThroughSizeParentAndThePaneGetsTheRest)
{
    CProbeBar top;
    top.m_dwStyle = CBRS_ALIGN_TOP;
    ASSERT_TRUE(top.Create(nullptr, L"top", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), m_frame, ID_PROBE_BAR));
    CBottomProbe bottom;
    ASSERT_TRUE(bottom.Create(nullptr, L"bottom", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), m_frame,
                              ID_PROBE_BAR + 1));
    m_frame->m_panel.SetDlgCtrlID(AFX_IDW_PANE_FIRST);

    // The layout waits for idle time when delayed.
    m_frame->DelayRecalcLayout();
    RunIdle();

    CRect client;
    m_frame->GetClientRect(&client);
    auto placeOf = [&](CWnd& wnd) {
        CRect r;
        wnd.GetWindowRect(&r);
        m_frame->ScreenToClient(&r);
        return r;
    };
    EXPECT_EQ(CRect(0, 0, client.right, 30), placeOf(top));
    EXPECT_EQ(CRect(0, client.bottom - 25, client.right, client.bottom), placeOf(bottom));
    EXPECT_EQ(CRect(0, 30, client.right, client.bottom - 25), placeOf(m_frame->m_panel));

    // Resizing the frame lays it out again at once.
    m_frame->SetWindowPos(nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    m_frame->GetClientRect(&client);
    EXPECT_EQ(CRect(0, 30, client.right, client.bottom - 25), placeOf(m_frame->m_panel));
    top.DestroyWindow();
    bottom.DestroyWindow();
}

TEST_F(FrameWndTest, AcceleratorsWorkWhileAPanelControlHasTheFocus)
{
    ACCEL table[] = {{FVIRTKEY, VK_F5, (WORD)ID_FRAME_CMD}, {FVIRTKEY, VK_F6, (WORD)ID_APP_CMD}};
    m_frame->m_hAccelTable = ::CreateAcceleratorTableW(table, 2);
    CWnd* edit = m_frame->m_panel.GetDlgItem(ID_PANEL_EDIT);
    edit->SetFocus();

    edit->PostMessage(WM_KEYDOWN, VK_F5, 0);
    edit->PostMessage(WM_KEYDOWN, VK_F6, 0);
    // Ordinary typing still reaches the control through the panel.
    edit->PostMessage(WM_CHAR, L'x', 0);
    PumpPending();

    EXPECT_EQ(std::vector<UINT>{ID_FRAME_CMD}, m_frame->m_commands);
    EXPECT_EQ(std::vector<UINT>{ID_APP_CMD}, TestApp().m_appCommands);
    CString text;
    edit->GetWindowText(text);
    EXPECT_EQ("x", Narrow(text));
}

TEST_F(FrameWndTest, IdleUpdatesReachThePanelsAndTheStatusLineFollowsMessages)
{
    RunIdle();
    EXPECT_GT(m_frame->m_panel.m_idleUpdates, 0);

    CStatic status;
    ASSERT_TRUE(status.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), m_frame, AFX_IDW_STATUS_BAR));
    m_frame->SetMessageText(L"Converting");
    CString text;
    status.GetWindowText(text);
    EXPECT_EQ("Converting", Narrow(text));
    status.DestroyWindow();
}

TEST_F(FrameWndTest, TheStatusBarShowsMessagesAndFollowsIndicatorUpdates)
{
    CStatusBar* bar = new CStatusBar;
    bar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(bar->Create(m_frame));
    const UINT indicators[] = {ID_SEPARATOR, ID_DISABLED, ID_ENABLED};
    ASSERT_TRUE(bar->SetIndicators(indicators, 3));
    bar->SetPaneText(1, L"CAP");
    bar->SetPaneText(2, L"NUM");
    m_frame->RecalcLayout();
    RunIdle();

    wchar_t shown[32] = {0};
    bar->SendMessage(SB_GETTEXTW, 1, (LPARAM)shown);
    EXPECT_EQ("", Narrow(shown)); // disabled by its update handler: no text shown
    EXPECT_EQ("CAP", Narrow(bar->GetPaneText(1)));
    bar->SendMessage(SB_GETTEXTW, 2, (LPARAM)shown);
    EXPECT_EQ("NUM", Narrow(shown));

    m_frame->SetMessageText(L"Ready");
    EXPECT_EQ("Ready", Narrow(bar->GetPaneText(0)));

    // The bar sits along the bottom of the frame's client area.
    CRect client, place;
    m_frame->GetClientRect(&client);
    bar->GetWindowRect(&place);
    m_frame->ScreenToClient(&place);
    EXPECT_EQ(client.bottom, place.bottom);
    EXPECT_EQ(client.right, place.right);
    EXPECT_GT(place.Height(), 0);
    bar->DestroyWindow(); // deletes itself
    m_frame->RecalcLayout();
}

TEST_F(FrameWndTest, LoadFrameTakesTitleMenuAndAcceleratorsFromOneResourceId)
{
    CTestFrame* loaded = new CTestFrame;
    ASSERT_TRUE(loaded->LoadFrame(128, WS_POPUP | FWS_ADDTOTITLE));
    CString title;
    loaded->GetWindowText(title);
    EXPECT_EQ("Test frame", Narrow(title));
    ASSERT_NE(nullptr, loaded->m_hMenuDefault);
    EXPECT_EQ(loaded->m_hMenuDefault, ::GetMenu(loaded->m_hWnd));
    ASSERT_NE(nullptr, loaded->m_hAccelTable);

    // The resource's accelerator reaches the frame's handler through the loop.
    CWinThread* thread = AfxGetThread();
    CWnd* previousMain = thread->m_pMainWnd;
    thread->m_pMainWnd = loaded;
    loaded->PostMessage(WM_KEYDOWN, VK_F9, 0);
    PumpPending();
    EXPECT_EQ(std::vector<UINT>{ID_FRAME_CMD}, loaded->m_commands);

    // Menu prompts come from the string of the command, up to its newline; the idle text after.
    CStatic* status = new CStatic;
    ASSERT_TRUE(status->Create(L"", WS_CHILD, CRect(0, 0, 100, 20), loaded, AFX_IDW_STATUS_BAR));
    loaded->SetMessageText(ID_FRAME_CMD);
    CString text;
    status->GetWindowText(text);
    EXPECT_EQ("Runs the frame command", Narrow(text));
    loaded->SendMessage(WM_POPMESSAGESTRING);
    status->GetWindowText(text);
    EXPECT_EQ("Ready", Narrow(text));

    // A bar button's tip is the part after the newline.
    NMTTDISPINFOW tip = {};
    tip.hdr.hwndFrom = status->m_hWnd;
    tip.hdr.idFrom = ID_FRAME_CMD;
    tip.hdr.code = TTN_NEEDTEXTW;
    loaded->SendMessage(WM_NOTIFY, ID_FRAME_CMD, (LPARAM)&tip);
    EXPECT_EQ("Frame command", Narrow(tip.lpszText));

    thread->m_pMainWnd = previousMain;
    loaded->DestroyWindow(); // deletes the frame; the menu goes with the window
    delete status;
}

TEST_F(FrameWndTest, LoadFrameLetsTheSystemChooseThePlaceAndSize)
{
    CTestFrame* loaded = new CTestFrame;
    ASSERT_TRUE(loaded->LoadFrame(128, WS_OVERLAPPEDWINDOW));
    // A window of the same style made with CW_USEDEFAULT is the reference.
    HWND reference = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    CRect expected, place;
    ::GetWindowRect(reference, &expected);
    loaded->GetWindowRect(&place);
    EXPECT_GT(place.Width(), 200);
    EXPECT_GT(place.Height(), 100);
    EXPECT_EQ(expected.Size(), place.Size());
    ::DestroyWindow(reference);
    loaded->DestroyWindow(); // deletes the frame
}

// Counts the idle updates a window receives.
class CIdleCounter : public CWnd
{
  public:
    int m_updates = 0;
    afx_msg LRESULT OnIdleUpdate(WPARAM, LPARAM)
    {
        ++m_updates;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CIdleCounter, CWnd)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

// A bar that counts the updates of its items.
class CCountingBar : public CControlBar
{
  public:
    int m_updates = 0;
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override
    {
        ++m_updates;
    }
};

TEST_F(FrameWndTest, IdleUpdatesReachEveryVisibleFrameAndTopLevelBar)
{
    CTestFrame* second = new CTestFrame;
    ASSERT_TRUE(second->Create(nullptr, L"second", WS_POPUP, CRect(0, 0, 200, 100)));
    CIdleCounter inside;
    ASSERT_TRUE(inside.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), second, 1));
    CCountingBar floating;
    ASSERT_TRUE(floating.CreateEx(0, AfxRegisterWndClass(0), L"float", WS_POPUP, 0, 0, 30, 30, m_hFrame, nullptr));
    second->ShowWindow(SW_SHOWNA);
    floating.ShowWindow(SW_SHOWNA);

    // The frame's own "update the menu" flag puts its menu back at idle time.
    CMenu menu;
    menu.CreateMenu();
    menu.AppendMenu(MF_STRING, ID_FRAME_CMD, L"item");
    second->m_hMenuDefault = menu.Detach();
    second->m_nIdleFlags |= CFrameWnd::idleMenu;

    RunIdle();
    EXPECT_GT(inside.m_updates, 0);
    EXPECT_GT(floating.m_updates, 0);
    EXPECT_EQ(second->m_hMenuDefault, ::GetMenu(second->m_hWnd));
    EXPECT_EQ(0u, second->m_nIdleFlags & CFrameWnd::idleMenu);

    floating.DestroyWindow();
    second->DestroyWindow(); // deletes the frame and the menu it shows
}

TEST_F(FrameWndTest, AFrameThatStaysActiveKeepsItsActiveCaptionUnlessDisabled)
{
    class CCaptionFrame : public CFrameWnd
    {
      public:
        std::vector<WPARAM> m_drawn; // what the default handling was asked to draw
        LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_NCACTIVATE)
                m_drawn.push_back(wParam);
            return CFrameWnd::DefWindowProc(message, wParam, lParam);
        }
    };
    CCaptionFrame* frame = new CCaptionFrame;
    ASSERT_TRUE(frame->Create(nullptr, L"caption", WS_POPUP | WS_CAPTION, CRect(0, 0, 100, 60)));
    frame->m_drawn.clear();
    frame->SendMessage(WM_NCACTIVATE, FALSE);
    frame->m_nFlags |= CWnd::WF_STAYACTIVE;
    frame->SendMessage(WM_NCACTIVATE, FALSE);
    frame->EnableWindow(FALSE);
    frame->SendMessage(WM_NCACTIVATE, TRUE);
    EXPECT_EQ((std::vector<WPARAM>{FALSE, TRUE, FALSE}), frame->m_drawn);
    frame->DestroyWindow(); // deletes the frame
}

// A tool bar with an update handler of its own for one of its buttons.
class COwnUpdateBar : public CToolBar
{
  public:
    afx_msg void OnUpdateOwn(CCmdUI* ui)
    {
        ui->Enable(TRUE);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwnUpdateBar, CToolBar)
ON_UPDATE_COMMAND_UI(ID_DISABLED, OnUpdateOwn)
END_MESSAGE_MAP()

TEST_F(FrameWndTest, ABarAsksItsOwnUpdateHandlersFirstAndLaysOutItsButtonsWhenAsked)
{
    COwnUpdateBar* bar = new COwnUpdateBar;
    bar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(bar->Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    const UINT ids[] = {ID_DISABLED, ID_NOHANDLER};
    ASSERT_TRUE(bar->SetButtons(ids, 2));
    bar->SetSizes(CSize(40, 30), CSize(16, 15));
    EXPECT_TRUE(bar->m_bDelayedButtonLayout);
    m_frame->RecalcLayout();
    EXPECT_FALSE(bar->m_bDelayedButtonLayout); // the layout ran it
    CRect place;
    bar->GetWindowRect(&place);
    EXPECT_GE(place.Height(), 30 + bar->m_cyTopBorder + bar->m_cyBottomBorder); // the new button height

    RunIdle();
    EXPECT_TRUE(bar->SendMessage(TB_ISBUTTONENABLED, ID_DISABLED)); // the bar's handler, not the frame's
    EXPECT_FALSE(bar->SendMessage(TB_ISBUTTONENABLED, ID_NOHANDLER));
    bar->DestroyWindow(); // deletes itself
    m_frame->RecalcLayout();
}

TEST_F(FrameWndTest, TheFrameworksOwnBarsPaintThroughDoPaint)
{
    class CPaintingBar : public CProbeBar
    {
      public:
        int m_paints = 0;
        void DoPaint(CDC* dc) override
        {
            ++m_paints;
            CControlBar::DoPaint(dc);
        }
    } bar;
    bar.m_dwStyle = CBRS_ALIGN_TOP;
    ASSERT_TRUE(bar.Create(nullptr, L"bar", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 30), m_frame, ID_PROBE_BAR));
    bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(bar.m_paints, 0);
    bar.DestroyWindow();
    m_frame->RecalcLayout();
}

TEST_F(FrameWndTest, AFrameWhoseCreationFailsEndsWithItsWindow)
{
    static int destroyed = 0;
    class CRefusingFrame : public CFrameWnd
    {
    public:
        ~CRefusingFrame() override { ++destroyed; }
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_CREATE)
                return -1;
            return CFrameWnd::WindowProc(message, wParam, lParam);
        }
    };
    destroyed = 0;
    CRefusingFrame* frame = new CRefusingFrame;
    EXPECT_FALSE(frame->Create(nullptr, L"refused", WS_POPUP, CRect(0, 0, 50, 50)));
    EXPECT_EQ(1, destroyed); // deleted by its PostNcDestroy; nothing touched it afterwards
}

TEST_F(FrameWndTest, FloatingWindowsHearOfTheFrameState)
{
    class CFloating : public CWnd
    {
    public:
        std::vector<UINT> m_flags;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_FLOATSTATUS)
                m_flags.push_back((UINT)wParam);
            return CWnd::WindowProc(message, wParam, lParam);
        }
    } floating;
    ASSERT_TRUE(floating.CreateEx(0, AfxRegisterWndClass(0), L"float", WS_POPUP, 0, 0, 10, 10, m_hFrame, nullptr));
    m_frame->NotifyFloatingWindows(FS_DISABLE);
    EXPECT_EQ(std::vector<UINT>{FS_DISABLE}, floating.m_flags);
    floating.DestroyWindow();
}

TEST_F(FrameWndTest, AFloatingWindowThatSynchronisesItsActivationKeepsTheFrameActive)
{
    struct Case
    {
        DWORD miniStyle;
        bool stayActive;
    };
    for (const Case& c : {Case{MFS_SYNCACTIVE, true}, Case{0, false}})
    {
        CMiniFrameWnd* mini = new CMiniFrameWnd;
        ASSERT_TRUE(
            mini->CreateEx(0, nullptr, L"palette", WS_POPUP | WS_CAPTION | c.miniStyle, CRect(0, 0, 60, 40), m_frame));
        EXPECT_EQ(c.stayActive, mini->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE) != 0);
        // The frame loses the activation to its palette.
        m_frame->SendMessage(WM_ACTIVATE, WA_INACTIVE, (LPARAM)mini->m_hWnd);
        EXPECT_EQ(c.stayActive, (m_frame->m_nFlags & CWnd::WF_STAYACTIVE) != 0) << c.miniStyle;
        // ... and to a window of its own.
        m_frame->SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
        EXPECT_EQ(0u, m_frame->m_nFlags & CWnd::WF_STAYACTIVE);
        mini->DestroyWindow(); // deletes the frame
    }
}

TEST_F(FrameWndTest, DestroyingTheMainWindowEndsTheLoopAndTheFrameObject)
{
    s_frame = nullptr; // this test ends the suite's frame
    m_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0));
    EXPECT_FALSE(::IsWindow(m_hFrame));
    EXPECT_EQ(nullptr, TestApp().m_pMainWnd);
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}
}
