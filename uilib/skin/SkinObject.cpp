#include "uilib/skin/SkinObject.h"

#include "platform/mfc/CurrentMessage.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinManagerApiHook.h"
#include "uilib/skin/SkinManagerModuleList.h"

IMPLEMENT_DYNAMIC(CWVPSkinObject, CWnd)

BEGIN_MESSAGE_MAP(CWVPSkinObject, CWnd)
END_MESSAGE_MAP()

namespace
{

// Where a skinned window keeps the procedure the skin replaced, so that the skin's procedure can
// still forward to it once the object is gone while another subclasser chains to the skin.
const wchar_t kPreviousProcProperty[] = L"RwSkinPrevProc";

// Wine hands out window-procedure handles in this range for procedures it converts between
// character sets; on 64-bit their upper half is zero.
const ULONG_PTR kWinProcHandleFirst = 0xFFFF0000;
const ULONG_PTR kWinProcHandleLast = 0xFFFFFFFF;

// Drops the reference a lookup took, whatever way the caller leaves.
class CObjectReference
{
  public:
    explicit CObjectReference(CWVPSkinObject* pObject) : m_pObject(pObject)
    {
    }
    ~CObjectReference()
    {
        if (m_pObject)
            m_pObject->InternalRelease();
    }
    CObjectReference(const CObjectReference&) = delete;
    CObjectReference& operator=(const CObjectReference&) = delete;

  private:
    CWVPSkinObject* m_pObject;
};

// A module's image range, read from the process's module list.
struct ModuleRange
{
    HMODULE hModule = nullptr;
    ULONG_PTR base = 0;
    ULONG_PTR size = 0;

    bool Contains(ULONG_PTR address) const
    {
        return base && address > base && address < base + size;
    }
    void Read(HMODULE module)
    {
        hModule = module;
        base = size = 0;
        if (!module)
            return;
        MODULEINFO info = {};
        CWVPSkinManagerModuleList modules(::GetCurrentProcessId());
        if (modules.GetModuleInformation(module, &info))
        {
            base = reinterpret_cast<ULONG_PTR>(info.lpBaseOfDll);
            size = info.SizeOfImage;
        }
    }
};

LRESULT CallPrevious(WNDPROC pfnPrev, BOOL bUnicode, HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (!bUnicode)
    {
        auto call = WVPSkinOriginal(kApiCallWindowProcA, &::CallWindowProcA);
        return pfnPrev ? call(pfnPrev, hWnd, nMessage, wParam, lParam)
                       : WVPSkinOriginal(kApiDefWindowProcA, &::DefWindowProcA)(hWnd, nMessage, wParam, lParam);
    }
    return pfnPrev ? WVPSkinCallWindowProc(pfnPrev, hWnd, nMessage, wParam, lParam)
                   : WVPSkinOriginal(kApiDefWindowProcW, &::DefWindowProcW)(hWnd, nMessage, wParam, lParam);
}

} // namespace

UINT WVPSkinQueryStateMessage()
{
    static const UINT message = ::RegisterWindowMessageW(L"WM_SKINFRAMEWORK_QUERYSTATE");
    return message;
}

UINT WVPSkinUpdateStateMessage()
{
    static const UINT message = ::RegisterWindowMessageW(L"WM_SKINFRAMEWORK_UPDATESTATE");
    return message;
}

bool WVPIsWinProcHandle(ULONG_PTR address)
{
    return address >= kWinProcHandleFirst && address <= kWinProcHandleLast;
}

bool WVPIsSystemWindowProc(WNDPROC pfnWndProc)
{
    ULONG_PTR address = reinterpret_cast<ULONG_PTR>(pfnWndProc);
    if (WVPIsWinProcHandle(address))
        return true;
    static ModuleRange user32, ntdll, comctl32;
    if (!user32.base)
        user32.Read(::GetModuleHandleW(L"USER32.DLL"));
    if (user32.Contains(address))
        return true;
    HMODULE comctl = ::GetModuleHandleW(L"COMCTL32.DLL");
    if (comctl != comctl32.hModule)
        comctl32.Read(comctl);
    if (comctl32.Contains(address))
        return true;
    if (!ntdll.base)
        ntdll.Read(::GetModuleHandleW(L"NTDLL.DLL"));
    return ntdll.Contains(address);
}

