#include "uilib/commandbars/HookManager.h"

CWVPHookManagerHookAble::CWVPHookManagerHookAble() : m_bAutoDelete(FALSE)
{
}

CWVPHookManagerHookAble::~CWVPHookManagerHookAble()
{
}

CWVPHookManager::CHookSink::CHookSink(HWND hWnd)
    : m_pfnOldWndProc(nullptr), m_hWnd(hWnd), m_bUnicode(TRUE), m_nDispatchDepth(0), m_bRemoved(FALSE)
{
}

CWVPHookManager::CHookSink::~CHookSink()
{
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

BOOL CWVPHookManager::CHookSink::Dispatch(HWND, UINT, WPARAM&, LPARAM&, LRESULT&)
{
    return FALSE;
}

void CWVPHookManager::CHookSink::RemoveHook(CWVPHookManagerHookAble*)
{
}

CWVPHookManager::CWVPHookManager() : m_mapHooks(10)
{
}

CWVPHookManager::~CWVPHookManager()
{
}

void CWVPHookManager::SetHook(HWND, CWVPHookManagerHookAble*)
{
}

void CWVPHookManager::RemoveHook(HWND, CWVPHookManagerHookAble*)
{
}

void CWVPHookManager::RemoveHookable(CWVPHookManagerHookAble*)
{
}

void CWVPHookManager::RemoveWindow(HWND)
{
}

void CWVPHookManager::RemoveAllSinks()
{
}

CWVPHookManager::CHookSink* CWVPHookManager::Lookup(HWND) const
{
    return nullptr;
}

INT_PTR CWVPHookManager::GetCount() const
{
    return 0;
}

LRESULT CALLBACK CWVPHookManager::HookWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcW(hWnd, nMessage, wParam, lParam);
}

void CWVPHookManager::ReleaseSink(CHookSink*)
{
}

CWVPHookManager* AFX_CDECL WVPHookManager()
{
    static CWVPHookManager* s_pManager = new CWVPHookManager();
    return s_pManager;
}
