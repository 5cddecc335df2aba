#include "platform/mfc/FrameWnd.h"

#include "platform/mfc/ControlBar.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/StatusBar.h"
#include "platform/mfc/ThreadState.h"
#include "platform/mfc/View.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

namespace
{
const wchar_t kFrameClass[] = L"RwAfxFrame";

// Where CreateWindowEx puts a frame; the default rectangle lets the system choose place and size.
struct CreationPlace
{
    int x, y, cx, cy;
};

CreationPlace PlaceOf(const RECT& rect)
{
    if (::EqualRect(&rect, &CFrameWnd::rectDefault))
        return {CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

struct FloatNotify
{
    HWND frame;
    DWORD flags;
};

// Popups owned by the frame (its floating tool windows) hear of its activation and enabling.
BOOL CALLBACK NotifyFloatingProc(HWND hWnd, LPARAM lParam)
{
    try
    {
        FloatNotify* notify = reinterpret_cast<FloatNotify*>(lParam);
        if (hWnd == notify->frame)
            return TRUE;
        for (HWND owner = ::GetWindow(hWnd, GW_OWNER); owner; owner = ::GetWindow(owner, GW_OWNER))
        {
            if (owner == notify->frame)
            {
                ::SendMessageW(hWnd, WM_FLOATSTATUS, notify->flags, 0);
                break;
            }
        }
    }
    catch (...)
    {
    }
    return TRUE;
}
}

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_CLOSE()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_ERASEBKGND()
ON_WM_INITMENU()
ON_WM_INITMENUPOPUP()
ON_WM_MENUSELECT()
ON_WM_ENTERIDLE()
ON_WM_ACTIVATE()
ON_WM_NCACTIVATE()
ON_WM_ENABLE()
ON_WM_SHOWWINDOW()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, OnToolTipText)
ON_COMMAND_EX(AFX_IDW_TOOLBAR, OnBarCheck)
ON_COMMAND_EX(AFX_IDW_STATUS_BAR, OnBarCheck)
ON_UPDATE_COMMAND_UI(AFX_IDW_TOOLBAR, OnUpdateControlBarMenu)
ON_UPDATE_COMMAND_UI(AFX_IDW_STATUS_BAR, OnUpdateControlBarMenu)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd()
    : m_hMenuDefault(nullptr), m_hAccelTable(nullptr), m_bAutoMenuEnable(TRUE), m_nIdleFlags(0),
      m_bInRecalcLayout(FALSE), m_bHelpMode(FALSE), m_nIDHelp(0), m_nIDTracking(0), m_nIDLastMessage(0),
      m_pViewActive(nullptr)
{
}

CFrameWnd::~CFrameWnd()
{
    DestroyOwnMenu();
    if (m_hAccelTable)
        ::DestroyAcceleratorTable(m_hAccelTable);
    m_hAccelTable = nullptr;
}

void CFrameWnd::DestroyOwnMenu()
{
    if (!m_hMenuDefault)
        return;
    // A menu still shown by the window goes with the window; only a detached one is destroyed here.
    if (!m_hWnd || ::GetMenu(m_hWnd) != m_hMenuDefault)
        ::DestroyMenu(m_hMenuDefault);
    m_hMenuDefault = nullptr;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!cs.lpszClass)
    {
        WNDCLASSW wc = {};
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wc.lpszClassName = kFrameClass;
        AfxRegisterClass(&wc);
        cs.lpszClass = kFrameClass;
    }
    // FWS_ styles are the frame's own; the window never sees them.
    cs.style &= ~(FWS_ADDTOTITLE | FWS_PREFIXTITLE | FWS_SNAPTOBARS);
    if ((cs.style & WS_CHILD) == 0)
        cs.style |= WS_CLIPCHILDREN;
    return TRUE;
}

