// Message maps: every kind of entry reaches its handler with its parameters unpacked, ranges and
// registered messages included; notifications are reflected to the controls that sent them;
// a handler that throws is contained and the window keeps working.
#include "RwTest.h"

#include <stdexcept>

#include "MfcTestApp.h"
#include "platform/mfc/ThreadState.h"

namespace
{
const UINT kPrivateMessage = WM_APP + 7;
const UINT kRegisteredMessage = ::RegisterWindowMessageW(L"RwMessageMapTest");
const UINT kThrowingMessage = WM_APP + 9;
const UINT kFrameworkThrowMessage = WM_APP + 10;

const UINT ID_COMMAND = 100;
const UINT ID_RANGE_FIRST = 200;
const UINT ID_RANGE_LAST = 210;
const UINT ID_DECLINED = 300;
const UINT ID_BUTTON = 400;
const UINT ID_EDIT = 401;
const UINT ID_REFLECTING_BUTTON = 402;
const UINT ID_NOTIFIER = 403;
const UINT ID_STATIC = 404;
const UINT ID_OWNERDRAW = 405;

CString g_log;

void Log(LPCWSTR format, ...)
{
    CString line;
    va_list args;
    va_start(args, format);
    line.FormatV(format, args);
    va_end(args);
    if (!g_log.IsEmpty())
        g_log += L"|";
    g_log += line;
}

std::string TakeLog()
{
    std::string text = Narrow(g_log);
    g_log.Empty();
    return text;
}

// A button that takes its own clicks and an owner-draw request back from its parent.
class CReflectingButton : public CButton
{
public:
    afx_msg void OnReflectedClick() { Log(L"reflected click"); }
    afx_msg HBRUSH CtlColor(CDC*, UINT type)
    {
        Log(L"reflected ctlcolor %u", type);
        return (HBRUSH)::GetStockObject(WHITE_BRUSH);
    }
    void DrawItem(LPDRAWITEMSTRUCT item) override { Log(L"drawitem %u", item->CtlID); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingButton, CButton)
ON_CONTROL_REFLECT(BN_CLICKED, OnReflectedClick)
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

// A child that answers its parent's WM_NOTIFY itself (code 1 taken, code 2 declined).
class CNotifier : public CWnd
{
public:
    afx_msg void OnReflectedNotify(NMHDR* header, LRESULT* result)
    {
        Log(L"reflected notify %d", (int)header->code);
        *result = 77;
    }
    afx_msg BOOL OnReflectedNotifyEx(NMHDR* header, LRESULT*)
    {
        Log(L"reflected notify ex %d declined", (int)header->code);
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNotifier, CWnd)
ON_NOTIFY_REFLECT(1, OnReflectedNotify)
ON_NOTIFY_REFLECT_EX(2, OnReflectedNotifyEx)
END_MESSAGE_MAP()

// A grandchild that wants to hear of colour changes.
class CColourChild : public CWnd
{
public:
    afx_msg void OnSysColorChange() { Log(L"child syscolorchange"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColourChild, CWnd)
ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

class CProbeBase : public CWnd
{
public:
    afx_msg void OnSize(UINT type, int cx, int cy) { Log(L"base size %u %d %d", type, cx, cy); }
    afx_msg void OnBaseOnly() { Log(L"base command"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeBase, CWnd)
ON_WM_SIZE()
ON_COMMAND(ID_COMMAND + 1, OnBaseOnly)
END_MESSAGE_MAP()

class CProbe : public CProbeBase
{
public:
    CButton m_button;
    CEdit m_edit;
    CReflectingButton m_reflecting;
    CNotifier m_notifier;
    CStatic m_static;
    CReflectingButton m_ownerDraw;

    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        Log(L"create %s", cs->lpszName);
        CRect box(0, 0, 50, 20);
        m_button.Create(L"b", BS_PUSHBUTTON | WS_VISIBLE, box, this, ID_BUTTON);
        m_edit.Create(WS_VISIBLE | ES_AUTOHSCROLL, box, this, ID_EDIT);
        m_reflecting.Create(L"r", BS_PUSHBUTTON | WS_VISIBLE, box, this, ID_REFLECTING_BUTTON);
        m_notifier.Create(nullptr, L"n", WS_VISIBLE, box, this, ID_NOTIFIER);
        m_static.Create(L"s", WS_VISIBLE, box, this, ID_STATIC);
        m_ownerDraw.Create(L"o", BS_OWNERDRAW | WS_VISIBLE, box, this, ID_OWNERDRAW);
        return 0;
    }
    afx_msg void OnSize(UINT type, int cx, int cy)
    {
        Log(L"size %u %d %d", type, cx, cy);
        CProbeBase::OnSize(type, cx, cy);
    }
    afx_msg void OnLButtonDown(UINT flags, CPoint p) { Log(L"lbuttondown %u %d %d", flags, p.x, p.y); }
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint p)
    {
        Log(L"wheel %u %d %d %d", flags, delta, p.x, p.y);
        return TRUE;
    }
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags) { Log(L"keydown %u %u %u", key, repeat, flags); }
    afx_msg void OnTimer(UINT_PTR id) { Log(L"timer %u", (UINT)id); }
    afx_msg void OnSysColorChange() { Log(L"syscolorchange"); }
    afx_msg LRESULT OnPrivate(WPARAM w, LPARAM l)
    {
        Log(L"private %d %d", (int)w, (int)l);
        return 11;
    }
    afx_msg LRESULT OnRegistered(WPARAM w, LPARAM)
    {
        Log(L"registered %d", (int)w);
        return 22;
    }
    afx_msg LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("handler failure"); }
    afx_msg LRESULT OnFrameworkThrow(WPARAM, LPARAM) { AfxThrowNotSupportedException(); }
    afx_msg void OnCommand100() { Log(L"command"); }
    afx_msg void OnRange(UINT id) { Log(L"range %u", id); }
    afx_msg BOOL OnDeclined(UINT id)
    {
        Log(L"declined %u", id);
        return FALSE;
    }
    afx_msg void OnDeclinedFallback() { Log(L"fallback"); }
    afx_msg void OnUpdateCommand(CCmdUI* ui) { Log(L"update %u", ui->m_nID); }
    afx_msg void OnButtonClicked() { Log(L"button clicked"); }
    afx_msg void OnEditChange() { Log(L"edit change"); }
    afx_msg void OnNotifyCode(NMHDR* header, LRESULT* result)
    {
        Log(L"notify %d from %u", (int)header->code, (UINT)header->idFrom);
        *result = 5;
    }
    afx_msg void OnNotifyRange(UINT id, NMHDR*, LRESULT*) { Log(L"notify range %u", id); }
    afx_msg BOOL OnNotifyEx(UINT id, NMHDR* header, LRESULT*)
    {
        Log(L"notify ex %u %d", id, (int)header->code);
        return TRUE;
    }
    afx_msg void OnReflectDeclinedParent(NMHDR*, LRESULT*) { Log(L"parent got declined notify"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbe, CProbeBase)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEWHEEL()
ON_WM_KEYDOWN()
ON_WM_TIMER()
ON_WM_SYSCOLORCHANGE()
ON_MESSAGE(kPrivateMessage, OnPrivate)
ON_REGISTERED_MESSAGE(kRegisteredMessage, OnRegistered)
ON_MESSAGE(kThrowingMessage, OnThrow)
ON_MESSAGE(kFrameworkThrowMessage, OnFrameworkThrow)
ON_COMMAND(ID_COMMAND, OnCommand100)
ON_COMMAND_RANGE(ID_RANGE_FIRST, ID_RANGE_LAST, OnRange)
ON_COMMAND_EX(ID_DECLINED, OnDeclined)
ON_COMMAND(ID_DECLINED, OnDeclinedFallback)
ON_UPDATE_COMMAND_UI(ID_COMMAND, OnUpdateCommand)
ON_BN_CLICKED(ID_BUTTON, OnButtonClicked)
ON_EN_CHANGE(ID_EDIT, OnEditChange)
ON_NOTIFY(NM_CLICK, ID_STATIC, OnNotifyCode)
ON_NOTIFY_RANGE(NM_DBLCLK, ID_RANGE_FIRST, ID_RANGE_LAST, OnNotifyRange)
ON_NOTIFY_EX(NM_RCLICK, ID_STATIC, OnNotifyEx)
ON_NOTIFY(2, ID_NOTIFIER, OnReflectDeclinedParent)
END_MESSAGE_MAP()

// Entries of the less common messages, each logging its unpacked parameters.
class CMoreEntries : public CWnd
{
  public:
    afx_msg void OnVoid()
    {
        Log(L"void");
    }
    afx_msg void OnNcRButtonDblClk(UINT hit, CPoint p)
    {
        Log(L"nc r dbl %u %d %d", hit, p.x, p.y);
    }
    afx_msg void OnNcMButtonDown(UINT hit, CPoint p)
    {
        Log(L"nc m down %u %d %d", hit, p.x, p.y);
    }
    afx_msg void OnNcMButtonUp(UINT hit, CPoint p)
    {
        Log(L"nc m up %u %d %d", hit, p.x, p.y);
    }
    afx_msg void OnNcMButtonDblClk(UINT hit, CPoint p)
    {
        Log(L"nc m dbl %u %d %d", hit, p.x, p.y);
    }
    afx_msg HCURSOR OnQueryDragIcon()
    {
        Log(L"drag icon");
        return (HCURSOR)0x1234;
    }
    afx_msg void OnMDIActivate(BOOL activate, CWnd* activated, CWnd* deactivated)
    {
        Log(L"mdi %d %d %d", activate, activated == this, deactivated == this);
    }
    afx_msg void OnUpdateUIState(UINT action, UINT flags)
    {
        Log(L"uistate %u %u", action, flags);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMoreEntries, CWnd)
ON_MESSAGE_VOID(kPrivateMessage, OnVoid)
ON_WM_NCRBUTTONDBLCLK()
ON_WM_NCMBUTTONDOWN()
ON_WM_NCMBUTTONUP()
ON_WM_NCMBUTTONDBLCLK()
ON_WM_QUERYDRAGICON()
ON_WM_MDIACTIVATE()
ON_WM_UPDATEUISTATE()
END_MESSAGE_MAP()

// A control that keeps its own state when its parent updates the dialog controls.
class CSelfUpdating : public CButton
{
  public:
    afx_msg void OnUpdateSelf(CCmdUI* ui)
    {
        Log(L"self update %u", ui->m_nID);
        ui->Enable(FALSE);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfUpdating, CButton)
ON_UPDATE_COMMAND_UI_REFLECT(OnUpdateSelf)
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test
{
protected:
    CProbe* m_probe = nullptr;

    void SetUp() override
    {
        TestApp();
        m_probe = new CProbe;
        ASSERT_TRUE(m_probe->CreateEx(0, AfxRegisterWndClass(0), L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                      nullptr, nullptr));
        TakeLog();
    }
    void TearDown() override
    {
        m_probe->DestroyWindow();
        delete m_probe;
    }

    LRESULT Send(UINT message, WPARAM w = 0, LPARAM l = 0) { return ::SendMessageW(m_probe->m_hWnd, message, w, l); }
    LRESULT Notify(HWND from, UINT id, int code)
    {
        NMHDR header = {from, id, (UINT)code};
        return Send(WM_NOTIFY, id, (LPARAM)&header);
    }
};

TEST_F(MessageMapTest, CreationMessagesReachTheObjectThroughTheHook)
{
    CProbe probe;
    ASSERT_TRUE(probe.CreateEx(0, AfxRegisterWndClass(0), L"second", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                               nullptr));
    EXPECT_EQ("create second", TakeLog().substr(0, 13));
    EXPECT_EQ(&probe, CWnd::FromHandlePermanent(probe.m_hWnd));
    probe.DestroyWindow();
    EXPECT_EQ(nullptr, probe.m_hWnd);
}

TEST_F(MessageMapTest, WindowMessagesAreUnpackedForTheirHandlers)
{
    struct Case
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        const char* log;
        LRESULT result;
    };
    const Case cases[] = {
        {WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 80), "size 0 120 80|base size 0 120 80", 0},
        {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-5, 7), "lbuttondown 1 -5 7", 0},
        {WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, (WORD)-120), MAKELPARAM(10, 20), "wheel 4 -120 10 20", TRUE},
        {WM_KEYDOWN, VK_F2, MAKELPARAM(3, 0x3C), "keydown 113 3 60", 0},
        {WM_TIMER, 42, 0, "timer 42", 0},
        {kPrivateMessage, 3, -4, "private 3 -4", 11},
        {kRegisteredMessage, 9, 0, "registered 9", 22},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.result, Send(c.message, c.wParam, c.lParam)) << c.log;
        EXPECT_EQ(c.log, TakeLog());
    }
}

TEST_F(MessageMapTest, LessCommonEntriesUnpackTheirParameters)
{
    CMoreEntries wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"more", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    HWND other = m_probe->m_hWnd;
    struct Case
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        const char* log;
        LRESULT result;
    };
    const Case cases[] = {
        {kPrivateMessage, 1, 2, "void", 0},
        {WM_NCRBUTTONDBLCLK, HTCAPTION, MAKELPARAM(3, -4), "nc r dbl 2 3 -4", 0},
        {WM_NCMBUTTONDOWN, HTLEFT, MAKELPARAM(5, 6), "nc m down 10 5 6", 0},
        {WM_NCMBUTTONUP, HTRIGHT, MAKELPARAM(-7, 8), "nc m up 11 -7 8", 0},
        {WM_NCMBUTTONDBLCLK, HTTOP, MAKELPARAM(9, 10), "nc m dbl 12 9 10", 0},
        {WM_QUERYDRAGICON, 0, 0, "drag icon", 0x1234},
        {WM_MDIACTIVATE, (WPARAM)other, (LPARAM)wnd.m_hWnd, "mdi 1 1 0", 0},
        {WM_MDIACTIVATE, (WPARAM)wnd.m_hWnd, (LPARAM)other, "mdi 0 0 1", 0},
        {WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0, "uistate 2 1", 0},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.result, wnd.SendMessage(c.message, c.wParam, c.lParam)) << c.log;
        EXPECT_EQ(c.log, TakeLog());
    }
    wnd.DestroyWindow();
}

