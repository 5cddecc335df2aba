#include "uilib/commandbars/HookManager.h"

#include <exception>
#include <vector>

#include "platform/mfc/ExitSequence.h"
#include "platform/mfc/CurrentMessage.h"

namespace
{
// The window property that keeps the previous procedure of a window whose sink went while a
// later subclasser still chained to the hook procedure: the procedure then passes messages on.
const wchar_t kPassThroughProperty[] = L"RwHookManagerPreviousProc";

CWVPHookManager* g_pHookManager = nullptr;

void DestroyHookManager(void*)
{
    delete g_pHookManager;
    g_pHookManager = nullptr;
}

WNDPROC CurrentWndProc(HWND hWnd)
{
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
}

// Every sink of the map, so that sinks may leave it while the caller walks them.
std::vector<CWVPHookManager::CHookSink*> SinksOf(
    const CMap<HWND, HWND, CWVPHookManager::CHookSink*, CWVPHookManager::CHookSink*>& map)
{
    std::vector<CWVPHookManager::CHookSink*> sinks;
    sinks.reserve((size_t)map.GetCount());
    for (POSITION pos = map.GetStartPosition(); pos;)
    {
        HWND hWnd = nullptr;
        CWVPHookManager::CHookSink* pSink = nullptr;
        map.GetNextAssoc(pos, hWnd, pSink);
        sinks.push_back(pSink);
    }
    return sinks;
}

void ReportReceiverFailure(UINT nMessage, const char* what)
{
    char line[256];
    ::wsprintfA(line, "Reelwright: hooked message 0x%04X: receiver failed: %s\n", nMessage,
                what ? what : "unknown exception");
    ::OutputDebugStringA(line);
}

} // namespace

// Keeps a sink's memory while a window procedure call or a dispatch uses it: a sink released
// meanwhile is deleted when the last of them ends.
class CWVPHookManagerSinkLock
{
  public:
    explicit CWVPHookManagerSinkLock(CWVPHookManager::CHookSink* pSink) : m_pSink(pSink)
    {
        ++m_pSink->m_nDispatchDepth;
    }
    ~CWVPHookManagerSinkLock()
    {
        if (--m_pSink->m_nDispatchDepth == 0 && m_pSink->m_bRemoved)
            delete m_pSink;
    }
    CWVPHookManagerSinkLock(const CWVPHookManagerSinkLock&) = delete;
    CWVPHookManagerSinkLock& operator=(const CWVPHookManagerSinkLock&) = delete;

  private:
    CWVPHookManager::CHookSink* m_pSink;
};

// ---------------------------------------------------------------------------------------------
// CWVPHookManagerHookAble

CWVPHookManagerHookAble::CWVPHookManagerHookAble() : m_bAutoDelete(FALSE)
{
}

CWVPHookManagerHookAble::~CWVPHookManagerHookAble()
{
}

// ---------------------------------------------------------------------------------------------
// CWVPHookManager::CHookSink

CWVPHookManager::CHookSink::CHookSink(HWND hWnd)
    : m_pfnOldWndProc(nullptr), m_hWnd(hWnd), m_bUnicode(::IsWindowUnicode(hWnd)), m_nDispatchDepth(0),
      m_bRemoved(FALSE)
{
    // A window that an earlier sink could not unhook still runs the hook procedure under a later
    // subclasser: the new sink takes that place in the chain instead of subclassing again.
    if (HANDLE previous = ::GetPropW(hWnd, kPassThroughProperty))
    {
        ::RemovePropW(hWnd, kPassThroughProperty);
        m_pfnOldWndProc = reinterpret_cast<WNDPROC>(previous);
        return;
    }
    // The wide forms serve narrow windows too: the procedure read back is a handle that the
    // system converts through, and writing it back makes the window narrow again.
    m_pfnOldWndProc = CurrentWndProc(hWnd);
    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWVPHookManager::HookWndProc));
}

CWVPHookManager::CHookSink::~CHookSink()
{
    Unhook();
}

void CWVPHookManager::CHookSink::Unhook()
{
    if (!m_hWnd)
        return;
    if (::IsWindow(m_hWnd))
    {
        if (CurrentWndProc(m_hWnd) == &CWVPHookManager::HookWndProc)
            ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnOldWndProc));
        else
            ::SetPropW(m_hWnd, kPassThroughProperty, reinterpret_cast<HANDLE>(m_pfnOldWndProc));
    }
    m_hWnd = nullptr;
    // The receivers leave the array before any of them is deleted, newest first.
    const std::vector<CWVPHookManagerHookAble*> receivers(GetData(), GetData() + GetSize());
    RemoveAll();
    for (auto it = receivers.rbegin(); it != receivers.rend(); ++it)
    {
        if ((*it)->m_bAutoDelete)
            delete *it;
    }
}

INT_PTR CWVPHookManager::CHookSink::Find(CWVPHookManagerHookAble* pHook) const
{
    for (INT_PTR i = 0; i < GetSize(); ++i)
    {
        if (GetAt(i) == pHook)
            return i;
    }
    return -1;
}

BOOL CWVPHookManager::CHookSink::Dispatch(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    CWVPHookManagerSinkLock lock(this);
    lResult = 0;
    // A receiver may leave (and be deleted) or add others while it is asked: walk a copy, and ask
    // only those still registered when their turn comes.
    const std::vector<CWVPHookManagerHookAble*> receivers(GetData(), GetData() + GetSize());
    for (auto it = receivers.rbegin(); it != receivers.rend(); ++it)
    {
        if (Find(*it) < 0)
            continue;
        switch ((*it)->OnHookMessage(hWnd, nMessage, wParam, lParam, lResult))
        {
        case CWVPHookManagerHookAble::HookHandled:
            return TRUE;
        case CWVPHookManagerHookAble::HookStop:
            return FALSE;
        default:
            break;
        }
    }
    return FALSE;
}

