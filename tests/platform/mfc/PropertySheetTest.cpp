// Property sheets: the pages answer the sheet's notifications; a page that vetoes OnApply keeps
// the modal sheet open, OK then applies every page and DoModal answers IDOK; Cancel answers
// IDCANCEL; leaving a page whose data does not validate keeps it.
#include "RwTest.h"

#include "MfcTestApp.h"

namespace
{
const UINT ID_FIELD = 1100;
const UINT kStep = WM_APP + 30;

class CProbePage : public CPropertyPage
{
public:
    DialogTemplate m_template{WS_CHILD | WS_CAPTION | DS_CONTROL, 150, 80, L"page"};
    int m_value = 5;
    int m_applies = 0;
    int m_vetoes = 0; // how many apply requests to refuse first
    int m_resets = 0;

    explicit CProbePage(LPCWSTR caption)
    {
        m_template.AddControl(L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, 5, 5, 60, 12, ID_FIELD);
        Construct((LPCWSTR) nullptr);
        m_lpDialogTemplate = m_template.Get();
        m_strCaption = caption;
    }
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, ID_FIELD, m_value);
        DDV_MinMaxInt(dx, m_value, 0, 10);
    }
    BOOL OnApply() override
    {
        if (m_vetoes > 0)
        {
            --m_vetoes;
            return FALSE;
        }
        ++m_applies;
        return CPropertyPage::OnApply();
    }
    void OnReset() override { ++m_resets; }
};

// Drives the sheet from its own queue: each step presses a button and checks what stayed open.
class CScriptedSheet : public CPropertySheet
{
public:
    std::vector<int> m_buttons;
    size_t m_step = 0;
    std::vector<bool> m_openBeforeStep;

    CScriptedSheet() : CPropertySheet(L"options") {}
    BOOL OnInitDialog() override
    {
        PostMessage(kStep);
        return TRUE;
    }
    afx_msg LRESULT OnStep(WPARAM, LPARAM)
    {
        m_openBeforeStep.push_back(::IsWindow(m_hWnd) && ContinueModal());
        if (m_step < m_buttons.size())
        {
            int button = m_buttons[m_step++];
            PressButton(button);
            PostMessage(kStep);
        }
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScriptedSheet, CPropertySheet)
ON_MESSAGE(kStep, OnStep)
END_MESSAGE_MAP()

class PropertySheetTest : public ::testing::Test
{
protected:
    void SetUp() override { TestApp().m_messageBoxes.clear(); }
};

TEST_F(PropertySheetTest, AnApplyVetoKeepsTheSheetOpenUntilThePageAccepts)
{
    CProbePage general(L"general");
    CProbePage convert(L"convert");
    general.m_vetoes = 1;
    CScriptedSheet sheet;
    sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
    sheet.AddPage(&general);
    sheet.AddPage(&convert);
    sheet.m_buttons = {PSBTN_OK, PSBTN_OK};

    EXPECT_EQ(IDOK, sheet.DoModal());
    ASSERT_GE(sheet.m_openBeforeStep.size(), 2u);
    EXPECT_TRUE(sheet.m_openBeforeStep[0]);
    EXPECT_TRUE(sheet.m_openBeforeStep[1]); // still open after the vetoed OK
    EXPECT_EQ(1, general.m_applies);
    EXPECT_EQ(0, general.m_vetoes);
    EXPECT_EQ(nullptr, sheet.m_hWnd);
    EXPECT_EQ(nullptr, general.m_hWnd);
}

TEST_F(PropertySheetTest, CancelAnswersCancelAndResetsThePages)
{
    CProbePage page(L"only");
    CScriptedSheet sheet;
    sheet.AddPage(&page);
    sheet.m_buttons = {PSBTN_CANCEL};
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_EQ(0, page.m_applies);
    EXPECT_EQ(1, page.m_resets);
}

TEST_F(PropertySheetTest, APageThatDoesNotValidateKeepsTheFocusAndTheSheet)
{
    CProbePage first(L"first");
    CProbePage second(L"second");
    first.m_value = 50; // out of range: leaving or applying the page fails validation
    CScriptedSheet sheet;
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    sheet.m_buttons = {PSBTN_OK, PSBTN_CANCEL};
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_EQ(0, first.m_applies);
    ASSERT_FALSE(TestApp().m_messageBoxes.empty());
    EXPECT_EQ("Enter an integer between 0 and 10.", Narrow(TestApp().m_messageBoxes[0]));
}

TEST_F(PropertySheetTest, PagesAreReachedByIndexAndTheirCaptionsShowOnTheTabs)
{
    CProbePage a(L"alpha");
    CProbePage b(L"beta");
    CPropertySheet sheet(L"modeless");
    sheet.AddPage(&a);
    sheet.AddPage(&b);
    ASSERT_TRUE(sheet.Create());
    EXPECT_EQ(2, sheet.GetPageCount());
    EXPECT_EQ(&a, sheet.GetActivePage());
    EXPECT_TRUE(sheet.SetActivePage(1));
    EXPECT_EQ(&b, sheet.GetActivePage());
    EXPECT_EQ(1, sheet.GetActiveIndex());
    EXPECT_EQ(&sheet, b.GetSheet());

    wchar_t text[32] = {0};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 32;
    ASSERT_TRUE(sheet.GetTabControl()->GetItem(0, &item));
    EXPECT_EQ("alpha", Narrow(text));
    sheet.DestroyWindow();
}
}
