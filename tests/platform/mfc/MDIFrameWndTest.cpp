// MDI frames: children made through the MDI client belong to their objects, the active child is
// known to the frame and comes first in command routing, and a child's end deletes its object.
#include "RwTest.h"

#include "MfcTestApp.h"

namespace
{
const UINT ID_SHARED = 0x7D00;

class CChild : public CMDIChildWnd
{
public:
    explicit CChild(std::vector<CString>* log) : m_log(log) {}
    std::vector<CString>* m_log;
    afx_msg void OnShared() { m_log->push_back(m_strTitle); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CChild, CMDIChildWnd)
ON_COMMAND(ID_SHARED, OnShared)
END_MESSAGE_MAP()

class CFrame : public CMDIFrameWnd
{
public:
    std::vector<CString> m_log;
    afx_msg void OnShared() { m_log.push_back(L"frame"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFrame, CMDIFrameWnd)
ON_COMMAND(ID_SHARED, OnShared)
END_MESSAGE_MAP()

TEST(MDIFrameWndTest, TheActiveChildComesFirstAndChildrenEndWithTheirWindows)
{
    TestApp();
    CFrame* frame = new CFrame;
    ASSERT_TRUE(frame->Create(nullptr, L"mdi", WS_POPUP | WS_CLIPCHILDREN, CRect(0, 0, 400, 300)));
    ASSERT_NE(nullptr, frame->m_hWndMDIClient);

    // Without children the frame handles its own command.
    frame->SendMessage(WM_COMMAND, ID_SHARED);
    EXPECT_EQ(1u, frame->m_log.size());

    CChild* first = new CChild(&frame->m_log);
    CChild* second = new CChild(&frame->m_log);
    ASSERT_TRUE(first->Create(nullptr, L"first", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                              CRect(0, 0, 100, 100), frame));
    ASSERT_TRUE(second->Create(nullptr, L"second", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                               CRect(10, 10, 110, 110), frame));
    EXPECT_EQ(first, CWnd::FromHandlePermanent(first->m_hWnd));
    EXPECT_EQ(second, frame->MDIGetActive());
    EXPECT_EQ(second, frame->GetActiveFrame());
    EXPECT_EQ(frame, second->GetMDIFrame());

    frame->m_log.clear();
    frame->SendMessage(WM_COMMAND, ID_SHARED);
    frame->MDIActivate(first);
    EXPECT_EQ(first, frame->MDIGetActive());
    frame->SendMessage(WM_COMMAND, ID_SHARED);
    ASSERT_EQ(2u, frame->m_log.size());
    EXPECT_EQ("second", Narrow(frame->m_log[0]));
    EXPECT_EQ("first", Narrow(frame->m_log[1]));

    HWND firstWindow = first->m_hWnd;
    first->MDIDestroy(); // the object deletes itself with its window
    EXPECT_FALSE(::IsWindow(firstWindow));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(firstWindow));
    EXPECT_EQ(second, frame->MDIGetActive());

    frame->DestroyWindow();
}
}