LRESULT WVPSkinCallWindowProc(WNDPROC pfnWndProc, HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    return WVPSkinOriginal(kApiCallWindowProcW, &::CallWindowProcW)(pfnWndProc, hWnd, nMessage, wParam, lParam);
}

CWVPSkinObject::CWVPSkinObject()
{
}

CWVPSkinObject::~CWVPSkinObject()
{
    m_hWnd = nullptr;
}

void CWVPSkinObject::OnFinalRelease()
{
    delete this;
}

WNDPROC* CWVPSkinObject::GetSuperWndProcAddr()
{
    return &m_wndProc;
}

BOOL CWVPSkinObject::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const AFX_MSGMAP* windowMap = CWnd::GetThisMessageMap();
    for (const AFX_MSGMAP* map = GetMessageMap(); map && map != windowMap;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfn; ++entry)
        {
            if (!AfxEntryMatches(*entry, message, 0, 0))
                continue;
            AFX_MSGCALL call = {};
            call.message = message;
            call.wParam = wParam;
            call.lParam = lParam;
            call.bHandled = TRUE;
            entry->pfn(this, call);
            if (pResult)
                *pResult = call.result;
            return TRUE;
        }
    }
    return FALSE;
}

void CWVPSkinObject::PushDescriptor(int nKind, FARPROC pfnDefProc, LPVOID lpExtra, UINT nMessage)
{
    InternalAddRef();
    CSingleLock lock(&m_csDescriptors, TRUE);
    m_arrDescriptors.push_back(DEFWINDOW_DESCRIPTIOR{nKind, pfnDefProc, lpExtra, nMessage});
}

void CWVPSkinObject::PopDescriptor()
{
    {
        CSingleLock lock(&m_csDescriptors, TRUE);
        if (!m_arrDescriptors.empty())
            m_arrDescriptors.pop_back();
    }
    InternalRelease();
}

BOOL CWVPSkinObject::GetTopDescriptor(DEFWINDOW_DESCRIPTIOR& descriptor)
{
    CSingleLock lock(&m_csDescriptors, TRUE);
    if (m_arrDescriptors.empty())
        return FALSE;
    descriptor = m_arrDescriptors.back();
    return TRUE;
}

UINT CWVPSkinObject::GetTopDescriptorMessage()
{
    DEFWINDOW_DESCRIPTIOR descriptor;
    return GetTopDescriptor(descriptor) ? descriptor.nMessage : 0;
}

LRESULT CWVPSkinObject::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    DEFWINDOW_DESCRIPTIOR top;
    if (!GetTopDescriptor(top) || top.nKind == kDefProcWindow)
        return CallPrevious(m_wndProc, m_bUnicode, m_hWnd, message, wParam, lParam);
    switch (top.nKind)
    {
    case kDefProcCallWindowProc:
        return reinterpret_cast<decltype(&::CallWindowProcW)>(top.pfnDefProc)(reinterpret_cast<WNDPROC>(top.lpExtra),
                                                                              m_hWnd, message, wParam, lParam);
    case kDefProcDefWindowProc:
    case kDefProcDefMDIChildProc:
    case kDefProcDefDlgProc:
        return reinterpret_cast<WNDPROC>(top.pfnDefProc)(m_hWnd, message, wParam, lParam);
    case kDefProcDefFrameProc:
        return reinterpret_cast<decltype(&::DefFrameProcW)>(top.pfnDefProc)(m_hWnd, static_cast<HWND>(top.lpExtra),
                                                                            message, wParam, lParam);
    default:
        return 0;
    }
}

LRESULT CWVPSkinObject::CallDefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    PushDescriptor(kDefProcWindow, nullptr, nullptr, message);
    LRESULT result = 0;
    try
    {
        result = DefWindowProc(message, wParam, lParam);
    }
    catch (...)
    {
        PopDescriptor();
        throw;
    }
    PopDescriptor();
    return result;
}

