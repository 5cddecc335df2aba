#include "uilib/skin/SkinManager.h"
#include "uilib/foundation/ColorManager.h"

#include "platform/mfc/ExitSequence.h"
#include "platform/mfc/ThreadLocal.h"
#include "uilib/skin/SkinManagerApiHook.h"
#include "uilib/skin/SkinManagerModuleList.h"
#include "uilib/skin/SkinObject.h"
#include "uilib/skin/SkinObjectClassInfo.h"
#include "uilib/skin/SkinObjectFrame.h"
#include "uilib/skin/SkinSchemaNames.h"

#include <prsht.h>

#include <new>
#include <utility>

namespace
{

const int kLowColorBits = 8;
const UINT kClassHashSize = 199;
const UINT kWindowHashSize = 199;
const int kClassNameLength = 50;
const UINT kDialogControlStyle = DS_CONTROL | WS_CHILD;
// A wizard sheet's Next button: property sheets that have one are wizards.
const int kWizardNextButtonId = 0x3024;

CWVPSkinManager* g_pSkinManager = nullptr;
CWVPSkinManager* g_pActiveManager = nullptr;

} // namespace

CWVPSkinManager* WVPActiveSkinManager()
{
    return g_pActiveManager;
}

// The creation hook of one UI thread; removed when the thread's local storage goes.
class WVP_SKINAMANGER_THREAD_STATE : public CNoTrackObject
{
  public:
    ~WVP_SKINAMANGER_THREAD_STATE() override
    {
        if (m_hHookOldCbtFilter)
            ::UnhookWindowsHookEx(m_hHookOldCbtFilter);
    }
    HHOOK m_hHookOldCbtFilter = nullptr;
};

