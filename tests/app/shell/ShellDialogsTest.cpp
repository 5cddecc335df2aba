// The small dialogs of the shell, run modally on the program's own templates: the custom split
// and custom resolution dialogs and the About box.
#include "RwTest.h"
#include "ModalScript.h"
#include "WideText.h"

#include "tests/platform/mfc/MfcTestApp.h"
#include "app/core/LangMgr.h"
#include "app/core/UpdateManager.h"
#include "app/shell/AboutDlg.h"
#include "app/shell/CustomSplitDlg.h"
#include "app/shell/ResolutionDlg.h"

#include <functional>
#include <vector>

namespace
{
INT_PTR RunModal(CDialog& dialog, std::vector<rwtest::ModalStep> steps)
{
    return rwtest::RunModalScript([&dialog] { return dialog.DoModal(); }, std::move(steps));
}

std::string ItemText(HWND dialog, int id)
{
    WCHAR text[256] = {};
    ::GetDlgItemTextW(dialog, id, text, 256);
    return rwtest::Utf8(text);
}

std::string Title(HWND window)
{
    WCHAR text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return rwtest::Utf8(text);
}

void Type(HWND dialog, int id, LPCWSTR text)
{
    ::SetDlgItemTextW(dialog, id, text);
}

void Press(HWND dialog, int id)
{
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

int Selected(HWND dialog, int id)
{
    return static_cast<int>(::SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}

std::string SelectedText(HWND dialog, int id)
{
    const int index = Selected(dialog, id);
    if (index < 0)
        return std::string();
    WCHAR text[64] = {};
    ::SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return rwtest::Utf8(text);
}

class ShellDialogsTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        TestApp().m_messageBoxes.clear();
        LangMgr::LoadLanguageFile(CString(rwtest::ToWin32Path(rwtest::ProgramDir() + "/lang/English.xml").c_str()));
    }
};
} // namespace

// Size mode: its texts; an empty edit, a word and 0 are refused with the message and the dialog
// stays; 12abc is taken as typed.
TEST_F(ShellDialogsTest, CustomSplitRefusesValuesBelowOne)
{
    CCustomSplitDlg dialog;
    std::vector<rwtest::ModalStep> steps;
    steps.push_back([](HWND d) {
        EXPECT_EQ("MB", ItemText(d, CCustomSplitDlg::kUnitId));
        EXPECT_EQ("Split by Size", Title(d));
    });
    for (LPCWSTR refused : {L"", L"abc", L"0", L"-2"})
        steps.push_back([refused](HWND d) {
            Type(d, CCustomSplitDlg::kValueId, refused);
            Press(d, IDOK);
            EXPECT_TRUE(::IsWindow(d));
        });
    steps.push_back([](HWND d) {
        Type(d, CCustomSplitDlg::kValueId, L"12abc");
        Press(d, IDOK);
    });
    EXPECT_EQ(IDOK, RunModal(dialog, steps));
    EXPECT_EQ("12abc", rwtest::Utf8(dialog.m_value));
    ASSERT_EQ(4u, TestApp().m_messageBoxes.size());
    EXPECT_EQ(LangMgr::GetText(L"err_input_positive"), TestApp().m_messageBoxes[0]);
}

// A fraction of a minute is a length the field takes: 0.1 closes the dialog without a message.
TEST_F(ShellDialogsTest, CustomSplitTakesAFractionOfAMinute)
{
    CCustomSplitDlg dialog;
    dialog.m_mode = CCustomSplitDlg::kTimeMode;
    EXPECT_EQ(IDOK, RunModal(dialog, {[](HWND d) {
                                 Type(d, CCustomSplitDlg::kValueId, L"0.1");
                                 Press(d, IDOK);
                                 if (!TestApp().m_messageBoxes.empty()) // refused: the dialog stays
                                     Press(d, IDCANCEL);
                             }}));
    EXPECT_EQ("0.1", rwtest::Utf8(dialog.m_value));
    EXPECT_TRUE(TestApp().m_messageBoxes.empty());
}