void CWVPHookManager::CHookSink::RemoveHook(CWVPHookManagerHookAble* pHook)
{
    const INT_PTR index = Find(pHook);
    if (index < 0)
        return;
    RemoveAt(index);
    if (pHook->m_bAutoDelete)
        delete pHook;
    if (GetSize() == 0 && g_pHookManager)
        g_pHookManager->ReleaseSink(this);
}

// ---------------------------------------------------------------------------------------------
// CWVPHookManager

CWVPHookManager::CWVPHookManager() : m_mapHooks(10)
{
}

CWVPHookManager::~CWVPHookManager()
{
    RemoveAllSinks();
}

CWVPHookManager::CHookSink* CWVPHookManager::Lookup(HWND hWnd) const
{
    CHookSink* pSink = nullptr;
    return hWnd && m_mapHooks.Lookup(hWnd, pSink) ? pSink : nullptr;
}

INT_PTR CWVPHookManager::GetCount() const
{
    return m_mapHooks.GetCount();
}

void CWVPHookManager::SetHook(HWND hWnd, CWVPHookManagerHookAble* pHook)
{
    if (!hWnd || !pHook || !::IsWindow(hWnd))
        return;
    CHookSink* pSink = Lookup(hWnd);
    if (!pSink)
    {
        pSink = new CHookSink(hWnd);
        m_mapHooks.SetAt(hWnd, pSink);
    }
    if (pSink->Find(pHook) < 0)
        pSink->Add(pHook);
}

void CWVPHookManager::RemoveHook(HWND hWnd, CWVPHookManagerHookAble* pHook)
{
    if (CHookSink* pSink = Lookup(hWnd))
        pSink->RemoveHook(pHook);
}

void CWVPHookManager::RemoveHookable(CWVPHookManagerHookAble* pHook)
{
    // Sinks that become empty leave the map meanwhile.
    for (CHookSink* pSink : SinksOf(m_mapHooks))
        pSink->RemoveHook(pHook);
}

void CWVPHookManager::RemoveWindow(HWND hWnd)
{
    if (CHookSink* pSink = Lookup(hWnd))
        ReleaseSink(pSink);
}

void CWVPHookManager::RemoveAllSinks()
{
    for (CHookSink* pSink : SinksOf(m_mapHooks))
        ReleaseSink(pSink);
    m_mapHooks.RemoveAll();
}

void CWVPHookManager::ReleaseSink(CHookSink* pSink)
{
    if (pSink->m_bRemoved)
        return;
    pSink->m_bRemoved = TRUE;
    CHookSink* pMapped = nullptr;
    HWND hWnd = pSink->m_hWnd;
    if (hWnd && m_mapHooks.Lookup(hWnd, pMapped) && pMapped == pSink)
        m_mapHooks.RemoveKey(hWnd);
    // The window procedure goes back (and auto-delete receivers go) at once; the sink's memory
    // stays while a call under way still uses it.
    pSink->Unhook();
    if (pSink->m_nDispatchDepth == 0)
        delete pSink;
}

LRESULT CALLBACK CWVPHookManager::HookWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    CHookSink* pSink = g_pHookManager ? g_pHookManager->Lookup(hWnd) : nullptr;
    if (!pSink)
    {
        // Unhooked under a later subclasser: pass the message on, never answer 0 for the window.
        WNDPROC previous = reinterpret_cast<WNDPROC>(::GetPropW(hWnd, kPassThroughProperty));
        if (nMessage == WM_NCDESTROY)
            ::RemovePropW(hWnd, kPassThroughProperty);
        if (previous)
            return ::CallWindowProcW(previous, hWnd, nMessage, wParam, lParam);
        return ::DefWindowProcW(hWnd, nMessage, wParam, lParam);
    }

    CWVPHookManagerSinkLock lock(pSink);
    const WNDPROC previous = pSink->m_pfnOldWndProc;
    if (nMessage == WM_NCDESTROY)
    {
        // Receivers never see it: the window is unhooked before its own procedure gets it.
        try
        {
            g_pHookManager->ReleaseSink(pSink);
        }
        catch (...)
        {
            ReportReceiverFailure(nMessage, "releasing the hook");
        }
        return ::CallWindowProcW(previous, hWnd, nMessage, wParam, lParam);
    }

    LRESULT lResult = 0;
    BOOL bHandled = FALSE;
    {
        CAfxCurrentMessage current(hWnd, nMessage, wParam, lParam);
        try
        {
            bHandled = pSink->Dispatch(hWnd, nMessage, wParam, lParam, lResult);
        }
        catch (CException* e)
        {
            e->Delete();
            ReportReceiverFailure(nMessage, "framework exception");
        }
        catch (const std::exception& e)
        {
            ReportReceiverFailure(nMessage, e.what());
        }
        catch (...)
        {
            ReportReceiverFailure(nMessage, nullptr);
        }
    }
    if (bHandled)
        return lResult;
    return ::CallWindowProcW(previous, hWnd, nMessage, wParam, lParam);
}

CWVPHookManager* AFX_CDECL WVPHookManager()
{
    if (!g_pHookManager)
    {
        g_pHookManager = new CWVPHookManager();
        AfxRegisterExitHandler(&DestroyHookManager, nullptr);
    }
    return g_pHookManager;
}