BOOL CFrameWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                       LPCWSTR menuName, DWORD exStyle, CCreateContext* context)
{
    HMENU menu = nullptr;
    if (menuName)
    {
        menu = ::LoadMenuW(AfxFindResourceHandle(menuName, (LPCWSTR)RT_MENU), menuName);
        if (!menu)
            return FALSE;
    }
    m_strTitle = windowName;
    CreationPlace place = PlaceOf(rect);
    if (!CreateEx(exStyle, className, windowName, style, place.x, place.y, place.cx, place.cy, parent->GetSafeHwnd(),
                  menu, (LPVOID)context))
    {
        if (menu)
            ::DestroyMenu(menu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCWSTR name)
{
    if (m_hAccelTable)
        return FALSE;
    m_hAccelTable = ::LoadAcceleratorsW(AfxFindResourceHandle(name, (LPCWSTR)RT_ACCELERATOR), name);
    return m_hAccelTable != nullptr;
}

BOOL CFrameWnd::LoadFrame(UINT idResource, DWORD style, CWnd* parent, CCreateContext* context)
{
    m_nIDHelp = idResource;
    // The title string may carry further fields after a newline; the first one is the title.
    CString full;
    full.LoadString(idResource);
    int newline = full.Find(L'\n');
    m_strTitle = newline >= 0 ? full.Left(newline) : full;

    LPCWSTR resource = MAKEINTRESOURCEW(idResource);
    HMENU menu = ::LoadMenuW(AfxFindResourceHandle(resource, (LPCWSTR)RT_MENU), resource);
    CreationPlace place = PlaceOf(rectDefault);
    if (!CreateEx(0, nullptr, m_strTitle, style, place.x, place.y, place.cx, place.cy, parent->GetSafeHwnd(), menu,
                  (LPVOID)context))
    {
        if (menu)
            ::DestroyMenu(menu);
        return FALSE;
    }
    HICON icon = ::LoadIconW(AfxFindResourceHandle(resource, (LPCWSTR)RT_GROUP_ICON), resource);
    if (icon)
    {
        SetIcon(icon, TRUE);
        SetIcon(icon, FALSE);
    }
    m_hMenuDefault = ::GetMenu(m_hWnd);
    LoadAccelTable(resource);
    if (!context)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    if (!m_hMenuDefault)
        m_hMenuDefault = ::GetMenu(m_hWnd);
    return 0;
}

void CFrameWnd::OnDestroy()
{
    // The menu the window shows is destroyed with the window; forget it.
    if (m_hMenuDefault && ::GetMenu(m_hWnd) == m_hMenuDefault)
        m_hMenuDefault = nullptr;
    CWnd::OnDestroy();
}

void CFrameWnd::OnClose()
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this && !app->SaveAllModified())
        return;
    DestroyWindow();
}

void CFrameWnd::PostNcDestroy()
{
    // Frames are made with new and end with their window.
    delete this;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    CFrameWnd* previous = state->m_pRoutingFrame;
    state->m_pRoutingFrame = this;
    BOOL handled = FALSE;
    try
    {
        // The active view, the frame itself, then the application.
        handled = m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
        if (!handled)
            handled = CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
        if (!handled)
        {
            CWinApp* app = AfxGetApp();
            if (app && app->CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
                handled = TRUE;
        }
    }
    catch (...)
    {
        state->m_pRoutingFrame = previous;
        throw;
    }
    state->m_pRoutingFrame = previous;
    return handled;
}

void CFrameWnd::SetActiveView(CView* view, BOOL notify)
{
    CView* previous = m_pViewActive;
    if (view == previous)
        return;
    m_pViewActive = view;
    if (notify && previous)
        previous->OnActivateView(FALSE, view, previous);
    if (notify && view)
        view->OnActivateView(TRUE, view, previous);
}

CDocument* CFrameWnd::GetActiveDocument()
{
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // A command chosen while the status line showed a menu prompt puts the idle text back.
    if (lParam == 0 && m_nIDTracking)
    {
        m_nIDTracking = 0;
        SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    }
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
    {
        HACCEL accel = GetDefaultAccelerator();
        if (accel && ::TranslateAcceleratorW(m_hWnd, accel, pMsg))
            return TRUE;
    }
    return FALSE;
}

void CFrameWnd::RecalcLayout(BOOL notify)
{
    if (m_bInRecalcLayout)
        return;
    m_bInRecalcLayout = TRUE;
    if (notify)
        m_nIdleFlags &= ~idleNotify;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL notify)
{
    m_nIdleFlags |= idleLayout | (notify ? idleNotify : 0);
}

void CFrameWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    if (type != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* old)
{
    CWnd::OnSetFocus(old);
}

BOOL CFrameWnd::OnEraseBkgnd(CDC* dc)
{
    return CWnd::OnEraseBkgnd(dc);
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    if (m_nIdleFlags & idleMenu)
    {
        m_nIdleFlags &= ~idleMenu;
        OnUpdateFrameMenu(nullptr);
    }
    if (m_nIdleFlags & idleLayout)
    {
        RecalcLayout((m_nIdleFlags & idleNotify) != 0);
        ::UpdateWindow(m_hWnd);
    }
    if (m_nIdleFlags & idleTitle)
        OnUpdateFrameTitle(TRUE);
    m_nIdleFlags = 0;
    return 0;
}

void CFrameWnd::ActivateFrame(int cmdShow)
{
    if (cmdShow == -1)
        cmdShow = ::IsWindowVisible(m_hWnd) ? (::IsIconic(m_hWnd) ? SW_RESTORE : SW_SHOW) : SW_SHOWNORMAL;
    ::ShowWindow(m_hWnd, cmdShow);
    ::BringWindowToTop(m_hWnd);
}

void CFrameWnd::InitialUpdateFrame(CObject*, BOOL makeVisible)
{
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    if (makeVisible)
        ActivateFrame();
}

void CFrameWnd::OnUpdateFrameTitle(BOOL)
{
    if (!m_strTitle.IsEmpty())
        SetWindowText(m_strTitle);
}

void CFrameWnd::OnUpdateFrameMenu(HMENU menuAlt)
{
    HMENU menu = menuAlt ? menuAlt : m_hMenuDefault;
    if (::GetMenu(m_hWnd) != menu)
        ::SetMenu(m_hWnd, menu);
}

void CFrameWnd::OnInitMenu(CMenu* menu)
{
    CWnd::OnInitMenu(menu);
}

void CFrameWnd::OnInitMenuPopup(CMenu* menu, UINT, BOOL sysMenu)
{
    CWnd::OnInitMenuPopup(menu, 0, sysMenu);
    if (sysMenu || !menu)
        return;

    CCmdUI state;
    state.m_pMenu = menu;
    state.m_nIndexMax = menu->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex)
    {
        state.m_nID = menu->GetMenuItemID((int)state.m_nIndex);
        if (state.m_nID == 0)
            continue; // separator
        if (state.m_nID == (UINT)-1)
        {
            // A popup item: it follows the update of its first command.
            CMenu* sub = menu->GetSubMenu((int)state.m_nIndex);
            if (!sub)
                continue;
            state.m_nID = sub->GetMenuItemID(0);
            if (state.m_nID == 0 || state.m_nID == (UINT)-1)
                continue;
            state.m_pSubMenu = sub;
            state.DoUpdate(this, FALSE);
            state.m_pSubMenu = nullptr;
        }
        else
        {
            // System commands and the recent-file list handle themselves.
            state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        }
        // An update handler may add or remove items.
        UINT count = menu->GetMenuItemCount();
        if (count < state.m_nIndexMax)
        {
            state.m_nIndex -= state.m_nIndexMax - count;
            while (state.m_nIndex < count && menu->GetMenuItemID((int)state.m_nIndex) == state.m_nID)
                ++state.m_nIndex;
        }
        state.m_nIndexMax = count;
    }
}