// Time mode takes its texts from the language; Cancel closes without a check.
TEST_F(ShellDialogsTest, CustomSplitTimeModeAndCancel)
{
    CCustomSplitDlg dialog;
    dialog.m_mode = CCustomSplitDlg::kTimeMode;
    const INT_PTR result = RunModal(dialog, {[](HWND d) {
                                        EXPECT_EQ(rwtest::Utf8(LangMgr::GetText(L"customsplit_time_size")),
                                                  ItemText(d, CCustomSplitDlg::kUnitId));
                                        EXPECT_EQ(rwtest::Utf8(LangMgr::GetText(L"customsplit_time_title")), Title(d));
                                        Type(d, CCustomSplitDlg::kValueId, L"");
                                        Press(d, IDCANCEL);
                                    }});
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_TRUE(TestApp().m_messageBoxes.empty());
}

// The list follows typed numbers (640 x 480 is "sntsc", the first such row), a chosen name
// fills both numbers, an unknown size clears the selection, and a width of 0 is refused.
TEST_F(ShellDialogsTest, ResolutionListFollowsTheNumbers)
{
    CResolutionDlg dialog;
    const INT_PTR result = RunModal(
        dialog,
        {[](HWND d) {
             EXPECT_EQ(-1, Selected(d, CResolutionDlg::kReferenceId));
             EXPECT_EQ(37, static_cast<int>(::SendDlgItemMessageW(d, CResolutionDlg::kReferenceId, CB_GETCOUNT, 0, 0)));
             Type(d, CResolutionDlg::kWidthId, L"640");
             Type(d, CResolutionDlg::kHeightId, L"480");
             EXPECT_EQ("sntsc", SelectedText(d, CResolutionDlg::kReferenceId));
             Type(d, CResolutionDlg::kHeightId, L"1000");
             EXPECT_EQ(-1, Selected(d, CResolutionDlg::kReferenceId));
         },
         [](HWND d) {
             HWND list = ::GetDlgItem(d, CResolutionDlg::kReferenceId);
             ::SendMessageW(list, CB_SETCURSEL, 35, 0); // hd720
             ::SendMessageW(d, WM_COMMAND, MAKEWPARAM(CResolutionDlg::kReferenceId, CBN_SELCHANGE),
                            reinterpret_cast<LPARAM>(list));
             EXPECT_EQ("1280", ItemText(d, CResolutionDlg::kWidthId));
             EXPECT_EQ("720", ItemText(d, CResolutionDlg::kHeightId));
             EXPECT_EQ("hd720", SelectedText(d, CResolutionDlg::kReferenceId));
             Type(d, CResolutionDlg::kWidthId, L"0");
             Press(d, IDOK);
             EXPECT_TRUE(::IsWindow(d));
         },
         [](HWND d) {
             Type(d, CResolutionDlg::kWidthId, L"320");
             Type(d, CResolutionDlg::kHeightId, L"240");
             EXPECT_EQ("qvga", SelectedText(d, CResolutionDlg::kReferenceId));
             Press(d, IDOK);
         }});
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(320, dialog.m_width);
    EXPECT_EQ(240, dialog.m_height);
    EXPECT_EQ(1u, TestApp().m_messageBoxes.size());
}