TEST_F(MessageMapTest, AControlWithAReflectedUpdateHandlerUpdatesItself)
{
    CSelfUpdating self;
    ASSERT_TRUE(self.Create(L"self", BS_PUSHBUTTON | WS_VISIBLE, CRect(0, 0, 10, 10), m_probe, ID_COMMAND));
    m_probe->UpdateDialogControls(m_probe, TRUE);
    // The control answered for itself: the parent's update handler for the same id was not asked.
    EXPECT_EQ("self update 100", TakeLog());
    EXPECT_FALSE(self.IsWindowEnabled());
    self.DestroyWindow();
}

TEST_F(MessageMapTest, CommandsFindTheirEntriesIncludingRangesAndDecliningHandlers)
{
    struct Case
    {
        UINT id;
        const char* log;
    };
    const Case cases[] = {
        {ID_COMMAND, "update 100|command"}, // a menu command asks its update handler first
        {ID_COMMAND + 1, "base command"},
        {ID_RANGE_FIRST, "range 200"},
        {ID_RANGE_LAST, "range 210"},
        {ID_RANGE_LAST + 1, ""},
        {ID_DECLINED, "declined 300|fallback"},
    };
    for (const Case& c : cases)
    {
        Send(WM_COMMAND, MAKEWPARAM(c.id, 0), 0);
        EXPECT_EQ(c.log, TakeLog()) << c.id;
    }

    // Update requests reach only update handlers; a handler's existence can be asked without a call.
    CCmdUI ui;
    ui.m_nID = ID_COMMAND;
    EXPECT_TRUE(m_probe->OnCmdMsg(ID_COMMAND, CN_UPDATE_COMMAND_UI, &ui, nullptr));
    EXPECT_EQ("update 100", TakeLog());
    AFX_CMDHANDLERINFO info = {};
    EXPECT_TRUE(m_probe->OnCmdMsg(ID_RANGE_FIRST + 3, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(m_probe, info.pTarget);
    EXPECT_FALSE(m_probe->OnCmdMsg(ID_RANGE_LAST + 1, CN_COMMAND, nullptr, &info));
    EXPECT_EQ("", TakeLog());
}

TEST_F(MessageMapTest, ControlNotificationsReachTheParentAndReflectedOnesTheControl)
{
    m_probe->m_button.SendMessage(BM_CLICK);
    EXPECT_EQ("button clicked", TakeLog());

    m_probe->m_edit.SetWindowText(L"typed");
    EXPECT_EQ("edit change", TakeLog());

    // The reflecting button takes its own click; the parent never sees it.
    m_probe->m_reflecting.SendMessage(BM_CLICK);
    EXPECT_EQ("reflected click", TakeLog());

    EXPECT_EQ(5, Notify(m_probe->m_static.m_hWnd, ID_STATIC, NM_CLICK));
    EXPECT_EQ("notify -2 from 404", TakeLog());
    Notify(m_probe->m_static.m_hWnd, ID_RANGE_FIRST + 2, NM_DBLCLK);
    EXPECT_EQ("notify range 202", TakeLog());
    Notify(m_probe->m_static.m_hWnd, ID_STATIC, NM_RCLICK);
    EXPECT_EQ("notify ex 404 -5", TakeLog());

    // A reflected notification handled by the child gives its result; a declined one goes on to the parent.
    EXPECT_EQ(77, Notify(m_probe->m_notifier.m_hWnd, ID_NOTIFIER, 1));
    EXPECT_EQ("reflected notify 1", TakeLog());
    Notify(m_probe->m_notifier.m_hWnd, ID_NOTIFIER, 2);
    EXPECT_EQ("reflected notify ex 2 declined|parent got declined notify", TakeLog());
}

TEST_F(MessageMapTest, ColourAndOwnerDrawMessagesAreReflectedToTheControl)
{
    HDC dc = ::GetDC(m_probe->m_hWnd);
    LRESULT brush = Send(WM_CTLCOLORBTN, (WPARAM)dc, (LPARAM)m_probe->m_reflecting.m_hWnd);
    EXPECT_EQ((LRESULT)::GetStockObject(WHITE_BRUSH), brush);
    EXPECT_EQ("reflected ctlcolor 3", TakeLog());

    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = ID_OWNERDRAW;
    item.hwndItem = m_probe->m_ownerDraw.m_hWnd;
    item.hDC = dc;
    EXPECT_EQ(TRUE, Send(WM_DRAWITEM, ID_OWNERDRAW, (LPARAM)&item));
    EXPECT_EQ("drawitem 405", TakeLog());
    ::ReleaseDC(m_probe->m_hWnd, dc);
}

int g_plainColourChanges = 0;
LRESULT CALLBACK PlainChildProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOLORCHANGE)
        ++g_plainColourChanges;
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

TEST_F(MessageMapTest, SystemColourChangesReachChildWindows)
{
    CColourChild child;
    ASSERT_TRUE(child.Create(nullptr, L"c", WS_VISIBLE, CRect(0, 0, 10, 10), &m_probe->m_reflecting, 999));
    // A child without a framework object (a common control, say) hears of it too.
    WNDCLASSW wc = {};
    wc.lpfnWndProc = PlainChildProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RwPlainColourChild";
    ::RegisterClassW(&wc);
    HWND plain =
        ::CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD, 0, 0, 5, 5, child.m_hWnd, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, plain);
    g_plainColourChanges = 0;
    Send(WM_SYSCOLORCHANGE);
    EXPECT_EQ("child syscolorchange|syscolorchange", TakeLog());
    EXPECT_EQ(1, g_plainColourChanges);
    ::DestroyWindow(plain);
}

