#include "uilib/skin/SkinObjectClassInfo.h"

#include "uilib/skin/SkinObject.h"

CWVPSkinObjectClassInfo::CWVPSkinObjectClassInfo(CRuntimeClass* pObjectClass) : m_pObjectClass(pObjectClass)
{
}

CWVPSkinObject* CWVPSkinObjectClassInfo::CreateObject(LPCWSTR, LPCREATESTRUCTW)
{
    if (!m_pObjectClass || !m_pObjectClass->IsDerivedFrom(RUNTIME_CLASS(CWVPSkinObject)))
        return nullptr;
    return static_cast<CWVPSkinObject*>(m_pObjectClass->CreateObject());
}