void CFrameWnd::GetMessageString(UINT id, CString& message) const
{
    CString full;
    if (full.LoadString(id))
    {
        int newline = full.Find(L'\n');
        message = newline >= 0 ? full.Left(newline) : full;
    }
    else
    {
        message.Empty();
    }
}

CWnd* CFrameWnd::GetMessageBar()
{
    return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    UINT previous = m_nIDLastMessage;
    m_nIDLastMessage = (UINT)wParam;
    CWnd* bar = GetMessageBar();
    if (bar)
    {
        CString message;
        LPCWSTR text = nullptr;
        if (lParam)
            text = reinterpret_cast<LPCWSTR>(lParam);
        else if (wParam)
        {
            GetMessageString((UINT)wParam, message);
            text = message;
        }
        if (CStatusBar* status = dynamic_cast<CStatusBar*>(bar))
            status->SetPaneText(0, text ? text : L"");
        else
            bar->SetWindowText(text ? text : L"");
    }
    m_nIDTracking = (UINT)wParam;
    return previous;
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam)
{
    if (m_nFlags & WF_NOPOPMSG)
        return 0;
    return SendMessage(WM_SETMESSAGESTRING, wParam ? wParam : AFX_IDS_IDLEMESSAGE, lParam);
}

LRESULT CFrameWnd::OnCommandHelp(WPARAM, LPARAM)
{
    return FALSE;
}

void CFrameWnd::SetMessageText(LPCWSTR text)
{
    SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM)text);
}

void CFrameWnd::SetMessageText(UINT id)
{
    SendMessage(WM_SETMESSAGESTRING, id);
}

void CFrameWnd::OnMenuSelect(UINT item, UINT flags, HMENU sysMenu)
{
    if (flags == 0xFFFF && !sysMenu)
    {
        // The menu closed: back to the idle text.
        m_nIDTracking = AFX_IDS_IDLEMESSAGE;
        SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
        return;
    }
    if (flags & (MF_SEPARATOR | MF_POPUP))
        m_nIDTracking = 0;
    else
        m_nIDTracking = item;
    // The prompt shows at the next idle moment of the menu loop.
    PostMessage(WM_KICKIDLE);
}

void CFrameWnd::OnEnterIdle(UINT why, CWnd* who)
{
    CWnd::OnEnterIdle(why, who);
    if (why != MSGF_MENU || m_nIDTracking == m_nIDLastMessage)
        return;
    SetMessageText(m_nIDTracking);
}