void CWVPSkinObject::OnSkinChanged(BOOL, BOOL)
{
    RefreshMetrics();
}

void CWVPSkinObject::RefreshMetrics()
{
}

void CWVPSkinObject::QueryOptOut()
{
    m_bOptedOut = ::SendMessageW(m_hWnd, WVPSkinQueryStateMessage(), 0, 0) != 0;
}

void CWVPSkinObject::OnHookAttached(LPCREATESTRUCTW, BOOL)
{
    if (CWnd::FromHandlePermanent(m_hWnd))
        QueryOptOut();
    else
        m_bOptedOut = FALSE;
    RefreshMetrics();
}

void CWVPSkinObject::OnHookDetached(BOOL)
{
}

BOOL CWVPSkinObject::OnHookMessage(UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    if (IsPassThroughMessage(nMessage) || IsDefWindowProcAvail(int(nMessage)))
        return FALSE;
    return OnWndMsg(nMessage, wParam, lParam, &lResult);
}

BOOL CWVPSkinObject::OnHookDefWindowProc(UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    if (IsPassThroughMessage(nMessage))
        return FALSE;
    if (nMessage == WVPSkinQueryStateMessage())
    {
        lResult = 0;
        return TRUE;
    }
    return OnWndMsg(nMessage, wParam, lParam, &lResult);
}

BOOL CWVPSkinObject::IsDefWindowProcAvail(int nMessage) const
{
    return nMessage != WM_TIMER && !m_bSystemWndProc;
}

BOOL CWVPSkinObject::IsPassThroughMessage(UINT nMessage)
{
    if (nMessage == WVPSkinUpdateStateMessage())
    {
        QueryOptOut();
        return FALSE;
    }
    return nMessage == WM_ACTIVATE || nMessage == WM_SETCURSOR || nMessage == WM_NOTIFY || nMessage == WM_COMMAND;
}

CWVPSkinManagerClass* CWVPSkinObject::GetSkinClass() const
{
    return m_pManager ? m_pManager->GetSkinClass(m_strClassName) : nullptr;
}

CWVPSkinManagerMetrics* CWVPSkinObject::GetMetrics() const
{
    return m_pManager ? m_pManager->GetMetrics() : nullptr;
}

COLORREF CWVPSkinObject::GetColor(int nIndex) const
{
    CWVPSkinManagerMetrics* metrics = GetMetrics();
    return metrics ? metrics->GetColor(nIndex) : 0;
}

BOOL CWVPSkinObject::IsSkinEnabled() const
{
    return !m_bOptedOut && m_hWnd && m_pManager && m_pManager->IsSkinLoaded();
}

void CWVPSkinObject::Attach(HWND hWnd, LPCREATESTRUCTW lpcs, BOOL bAuto)
{
    m_hWnd = hWnd;
    m_bUnicode = ::IsWindowUnicode(hWnd);
    m_wndProc = reinterpret_cast<WNDPROC>(m_bUnicode ? ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)
                                                     : ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    WNDPROC replaced = reinterpret_cast<WNDPROC>(::GetPropW(hWnd, kPreviousProcProperty));
    if (!m_bNoSubclass && replaced)
    {
        // The skin's procedure is still in the window's chain (under a subclasser above it, or
        // left by an earlier object): the new object serves it and forwards to what it replaced.
        // Subclassing again would record the subclasser (or the skin's own procedure) as the
        // previous procedure, and the chain would call itself for ever.
        m_wndProc = replaced;
    }
    else if (!m_bNoSubclass)
    {
        ::SetPropW(hWnd, kPreviousProcProperty, reinterpret_cast<HANDLE>(m_wndProc));
        if (m_bUnicode)
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWVPSkinObject::WindowProc));
        else
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWVPSkinObject::WindowProc));
    }
    m_bSystemWndProc = WVPIsSystemWindowProc(m_wndProc);
    OnHookAttached(lpcs, bAuto);
}