namespace
{

CThreadLocal<WVP_SKINAMANGER_THREAD_STATE> g_skinThreadState;

void DestroySkinManager(void*)
{
    WVPSkinManagerDestroy();
}

BOOL CALLBACK PostSysColorChange(HWND hWnd, LPARAM)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(hWnd, &process);
    if (process == ::GetCurrentProcessId())
        ::PostMessageW(hWnd, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

} // namespace

BOOL WVPSkinLoadFromResources(HMODULE hModule, LPCWSTR lpszIniName)
{
    CWVPSkinManager* manager = WVPSkinManager();
    if (!manager)
        return FALSE;
    manager->GetMetrics()->RefreshMetrics();
    manager->SetApplyOptions(CWVPSkinManager::kApplyAll);
    manager->GetResourceFile()->m_hCallerModule = hModule;
    return manager->LoadSkin(nullptr, lpszIniName);
}

void WVPSkinShutdown()
{
    if (CWVPSkinManager* manager = g_pSkinManager)
    {
        manager->LoadSkin(nullptr, nullptr);
        manager->RemoveAll(TRUE);
    }
    WVPSkinManagerApiHookDestroy();
}

CWVPSkinManager* WVPSkinManager()
{
    if (!g_pSkinManager)
    {
        g_pSkinManager = new (std::nothrow) CWVPSkinManager;
        // Registered after the API-hook manager the constructor makes, so it goes first at exit.
        if (g_pSkinManager)
            AfxRegisterExitHandler(&DestroySkinManager, nullptr);
    }
    return g_pSkinManager;
}

void WVPSkinManagerDestroy()
{
    delete g_pSkinManager;
    g_pSkinManager = nullptr;
}

CWVPSkinManager::CWVPSkinManager()
    : m_pMetrics(new CWVPSkinManagerMetrics(this)), m_pResourceFile(new CWVPSkinManagerResourceFile)
{
    m_mapClasses.InitHashTable(kClassHashSize);
    m_mapWindows.InitHashTable(kWindowHashSize);
    m_pResourceFile->m_pManager = this;
    m_classRegistry.AddDefaultClasses();
    g_pActiveManager = this;
    WVPSkinManagerApiHook();
    WVPSkinQueryStateMessage();
    WVPSkinUpdateStateMessage();
    m_hWinEventHook = ::SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_REORDER, nullptr, &WinEventHook,
                                        ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    InstallThreadHook();
}

CWVPSkinManager::~CWVPSkinManager()
{
    // Nothing may reach the skin data while it goes: no skin, no hooks, no objects first.
    m_bSkinLoaded = FALSE;
    WVPSkinManagerApiHook()->UnhookAllFunctions();
    RemoveAll(TRUE);
    if (m_hWinEventHook)
        ::UnhookWinEvent(m_hWinEventHook);
    if (g_pActiveManager == this)
        g_pActiveManager = g_pSkinManager != this ? g_pSkinManager : nullptr;
    FreeSkinData();
    RemoveColorFilters();
    delete m_pSchema;
    delete m_pMetrics;
    delete m_pResourceFile;
}

BOOL CWVPSkinManager::IsLowColorDisplay() const
{
    HDC screen = ::GetDC(nullptr);
    int bits = ::GetDeviceCaps(screen, BITSPIXEL) * ::GetDeviceCaps(screen, PLANES);
    ::ReleaseDC(nullptr, screen);
    return bits <= kLowColorBits;
}

CWVPSkinManagerClass* CWVPSkinManager::GetSkinClass(LPCWSTR lpszClassName)
{
    CString name = lpszClassName ? lpszClassName : L"";
    name.MakeUpper();
    void* found = nullptr;
    if (m_mapClasses.Lookup(name, found))
        return static_cast<CWVPSkinManagerClass*>(found);
    int classId = WVPSkinGetClassId(name);
    if (!classId)
        return nullptr;
    CWVPSkinManagerClass* skinClass = new CWVPSkinManagerClass(this, name, classId);
    m_mapClasses.SetAt(name, skinClass);
    return skinClass;
}

CWVPSkinManagerClass* CWVPSkinManager::FromHandle(const void* hTheme) const
{
    for (POSITION pos = m_mapClasses.GetStartPosition(); pos;)
    {
        CString name;
        void* skinClass;
        m_mapClasses.GetNextAssoc(pos, name, skinClass);
        if (skinClass == hTheme)
            return static_cast<CWVPSkinManagerClass*>(skinClass);
    }
    return nullptr;
}

void CWVPSkinManager::FreeSkinData()
{
    for (POSITION pos = m_mapClasses.GetStartPosition(); pos;)
    {
        CString name;
        void* skinClass;
        m_mapClasses.GetNextAssoc(pos, name, skinClass);
        delete static_cast<CWVPSkinManagerClass*>(skinClass);
    }
    m_mapClasses.RemoveAll();
    m_pResourceFile->Close();
}

BOOL CWVPSkinManager::ReadSkinData(LPCWSTR lpszResourcePath, LPCWSTR lpszIniFileName)
{
    FreeSkinData();
    if (!m_pResourceFile->Open(lpszResourcePath, lpszIniFileName))
        return FALSE;
    m_pSchema = m_pResourceFile->CreateSchema();
    return m_pSchema && m_pSchema->ReadProperties(m_pResourceFile) >= 0;
}

void CWVPSkinManager::ApplySkin()
{
    WVPSkinManagerApiHook()->InitializeHookManagement();
    m_pMetrics->RefreshMetrics();
    m_pSchema->RefreshMetrics();
    WVPRefreshColors();
}

BOOL CWVPSkinManager::LoadSkin(LPCWSTR lpszResourcePath, LPCWSTR lpszIniFileName)
{
    BOOL wasLoaded = m_bSkinLoaded;
    // No replacement may read the schema while it goes.
    m_bSkinLoaded = FALSE;
    WVPSkinManagerApiHook()->UnhookAllFunctions();
    delete m_pSchema;
    m_pSchema = nullptr;
    bool loaded = !IsLowColorDisplay() && CWVPSkinManagerModuleList::IsEnumerationAvailable() &&
                  ReadSkinData(lpszResourcePath, lpszIniFileName);
    if (loaded)
    {
        m_bSkinLoaded = TRUE;
        ApplySkin();
        ApplyWindows(wasLoaded, TRUE);
        return TRUE;
    }
    delete m_pSchema;
    m_pSchema = nullptr;
    m_pMetrics->RefreshMetrics();
    WVPRefreshColors();
    ApplyWindows(wasLoaded, FALSE);
    return FALSE;
}

void CWVPSkinManager::SetApplyOptions(DWORD dwOptions)
{
    m_dwApplyOptions = dwOptions;
    if (m_bSkinLoaded)
    {
        WVPSkinManagerApiHook()->UnhookAllFunctions();
        ApplySkin();
        ApplyWindows(TRUE, TRUE);
    }
}

void CWVPSkinManager::AddColorFilter(CWVPSkinManagerColorFilter* pFilter)
{
    if (pFilter)
        m_arrFilters.push_back(pFilter);
}

void CWVPSkinManager::RemoveColorFilters()
{
    for (CWVPSkinManagerColorFilter* filter : m_arrFilters)
        delete filter;
    m_arrFilters.clear();
}

void CWVPSkinManager::ApplyColorFilters(COLORREF& clr) const
{
    for (CWVPSkinManagerColorFilter* filter : m_arrFilters)
        filter->ApplyColorFilter(clr);
}

void CWVPSkinManager::Refresh()
{
    if (!m_bSkinLoaded)
        return;
    for (POSITION pos = m_mapClasses.GetStartPosition(); pos;)
    {
        CString name;
        void* skinClass;
        m_mapClasses.GetNextAssoc(pos, name, skinClass);
        static_cast<CWVPSkinManagerClass*>(skinClass)->GetImageCache().RemoveAll();
    }
    m_pMetrics->RefreshMetrics();
    WVPRefreshColors();
    ApplyWindows(TRUE, TRUE);
}

BOOL CWVPSkinManager::GetThemeSysBool(int nBoolId)
{
    BOOL value = FALSE;
    if (!m_pSchema || FAILED(m_pSchema->GetBoolProperty(kSkinClassSysMetrics, 0, 0, nBoolId, value)))
        return FALSE;
    return value;
}

COLORREF CWVPSkinManager::GetThemeSysColor(int nColorId)
{
    if (nColorId < kSkinPropFirstSysColor || nColorId > kSkinPropLastSysColor)
        return CLR_INVALID;
    return m_pMetrics->GetColor(nColorId - kSkinPropFirstSysColor);
}

void CWVPSkinManager::ApplyWindows(BOOL bPrevState, BOOL bNewState)
{
    ::EnumWindows(&PostSysColorChange, 0);
    std::vector<std::pair<HWND, CWVPSkinObject*>> objects;
    {
        CSingleLock lock(&m_csWindows, TRUE);
        for (POSITION pos = m_mapWindows.GetStartPosition(); pos;)
        {
            void* window;
            void* object;
            m_mapWindows.GetNextAssoc(pos, window, object);
            static_cast<CWVPSkinObject*>(object)->InternalAddRef();
            objects.emplace_back(static_cast<HWND>(window), static_cast<CWVPSkinObject*>(object));
        }
    }
    for (auto& entry : objects)
    {
        if (::IsWindow(entry.first))
            entry.second->OnSkinChanged(bPrevState, bNewState);
        else
            Remove(entry.first, FALSE);
        entry.second->InternalRelease();
    }
}

void CWVPSkinManager::InstallThreadHook()
{
    WVP_SKINAMANGER_THREAD_STATE* state = g_skinThreadState.GetData();
    if (state && !state->m_hHookOldCbtFilter)
        state->m_hHookOldCbtFilter =
            ::SetWindowsHookExW(WH_CBT, &CWVPSkinManager::CbtFilterHook, nullptr, ::GetCurrentThreadId());
}

LRESULT CALLBACK CWVPSkinManager::CbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    WVP_SKINAMANGER_THREAD_STATE* state = g_skinThreadState.GetDataNA();
    LRESULT result = ::CallNextHookEx(state ? state->m_hHookOldCbtFilter : nullptr, nCode, wParam, lParam);
    try
    {
        CWVPSkinManager* manager = g_pActiveManager;
        if (nCode == HCBT_CREATEWND && manager && manager->m_bAutoApplyWindows)
        {
            HWND window = reinterpret_cast<HWND>(wParam);
            wchar_t className[kClassNameLength] = {};
            ::GetClassNameW(window, className, kClassNameLength);
            CBT_CREATEWNDW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
            manager->SetHook(window, className, create ? create->lpcs : nullptr, TRUE);
        }
    }
    catch (...)
    {
    }
    return result;
}

