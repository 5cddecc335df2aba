#include "platform/mfc/Wnd.h"

#include <shellapi.h>

#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/OleControlSite.h"
#include "platform/mfc/ScrollBar.h"
#include "platform/mfc/ThreadState.h"
#include "platform/mfc/ToolTipCtrl.h"
#include "platform/mfc/WinApp.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

const wchar_t AFX_WND_CLASS[] = L"RwAfxWnd";

namespace
{
// The window property that keeps the previous procedure of a window whose object left it while
// another subclasser sat on top, so that AfxWndProc can pass its messages on.
const wchar_t kPassThroughProp[] = L"RwAfxOldProc";

CWnd* MakeTempWnd(HWND hWnd)
{
    CWnd* wnd = new CWnd;
    wnd->m_hWnd = hWnd;
    return wnd;
}

void DropTempWnd(CWnd* wnd)
{
    wnd->m_hWnd = nullptr;
}

CHandleMap<CWnd, HWND>* WndMap(bool create)
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    if (!state->m_pmapHWND && create)
        state->m_pmapHWND = new CHandleMap<CWnd, HWND>(MakeTempWnd, DropTempWnd);
    return state->m_pmapHWND;
}

void ReportHandlerException(UINT message, const char* what)
{
    char line[256];
    ::wsprintfA(line, "Reelwright: message 0x%04X: handler failed: %s\n", message, what ? what : "unknown exception");
    ::OutputDebugStringA(line);
}

LRESULT CALLBACK AfxCbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    try
    {
        if (code == HCBT_CREATEWND && state->m_pWndInit)
        {
            CWnd* wnd = state->m_pWndInit;
            state->m_pWndInit = nullptr;
            HWND hWnd = (HWND)wParam;
            wnd->Attach(hWnd);
            wnd->PreSubclassWindow();
            WNDPROC* super = wnd->GetSuperWndProcAddr();
            WNDPROC old = (WNDPROC)::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)&AfxWndProc);
            if (old != &AfxWndProc)
                *super = old;
        }
    }
    catch (...)
    {
        ReportHandlerException(WM_CREATE, "creation hook");
    }
    return ::CallNextHookEx(state->m_hHookOldCbtFilter, code, wParam, lParam);
}

BOOL CALLBACK SendToDescendantsProc(HWND hWnd, LPARAM lParam);

struct DescendantMessage
{
    HWND parent;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    BOOL deep;
    BOOL onlyPermanent;
};

void SendToDescendants(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, BOOL deep, BOOL onlyPermanent)
{
    for (HWND child = ::GetTopWindow(parent); child; child = ::GetNextWindow(child, GW_HWNDNEXT))
    {
        if (onlyPermanent)
        {
            if (CWnd* wnd = CWnd::FromHandlePermanent(child))
                AfxCallWndProc(wnd, child, message, wParam, lParam);
        }
        else
        {
            ::SendMessageW(child, message, wParam, lParam);
        }
        if (deep && ::GetTopWindow(child))
            SendToDescendants(child, message, wParam, lParam, deep, onlyPermanent);
    }
}
}

// ---------------------------------------------------------------------------------------------
// Window procedure and creation hook

WNDPROC AFXAPI AfxGetAfxWndProc()
{
    return &AfxWndProc;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    try
    {
        if (message == WM_QUERYAFXWNDPROC)
            return 1;
        CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
        if (!wnd)
        {
            // The object left while another subclasser still chained to us: pass the message on.
            WNDPROC old = (WNDPROC)::GetPropW(hWnd, kPassThroughProp);
            if (message == WM_NCDESTROY)
                ::RemovePropW(hWnd, kPassThroughProp);
            if (old)
                return ::CallWindowProcW(old, hWnd, message, wParam, lParam);
            return ::DefWindowProcW(hWnd, message, wParam, lParam);
        }
        return AfxCallWndProc(wnd, hWnd, message, wParam, lParam);
    }
    catch (...)
    {
        ReportHandlerException(message, "window procedure");
        return message == WM_CREATE ? -1 : 0;
    }
}

LRESULT AFXAPI AfxCallWndProc(CWnd* wnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    MSG saved = state->m_lastSentMsg;
    state->m_lastSentMsg.hwnd = hWnd;
    state->m_lastSentMsg.message = message;
    state->m_lastSentMsg.wParam = wParam;
    state->m_lastSentMsg.lParam = lParam;

    LRESULT result = 0;
    try
    {
        result = wnd->WindowProc(message, wParam, lParam);
    }
    catch (CException* e)
    {
        ReportHandlerException(message, "framework exception");
        e->Delete();
        result = message == WM_CREATE ? -1 : 0;
    }
    catch (const std::exception& e)
    {
        ReportHandlerException(message, e.what());
        result = message == WM_CREATE ? -1 : 0;
    }
    catch (...)
    {
        ReportHandlerException(message, nullptr);
        result = message == WM_CREATE ? -1 : 0;
    }

    // A window that did not run the framework's final cleanup still gets it.
    if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == wnd)
    {
        try
        {
            wnd->CWnd::OnNcDestroy();
        }
        catch (...)
        {
            ReportHandlerException(message, "final cleanup");
        }
    }
    state->m_lastSentMsg = saved;
    return result;
}

void AFXAPI AfxHookWindowCreate(CWnd* wnd)
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    if (!state->m_hHookOldCbtFilter)
        state->m_hHookOldCbtFilter = ::SetWindowsHookExW(WH_CBT, AfxCbtFilterHook, nullptr, ::GetCurrentThreadId());
    state->m_pWndInit = wnd;
}