void CFrameWnd::NotifyFloatingWindows(DWORD flags)
{
    // The top-level frame's caption follows the activation first (unless it is disabled).
    CFrameWnd* top = (GetStyle() & WS_CHILD) ? this : GetTopLevelFrame();
    if (!top)
        top = this;
    // A frame notifying for itself draws through WF_STAYACTIVE, which OnActivate has just set.
    if (flags & (FS_ACTIVATE | FS_DEACTIVATE))
    {
        BOOL activate = !(flags & FS_DEACTIVATE) && top->IsWindowEnabled() && top != this;
        top->SendMessage(WM_NCACTIVATE, activate);
    }
    FloatNotify notify = {top->m_hWnd, flags};
    ::EnumThreadWindows(::GetCurrentThreadId(), NotifyFloatingProc, (LPARAM)&notify);
}

void CFrameWnd::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    CWnd::OnActivate(state, other, minimized);
    // The frame stays active while the window taking the activation is itself or one of its
    // floating windows that synchronise their activation with it (mini frames with MFS_SYNCACTIVE).
    CFrameWnd* top = (GetStyle() & WS_CHILD) ? this : GetTopLevelFrame();
    if (!top)
        top = this;
    HWND active = state == WA_INACTIVE ? other->GetSafeHwnd() : m_hWnd;
    BOOL stayActive = FALSE;
    if (active)
    {
        HWND owner = active;
        while (::GetWindow(owner, GW_OWNER))
            owner = ::GetWindow(owner, GW_OWNER);
        stayActive = active == top->m_hWnd ||
                     (owner == top->m_hWnd && ::SendMessageW(active, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0);
    }
    top->m_nFlags &= ~WF_STAYACTIVE;
    if (stayActive)
        top->m_nFlags |= WF_STAYACTIVE;
    NotifyFloatingWindows(stayActive ? FS_ACTIVATE : FS_DEACTIVATE);
}

BOOL CFrameWnd::OnNcActivate(BOOL active)
{
    // A frame whose floating windows have the activation keeps an active caption, unless disabled.
    if (m_nFlags & WF_STAYACTIVE)
        active = TRUE;
    if (!::IsWindowEnabled(m_hWnd))
        active = FALSE;
    return (BOOL)DefWindowProc(WM_NCACTIVATE, active, 0);
}

void CFrameWnd::OnEnable(BOOL enable)
{
    CWnd::OnEnable(enable);
    NotifyFloatingWindows(enable ? FS_ENABLE : FS_DISABLE);
}

void CFrameWnd::OnShowWindow(BOOL show, UINT status)
{
    CWnd::OnShowWindow(show, status);
    if (status == 0)
        NotifyFloatingWindows(show ? FS_SHOW : FS_HIDE);
}

void CFrameWnd::AddControlBar(CControlBar* bar)
{
    m_listControlBars.AddTail(bar);
}

void CFrameWnd::RemoveControlBar(CControlBar* bar)
{
    POSITION pos = m_listControlBars.Find(bar);
    if (pos)
        m_listControlBars.RemoveAt(pos);
}

CControlBar* CFrameWnd::GetControlBar(UINT id)
{
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;)
    {
        CControlBar* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (bar->m_hWnd && (UINT)::GetDlgCtrlID(bar->m_hWnd) == id)
            return bar;
    }
    return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show, BOOL delay)
{
    if (!bar || !bar->m_hWnd)
        return;
    bar->SetWindowPos(nullptr, 0, 0, 0, 0,
                      SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE |
                          (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    if (delay)
        DelayRecalcLayout();
    else
        RecalcLayout();
}

BOOL CFrameWnd::OnToolTipText(UINT, NMHDR* header, LRESULT* result)
{
    NMTTDISPINFOW* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    UINT_PTR id = header->idFrom;
    if (info->uFlags & TTF_IDISHWND)
        id = (UINT_PTR)::GetDlgCtrlID((HWND)id);
    if (id == 0)
        return FALSE;
    CString full;
    if (!full.LoadString((UINT)id))
        return FALSE;
    int newline = full.Find(L'\n');
    CString tip = newline >= 0 ? full.Mid(newline + 1) : full;
    ::lstrcpynW(info->szText, tip, (int)(sizeof(info->szText) / sizeof(info->szText[0])));
    info->lpszText = info->szText;
    info->hinst = nullptr;
    *result = 0;
    // The tip shows in front of the windows it may overlap.
    ::SetWindowPos(header->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE);
    return TRUE;
}

BOOL CFrameWnd::OnBarCheck(UINT id)
{
    CControlBar* bar = GetControlBar(id);
    if (!bar)
        return FALSE;
    ShowControlBar(bar, !(bar->GetStyle() & WS_VISIBLE), FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* cmdUI)
{
    CControlBar* bar = GetControlBar(cmdUI->m_nID);
    if (!bar)
    {
        cmdUI->ContinueRouting();
        return;
    }
    cmdUI->SetCheck((bar->GetStyle() & WS_VISIBLE) != 0);
}
