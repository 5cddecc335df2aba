#include "uilib/skin/SkinObjectClassRegistry.h"

#include "uilib/skin/SkinObjectClassInfo.h"
#include "uilib/skin/SkinObjectFactoryTable.h"

CWVPSkinObjectClassRegistry::CWVPSkinObjectClassRegistry()
{
}

CWVPSkinObjectClassRegistry::~CWVPSkinObjectClassRegistry()
{
    RemoveAll();
}

void CWVPSkinObjectClassRegistry::AddDefaultClasses()
{
    int count = 0;
    const WVP_SKIN_OBJECT_FACTORY* factories = WVPSkinObjectFactories(count);
    for (int i = 0; i < count; ++i)
    {
        CWVPSkinObjectClassInfo* info = new CWVPSkinObjectClassInfo(factories[i].pObjectClass);
        AddClass(factories[i].lpszClassName, info);
        info->InternalRelease(); // the registry holds it now
    }
    const WVP_SKIN_OBJECT_SYNONYM* synonyms = WVPSkinObjectSynonyms(count);
    for (int i = 0; i < count; ++i)
        AddSynonym(synonyms[i].lpszClassName, synonyms[i].lpszExistingName);
}

void CWVPSkinObjectClassRegistry::AddClass(LPCWSTR lpszClassName, CWVPSkinObjectClassInfo* pInfo)
{
    if (!lpszClassName || !pInfo)
        return;
    CString name = lpszClassName;
    name.MakeUpper();
    pInfo->InternalAddRef();
    if (!pInfo->m_pRegistry)
        pInfo->m_pRegistry = this;
    void* old = nullptr;
    if (m_mapInfo.Lookup(name, old))
        static_cast<CWVPSkinObjectClassInfo*>(old)->InternalRelease();
    m_mapInfo.SetAt(name, pInfo);
}

void CWVPSkinObjectClassRegistry::AddSynonym(LPCWSTR lpszClassName, LPCWSTR lpszExistingName)
{
    if (!lpszClassName || Lookup(lpszClassName))
        return;
    if (lpszExistingName && *lpszExistingName)
    {
        if (CWVPSkinObjectClassInfo* info = Lookup(lpszExistingName))
            AddClass(lpszClassName, info);
        return;
    }
    CWVPSkinObjectClassInfo* info = new CWVPSkinObjectClassInfo(nullptr);
    AddClass(lpszClassName, info);
    info->InternalRelease();
}

CWVPSkinObjectClassInfo* CWVPSkinObjectClassRegistry::Lookup(LPCWSTR lpszClassName) const
{
    if (!lpszClassName)
        return nullptr;
    CString name = lpszClassName;
    name.MakeUpper();
    void* info = nullptr;
    return m_mapInfo.Lookup(name, info) ? static_cast<CWVPSkinObjectClassInfo*>(info) : nullptr;
}

void CWVPSkinObjectClassRegistry::RemoveAll()
{
    for (POSITION pos = m_mapInfo.GetStartPosition(); pos;)
    {
        CString name;
        void* info;
        m_mapInfo.GetNextAssoc(pos, name, info);
        static_cast<CWVPSkinObjectClassInfo*>(info)->InternalRelease();
    }
    m_mapInfo.RemoveAll();
}