BOOL AFXAPI AfxUnhookWindowCreate()
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    BOOL consumed = state->m_pWndInit == nullptr;
    state->m_pWndInit = nullptr;
    return consumed;
}

BOOL AFXAPI AfxRegisterClass(WNDCLASSW* wndClass)
{
    WNDCLASSW existing = {};
    if (::GetClassInfoW(wndClass->hInstance, wndClass->lpszClassName, &existing))
        return TRUE;
    return ::RegisterClassW(wndClass) != 0;
}

LPCWSTR AFXAPI AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    // One class per combination, named after its values; kept per thread so the text stays valid.
    static thread_local wchar_t name[96];
    HINSTANCE instance = AfxGetInstanceHandle();
    if (!cursor && !background && !icon)
        ::wsprintfW(name, L"Afx:%p:%x", (void*)instance, classStyle);
    else
        ::wsprintfW(name, L"Afx:%p:%x:%p:%p:%p", (void*)instance, classStyle, (void*)cursor, (void*)background,
                    (void*)icon);
    WNDCLASSW wc = {};
    wc.style = classStyle;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    if (!AfxRegisterClass(&wc))
        return nullptr;
    return name;
}

BOOL AFXAPI AfxDeferRegisterClass(LONG toRegister)
{
    if (toRegister & AFX_WNDCOMMCTLS_REG)
    {
        INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                       ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES |
                                                       ICC_UPDOWN_CLASS | ICC_COOL_CLASSES};
        ::InitCommonControlsEx(&init);
    }
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
    wc.lpszClassName = AFX_WND_CLASS;
    return AfxRegisterClass(&wc);
}

// ---------------------------------------------------------------------------------------------
// Construction, handle maps, subclassing

CWnd::CWnd()
    : m_hWnd(nullptr), m_hWndOwner(nullptr), m_pfnSuper(nullptr), m_nFlags(0), m_nModalResult(0), m_pCtrlSite(nullptr)
{
}

CWnd::CWnd(HWND hWnd)
    : m_hWnd(hWnd), m_hWndOwner(nullptr), m_pfnSuper(nullptr), m_nFlags(0), m_nModalResult(0), m_pCtrlSite(nullptr)
{
}

CWnd::~CWnd()
{
    if (this == &wndTop || this == &wndBottom || this == &wndTopMost || this == &wndNoTopMost)
        return;
    if (AfxWindowLayerTerminated())
    {
        m_hWnd = nullptr; // the process is ending: no Win32 calls any more
        return;
    }
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
    {
        DestroyWindow();
    }
    // An object that only borrowed a handle (never entered the map) leaves the window alone.
    m_hWnd = nullptr;
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd)
{
    return WndMap(true)->FromHandle(hWnd);
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    CHandleMap<CWnd, HWND>* map = WndMap(false);
    return map && hWnd ? map->LookupPermanent(hWnd) : nullptr;
}

void PASCAL CWnd::DeleteTempMap()
{
    if (auto* map = WndMap(false))
        map->DeleteTemp();
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd)
        return FALSE;
    m_hWnd = hWnd;
    WndMap(true)->SetPermanent(hWnd, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd)
    {
        if (auto* map = WndMap(false))
            map->RemoveHandle(hWnd, this);
    }
    m_hWnd = nullptr;
    return hWnd;
}

void CWnd::PreSubclassWindow()
{
}

WNDPROC* CWnd::GetSuperWndProcAddr()
{
    return &m_pfnSuper;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!::IsWindow(hWnd) || FromHandlePermanent(hWnd))
        return FALSE;
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC* super = GetSuperWndProcAddr();
    WNDPROC old = (WNDPROC)::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)&AfxWndProc);
    if (old == &AfxWndProc)
    {
        // The window already runs through us (an object left it earlier): reuse its previous procedure.
        old = (WNDPROC)::RemovePropW(hWnd, kPassThroughProp);
        if (!old)
            old = ::DefWindowProcW;
    }
    *super = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    HWND control = ::GetDlgItem(parent->GetSafeHwnd(), (int)id);
    return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (!m_hWnd)
        return nullptr;
    WNDPROC* super = GetSuperWndProcAddr();
    WNDPROC current = (WNDPROC)::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC);
    if (current == &AfxWndProc)
    {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, (LONG_PTR)*super);
    }
    else if (*super)
    {
        // Another subclasser sits above us and will restore AfxWndProc when it leaves: from then on
        // AfxWndProc passes the window's messages to the procedure we had replaced.
        ::SetPropW(m_hWnd, kPassThroughProp, (HANDLE)*super);
    }
    *super = nullptr;
    return Detach();
}

// ---------------------------------------------------------------------------------------------
// Creation and destruction

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!cs.lpszClass)
    {
        AfxDeferRegisterClass(0);
        cs.lpszClass = AFX_WND_CLASS;
    }
    return TRUE;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  CCreateContext* context)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent->GetSafeHwnd(), (HMENU)(UINT_PTR)id, (LPVOID)context);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, LPVOID param)
{
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent->GetSafeHwnd(), (HMENU)(UINT_PTR)id, param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int cx, int cy,
                    HWND parent, HMENU idOrMenu, LPVOID param)
{
    if (m_hWnd)
        return FALSE;
    CREATESTRUCTW cs = {};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = style;
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs))
    {
        PostNcDestroy();
        return FALSE;
    }

    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    AfxUnhookWindowCreate();
    if (!hWnd)
    {
        // A window that failed after the hook attached it went through WM_NCDESTROY, whose
        // PostNcDestroy may have deleted this object: nothing of it may be touched then.
        return FALSE;
    }
    if (hWnd != m_hWnd)
    {
        // The hook did not see the creation (another hook swallowed it): subclass now.
        if (!m_hWnd)
            SubclassWindow(hWnd);
    }
    return TRUE;
}

