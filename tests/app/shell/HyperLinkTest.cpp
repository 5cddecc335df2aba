// The hyperlink: it takes its address from its text and fits its width to it, opens only web
// addresses (quoted on a browser's command line), and on failure tells the user why and leaves
// the address on the clipboard. The shell and the browser start are replaced here.
#include "RwTest.h"

#include "tests/platform/mfc/MfcTestApp.h"

#include "app/shell/HyperLink.h"

#include <shellapi.h>

namespace
{
const WORD ID_LINK = 1001;

struct OpenRecord
{
    std::vector<std::string> shellOpened;
    std::vector<std::string> commands;
    std::vector<std::string> copied;
    INT_PTR shellResult = SE_ERR_FNF;
    UINT startResult = SE_ERR_FNF;
};
OpenRecord g_open;

INT_PTR RecordShellOpen(HWND, LPCWSTR address, int)
{
    g_open.shellOpened.push_back(Narrow(address));
    return g_open.shellResult;
}

UINT RecordStartCommand(LPCWSTR commandLine, int)
{
    g_open.commands.push_back(Narrow(commandLine));
    return g_open.startResult;
}

void RecordCopy(HWND, LPCWSTR text)
{
    g_open.copied.push_back(Narrow(text));
}

class HyperLinkTest : public ::testing::Test
{
  protected:
    DialogTemplate m_template{WS_POPUP | WS_CAPTION | WS_VISIBLE, 240, 60, L"link"};
    CDialog m_dialog;
    CHyperLink m_link;

    void SetUp() override
    {
        TestApp().m_messageBoxes.clear();
        g_open = OpenRecord();
        CHyperLink::s_shellOpen = RecordShellOpen;
        CHyperLink::s_startCommand = RecordStartCommand;
        CHyperLink::s_copyText = RecordCopy;
        m_template.AddControl(L"STATIC", L"http://example.com/reelwright", SS_LEFT, 5, 5, 220, 12, ID_LINK);
        ASSERT_TRUE(m_dialog.CreateIndirect(m_template.Get()));
        ASSERT_TRUE(m_link.SubclassDlgItem(ID_LINK, &m_dialog));
    }
    void TearDown() override
    {
        m_dialog.DestroyWindow();
    }

    void Click()
    {
        m_dialog.SendMessage(WM_COMMAND, MAKEWPARAM(ID_LINK, STN_CLICKED), (LPARAM)m_link.m_hWnd);
    }
};

TEST_F(HyperLinkTest, TakesItsAddressFromItsTextAndIsAsWideAsTheText)
{
    EXPECT_EQ("http://example.com/reelwright", Narrow(m_link.GetURL()));
    EXPECT_TRUE(m_link.GetStyle() & SS_NOTIFY);

    CClientDC dc(&m_link);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, (HGDIOBJ)m_link.SendMessage(WM_GETFONT));
    SIZE extent = {};
    ::GetTextExtentPoint32W(dc.m_hDC, L"http://example.com/reelwright", 29, &extent);
    ::SelectObject(dc.m_hDC, old);
    CRect rect;
    m_link.GetWindowRect(&rect);
    EXPECT_EQ(extent.cx, rect.Width());
    EXPECT_EQ(extent.cy, rect.Height());

    LOGFONTW font = {};
    ::GetObjectW((HGDIOBJ)m_link.SendMessage(WM_GETFONT), sizeof(font), &font);
    EXPECT_TRUE(font.lfUnderline);
    EXPECT_TRUE(m_link.SendMessage(WM_SETCURSOR, (WPARAM)m_link.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
}

TEST_F(HyperLinkTest, ASuccessfulOpeningMarksTheLinkVisited)
{
    g_open.shellResult = 42;
    Click();
    EXPECT_EQ((std::vector<std::string>{"http://example.com/reelwright"}), g_open.shellOpened);
    EXPECT_TRUE(g_open.commands.empty());
    EXPECT_TRUE(m_link.m_bVisited);
    EXPECT_TRUE(TestApp().m_messageBoxes.empty());
    EXPECT_TRUE(g_open.copied.empty());
}

TEST_F(HyperLinkTest, AFailureIsShownAndPutsTheAddressOnTheClipboard)
{
    Click();
    ASSERT_EQ(1u, TestApp().m_messageBoxes.size());
    EXPECT_EQ("Unable to open hyperlink:\n\nThe specified file was not found.", Narrow(TestApp().m_messageBoxes[0]));
    EXPECT_EQ((std::vector<std::string>{"http://example.com/reelwright"}), g_open.copied);
    EXPECT_FALSE(m_link.m_bVisited);
    // A browser registered for web pages is tried with the address quoted.
    for (const std::string& command : g_open.commands)
        EXPECT_EQ(" \"http://example.com/reelwright\"", command.substr(command.size() - 32)) << command;
}

TEST_F(HyperLinkTest, OnlyWebAddressesAreOpened)
{
    for (LPCWSTR address : {L"calc.exe", L"file:///etc/passwd", L"http://x\" & calc", L"", L"ftp://example.com"})
    {
        m_link.SetURL(address);
        g_open = OpenRecord();
        TestApp().m_messageBoxes.clear();
        Click();
        EXPECT_TRUE(g_open.shellOpened.empty()) << Narrow(address);
        EXPECT_TRUE(g_open.commands.empty()) << Narrow(address);
        EXPECT_EQ(1u, TestApp().m_messageBoxes.size()) << Narrow(address);
    }
    EXPECT_TRUE(CHyperLink::IsWebAddress(L"HTTPS://example.com/a?b=c"));
}

TEST(HyperLinkText, TheBrowserCommandIsCutBeforeItsPlaceholder)
{
    struct Case
    {
        LPCWSTR registered;
        const char* expected;
    };
    const Case cases[] = {
        {L"\"C:\\browser.exe\" -nohome \"%1\"", "\"C:\\browser.exe\" -nohome  \"http://a.b/\""},
        {L"browser.exe %1 -new", "browser.exe  \"http://a.b/\""},
        {L"browser.exe", "browser.exe \"http://a.b/\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Narrow(CHyperLink::BrowserCommand(c.registered, L"http://a.b/")));
}

TEST(HyperLinkText, EveryShellCodeHasItsReason)
{
    EXPECT_EQ("Unable to open hyperlink:\n\nA sharing violation occurred. ", Narrow(CHyperLink::ErrorText(26)));
    EXPECT_EQ("Unable to open hyperlink:\n\nUnknown Error (12) occurred.", Narrow(CHyperLink::ErrorText(12)));
    EXPECT_EQ("Unable to open hyperlink:\n\nThe operating system is out\nof memory or resources.",
              Narrow(CHyperLink::ErrorText(0)));
}
} // namespace