// The note under the sizes shows its whole text on one line and covers no other control.
TEST_F(ShellDialogsTest, ResolutionNoteHasRoomForItsText)
{
    CResolutionDlg dialog;
    RunModal(dialog, {[](HWND d) {
                 HWND note = ::GetDlgItem(d, CResolutionDlg::kReferenceLabelId);
                 ASSERT_TRUE(note);
                 WCHAR text[256] = {};
                 const int length = ::GetWindowTextW(note, text, 256);
                 EXPECT_EQ(LangMgr::GetText(L"resolution_format_ref"), CString(text));
                 HDC dc = ::GetDC(note);
                 HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(note, WM_GETFONT, 0, 0)));
                 SIZE extent = {};
                 ::GetTextExtentPoint32W(dc, text, length, &extent);
                 ::SelectObject(dc, old);
                 ::ReleaseDC(note, dc);
                 RECT area = {};
                 ::GetClientRect(note, &area);
                 EXPECT_GE(area.right, extent.cx) << rwtest::Utf8(text);
                 EXPECT_GE(area.bottom, extent.cy);
                 RECT noteRect = {};
                 ::GetWindowRect(note, &noteRect);
                 for (HWND child = ::GetWindow(d, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
                 {
                     RECT rect = {}, overlap = {};
                     ::GetWindowRect(child, &rect);
                     if (child != note)
                         EXPECT_FALSE(::IntersectRect(&overlap, &rect, &noteRect)) << ::GetDlgCtrlID(child);
                 }
                 Press(d, IDCANCEL);
             }});
}

// A preset size shows in the edits and selects its name.
TEST_F(ShellDialogsTest, ResolutionPresetSize)
{
    CResolutionDlg dialog;
    dialog.m_width = 176;
    dialog.m_height = 144;
    EXPECT_EQ(IDCANCEL, RunModal(dialog, {[](HWND d) {
                                     EXPECT_EQ("176", ItemText(d, CResolutionDlg::kWidthId));
                                     EXPECT_EQ("qcif", SelectedText(d, CResolutionDlg::kReferenceId));
                                     Press(d, IDCANCEL);
                                 }}));
}

namespace
{
std::vector<int> g_alphas;
BOOL WINAPI RecordAlpha(HWND, COLORREF key, BYTE alpha, DWORD flags)
{
    EXPECT_EQ(0u, key);
    EXPECT_EQ(static_cast<DWORD>(LWA_ALPHA), flags);
    g_alphas.push_back(alpha);
    return TRUE;
}
} // namespace

// The version line shows the update manager's current version; OK and Escape both fade the
// box out in ten steps (a second request during the fade changes nothing) and end it with 1.
TEST_F(ShellDialogsTest, AboutShowsTheVersionAndFadesOut)
{
    UpdateManager manager;
    manager.ParseCommandLine(L"reelwright.exe -setver=6.1.2.3");
    for (UINT key : {static_cast<UINT>(IDOK), static_cast<UINT>(VK_ESCAPE)})
    {
        g_alphas.clear();
        CAboutDlg dialog;
        dialog.m_setAlpha = RecordAlpha;
        const INT_PTR result =
            RunModal(dialog, {[key](HWND d) {
                         EXPECT_EQ("Version 6.1.2.3", ItemText(d, CAboutDlg::kVersionId));
                         EXPECT_EQ(rwtest::Utf8(LangMgr::GetText(L"web_url")), ItemText(d, CAboutDlg::kWebLinkId));
                         // The link is as wide as its address (its template place is 11 units).
                         RECT link = {};
                         ::GetWindowRect(::GetDlgItem(d, CAboutDlg::kWebLinkId), &link);
                         EXPECT_GT(link.right - link.left, 100);
                         if (key == IDOK)
                             Press(d, IDOK);
                         else
                         {
                             MSG escape = {::GetDlgItem(d, IDOK), WM_KEYDOWN, VK_ESCAPE, 0};
                             EXPECT_TRUE(::IsDialogMessageW(d, &escape));
                         }
                         EXPECT_TRUE(::GetWindowLongPtrW(d, GWL_EXSTYLE) & WS_EX_LAYERED);
                         Press(d, IDOK);
                     }});
        EXPECT_EQ(1, result);
        EXPECT_EQ(LangMgr::GetText(L"web_url"), dialog.m_webLink.GetURL());
        const std::vector<int> expected = {229, 204, 178, 153, 127, 102, 76, 51, 25};
        EXPECT_EQ(expected, g_alphas);
    }
}