BOOL CWnd::CreateControl(REFCLSID clsid, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                         CFile*, BOOL, BSTR)
{
    if (m_hWnd)
        return FALSE;
    AfxEnableControlContainer();
    if (!CreateEx(0, nullptr, windowName, style | WS_CHILD | WS_CLIPCHILDREN, rect, parent, id))
        return FALSE;
    COleControlSite* site = new COleControlSite(this);
    CRect client(0, 0, rect.right - rect.left, rect.bottom - rect.top);
    HRESULT hr = site->CreateControl(clsid, client);
    if (FAILED(hr))
    {
        char line[96];
        ::wsprintfA(line, "Reelwright: control could not be created: 0x%08X\n", (unsigned)hr);
        ::OutputDebugStringA(line);
        site->Release();
        DestroyWindow();
        return FALSE;
    }
    m_pCtrlSite = site;
    m_nFlags |= WF_OLECTLCONTAINER;
    return TRUE;
}

LPUNKNOWN CWnd::GetControlUnknown()
{
    return m_pCtrlSite ? m_pCtrlSite->GetControlUnknown() : nullptr;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    HWND hWnd = m_hWnd;
    CWnd* permanent = FromHandlePermanent(hWnd);
    BOOL result = ::DestroyWindow(hWnd);
    // A window that was not ours (or whose cleanup did not run) is detached here.
    if (!permanent || permanent != this)
    {
        if (m_hWnd == hWnd)
            m_hWnd = nullptr;
    }
    else if (FromHandlePermanent(hWnd) == this)
    {
        Detach();
    }
    return result;
}

void CWnd::PostNcDestroy()
{
}

void CWnd::OnNcDestroy()
{
    if (COleControlSite* site = m_pCtrlSite)
    {
        m_pCtrlSite = nullptr;
        m_nFlags &= ~WF_OLECTLCONTAINER;
        site->Close();
        site->Release();
    }
    CWinThread* thread = AfxGetThread();
    if (thread && thread->m_pMainWnd == this)
    {
        // The main window going away ends its thread's message loop, on the application's
        // thread as on any user-interface thread.
        ::PostQuitMessage(0);
        thread->m_pMainWnd = nullptr;
    }
    if (thread && thread->m_pActiveWnd == this)
        thread->m_pActiveWnd = nullptr;
    // A modal loop whose window goes away without EndModalLoop ends with it.
    if (m_nFlags & WF_CONTINUEMODAL)
        m_nFlags &= ~WF_CONTINUEMODAL;
    if (m_nFlags & WF_TOOLTIPS)
        CancelToolTips();

    Default();

    WNDPROC* super = GetSuperWndProcAddr();
    if (*super && (WNDPROC)::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) == &AfxWndProc)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, (LONG_PTR)*super);
    *super = nullptr;
    Detach();
    PostNcDestroy();
}

void CWnd::CalcWindowRect(LPRECT clientRect, UINT adjustType)
{
    DWORD exStyle = GetExStyle();
    if (adjustType == 0)
        exStyle &= ~WS_EX_CLIENTEDGE;
    ::AdjustWindowRectEx(clientRect, GetStyle(), FALSE, exStyle);
}

// ---------------------------------------------------------------------------------------------
// Message handling

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_NCDESTROY()
ON_WM_CTLCOLOR()
ON_WM_DRAWITEM()
ON_WM_MEASUREITEM()
ON_WM_COMPAREITEM()
ON_WM_DELETEITEM()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_PARENTNOTIFY()
ON_WM_SYSCOLORCHANGE()
ON_WM_SETTINGCHANGE()
ON_WM_DISPLAYCHANGE()
END_MESSAGE_MAP()

const MSG* PASCAL CWnd::GetCurrentMessage()
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    state->m_lastSentMsg.time = ::GetMessageTime();
    DWORD pos = ::GetMessagePos();
    state->m_lastSentMsg.pt.x = (short)LOWORD(pos);
    state->m_lastSentMsg.pt.y = (short)HIWORD(pos);
    return &state->m_lastSentMsg;
}

