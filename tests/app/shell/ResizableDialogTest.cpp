// The resizable dialog: anchored controls keep their distances to their anchor points as the
// dialog grows, the window cannot shrink below its first size, the grip hit-tests as the
// bottom-right border unless maximised, and the placement can be written to the profile.
#include "RwTest.h"

#include "tests/platform/mfc/MfcTestApp.h"

#include "app/shell/ResizableDialog.h"

namespace
{
const WORD ID_LIST = 1001;
const WORD ID_BUTTON = 1002;
const WORD ID_LABEL = 1003;
const WORD ID_FIXED = 1004;

class CAnchoredDialog : public CResizableDialog
{
  public:
    DialogTemplate m_template{WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_VISIBLE, 200, 120, L"anchors"};

    CAnchoredDialog()
    {
        m_template.AddControl(L"EDIT", L"", ES_MULTILINE | WS_BORDER, 5, 5, 190, 80, ID_LIST);
        m_template.AddControl(L"BUTTON", L"OK", BS_PUSHBUTTON, 80, 95, 40, 14, ID_BUTTON);
        m_template.AddControl(L"STATIC", L"label", SS_LEFT, 5, 95, 60, 10, ID_LABEL);
        m_template.AddControl(L"BUTTON", L"fixed", BS_PUSHBUTTON, 150, 95, 40, 14, ID_FIXED);
    }

    BOOL OnInitDialog() override
    {
        CResizableDialog::OnInitDialog();
        AddAnchor(ID_LIST, kAnchorTopLeft, kAnchorBottomRight);
        AddAnchor(ID_BUTTON, kAnchorBottomCenter, kAnchorBottomCenter);
        AddAnchor(ID_LABEL, {0, 100});
        AddAnchor(ID_FIXED, kAnchorTopLeft);
        return TRUE;
    }

    CRect ChildRect(UINT id) const
    {
        CRect rect;
        ::GetWindowRect(::GetDlgItem(m_hWnd, id), &rect);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    CRect WindowRect() const
    {
        CRect rect;
        ::GetWindowRect(m_hWnd, &rect);
        return rect;
    }

    void Resize(int cx, int cy)
    {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        PumpPending();
    }
};

class ResizableDialogTest : public ::testing::Test
{
  protected:
    CAnchoredDialog m_dialog;

    void SetUp() override
    {
        TestApp();
        ASSERT_TRUE(m_dialog.CreateIndirect(m_dialog.m_template.Get()));
        PumpPending();
    }
    void TearDown() override
    {
        if (m_dialog.m_hWnd)
            m_dialog.DestroyWindow();
    }
};

TEST_F(ResizableDialogTest, AnchoredControlsKeepTheirMarginsAsTheDialogGrows)
{
    const CRect list = m_dialog.ChildRect(ID_LIST);
    const CRect button = m_dialog.ChildRect(ID_BUTTON);
    const CRect label = m_dialog.ChildRect(ID_LABEL);
    const CRect fixed = m_dialog.ChildRect(ID_FIXED);
    const CRect window = m_dialog.WindowRect();

    m_dialog.Resize(window.Width() + 40, window.Height() + 30);

    const CRect grownList(list.left, list.top, list.right + 40, list.bottom + 30);
    EXPECT_EQ(grownList, m_dialog.ChildRect(ID_LIST));
    const CRect movedButton(button.left + 20, button.top + 30, button.right + 20, button.bottom + 30);
    EXPECT_EQ(movedButton, m_dialog.ChildRect(ID_BUTTON));
    const CRect movedLabel(label.left, label.top + 30, label.right, label.bottom + 30);
    EXPECT_EQ(movedLabel, m_dialog.ChildRect(ID_LABEL));
    EXPECT_EQ(fixed, m_dialog.ChildRect(ID_FIXED));

    // Back to the first size: every control is where it started.
    m_dialog.Resize(window.Width(), window.Height());
    EXPECT_EQ(list, m_dialog.ChildRect(ID_LIST));
    EXPECT_EQ(button, m_dialog.ChildRect(ID_BUTTON));
}

TEST_F(ResizableDialogTest, TheDialogCannotShrinkBelowItsFirstSize)
{
    const CRect window = m_dialog.WindowRect();
    MINMAXINFO info = {};
    m_dialog.SendMessage(WM_GETMINMAXINFO, 0, (LPARAM)&info);
    EXPECT_EQ(window.Width(), info.ptMinTrackSize.x);
    EXPECT_EQ(window.Height(), info.ptMinTrackSize.y);

    m_dialog.Resize(window.Width() - 50, window.Height() - 40);
    EXPECT_EQ(window.Width(), m_dialog.WindowRect().Width());
    EXPECT_EQ(window.Height(), m_dialog.WindowRect().Height());
}

TEST_F(ResizableDialogTest, TheGripHitTestsAsTheBottomRightBorderUnlessMaximised)
{
    CRect client;
    ::GetClientRect(m_dialog.m_hWnd, &client);
    CPoint corner(client.right - 2, client.bottom - 2);
    ::ClientToScreen(m_dialog.m_hWnd, &corner);
    const LPARAM at = MAKELPARAM(corner.x, corner.y);
    EXPECT_EQ(HTBOTTOMRIGHT, m_dialog.SendMessage(WM_NCHITTEST, 0, at));

    m_dialog.m_bShowGrip = FALSE;
    EXPECT_EQ(HTCLIENT, m_dialog.SendMessage(WM_NCHITTEST, 0, at));
    m_dialog.m_bShowGrip = TRUE;

    m_dialog.ShowWindow(SW_MAXIMIZE);
    PumpPending();
    ASSERT_TRUE(::IsZoomed(m_dialog.m_hWnd));
    ::GetClientRect(m_dialog.m_hWnd, &client);
    corner = CPoint(client.right - 2, client.bottom - 2);
    ::ClientToScreen(m_dialog.m_hWnd, &corner);
    EXPECT_NE(HTBOTTOMRIGHT, m_dialog.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)));
}

TEST_F(ResizableDialogTest, ClosingWritesThePlacementToTheProfile)
{
    m_dialog.m_bSavePlacement = TRUE;
    m_dialog.m_sSection = L"Resizable";
    m_dialog.m_sEntry = L"Placement";
    ::SetWindowPos(m_dialog.m_hWnd, nullptr, 10, 20, 600, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    m_dialog.DestroyWindow();
    EXPECT_EQ("10,20,610,420,1,0", Narrow(TestApp().GetProfileString(L"Resizable", L"Placement")));
}
} // namespace