void CALLBACK CWVPSkinManager::WinEventHook(HWINEVENTHOOK, DWORD dwEvent, HWND hWnd, LONG idObject, LONG, DWORD, DWORD)
{
    try
    {
        CWVPSkinManager* manager = g_pActiveManager;
        if (dwEvent != EVENT_OBJECT_REORDER || idObject != OBJID_WINDOW || !manager || !manager->m_bSkinLoaded ||
            !(manager->m_dwApplyOptions & kApplyScrollBars) || !manager->Lookup(hWnd))
            return;
        if (::GetWindowLongW(hWnd, GWL_STYLE) & (WS_CAPTION | WS_VSCROLL | WS_HSCROLL))
            ::SetTimer(hWnd, CWVPSkinObjectFrame::kRepairTimerId, CWVPSkinObjectFrame::kRepairTimerDelay, nullptr);
    }
    catch (...)
    {
    }
}

int CWVPSkinManager::GetDialogKind(HWND hWnd, LPCREATESTRUCTW lpcs)
{
    if (!lpcs || (DWORD(lpcs->style) & kDialogControlStyle) != kDialogControlStyle)
        return CWVPSkinObjectFrame::kWindowDialog;
    HWND parent = lpcs->hwndParent ? lpcs->hwndParent : ::GetParent(hWnd);
    CWVPSkinObject* parentObject = Lookup(parent);
    if (parentObject && parentObject->IsKindOf(RUNTIME_CLASS(CWVPSkinObjectFrame)) &&
        static_cast<CWVPSkinObjectFrame*>(parentObject)->GetWindowKind() == CWVPSkinObjectFrame::kWindowPropertyPage)
        return CWVPSkinObjectFrame::kWindowPropertyPage;
    // A property sheet answers for its tab control; a wizard sheet has a Next button.
    HWND tab = parent ? reinterpret_cast<HWND>(::SendMessageW(parent, PSM_GETTABCONTROL, 0, 0)) : nullptr;
    if (tab && ::IsWindow(tab) && ::GetParent(tab) == parent && !::GetDlgItem(parent, kWizardNextButtonId))
        return CWVPSkinObjectFrame::kWindowPropertyPage;
    return CWVPSkinObjectFrame::kWindowDialog;
}