LRESULT CWnd::Default()
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC super = *GetSuperWndProcAddr();
    if (super)
        return ::CallWindowProcW(super, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT result = 0;
    if (message == WM_COMMAND)
    {
        if (OnCommand(wParam, lParam))
        {
            if (pResult)
                *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    if (message == WM_NOTIFY)
    {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        if (header && header->hwndFrom && OnNotify(wParam, lParam, &result))
        {
            if (pResult)
                *pResult = result;
            return TRUE;
        }
        return FALSE;
    }

    // Only top-level windows hear of system changes: the framework passes them on to the
    // children first, whatever the window's own handler does.
    // Colour changes reach every child (common controls refresh their colours); the other
    // changes reach the framework's own windows.
    if ((message == WM_SYSCOLORCHANGE || message == WM_SETTINGCHANGE || message == WM_DISPLAYCHANGE) && m_hWnd &&
        !(::GetWindowLongW(m_hWnd, GWL_STYLE) & WS_CHILD))
        SendMessageToDescendants(message, wParam, lParam, TRUE, message != WM_SYSCOLORCHANGE);

    // The colour messages all reach the one WM_CTLCOLOR handler through a shared record.
    AFX_CTLCOLOR ctlColor;
    UINT lookup = message;
    LPARAM lookupParam = lParam;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
    {
        ctlColor.hDC = (HDC)wParam;
        ctlColor.hWnd = (HWND)lParam;
        ctlColor.nCtlType = message - WM_CTLCOLORMSGBOX;
        lookup = WM_CTLCOLOR;
        lookupParam = (LPARAM)&ctlColor;
    }

    const AFX_MSGMAP_ENTRY* entry =
        AfxWalkMessageMap(GetMessageMap(), lookup, 0, 0, [](const AFX_MSGMAP_ENTRY&) { return true; });
    if (!entry)
        return FALSE;
    AFX_MSGCALL call = {};
    call.message = message;
    call.wParam = wParam;
    call.lParam = lookupParam;
    call.bHandled = TRUE;
    entry->pfn(this, call);
    if (pResult)
        *pResult = call.result;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    HWND control = (HWND)lParam;
    int code = HIWORD(wParam);

    if (!control)
    {
        // Menus and accelerators: a command whose update handler disables it does not run.
        if (code == 0 || code == 1)
            code = CN_COMMAND;
        CCmdUI state;
        state.m_nID = id;
        state.m_bEnableChanged = FALSE;
        BOOL enabled = TRUE;
        struct EnableProbe : CCmdUI
        {
            BOOL* enabled;
            void Enable(BOOL on) override
            {
                *enabled = on;
                m_bEnableChanged = TRUE;
            }
            void SetCheck(int) override {}
            void SetRadio(BOOL) override {}
            void SetText(LPCWSTR) override {}
        } probe;
        probe.m_nID = id;
        probe.enabled = &enabled;
        OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &probe, nullptr);
        if (!enabled)
            return TRUE;
    }
    else
    {
        // A control's notification goes back to the control first (reflection).
        if (::GetCurrentThreadId() == ::GetWindowThreadProcessId(control, nullptr) && ReflectLastMsg(control))
            return TRUE;
    }
    return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    HWND control = header->hwndFrom;
    UINT id = (UINT)header->idFrom;
    int code = (int)header->code;

    if (ReflectLastMsg(control, pResult))
        return TRUE;

    AFX_NOTIFY notify;
    notify.pResult = pResult;
    notify.pNMHDR = header;
    return OnCmdMsg(id, (int)MAKELONG((WORD)code, WM_NOTIFY), &notify, nullptr);
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* child = FromHandlePermanent(hWndChild);
    if (!child)
        return FALSE;
    return child->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message)
    {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);

    case WM_COMMAND:
    {
        int code = HIWORD(wParam);
        if (OnCmdMsg(0, (int)MAKELONG((WORD)code, WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr))
        {
            if (pResult)
                *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }

    case WM_NOTIFY:
    {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        AFX_NOTIFY notify;
        LRESULT local = 0;
        notify.pResult = pResult ? pResult : &local;
        notify.pNMHDR = header;
        return OnCmdMsg(0, (int)MAKELONG((WORD)header->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, nullptr);
    }

    default:
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        {
            AFX_CTLCOLOR ctlColor;
            ctlColor.hDC = (HDC)wParam;
            ctlColor.hWnd = (HWND)lParam;
            ctlColor.nCtlType = message - WM_CTLCOLORMSGBOX;
            LRESULT brush = 0;
            BOOL handled = OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, (LPARAM)&ctlColor, &brush);
            // A reflected colour handler answering no brush leaves the parent's handling in place.
            if (handled && brush)
            {
                if (pResult)
                    *pResult = brush;
                return TRUE;
            }
            return FALSE;
        }
        return FALSE;
    }
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* wnd, UINT)
{
    LRESULT result = 0;
    if (wnd && wnd->m_hWnd && ReflectLastMsg(wnd->m_hWnd, &result))
        return (HBRUSH)result;
    return (HBRUSH)Default();
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT item)
{
    if (item->CtlType == ODT_MENU)
    {
        if (CMenu* menu = CMenu::FromHandlePermanent((HMENU)item->hwndItem))
        {
            menu->DrawItem(item);
            return;
        }
    }
    else if (ReflectLastMsg(item->hwndItem))
    {
        return;
    }
    Default();
}

void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT item)
{
    if (item->CtlType != ODT_MENU && m_hWnd)
    {
        HWND control = ::GetDlgItem(m_hWnd, (int)item->CtlID);
        if (control && ReflectLastMsg(control))
            return;
    }
    Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT item)
{
    LRESULT result = 0;
    if (ReflectLastMsg(item->hwndItem, &result))
        return (int)result;
    return (int)Default();
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT item)
{
    if (ReflectLastMsg(item->hwndItem))
        return;
    Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* bar)
{
    if (bar && bar->m_hWnd && ReflectLastMsg(bar->m_hWnd))
        return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* bar)
{
    if (bar && bar->m_hWnd && ReflectLastMsg(bar->m_hWnd))
        return;
    Default();
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam)
{
    if ((message == WM_CREATE || message == WM_DESTROY) && ReflectLastMsg((HWND)lParam))
        return;
    Default();
}

void CWnd::OnSysColorChange()
{
    Default();
}

void CWnd::OnSettingChange(UINT, LPCWSTR)
{
    Default();
}

