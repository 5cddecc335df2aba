#include "app/shell/SubclassWnd.h"

#include "platform/mfc/ExitSequence.h"
#include "platform/mfc/ThreadState.h"

namespace
{
const UINT kMapHashSize = 10;
CSubclassWndMap* g_subclassMap = nullptr;

void DestroySubclassMap(void*)
{
    delete g_subclassMap;
    g_subclassMap = nullptr;
}
} // namespace

CSubclassWndMap::CSubclassWndMap()
{
    m_map.InitHashTable(kMapHashSize);
}

CSubclassWndMap& CSubclassWndMap::Get()
{
    if (!g_subclassMap)
    {
        g_subclassMap = new CSubclassWndMap();
        AfxRegisterExitHandler(DestroySubclassMap, nullptr);
    }
    return *g_subclassMap;
}

CSubclassWnd* CSubclassWndMap::Lookup(HWND window) const
{
    void* hook = nullptr;
    return m_map.Lookup(window, hook) ? static_cast<CSubclassWnd*>(hook) : nullptr;
}

void CSubclassWndMap::Add(HWND window, CSubclassWnd* hook)
{
    CSubclassWnd* newest = Lookup(window);
    hook->m_hWnd = window;
    hook->m_pNext = newest;
    if (newest)
        hook->m_pOldWndProc = newest->m_pOldWndProc;
    else
        hook->m_pOldWndProc = WNDPROC(::SetWindowLongPtrW(window, GWLP_WNDPROC, LONG_PTR(&CSubclassWnd::HookWndProc)));
    m_map[window] = hook;
}

void CSubclassWndMap::Remove(CSubclassWnd* hook)
{
    HWND window = hook->m_hWnd;
    CSubclassWnd* newest = Lookup(window);
    if (newest == hook)
    {
        if (hook->m_pNext)
            m_map[window] = hook->m_pNext;
        else
        {
            m_map.RemoveKey(window);
            ::SetWindowLongPtrW(window, GWLP_WNDPROC, LONG_PTR(hook->m_pOldWndProc));
        }
    }
    else
        for (CSubclassWnd* p = newest; p; p = p->m_pNext)
            if (p->m_pNext == hook)
            {
                p->m_pNext = hook->m_pNext;
                break;
            }
    hook->m_hWnd = nullptr;
    hook->m_pNext = nullptr;
}

void CSubclassWndMap::RemoveAll(HWND window)
{
    while (CSubclassWnd* hook = Lookup(window))
        Remove(hook);
}

CSubclassWnd::CSubclassWnd() : m_hWnd(nullptr), m_pOldWndProc(nullptr), m_pNext(nullptr)
{
}

CSubclassWnd::~CSubclassWnd()
{
    if (m_hWnd)
        Unhook();
}

BOOL CSubclassWnd::HookWindow(HWND window)
{
    if (window)
    {
        if (m_hWnd || !::IsWindow(window))
            return FALSE;
        CSubclassWndMap::Get().Add(window, this);
        return TRUE;
    }
    if (m_hWnd)
        Unhook();
    return TRUE;
}

void CSubclassWnd::Unhook()
{
    CSubclassWndMap::Get().Remove(this);
}

LRESULT CSubclassWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pNext)
        return m_pNext->WindowProc(message, wParam, lParam);
    return ::CallWindowProcW(m_pOldWndProc, m_hWnd, message, wParam, lParam);
}

LRESULT CSubclassWnd::Default()
{
    const MSG& current = AfxGetThreadState()->m_lastSentMsg;
    return CSubclassWnd::WindowProc(current.message, current.wParam, current.lParam);
}

LRESULT CALLBACK CSubclassWnd::HookWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    const MSG saved = state->m_lastSentMsg;
    state->m_lastSentMsg.hwnd = window;
    state->m_lastSentMsg.message = message;
    state->m_lastSentMsg.wParam = wParam;
    state->m_lastSentMsg.lParam = lParam;
    LRESULT result = 0;
    try
    {
        CSubclassWnd* hook = CSubclassWndMap::Get().Lookup(window);
        if (message == WM_NCDESTROY)
        {
            WNDPROC own = hook ? hook->m_pOldWndProc : nullptr;
            CSubclassWndMap::Get().RemoveAll(window);
            result = own ? ::CallWindowProcW(own, window, message, wParam, lParam)
                         : ::DefWindowProcW(window, message, wParam, lParam);
        }
        else if (hook)
            result = hook->WindowProc(message, wParam, lParam);
        else
            result = ::DefWindowProcW(window, message, wParam, lParam);
    }
    catch (...)
    {
        result = 0;
    }
    state->m_lastSentMsg = saved;
    return result;
}
