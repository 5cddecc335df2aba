#include "uilib/commandbars/ControlComboBoxAutoCompleteWnd.h"
#include "uilib/commandbars/KeyboardManager.h"
#include "uilib/commandbars/MouseManager.h"

namespace
{
// The shell's drop-down window class; any other window (such as a different auto-complete
// implementation's list) is not trusted.
const WCHAR kDropDownClass[] = L"Auto-Suggest Dropdown";
typedef HRESULT(WINAPI* SHAutoCompleteProc)(HWND, DWORD);

// The watcher that watches now, and its hook; process-wide, one at a time.
CWVPControlComboBoxAutoCompleteWnd* g_pActiveWatcher = nullptr;
HHOOK g_hCallWndProcHook = nullptr;
} // namespace

CWVPControlComboBoxAutoCompleteWnd::CWVPControlComboBoxAutoCompleteWnd(HWND hWndEdit)
    : m_hWndEdit(hWndEdit), m_hWndDropDown(nullptr)
{
}

CWVPControlComboBoxAutoCompleteWnd::~CWVPControlComboBoxAutoCompleteWnd()
{
    SetWatching(FALSE);
}

BOOL AFX_CDECL CWVPControlComboBoxAutoCompleteWnd::ApplyShellAutoComplete(HWND hWndEdit, DWORD flags)
{
    HMODULE hShell = ::LoadLibraryW(L"shlwapi.dll");
    if (!hShell)
        return FALSE;
    SHAutoCompleteProc pProc = reinterpret_cast<SHAutoCompleteProc>(::GetProcAddress(hShell, "SHAutoComplete"));
    const BOOL ok = pProc && SUCCEEDED(pProc(hWndEdit, flags));
    ::FreeLibrary(hShell);
    return ok;
}

BOOL CWVPControlComboBoxAutoCompleteWnd::IsWatching() const
{
    return g_pActiveWatcher == this;
}

void CWVPControlComboBoxAutoCompleteWnd::SetWatching(BOOL watching)
{
    if (watching)
    {
        if (g_pActiveWatcher)
            return;
        g_hCallWndProcHook = ::SetWindowsHookExW(WH_CALLWNDPROC, &CallWndProc, nullptr, ::GetCurrentThreadId());
        g_pActiveWatcher = this;
        WVPKeyboardManager()->AddReceiver(this);
        return;
    }
    if (g_pActiveWatcher != this)
        return;
    if (g_hCallWndProcHook)
        ::UnhookWindowsHookEx(g_hCallWndProcHook);
    g_hCallWndProcHook = nullptr;
    g_pActiveWatcher = nullptr;
    if (CWVPKeyboardManager* pKeyboard = WVPKeyboardManagerNA())
        pKeyboard->RemoveReceiver(this);
    if (m_hWndDropDown)
    {
        if (CWVPMouseManager* pMouse = WVPMouseManagerNA())
            pMouse->RemoveTrustedWindow(m_hWndDropDown);
        m_hWndDropDown = nullptr;
    }
}

LRESULT CALLBACK CWVPControlComboBoxAutoCompleteWnd::CallWndProc(int code, WPARAM wParam, LPARAM lParam)
{
    const HHOOK hook = g_hCallWndProcHook;
    try
    {
        const CWPSTRUCT* pMsg = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && pMsg && pMsg->message == WM_WINDOWPOSCHANGING && g_pActiveWatcher)
            g_pActiveWatcher->OnWindowPosChanging(pMsg->hwnd, reinterpret_cast<const WINDOWPOS*>(pMsg->lParam));
    }
    catch (...)
    {
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
}

void CWVPControlComboBoxAutoCompleteWnd::OnWindowPosChanging(HWND hWnd, const WINDOWPOS* pPos)
{
    if (!pPos)
        return;
    if (!m_hWndDropDown)
    {
        if (!(pPos->flags & SWP_SHOWWINDOW))
            return;
        WCHAR className[64] = {};
        ::GetClassNameW(hWnd, className, ARRAYSIZE(className));
        if (::lstrcmpW(className, kDropDownClass) != 0)
            return;
        m_hWndDropDown = hWnd;
        WVPMouseManager()->AddTrustedWindow(hWnd);
        ::PostMessageW(m_hWndEdit, WVP_WM_AUTOCOMPLETE_SHOWN, 0, 0);
        return;
    }
    if (hWnd == m_hWndDropDown && (pPos->flags & SWP_HIDEWINDOW))
    {
        WVPMouseManager()->RemoveTrustedWindow(hWnd);
        m_hWndDropDown = nullptr;
    }
}

int CWVPControlComboBoxAutoCompleteWnd::OnHookMessage(HWND, UINT nMessage, WPARAM&, LPARAM&, LRESULT&)
{
    return nMessage == WM_MOUSEWHEEL && m_hWndDropDown ? HookStop : HookNotHandled;
}

BOOL CWVPControlComboBoxAutoCompleteWnd::ForwardKeyToDropDown(UINT key)
{
    if (!m_hWndDropDown || !::IsWindowVisible(m_hWndDropDown) || ::GetKeyState(VK_MENU) < 0)
        return FALSE;
    if (key != VK_PRIOR && key != VK_NEXT && key != VK_UP && key != VK_DOWN)
        return FALSE;
    HWND hList = ::GetWindow(::GetWindow(m_hWndDropDown, GW_CHILD), GW_HWNDNEXT);
    if (!hList)
        return FALSE;
    MSG msg = {hList, WM_KEYDOWN, WPARAM(key), 0, 0, {0, 0}};
    return ::IsDialogMessageW(hList, &msg);
}

void CWVPControlComboBoxAutoCompleteWnd::HideDropDown()
{
    if (m_hWndDropDown)
        ::ShowWindow(m_hWndDropDown, SW_HIDE);
}