TEST_F(MessageMapTest, GrayControlColoursSetTheBackgroundOnlyWhereAControlTakesIt)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBRUSH gray = ::CreateSolidBrush(RGB(1, 2, 3));
    CComboBox dropDown, dropList;
    ASSERT_TRUE(dropDown.Create(CBS_DROPDOWN | WS_VISIBLE, CRect(0, 0, 50, 80), m_probe, 901));
    ASSERT_TRUE(dropList.Create(CBS_DROPDOWNLIST | WS_VISIBLE, CRect(0, 0, 50, 80), m_probe, 902));
    struct Case
    {
        HWND control;
        UINT type;
        HBRUSH brush;
        bool taken;
    };
    const Case cases[] = {
        {m_probe->m_static.m_hWnd, CTLCOLOR_STATIC, gray, true},
        {m_probe->m_button.m_hWnd, CTLCOLOR_BTN, gray, true},
        {m_probe->m_edit.m_hWnd, CTLCOLOR_EDIT, gray, false},
        {nullptr, CTLCOLOR_MSGBOX, gray, false},
        {dropDown.m_hWnd, CTLCOLOR_LISTBOX, gray, true},
        {dropList.m_hWnd, CTLCOLOR_LISTBOX, gray, false},
        {m_probe->m_static.m_hWnd, CTLCOLOR_STATIC, nullptr, false},
    };
    for (const Case& c : cases)
    {
        ::SetBkColor(dc, RGB(9, 9, 9));
        ::SetTextColor(dc, RGB(8, 8, 8));
        EXPECT_EQ(c.taken, CWnd::GrayCtlColor(dc, c.control, c.type, c.brush, RGB(4, 5, 6)) != FALSE) << c.type;
        EXPECT_EQ(c.taken ? RGB(1, 2, 3) : RGB(9, 9, 9), ::GetBkColor(dc)) << c.type;
        EXPECT_EQ(c.taken ? RGB(4, 5, 6) : RGB(8, 8, 8), ::GetTextColor(dc)) << c.type;
    }
    // Without a text colour the window text colour is used.
    EXPECT_TRUE(CWnd::GrayCtlColor(dc, nullptr, CTLCOLOR_DLG, gray, (COLORREF)-1));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOWTEXT), ::GetTextColor(dc));
    EXPECT_FALSE(CWnd::GrayCtlColor(nullptr, nullptr, CTLCOLOR_DLG, gray, (COLORREF)-1));
    dropDown.DestroyWindow();
    dropList.DestroyWindow();
    ::DeleteObject(gray);
    ::DeleteDC(dc);
}