void CWVPSkinObject::Detach(BOOL bDestroyed)
{
    if (!m_bNoSubclass && m_hWnd)
    {
        // Only while the skin's procedure is still the window's: a subclasser above it keeps its
        // chain, and the skin's procedure then forwards through the window property.
        WNDPROC current = reinterpret_cast<WNDPROC>(m_bUnicode ? ::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)
                                                               : ::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC));
        if (current == &CWVPSkinObject::WindowProc)
        {
            if (m_bUnicode)
                ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_wndProc));
            else
                ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_wndProc));
            ::RemovePropW(m_hWnd, kPreviousProcProperty);
        }
        else if (bDestroyed)
        {
            ::RemovePropW(m_hWnd, kPreviousProcProperty);
        }
    }
    OnHookDetached(bDestroyed);
}

LRESULT CALLBACK CWVPSkinObject::WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    try
    {
        CWVPSkinManager* manager = WVPActiveSkinManager();
        CWVPSkinObject* object = manager ? manager->LookupAddRef(hWnd) : nullptr;
        if (!object)
        {
            // The object went while a subclasser above still chains here: forward, never answer 0.
            WNDPROC previous = reinterpret_cast<WNDPROC>(::GetPropW(hWnd, kPreviousProcProperty));
            if (nMessage == WM_NCDESTROY)
                ::RemovePropW(hWnd, kPreviousProcProperty);
            return CallPrevious(previous, ::IsWindowUnicode(hWnd), hWnd, nMessage, wParam, lParam);
        }
        CObjectReference reference(object);
        WNDPROC previous = object->m_wndProc;
        BOOL unicode = object->m_bUnicode;
        if (!manager->IsSkinLoaded())
        {
            if (nMessage == WM_NCDESTROY)
                manager->Remove(hWnd, TRUE);
            return CallPrevious(previous, unicode, hWnd, nMessage, wParam, lParam);
        }
        CAfxCurrentMessage current(hWnd, nMessage, wParam, lParam);
        if (nMessage == WM_NCDESTROY)
        {
            manager->Remove(hWnd, TRUE);
        }
        else if (!object->m_bOptedOut || nMessage == WVPSkinUpdateStateMessage())
        {
            LRESULT result = 0;
            object->PushDescriptor(kDefProcWindow, nullptr, nullptr, nMessage);
            BOOL handled = FALSE;
            try
            {
                handled = object->OnHookMessage(nMessage, wParam, lParam, result);
            }
            catch (...)
            {
                handled = FALSE;
            }
            object->PopDescriptor();
            if (handled)
                return result;
        }
        return CallPrevious(previous, unicode, hWnd, nMessage, wParam, lParam);
    }
    catch (...)
    {
        return 0;
    }
}

BOOL CWVPSkinObject::OnHookDefProc(HWND hWnd, FARPROC pfnDefProc, int nKind, LPVOID lpExtra, UINT nMessage,
                                   WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    CWVPSkinManager* manager = WVPActiveSkinManager();
    if (!manager || !manager->IsSkinLoaded())
        return FALSE;
    CWVPSkinObject* object = manager->LookupAddRef(hWnd);
    if (!object)
        return FALSE;
    CObjectReference reference(object);
    DEFWINDOW_DESCRIPTIOR top;
    if (object->m_bOptedOut || (object->GetTopDescriptor(top) && top.nMessage == nMessage))
        return FALSE;
    if (nMessage == WM_NCDESTROY && object->m_bNoSubclass)
    {
        manager->Remove(hWnd, TRUE);
        return FALSE;
    }
    if (nKind == kDefProcCallWindowProc && object->IsDefWindowProcAvail(int(nMessage)))
    {
        // The procedure called will reach a default procedure itself: take the message there.
        WNDPROC procedure = reinterpret_cast<WNDPROC>(lpExtra);
        if (procedure && !WVPIsSystemWindowProc(procedure))
            return FALSE;
    }
    CAfxCurrentMessage current(hWnd, nMessage, wParam, lParam);
    object->PushDescriptor(nKind, pfnDefProc, lpExtra, nMessage);
    BOOL handled = FALSE;
    try
    {
        handled = object->OnHookDefWindowProc(nMessage, wParam, lParam, lResult);
    }
    catch (...)
    {
        handled = FALSE;
    }
    object->PopDescriptor();
    return handled;
}
