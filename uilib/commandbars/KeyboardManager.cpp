#include "uilib/commandbars/KeyboardManager.h"
#include "uilib/commandbars/HookManager.h"
#include "uilib/commandbars/MouseManager.h"

namespace
{
CThreadLocal<CWVPKeyboardManager> g_keyboardManager;

// Key-down flags of a keyboard hook's lParam.
const LPARAM kKeyUp = LPARAM(1) << 31;
const LPARAM kKeyRepeat = 0x40000000;
const LPARAM kAltDown = 0x20000000;
} // namespace

CWVPKeyboardManager* AFX_CDECL WVPKeyboardManager()
{
    return g_keyboardManager.GetData();
}

CWVPKeyboardManager* AFX_CDECL WVPKeyboardManagerNA()
{
    return g_keyboardManager.GetDataNA();
}

CWVPKeyboardManager::CWVPKeyboardManager() : m_hKeyboardHook(nullptr), m_hCallWndProcHook(nullptr)
{
}

CWVPKeyboardManager::~CWVPKeyboardManager()
{
    InstallCallWndProcHook(FALSE);
    InstallKeyboardHook(FALSE);
    m_receivers.RemoveAll();
}

void CWVPKeyboardManager::AddReceiver(CWVPHookManagerHookAble* pReceiver)
{
    InstallKeyboardHook(TRUE);
    InstallCallWndProcHook(TRUE);
    if (!m_receivers.Find(pReceiver))
        m_receivers.AddTail(pReceiver);
}

void CWVPKeyboardManager::RemoveReceiver(CWVPHookManagerHookAble* pReceiver)
{
    if (POSITION pos = m_receivers.Find(pReceiver))
        m_receivers.RemoveAt(pos);
    if (m_receivers.IsEmpty())
    {
        InstallCallWndProcHook(FALSE);
        InstallKeyboardHook(FALSE);
    }
}

namespace
{
// Installs or removes one thread hook kept in `hook`.
HHOOK InstallHook(HHOOK& hook, int type, HOOKPROC proc, BOOL install)
{
    if (install)
    {
        if (hook)
            return nullptr;
        hook = ::SetWindowsHookExW(type, proc, AfxGetInstanceHandle(), ::GetCurrentThreadId());
        return hook;
    }
    if (!hook)
        return nullptr;
    const BOOL removed = ::UnhookWindowsHookEx(hook);
    hook = nullptr;
    return reinterpret_cast<HHOOK>(INT_PTR(removed));
}
} // namespace

HHOOK CWVPKeyboardManager::InstallKeyboardHook(BOOL install)
{
    return InstallHook(m_hKeyboardHook, WH_KEYBOARD, KeyboardHookProc, install);
}

HHOOK CWVPKeyboardManager::InstallCallWndProcHook(BOOL install)
{
    return InstallHook(m_hCallWndProcHook, WH_CALLWNDPROC, CallWndProcHook, install);
}

BOOL CWVPKeyboardManager::DispatchKeyMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    POSITION pos = m_receivers.GetTailPosition();
    while (pos)
    {
        CWVPHookManagerHookAble* pReceiver = m_receivers.GetPrev(pos);
        WPARAM w = wParam;
        LPARAM l = lParam;
        LRESULT result = 0;
        const int answer = pReceiver->OnHookMessage(nullptr, message, w, l, result);
        if (answer == CWVPHookManagerHookAble::HookStop)
            return FALSE;
        if (answer != CWVPHookManagerHookAble::HookNotHandled)
            return TRUE;
    }
    return TRUE;
}

LRESULT CALLBACK CWVPKeyboardManager::KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    CWVPKeyboardManager* self = WVPKeyboardManagerNA();
    const HHOOK hook = self ? self->m_hKeyboardHook : nullptr;
    try
    {
        if (code == HC_ACTION && self && !self->m_receivers.IsEmpty() && !(lParam & kKeyUp))
        {
            CWVPMouseManager* mouse = WVPMouseManager();
            if ((lParam & kAltDown) && wParam == VK_MENU && mouse->m_nLock <= 0)
            {
                if (lParam & kKeyRepeat)
                    return ::CallNextHookEx(hook, code, wParam, lParam);
                mouse->CloseTrackedBars();
                return 1;
            }
            if (self->DispatchKeyMessage(WM_KEYDOWN, wParam, lParam))
                return 1;
        }
    }
    catch (...)
    {
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
}

LRESULT CALLBACK CWVPKeyboardManager::CallWndProcHook(int code, WPARAM wParam, LPARAM lParam)
{
    CWVPKeyboardManager* self = WVPKeyboardManagerNA();
    const HHOOK hook = self ? self->m_hCallWndProcHook : nullptr;
    try
    {
        const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && call && call->message == WM_ACTIVATEAPP && !call->wParam)
        {
            if (CWVPMouseManager* mouse = WVPMouseManagerNA())
                mouse->CloseTrackedBars();
        }
    }
    catch (...)
    {
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
}
