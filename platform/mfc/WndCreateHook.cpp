// The creation hook that binds a new window to its object before its first message, and the
// registration of the framework's window classes.
#include "platform/mfc/Wnd.h"

#include "platform/mfc/ThreadState.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/WndInternal.h"

namespace
{
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
        AfxReportHandlerException(WM_CREATE, "creation hook");
    }
    return ::CallNextHookEx(state->m_hHookOldCbtFilter, code, wParam, lParam);
}
} // namespace

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
                                                       ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES |
                                                       ICC_TREEVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_COOL_CLASSES};
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