CWVPSkinObject* CWVPSkinManager::SetHook(HWND hWnd, LPCWSTR lpszClassName, LPCREATESTRUCTW lpcs, BOOL bAuto)
{
    if (!hWnd || !lpszClassName)
        return nullptr;
    CString name = lpszClassName;
    if (name == L"tooltips_class32" || name.CompareNoCase(L"IME") == 0)
        return nullptr;
    CWVPSkinObject* object = nullptr;
    int forms = name.Find(L"WindowsForms");
    if (forms >= 0)
    {
        // A .NET class such as WindowsForms10.BUTTON.app.0.x: the part between the first two dots.
        int first = name.Find(L'.');
        int second = first >= 0 ? name.Find(L'.', first + 1) : -1;
        CWVPSkinObjectClassInfo* info =
            second > first + 1 ? m_classRegistry.Lookup(name.Mid(first + 1, second - first - 1)) : nullptr;
        object = info ? info->CreateObject(lpszClassName, lpcs) : nullptr;
        if (!object)
            object = new CWVPSkinObjectFrame;
        object->SetNoSubclass(TRUE);
    }
    else if (CWVPSkinObjectClassInfo* info = m_classRegistry.Lookup(name))
    {
        object = info->CreateObject(lpszClassName, lpcs);
        if (!object)
            return nullptr;
    }
    else
    {
        if (name.Find(L"Internet Explorer") >= 0 || name.Find(L"OleMainThread") >= 0)
            return nullptr;
        object = new CWVPSkinObjectFrame;
    }
    if (name == L"#32770" && object->IsKindOf(RUNTIME_CLASS(CWVPSkinObjectFrame)))
        static_cast<CWVPSkinObjectFrame*>(object)->SetWindowKind(GetDialogKind(hWnd, lpcs));
    object->SetSkinManager(this);
    // A window that already has an object loses it first: two objects would leak one. Where a
    // subclasser sits above the skin's procedure, the old object leaves that procedure in place
    // and the new one attaches beneath it (see CWVPSkinObject::Attach), so the chain never
    // leads back to itself.
    Remove(hWnd, FALSE);
    {
        CSingleLock lock(&m_csWindows, TRUE);
        m_mapWindows.SetAt(hWnd, object);
    }
    object->Attach(hWnd, lpcs, bAuto);
    return object;
}

CWVPSkinObject* CWVPSkinManager::Lookup(HWND hWnd)
{
    CSingleLock lock(&m_csWindows, TRUE);
    void* object = nullptr;
    return m_mapWindows.Lookup(hWnd, object) ? static_cast<CWVPSkinObject*>(object) : nullptr;
}

CWVPSkinObject* CWVPSkinManager::LookupAddRef(HWND hWnd)
{
    CSingleLock lock(&m_csWindows, TRUE);
    void* object = nullptr;
    if (!m_mapWindows.Lookup(hWnd, object))
        return nullptr;
    static_cast<CWVPSkinObject*>(object)->InternalAddRef();
    return static_cast<CWVPSkinObject*>(object);
}

void CWVPSkinManager::Remove(HWND hWnd, BOOL bDestroyed)
{
    void* object = nullptr;
    {
        CSingleLock lock(&m_csWindows, TRUE);
        if (!m_mapWindows.Lookup(hWnd, object))
            return;
        m_mapWindows.RemoveKey(hWnd);
    }
    CWVPSkinObject* skinObject = static_cast<CWVPSkinObject*>(object);
    skinObject->Detach(bDestroyed);
    skinObject->InternalRelease();
}

void CWVPSkinManager::RemoveAll(BOOL bDetach)
{
    std::vector<CWVPSkinObject*> objects;
    {
        CSingleLock lock(&m_csWindows, TRUE);
        for (POSITION pos = m_mapWindows.GetStartPosition(); pos;)
        {
            void* window;
            void* object;
            m_mapWindows.GetNextAssoc(pos, window, object);
            objects.push_back(static_cast<CWVPSkinObject*>(object));
        }
        m_mapWindows.RemoveAll();
    }
    // Detached outside the lock: an object's detach may send messages to its window.
    for (CWVPSkinObject* object : objects)
    {
        if (bDetach)
            object->Detach(FALSE);
        object->InternalRelease();
    }
}

int CWVPSkinManager::GetObjectCount()
{
    CSingleLock lock(&m_csWindows, TRUE);
    return int(m_mapWindows.GetCount());
}