LRESULT CWnd::OnDisplayChange(WPARAM, LPARAM)
{
    return Default();
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    if ((m_nFlags & WF_TOOLTIPS) && pMsg)
        FilterToolTipMessage(pMsg);
    return FALSE;
}

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd))
    {
        CWnd* wnd = FromHandlePermanent(hWnd);
        if (wnd && wnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Modal loop

BOOL AFXAPI AfxPumpMessage()
{
    // The loop of a thread without a framework thread object.
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    MSG& msg = state->m_msgCur;
    if (!::GetMessageW(&msg, nullptr, 0, 0))
        return FALSE;
    try
    {
        if (msg.message != WM_KICKIDLE && !CWnd::WalkPreTranslateTree(nullptr, &msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    catch (...)
    {
        ReportHandlerException(msg.message, "message pre-translation");
    }
    return TRUE;
}

BOOL CWnd::ContinueModal()
{
    return (m_nFlags & WF_CONTINUEMODAL) != 0;
}

void CWnd::EndModalLoop(int result)
{
    m_nModalResult = result;
    if (m_nFlags & WF_CONTINUEMODAL)
    {
        m_nFlags &= ~WF_CONTINUEMODAL;
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0); // wake the loop
    }
}

int CWnd::RunModalLoop(DWORD flags)
{
    HWND hWnd = m_hWnd;
    BOOL idle = TRUE;
    LONG idleCount = 0;
    BOOL showIdle = (flags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND parent = ::GetParent(hWnd);
    m_nFlags |= (WF_MODALLOOP | WF_CONTINUEMODAL);
    CWinThread* thread = AfxGetThread();
    MSG msg;

    for (;;)
    {
        // Idle work while the queue is empty: show the dialog, then let the owner update itself.
        while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
        {
            if (showIdle)
            {
                ::ShowWindow(hWnd, SW_SHOWNORMAL);
                ::UpdateWindow(hWnd);
                showIdle = FALSE;
            }
            if (!(flags & MLF_NOIDLEMSG) && parent && idleCount == 0)
                ::SendMessageW(parent, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)hWnd);
            if ((flags & MLF_NOKICKIDLE) || !::SendMessageW(hWnd, WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++))
                idle = FALSE;
        }

        do
        {
            if (!ContinueModal())
                goto done;
            if (!(thread ? thread->PumpMessage() : AfxPumpMessage()))
            {
                // WM_QUIT ends the modal loop; the thread's own loop still needs it, with its code.
                ::PostQuitMessage((int)AfxGetThreadState()->m_msgCur.wParam);
                goto done;
            }
            if (!::IsWindow(hWnd) || !ContinueModal())
                goto done;
            if (showIdle && (msg.message == 0x118 || msg.message == WM_SYSKEYDOWN))
            {
                ::ShowWindow(hWnd, SW_SHOWNORMAL);
                ::UpdateWindow(hWnd);
                showIdle = FALSE;
            }
            if (thread && thread->IsIdleMessage(&AfxGetThreadState()->m_msgCur))
            {
                idle = TRUE;
                idleCount = 0;
            }
        } while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }

done:
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

CModalOwner::CModalOwner(CWnd* parent) : m_hWnd(nullptr), m_bReenable(FALSE)
{
    m_hWnd = CWnd::GetSafeOwner(parent)->GetSafeHwnd();
    // The owner is disabled for the modal window's life, as the system's own modal dialogs do.
    if (m_hWnd && m_hWnd != ::GetDesktopWindow() && ::IsWindowEnabled(m_hWnd))
    {
        ::EnableWindow(m_hWnd, FALSE);
        m_bReenable = TRUE;
    }
}

void CModalOwner::Release(HWND modal)
{
    if (m_bReenable)
        ::EnableWindow(m_hWnd, TRUE);
    m_bReenable = FALSE;
    // The owner takes the activation back from the modal window, or after it went away on its own.
    HWND active = ::GetActiveWindow();
    if (m_hWnd && (active == nullptr || (modal && active == modal)))
        ::SetActiveWindow(m_hWnd);
}

// ---------------------------------------------------------------------------------------------
// Family

CWnd* CWnd::GetOwner() const
{
    return m_hWndOwner ? FromHandle(m_hWndOwner) : GetParent();
}

CFrameWnd* CWnd::GetParentFrame() const
{
    if (!m_hWnd)
        return nullptr;
    for (CWnd* parent = GetParent(); parent; parent = parent->GetParent())
    {
        if (parent->IsFrameWnd())
            return static_cast<CFrameWnd*>(parent);
    }
    return nullptr;
}

CWnd* CWnd::GetTopLevelParent() const
{
    if (!m_hWnd)
        return nullptr;
    HWND top = m_hWnd;
    for (HWND parent = top; parent; parent = ::GetParent(parent))
        top = parent;
    return FromHandle(top);
}

CWnd* CWnd::GetTopLevelOwner() const
{
    if (!m_hWnd)
        return nullptr;
    HWND owner = m_hWnd;
    for (HWND next = owner; next; next = ::GetWindow(next, GW_OWNER))
        owner = next;
    return FromHandle(owner);
}

CWnd* CWnd::GetParentOwner() const
{
    if (!m_hWnd)
        return nullptr;
    HWND hWnd = m_hWnd;
    // Climb while the window is a child: the first window that is not a child is the answer.
    while (::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD)
    {
        HWND parent = ::GetParent(hWnd);
        if (!parent)
            break;
        hWnd = parent;
    }
    return FromHandle(hWnd);
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    if (!m_hWnd)
        return nullptr;
    CWnd* wnd = const_cast<CWnd*>(this);
    CFrameWnd* frame = wnd->IsFrameWnd() ? static_cast<CFrameWnd*>(wnd) : GetParentFrame();
    while (frame)
    {
        CFrameWnd* next = frame->GetParentFrame();
        if (!next)
            break;
        frame = next;
    }
    return frame;
}

CWnd* PASCAL CWnd::GetSafeOwner(CWnd* parent, HWND* topLevel)
{
    HWND hWnd = parent ? parent->GetSafeHwnd() : nullptr;
    if (!hWnd)
    {
        CWnd* main = AfxGetMainWnd();
        hWnd = main ? main->GetSafeHwnd() : nullptr;
    }
    // The owner of a modal window is the top-level window over the given one.
    while (hWnd && (::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    HWND top = hWnd;
    for (HWND next = top; next; next = ::GetWindow(next, GW_OWNER))
        top = next;
    if (topLevel)
        *topLevel = top;
    if (!parent && hWnd)
        hWnd = ::GetLastActivePopup(hWnd);
    return FromHandle(hWnd);
}

CWnd* CWnd::GetDescendantWindow(int id, BOOL onlyPermanent) const
{
    HWND child = ::GetDlgItem(m_hWnd, id);
    if (child)
    {
        if (::GetTopWindow(child) == nullptr || !onlyPermanent)
        {
            CWnd* wnd = onlyPermanent ? FromHandlePermanent(child) : FromHandle(child);
            if (wnd)
                return wnd;
        }
    }
    for (HWND next = ::GetTopWindow(m_hWnd); next; next = ::GetNextWindow(next, GW_HWNDNEXT))
    {
        CWnd* wnd = FromHandle(next)->GetDescendantWindow(id, onlyPermanent);
        if (wnd)
            return wnd;
    }
    return nullptr;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep, BOOL onlyPermanent)
{
    SendToDescendants(m_hWnd, message, wParam, lParam, deep, onlyPermanent);
}

void CWnd::UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler)
{
    CCmdUI state;
    CWnd probe;
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT))
    {
        probe.m_hWnd = child;
        state.m_pOther = &probe;
        state.m_nID = (UINT)::GetDlgCtrlID(child);
        // Controls with the framework's own idle update (bars) update themselves, and so do
        // controls with a reflected update handler (asked directly, without routing).
        if (CWnd* permanent = FromHandlePermanent(child))
        {
            if (permanent->SendMessage(WM_IDLEUPDATECMDUI, (WPARAM)disableIfNoHandler, 0) != 0)
                continue;
            if (permanent->CWnd::OnCmdMsg(0, (int)MAKELONG(0xFFFF, WM_REFLECT_BASE + WM_COMMAND), &state, nullptr))
                continue;
        }
        // Command buttons follow the "disable without handler" rule; other controls keep their state.
        BOOL isCommandButton = FALSE;
        if (::SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)
        {
            UINT style = (UINT)::GetWindowLongW(child, GWL_STYLE) & 0x0F;
            isCommandButton = style == BS_PUSHBUTTON || style == BS_DEFPUSHBUTTON || style == BS_USERBUTTON ||
                              style == BS_OWNERDRAW;
        }
        state.DoUpdate(target, disableIfNoHandler && isCommandButton);
    }
    probe.m_hWnd = nullptr;
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    DWORD style = GetStyle();
    HWND center = alternateOwner ? alternateOwner->m_hWnd : nullptr;
    if (!center)
        center = (style & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    if (center && !(style & WS_CHILD))
    {
        DWORD centerStyle = (DWORD)::GetWindowLongW(center, GWL_STYLE);
        if (!(centerStyle & WS_VISIBLE) || (centerStyle & WS_MINIMIZE))
            center = nullptr;
    }

    CRect dialog;
    GetWindowRect(&dialog);
    CRect area;
    CRect centerRect;
    if (!(style & WS_CHILD))
    {
        HMONITOR monitor = ::MonitorFromWindow(center ? center : m_hWnd, MONITOR_DEFAULTTONEAREST);
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        ::GetMonitorInfoW(monitor, &info);
        area = info.rcWork;
        if (center)
            ::GetWindowRect(center, &centerRect);
        else
            centerRect = area;
    }
    else
    {
        HWND parent = ::GetParent(m_hWnd);
        ::GetClientRect(parent, &area);
        if (center)
        {
            ::GetClientRect(center, &centerRect);
            ::MapWindowPoints(center, parent, (LPPOINT)&centerRect, 2);
        }
        else
            centerRect = area;
    }

    int left = (centerRect.left + centerRect.right) / 2 - dialog.Width() / 2;
    int top = (centerRect.top + centerRect.bottom) / 2 - dialog.Height() / 2;
    if (left + dialog.Width() > area.right)
        left = area.right - dialog.Width();
    if (left < area.left)
        left = area.left;
    if (top + dialog.Height() > area.bottom)
        top = area.bottom - dialog.Height();
    if (top < area.top)
        top = area.top;
    ::SetWindowPos(m_hWnd, nullptr, left, top, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::RepositionBars(UINT idFirst, UINT idLast, UINT idLeftOver, UINT flags, LPRECT paramRect,
                          LPCRECT clientRect, BOOL stretch)
{
    AFX_SIZEPARENTPARAMS layout = {};
    layout.bStretch = stretch;
    if (clientRect)
        layout.rect = *clientRect;
    else
        ::GetClientRect(m_hWnd, &layout.rect);
    layout.hDWP = (flags & reposQuery) ? nullptr : ::BeginDeferWindowPos(8);

    HWND leftOver = nullptr;
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetNextWindow(child, GW_HWNDNEXT))
    {
        UINT id = (UINT)::GetDlgCtrlID(child);
        CWnd* wnd = FromHandlePermanent(child);
        if (id == idLeftOver)
            leftOver = child;
        else if (wnd && id >= idFirst && id <= idLast)
            ::SendMessageW(child, WM_SIZEPARENT, 0, (LPARAM)&layout);
    }

    if (flags & reposQuery)
    {
        // Report the space that is left (or, with stretching off, the total size) without moving anything.
        if (paramRect)
        {
            if (stretch)
                ::CopyRect(paramRect, &layout.rect);
            else
            {
                paramRect->left = paramRect->top = 0;
                paramRect->right = layout.sizeTotal.cx;
                paramRect->bottom = layout.sizeTotal.cy;
            }
        }
        return;
    }

    if (idLeftOver != 0 && leftOver && !(flags & reposNoPosLeftOver))
    {
        CRect rect = layout.rect;
        if ((flags & reposExtra) && paramRect)
        {
            rect.left += paramRect->left;
            rect.top += paramRect->top;
            rect.right -= paramRect->right;
            rect.bottom -= paramRect->bottom;
        }
        CWnd* wnd = FromHandle(leftOver);
        wnd->CalcWindowRect(&rect);
        if (layout.hDWP)
            layout.hDWP = ::DeferWindowPos(layout.hDWP, leftOver, nullptr, rect.left, rect.top, rect.Width(),
                                           rect.Height(), SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (paramRect && !(flags & reposExtra))
        ::CopyRect(paramRect, &layout.rect);
    if (layout.hDWP)
        ::EndDeferWindowPos(layout.hDWP);
}

// ---------------------------------------------------------------------------------------------
// Wrappers with some logic

int CWnd::GetDlgItemText(int id, CString& text) const
{
    HWND item = ::GetDlgItem(m_hWnd, id);
    if (!item)
    {
        text.Empty();
        return 0;
    }
    FromHandle(item)->GetWindowText(text);
    return text.GetLength();
}

int CWnd::GetCheckedRadioButton(int first, int last) const
{
    for (int id = first; id <= last; ++id)
    {
        if (::IsDlgButtonChecked(m_hWnd, id))
            return id;
    }
    return 0;
}

void CWnd::ClientToScreen(LPRECT r) const
{
    ::ClientToScreen(m_hWnd, (LPPOINT)r);
    ::ClientToScreen(m_hWnd, ((LPPOINT)r) + 1);
    if (GetExStyle() & WS_EX_LAYOUTRTL)
    {
        LONG t = r->left;
        r->left = r->right;
        r->right = t;
    }
}

void CWnd::ScreenToClient(LPRECT r) const
{
    ::ScreenToClient(m_hWnd, (LPPOINT)r);
    ::ScreenToClient(m_hWnd, ((LPPOINT)r) + 1);
    if (GetExStyle() & WS_EX_LAYOUTRTL)
    {
        LONG t = r->left;
        r->left = r->right;
        r->right = t;
    }
}

BOOL PASCAL CWnd::GrayCtlColor(HDC hDC, HWND hWnd, UINT ctlColor, HBRUSH gray, COLORREF text)
{
    if (!hDC || !gray || ctlColor == CTLCOLOR_EDIT || ctlColor == CTLCOLOR_MSGBOX)
        return FALSE;
    if (ctlColor == CTLCOLOR_LISTBOX)
    {
        // Only the gap of a drop-down combo box (an edit with its button) takes the gray.
        const DWORD kComboTypeMask = 0x0003;
        wchar_t className[16] = {0};
        ::GetClassNameW(hWnd, className, 16);
        if (::lstrcmpiW(className, L"ComboBox") != 0 ||
            ((DWORD)::GetWindowLongW(hWnd, GWL_STYLE) & kComboTypeMask) != CBS_DROPDOWN)
            return FALSE;
    }
    LOGBRUSH brush = {};
    if (!::GetObjectW(gray, sizeof(brush), &brush))
        return FALSE;
    ::SetBkColor(hDC, brush.lbColor);
    ::SetTextColor(hDC, text == (COLORREF)-1 ? ::GetSysColor(COLOR_WINDOWTEXT) : text);
    return TRUE;
}

void CWnd::DragAcceptFiles(BOOL accept)
{
    ::DragAcceptFiles(m_hWnd, accept);
}

BOOL PASCAL CWnd::ModifyStyle(HWND hWnd, DWORD remove, DWORD add, UINT flags)
{
    DWORD style = (DWORD)::GetWindowLongW(hWnd, GWL_STYLE);
    DWORD changed = (style & ~remove) | add;
    if (style == changed)
        return FALSE;
    ::SetWindowLongW(hWnd, GWL_STYLE, (LONG)changed);
    if (flags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

BOOL PASCAL CWnd::ModifyStyleEx(HWND hWnd, DWORD remove, DWORD add, UINT flags)
{
    DWORD style = (DWORD)::GetWindowLongW(hWnd, GWL_EXSTYLE);
    DWORD changed = (style & ~remove) | add;
    if (style == changed)
        return FALSE;
    ::SetWindowLongW(hWnd, GWL_EXSTYLE, (LONG)changed);
    if (flags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

void CWnd::SetWindowText(LPCWSTR text)
{
    // Setting an unchanged text would only flicker.
    int length = text ? ::lstrlenW(text) : 0;
    wchar_t current[256];
    if (length < 255 && ::GetWindowTextLengthW(m_hWnd) == length)
    {
        ::GetWindowTextW(m_hWnd, current, 256);
        if (::lstrcmpW(current, text ? text : L"") == 0)
            return;
    }
    ::SetWindowTextW(m_hWnd, text);
}

void CWnd::GetWindowText(CString& text) const
{
    int length = ::GetWindowTextLengthW(m_hWnd);
    ::GetWindowTextW(m_hWnd, text.GetBufferSetLength(length), length + 1);
    text.ReleaseBuffer();
}

int CWnd::MessageBox(LPCWSTR text, LPCWSTR caption, UINT type)
{
    if (!caption)
    {
        CWinApp* app = AfxGetApp();
        caption = app && app->m_pszAppName ? app->m_pszAppName : L"";
    }
    return ::MessageBoxW(m_hWnd, text, caption, type);
}

BOOL CWnd::GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask)
{
    info->cbSize = sizeof(SCROLLINFO);
    info->fMask = mask;
    return ::GetScrollInfo(m_hWnd, bar, info);
}

BOOL CWnd::SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw)
{
    info->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, bar, info, redraw);
    return TRUE;
}

int CWnd::GetScrollLimit(int bar)
{
    SCROLLINFO info = {};
    if (!GetScrollInfo(bar, &info, SIF_RANGE | SIF_PAGE))
        return 0;
    int limit = info.nMax;
    if (info.nPage > 1)
        limit -= (int)info.nPage - 1;
    return limit;
}

CScrollBar* CWnd::GetScrollBarCtrl(int) const
{
    return nullptr;
}

void CWnd::DoDataExchange(CDataExchange*)
{
}

// ---------------------------------------------------------------------------------------------
// Tool tips of EnableToolTips: the thread's one tool-tip control shows the tool that the
// window under the mouse reports through OnToolHitTest.

BOOL CWnd::EnableToolTips(BOOL enable)
{
    BOOL previous = (m_nFlags & WF_TOOLTIPS) != 0;
    if (!enable)
    {
        if (previous)
            CancelToolTips();
        m_nFlags &= ~WF_TOOLTIPS;
        return previous;
    }
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    if (!state->m_pToolTip)
    {
        CToolTipCtrl* tip = new CToolTipCtrl;
        if (!tip->Create(this, TTS_ALWAYSTIP))
        {
            delete tip;
            return FALSE;
        }
        tip->SendMessage(TTM_ACTIVATE, FALSE);
        state->m_pToolTip = tip;
    }
    m_nFlags |= WF_TOOLTIPS;
    return previous;
}

BOOL CWnd::EnableTrackingToolTips(BOOL enable)
{
    if (enable)
        m_nFlags |= WF_TRACKINGTOOLTIPS;
    else
        m_nFlags &= ~WF_TRACKINGTOOLTIPS;
    return EnableToolTips(enable);
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFOW* info) const
{
    // The child control under the point is the tool; its text comes through TTN_NEEDTEXT.
    HWND child = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == m_hWnd)
        return -1;
    int id = ::GetDlgCtrlID(child);
    if (id == 0 || id == -1)
        return -1;
    if (info)
    {
        info->hwnd = m_hWnd;
        info->uId = (UINT_PTR)child;
        info->uFlags |= TTF_IDISHWND | TTF_CENTERTIP;
        info->lpszText = LPSTR_TEXTCALLBACKW;
    }
    return id;
}

void PASCAL CWnd::CancelToolTips(BOOL)
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    if (state->m_pToolTip && state->m_pToolTip->m_hWnd)
    {
        state->m_pToolTip->SendMessage(TTM_ACTIVATE, FALSE);
        if (state->m_nLastHit != -1)
            state->m_pToolTip->SendMessage(TTM_DELTOOLW, 0, (LPARAM)&state->m_lastInfo);
    }
    state->m_nLastHit = -1;
    state->m_pLastHit = nullptr;
}

void CWnd::FilterToolTipMessage(MSG* msg)
{
    UINT message = msg->message;
    if (message != WM_MOUSEMOVE && message != WM_NCMOUSEMOVE && message != WM_LBUTTONUP &&
        message != WM_RBUTTONUP && message != WM_MBUTTONUP && message != WM_LBUTTONDOWN &&
        message != WM_RBUTTONDOWN && message != WM_MBUTTONDOWN)
        return;
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    CToolTipCtrl* tip = state->m_pToolTip;
    if (!tip || !tip->m_hWnd || !m_hWnd)
        return;
    // The tool tip belongs to the top-level window that shows it.
    HWND owner = GetParentOwner()->GetSafeHwnd();
    if (::GetWindow(tip->m_hWnd, GW_OWNER) != owner)
        ::SetWindowLongPtrW(tip->m_hWnd, GWLP_HWNDPARENT, (LONG_PTR)owner);

    POINT point = msg->pt;
    ::ScreenToClient(m_hWnd, &point);
    TOOLINFOW info = {};
    info.cbSize = sizeof(info);
    INT_PTR hit = OnToolHitTest(point, &info);
    if (hit != state->m_nLastHit || state->m_pLastHit != this)
    {
        if (state->m_nLastHit != -1)
            tip->SendMessage(TTM_DELTOOLW, 0, (LPARAM)&state->m_lastInfo);
        tip->SendMessage(TTM_ACTIVATE, FALSE);
        if (hit != -1)
        {
            LPWSTR text = info.lpszText;
            tip->SendMessage(TTM_ADDTOOLW, 0, (LPARAM)&info);
            tip->SendMessage(TTM_ACTIVATE, TRUE);
            // Texts that OnToolHitTest allocated belong to us once added.
            if (text && text != LPSTR_TEXTCALLBACKW && !IS_INTRESOURCE(text))
                free(text);
            info.lpszText = LPSTR_TEXTCALLBACKW;
        }
        state->m_lastInfo = info;
        state->m_nLastHit = hit;
        state->m_pLastHit = this;
    }
    if (hit != -1)
    {
        MSG relay = *msg;
        relay.hwnd = m_hWnd;
        relay.lParam = MAKELPARAM(point.x, point.y);
        tip->SendMessage(TTM_RELAYEVENT, 0, (LPARAM)&relay);
    }
}
