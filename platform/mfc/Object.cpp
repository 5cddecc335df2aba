#include "platform/mfc/Object.h"

#include "platform/mfc/Archive.h"
#include "platform/mfc/Exception.h"

#include <cstring>
#include <mutex>

namespace
{
// Registered classes, newest first. Registration happens during start-up; look-ups may come
// from any thread.
std::mutex& ClassListLock()
{
    static std::mutex* lock = new std::mutex;
    return *lock;
}
CRuntimeClass* g_firstClass = nullptr;

// The longest class name a stream may carry.
const UINT kMaxClassName = 64;
} // namespace

CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr, nullptr, nullptr};
static const AFX_CLASSINIT _init_CObject(RUNTIME_CLASS(CObject));

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return RUNTIME_CLASS(CObject);
}

BOOL CObject::IsSerializable() const
{
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

void CObject::Serialize(CArchive&)
{
}

void CObject::AssertValid() const
{
}

void CObject::Dump(CDumpContext&) const
{
}

void AFXAPI AfxClassInit(CRuntimeClass* pNewClass)
{
    std::lock_guard<std::mutex> guard(ClassListLock());
    for (CRuntimeClass* p = g_firstClass; p; p = p->m_pNextClass)
        if (p == pNewClass)
            return;
    pNewClass->m_pNextClass = g_firstClass;
    g_firstClass = pNewClass;
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass)
{
    AfxClassInit(pNewClass);
}

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* p = this; p; p = p->m_pBaseClass)
        if (p == pBaseClass)
            return TRUE;
    return FALSE;
}

CRuntimeClass* AFXAPI CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (!lpszClassName)
        return nullptr;
    std::lock_guard<std::mutex> guard(ClassListLock());
    for (CRuntimeClass* p = g_firstClass; p; p = p->m_pNextClass)
        if (std::strcmp(p->m_lpszClassName, lpszClassName) == 0)
            return p;
    return nullptr;
}

CRuntimeClass* AFXAPI CRuntimeClass::FromName(LPCWSTR lpszClassName)
{
    return lpszClassName ? FromName(CStringA(lpszClassName).GetString()) : nullptr;
}

CObject* AFXAPI CRuntimeClass::CreateObject(LPCSTR lpszClassName)
{
    CRuntimeClass* pClass = FromName(lpszClassName);
    return pClass ? pClass->CreateObject() : nullptr;
}

void CRuntimeClass::Store(CArchive& ar) const
{
    WORD nLen = static_cast<WORD>(std::strlen(m_lpszClassName));
    ar << static_cast<WORD>(m_wSchema);
    ar << nLen;
    ar.Write(m_lpszClassName, nLen);
}

CRuntimeClass* AFXAPI CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum)
{
    WORD wSchema = 0;
    WORD nLen = 0;
    ar >> wSchema >> nLen;
    if (nLen > kMaxClassName)
        return nullptr;
    char name[kMaxClassName + 1];
    ar.EnsureRead(name, nLen);
    name[nLen] = 0;
    if (pwSchemaNum)
        *pwSchemaNum = wSchema;
    return FromName(name);
}

CObject* AFXAPI AfxReadObject(CArchive& ar, const CRuntimeClass* pClassRefRequested)
{
    return ar.ReadObject(pClassRefRequested);
}

CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject)
{
    return pObject && pObject->IsKindOf(pClass) ? pObject : nullptr;
}
