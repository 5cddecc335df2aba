// Dialogs: DoModal runs its own loop and answers the ending code, a failed validation keeps a
// modal dialog open (the user is told, the control gets the focus), data exchange moves
// texts, numbers, check boxes and choices between controls and members, commands a dialog does
// not handle travel to its owner, and a modal loop ends with its window or with WM_QUIT.
#include "RwTest.h"

#include <limits.h>

#include <functional>

#include "MfcTestApp.h"

namespace
{
const UINT ID_VALUE = 1001;
const UINT ID_NAME = 1002;
const UINT ID_RATIO = 1003;
const UINT ID_CHECK = 1004;
const UINT ID_COMBO = 1005;
const UINT kStep = WM_APP + 20;

// A dialog with an edit for a number 0..100, a text, a ratio, a check box and a list of choices.
class CValueDialog : public CDialog
{
public:
    DialogTemplate m_template{WS_POPUP | WS_CAPTION | DS_MODALFRAME, 200, 100, L"values"};
    int m_value = 7;
    CString m_name = L"clip";
    double m_ratio = 1.5;
    int m_check = 1;
    int m_choice = 1;
    CComboBox m_combo;
    std::vector<CString> m_script; // texts typed into the number field, one per step
    size_t m_step = 0;
    std::vector<bool> m_openAfterOK;
    int m_endCode = 0; // nonzero: end with this code at the first step

    CValueDialog()
    {
        m_template.AddControl(L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, 5, 5, 60, 12, ID_VALUE);
        m_template.AddControl(L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, 5, 20, 60, 12, ID_NAME);
        m_template.AddControl(L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, 5, 35, 60, 12, ID_RATIO);
        m_template.AddControl(L"BUTTON", L"check", BS_AUTOCHECKBOX | WS_TABSTOP, 5, 50, 60, 12, ID_CHECK);
        m_template.AddControl(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 80, 5, 60, 60, ID_COMBO);
        m_template.AddControl(L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 80, 80, 40, 14, IDOK);
        InitModalIndirect(m_template.Get());
    }

    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, ID_COMBO, m_combo);
        DDX_Text(dx, ID_VALUE, m_value);
        DDV_MinMaxInt(dx, m_value, 0, 100);
        DDX_Text(dx, ID_NAME, m_name);
        DDX_Text(dx, ID_RATIO, m_ratio);
        DDX_Check(dx, ID_CHECK, m_check);
        DDX_CBIndex(dx, ID_COMBO, m_choice);
    }

    BOOL OnInitDialog() override
    {
        // The list must be filled before the exchange selects in it.
        CWnd* combo = GetDlgItem(ID_COMBO);
        for (LPCWSTR item : {L"mp4", L"avi", L"flv"})
            combo->SendMessage(CB_ADDSTRING, 0, (LPARAM)item);
        CDialog::OnInitDialog();
        PostMessage(kStep);
        return TRUE;
    }

    afx_msg LRESULT OnStep(WPARAM, LPARAM)
    {
        if (m_endCode)
        {
            EndDialog(m_endCode);
            return 0;
        }
        if (m_step > 0)
            m_openAfterOK.push_back(::IsWindow(m_hWnd) && (m_nFlags & WF_CONTINUEMODAL));
        if (m_step < m_script.size())
        {
            SetDlgItemText(ID_VALUE, m_script[m_step++]);
            PostMessage(WM_COMMAND, IDOK);
            PostMessage(kStep);
        }
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CValueDialog, CDialog)
ON_MESSAGE(kStep, OnStep)
END_MESSAGE_MAP()

class DialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestApp().m_messageBoxes.clear();
    }
};

