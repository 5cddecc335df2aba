#include "uilib/skin/SkinManager.h"

#include "uilib/skin/SkinManagerModuleList.h"
#include "uilib/skin/SkinSchemaNames.h"

#include <new>

namespace
{

const int kLowColorBits = 8;
const UINT kClassHashSize = 199;

CWVPSkinManager* g_pSkinManager = nullptr;

} // namespace

CWVPSkinManager* WVPSkinManager()
{
    if (!g_pSkinManager)
        g_pSkinManager = new (std::nothrow) CWVPSkinManager;
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
    m_pResourceFile->m_pManager = this;
}

CWVPSkinManager::~CWVPSkinManager()
{
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

BOOL CWVPSkinManager::LoadSkin(LPCWSTR lpszResourcePath, LPCWSTR lpszIniFileName)
{
    delete m_pSchema;
    m_pSchema = nullptr;
    bool loaded = !IsLowColorDisplay() && CWVPSkinManagerModuleList::IsEnumerationAvailable() &&
                  ReadSkinData(lpszResourcePath, lpszIniFileName);
    if (loaded)
    {
        m_bSkinLoaded = TRUE;
        m_pMetrics->RefreshMetrics();
        m_pSchema->RefreshMetrics();
        return TRUE;
    }
    m_bSkinLoaded = FALSE;
    delete m_pSchema;
    m_pSchema = nullptr;
    m_pMetrics->RefreshMetrics();
    return FALSE;
}

void CWVPSkinManager::SetApplyOptions(DWORD dwOptions)
{
    m_dwApplyOptions = dwOptions;
    if (m_bSkinLoaded)
    {
        m_pMetrics->RefreshMetrics();
        m_pSchema->RefreshMetrics();
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