TEST_F(MessageMapTest, ToolTipsFollowTheControlUnderTheMouse)
{
    m_probe->EnableToolTips(TRUE);
    CToolTipCtrl* tip = AfxGetThreadState()->m_pToolTip;
    ASSERT_NE(nullptr, tip);

    auto moveTo = [&](CWnd* over) {
        MSG msg = {};
        msg.hwnd = m_probe->m_hWnd;
        msg.message = WM_MOUSEMOVE;
        CRect r(0, 0, 0, 0);
        if (over)
            over->GetWindowRect(&r);
        else
        {
            m_probe->GetClientRect(&r);
            m_probe->ClientToScreen(&r);
            r.left = r.right - 2; // a corner no control covers
            r.top = r.bottom - 2;
        }
        msg.pt = r.CenterPoint();
        m_probe->PreTranslateMessage(&msg);
    };
    m_probe->m_button.MoveWindow(10, 10, 40, 20);
    moveTo(&m_probe->m_button);
    EXPECT_EQ(1, tip->GetToolCount());
    EXPECT_EQ((INT_PTR)ID_BUTTON, AfxGetThreadState()->m_nLastHit);
    moveTo(nullptr);
    EXPECT_EQ(0, tip->GetToolCount());
    EXPECT_EQ(-1, AfxGetThreadState()->m_nLastHit);
    m_probe->EnableToolTips(FALSE);
}

TEST_F(MessageMapTest, AThrowingHandlerIsContainedAndTheWindowKeepsWorking)
{
    EXPECT_EQ(0, Send(kThrowingMessage));
    EXPECT_EQ(0, Send(kFrameworkThrowMessage));
    EXPECT_EQ(11, Send(kPrivateMessage, 1, 2));
    EXPECT_EQ("private 1 2", TakeLog());
    // The record of the message being handled was restored after the failure.
    EXPECT_NE(kThrowingMessage, CWnd::GetCurrentMessage()->message);
}
}