TEST_F(DialogTest, AFailedValidationKeepsTheModalDialogOpen)
{
    CValueDialog dialog;
    dialog.m_script = {L"150", L"abc", L"42"};
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(42, dialog.m_value);
    // After each refused OK the dialog was still running; the last OK closed it.
    EXPECT_EQ((std::vector<bool>{true, true}), dialog.m_openAfterOK);
    ASSERT_EQ(2u, TestApp().m_messageBoxes.size());
    EXPECT_EQ("Enter an integer between 0 and 100.", Narrow(TestApp().m_messageBoxes[0]));
    EXPECT_EQ("Please enter an integer.", Narrow(TestApp().m_messageBoxes[1]));
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

TEST_F(DialogTest, DoModalAnswersTheEndingCode)
{
    for (int code : {IDCANCEL, 1234, -7})
    {
        CValueDialog dialog;
        dialog.m_endCode = code;
        EXPECT_EQ(code, dialog.DoModal());
    }
}

TEST_F(DialogTest, DataExchangeMovesValuesBothWays)
{
    CValueDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(dialog.m_template.Get()));
    MSG msg;
    while (::PeekMessageW(&msg, dialog.m_hWnd, kStep, kStep, PM_REMOVE))
    {
    }
    // OnInitDialog filled the controls from the members.
    CString text;
    dialog.GetDlgItemText(ID_VALUE, text);
    EXPECT_EQ("7", Narrow(text));
    dialog.GetDlgItemText(ID_RATIO, text);
    EXPECT_EQ("1.5", Narrow(text));
    EXPECT_EQ(BST_CHECKED, dialog.IsDlgButtonChecked(ID_CHECK));
    EXPECT_EQ(1, dialog.m_combo.GetCurSel());
    EXPECT_EQ(&dialog.m_combo, CWnd::FromHandlePermanent(dialog.GetDlgItem(ID_COMBO)->m_hWnd));

    dialog.SetDlgItemText(ID_VALUE, L" -3 ");
    dialog.SetDlgItemText(ID_NAME, L"renamed");
    dialog.SetDlgItemText(ID_RATIO, L"2.25");
    dialog.CheckDlgButton(ID_CHECK, BST_UNCHECKED);
    dialog.m_combo.SetCurSel(2);
    EXPECT_FALSE(dialog.UpdateData(TRUE)); // -3 is out of range
    EXPECT_EQ(dialog.GetDlgItem(ID_VALUE)->m_hWnd, ::GetFocus());

    dialog.SetDlgItemText(ID_VALUE, L"100");
    EXPECT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(100, dialog.m_value);
    EXPECT_EQ("renamed", Narrow(dialog.m_name));
    EXPECT_DOUBLE_EQ(2.25, dialog.m_ratio);
    EXPECT_EQ(0, dialog.m_check);
    EXPECT_EQ(2, dialog.m_choice);
    dialog.DestroyWindow();
}

TEST(DataExchangeParse, IntegersAreWholeDecimalTexts)
{
    struct Case
    {
        LPCWSTR text;
        bool ok;
        LONGLONG value;
    };
    const Case cases[] = {
        {L"0", true, 0},        {L"  42 ", true, 42},         {L"-17", true, -17},
        {L"+5", true, 5},       {L"", false, 0},              {L"-", false, 0},
        {L"12a", false, 0},     {L"1 2", false, 0},           {L"9223372036854775807", true, 9223372036854775807LL},
        {L"99999999999999999999", false, 0},
    };
    for (const Case& c : cases)
    {
        LONGLONG value = 0;
        EXPECT_EQ(c.ok, AfxParseInteger(c.text, value) != FALSE) << Narrow(c.text);
        if (c.ok)
            EXPECT_EQ(c.value, value) << Narrow(c.text);
    }
    double number = 0;
    EXPECT_TRUE(AfxParseDouble(L"2.5e1", number));
    EXPECT_DOUBLE_EQ(25.0, number);
    EXPECT_FALSE(AfxParseDouble(L"2.5x", number));
    EXPECT_FALSE(AfxParseDouble(L"", number));
}

// Writes a value into an edit through data exchange and reads it back; answers the shown text.
template <class T> std::string WriteThenRead(CWnd& dialog, T value, T& readBack, bool& readOk)
{
    CDataExchange out(&dialog, FALSE);
    DDX_Text(&out, ID_VALUE, value);
    CString text;
    dialog.GetDlgItemText(ID_VALUE, text);
    readBack = T();
    CDataExchange in(&dialog, TRUE);
    try
    {
        DDX_Text(&in, ID_VALUE, readBack);
        readOk = true;
    }
    catch (CException* e)
    {
        e->Delete();
        readOk = false;
    }
    return Narrow(text);
}

TEST_F(DialogTest, DataExchangeWritesEveryNumberTypeInItsFullWidth)
{
    DialogTemplate tmpl(WS_POPUP, 100, 30, L"numbers");
    tmpl.AddControl(L"EDIT", L"", ES_AUTOHSCROLL, 5, 5, 90, 12, ID_VALUE);
    CDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(tmpl.Get()));
    TestApp().m_nextMessageBoxAnswer = IDOK;

    auto check = [&](auto value, const char* shown) {
        decltype(value) back;
        bool ok = false;
        EXPECT_EQ(shown, WriteThenRead(dialog, value, back, ok));
        EXPECT_TRUE(ok) << shown;
        EXPECT_EQ(value, back) << shown;
    };
    check(5000000000L, "5000000000");
    check(LONG_MIN, "-9223372036854775808");
    check(LONG_MAX, "9223372036854775807");
    check(INT_MIN, "-2147483648");
    check((UINT)UINT_MAX, "4294967295");
    check((DWORD)3000000000u, "3000000000");
    check((short)SHRT_MIN, "-32768");
    check((BYTE)255, "255");
    check(1e300, "1e+300");
    check(-0.1, "-0.1");
    check(3.4e38f, "3.4e+38");
    check(-1.5f, "-1.5");
    EXPECT_TRUE(TestApp().m_messageBoxes.empty());
    dialog.DestroyWindow();
}

const UINT ID_OWNER_CMD = 0x8E50;  // a command: it travels to the owner
const UINT ID_PLAIN_BUTTON = 1006; // a plain control id: it stays with the dialog

// A hidden frame that owns the dialogs of the routing tests and records the commands it gets.
class CRecordingFrame : public CFrameWnd
{
  public:
    std::vector<UINT> m_commands;
    afx_msg void OnRecord(UINT id)
    {
        m_commands.push_back(id);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecordingFrame, CFrameWnd)
ON_COMMAND_RANGE(ID_OWNER_CMD, ID_OWNER_CMD, OnRecord)
ON_COMMAND_RANGE(ID_PLAIN_BUTTON, ID_PLAIN_BUTTON, OnRecord)
END_MESSAGE_MAP()

// A dialog that runs one action when its modal loop has started.
class CStepDialog : public CDialog
{
  public:
    DialogTemplate m_template{WS_POPUP | WS_CAPTION, 100, 40, L"step"};
    std::function<void(CStepDialog&)> m_action;

    explicit CStepDialog(CWnd* owner)
    {
        m_template.AddControl(L"BUTTON", L"plain", BS_PUSHBUTTON, 5, 5, 40, 14, ID_PLAIN_BUTTON);
        InitModalIndirect(m_template.Get(), owner);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        PostMessage(kStep);
        return TRUE;
    }
    afx_msg LRESULT OnStep(WPARAM, LPARAM)
    {
        m_action(*this);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CStepDialog, CDialog)
ON_MESSAGE(kStep, OnStep)
END_MESSAGE_MAP()

// Ends a modal loop that would otherwise never end, so that a fault fails instead of hanging.
bool g_watchdogFired = false;
void CALLBACK WatchdogProc(HWND, UINT, UINT_PTR, DWORD)
{
    g_watchdogFired = true;
    ::PostQuitMessage(99);
}

class DialogRoutingTest : public DialogTest
{
  protected:
    CRecordingFrame* m_owner = nullptr;
    UINT_PTR m_watchdog = 0;

    void SetUp() override
    {
        DialogTest::SetUp();
        m_owner = new CRecordingFrame;
        ASSERT_TRUE(m_owner->Create(nullptr, L"owner", WS_POPUP, CRect(0, 0, 200, 100)));
        g_watchdogFired = false;
        m_watchdog = ::SetTimer(nullptr, 0, 10000, WatchdogProc);
    }
    void TearDown() override
    {
        ::KillTimer(nullptr, m_watchdog);
        EXPECT_FALSE(g_watchdogFired);
        if (m_owner && m_owner->m_hWnd)
            m_owner->DestroyWindow(); // deletes the frame
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        {
        }
    }
};

TEST_F(DialogRoutingTest, AModalDialogPassesUnhandledCommandsToItsOwnerButNotPlainControlIds)
{
    CStepDialog dialog(m_owner);
    dialog.m_action = [](CStepDialog& d) {
        d.SendMessage(WM_COMMAND, MAKEWPARAM(ID_OWNER_CMD, 0));
        d.GetDlgItem(ID_PLAIN_BUTTON)->SendMessage(BM_CLICK);
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(std::vector<UINT>{ID_OWNER_CMD}, m_owner->m_commands);
}

TEST_F(DialogRoutingTest, APanelForwardsCommandsButNotPlainControlIds)
{
    DialogTemplate tmpl(WS_CHILD | WS_VISIBLE | DS_CONTROL, 100, 40, L"");
    tmpl.AddControl(L"BUTTON", L"plain", BS_PUSHBUTTON, 5, 5, 40, 14, ID_PLAIN_BUTTON);
    tmpl.AddControl(L"BUTTON", L"command", BS_PUSHBUTTON, 50, 5, 40, 14, (WORD)ID_OWNER_CMD);
    CDialog panel;
    ASSERT_TRUE(panel.CreateIndirect(tmpl.Get(), m_owner));
    panel.GetDlgItem(ID_PLAIN_BUTTON)->SendMessage(BM_CLICK);
    panel.GetDlgItem(ID_OWNER_CMD)->SendMessage(BM_CLICK);
    EXPECT_EQ(std::vector<UINT>{ID_OWNER_CMD}, m_owner->m_commands);
    panel.DestroyWindow();
}

TEST_F(DialogRoutingTest, AModalLoopEndsWhenItsWindowIsDestroyedWithoutEndDialog)
{
    CStepDialog dialog(m_owner);
    dialog.m_action = [](CStepDialog& d) { ::DestroyWindow(d.m_hWnd); };
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_TRUE(m_owner->IsWindowEnabled());
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

TEST_F(DialogRoutingTest, AQuitMessageDuringAModalLoopIsPostedAgainWithItsExitCode)
{
    CStepDialog dialog(m_owner);
    dialog.m_action = [](CStepDialog&) { ::PostQuitMessage(42); };
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_TRUE(m_owner->IsWindowEnabled());
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(42u, msg.wParam);
}
} // namespace
