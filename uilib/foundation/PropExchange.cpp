#include "uilib/foundation/PropExchange.h"
#include <cstdlib>
#include <cstring>

namespace
{
// Default schema of the "Schema" value of a named exchange.
const long kNamedSchemaDefault = 32;
// Buffer of the archives made for objects that serialise themselves, and the growth of their file.
const int kArchiveBuffer = 4096;
const UINT kMemFileGrowth = 1024;
} // namespace

CWVPPropExchange::CWVPPropExchange() = default;

void CWVPPropExchange::InitSection(CWVPPropExchange* pSection) const
{
    pSection->m_bLoading = m_bLoading;
    pSection->m_dwSchema = m_dwSchema;
    pSection->m_pCallerData = m_pCallerData;
    pSection->m_bUseDefaultOnLoad = m_bUseDefaultOnLoad;
    pSection->m_bChildSection = TRUE;
}

BOOL CWVPPropExchange::ExchangeBlob(LPCWSTR pszPropName, BYTE*& pData, DWORD& nBytes)
{
    if (!m_bLoading)
    {
        CString text;
        LPWSTR out = text.GetBuffer(int(nBytes) * 2);
        for (DWORD i = 0; i < nBytes; ++i)
        {
            out[2 * i] = WCHAR(L'A' + (pData[i] & 0x0F));
            out[2 * i + 1] = WCHAR(L'A' + (pData[i] >> 4));
        }
        text.ReleaseBuffer(int(nBytes) * 2);
        return ExchangeProp(pszPropName, WVPPropString, &text, L"");
    }

    CString text;
    if (!ExchangeProp(pszPropName, WVPPropString, &text, L"") || text.GetLength() % 2)
        return FALSE;
    if (text.IsEmpty())
        return TRUE;
    const DWORD count = DWORD(text.GetLength() / 2);
    BYTE* target = pData;
    if (!target)
    {
        target = static_cast<BYTE*>(std::malloc(count));
        if (!target)
            return FALSE;
    }
    else if (nBytes < count)
        return FALSE;
    for (DWORD i = 0; i < count; ++i)
        target[i] = BYTE(((text[int(2 * i)] - L'A') & 0x0F) | ((text[int(2 * i + 1)] - L'A') & 0x0F) << 4);
    pData = target;
    nBytes = count;
    return TRUE;
}

BOOL CWVPPropExchange::ExchangeRuntimeClass(LPCWSTR pszPropName, CRuntimeClass*& pClass, CRuntimeClass* pDefaultClass)
{
    if (!m_bLoading)
    {
        CString name(pClass ? pClass->m_lpszClassName : "");
        return ExchangeProp(pszPropName, WVPPropString, &name,
                            pDefaultClass ? static_cast<LPCWSTR>(CString(pDefaultClass->m_lpszClassName)) : L"");
    }
    CString name;
    if (!ExchangeProp(pszPropName, WVPPropString, &name, nullptr) || name.IsEmpty())
    {
        pClass = pDefaultClass;
        return TRUE;
    }
    pClass = CRuntimeClass::FromName(static_cast<LPCWSTR>(name));
    return pClass != nullptr;
}

BOOL CWVPPropExchange::ExchangeObjectInstance(CObject*& pObject, CRuntimeClass* pObjectRuntimeClass)
{
    if (!m_bLoading)
    {
        CRuntimeClass* pClass = pObject ? pObject->GetRuntimeClass() : nullptr;
        return ExchangeRuntimeClass(L"Class", pClass, pObjectRuntimeClass);
    }
    CRuntimeClass* pClass = nullptr;
    if (!ExchangeRuntimeClass(L"Class", pClass, pObjectRuntimeClass) || !pClass)
        return FALSE;
    pObject = pClass->CreateObject();
    if (pObject && pObjectRuntimeClass && !pObject->IsKindOf(pObjectRuntimeClass))
    {
        delete pObject;
        pObject = nullptr;
    }
    return pObject != nullptr;
}

CArchive* CWVPPropExchange::GetArchive(LPCWSTR pszPropName)
{
    if (m_bLoading)
    {
        BYTE* data = nullptr;
        DWORD size = 0;
        if (!ExchangeBlob(pszPropName, data, size) || !data)
            return nullptr;
        CMemFile* file = new CMemFile(data, size);
        return new CArchive(file, CArchive::load, kArchiveBuffer);
    }
    CMemFile* file = new CMemFile(kMemFileGrowth);
    return new CArchive(file, CArchive::store, kArchiveBuffer);
}

void CWVPPropExchange::ReleaseArchive(LPCWSTR pszPropName, CArchive* pArchive)
{
    if (!pArchive)
        return;
    CFile* pFile = pArchive->GetFile();
    if (!pFile || !pFile->IsKindOf(RUNTIME_CLASS(CMemFile)))
        return;
    CMemFile* file = static_cast<CMemFile*>(pFile);
    if (!m_bLoading)
    {
        pArchive->Flush();
        DWORD size = DWORD(file->GetLength());
        BYTE* bytes = file->Detach();
        ExchangeBlob(pszPropName, bytes, size);
        std::free(bytes);
    }
    else
        std::free(file->Detach());
    pArchive->Abort();
    file->Close();
    delete file;
    delete pArchive;
}

void CWVPPropExchange::UseDefaultOnLoad()
{
    m_bUseDefaultOnLoad = TRUE;
}

void CWVPPropExchange::WriteCount(DWORD dwCount)
{
    LONG count = LONG(dwCount);
    ExchangeProp(L"Count", WVPPropLong, &count, nullptr);
}

DWORD CWVPPropExchange::ReadCount()
{
    LONG count = 0;
    ExchangeProp(L"Count", WVPPropLong, &count, nullptr);
    return DWORD(count);
}

void CWVPPropExchange::Write(LPCWSTR pszPropName, const void* lpBuf, UINT nCount)
{
    BYTE* data = static_cast<BYTE*>(const_cast<void*>(lpBuf));
    DWORD size = nCount;
    ExchangeBlob(pszPropName, data, size);
}

UINT CWVPPropExchange::Read(LPCWSTR pszPropName, void* lpBuf, UINT nCount)
{
    BYTE* data = static_cast<BYTE*>(lpBuf);
    DWORD size = nCount;
    return ExchangeBlob(pszPropName, data, size) ? nCount : 0;
}

BOOL CWVPPropExchange::SkipsDefaultValues() const
{
    return TRUE;
}

BOOL CWVPPropExchange::IsBinaryStream() const
{
    return FALSE;
}

BOOL CWVPPropExchange::OnBeforeExchange()
{
    m_bExchangeStarted = TRUE;
    return TRUE;
}

CWVPPropExchangeEnumerator* CWVPPropExchange::GetEnumerator(LPCWSTR pszSection)
{
    return new CWVPPropExchangeEnumerator(this, pszSection);
}

void CWVPPropExchange::ExchangeSchema()
{
    LONG schema = LONG(m_dwSchema);
    const LONG fallback = kNamedSchemaDefault;
    ExchangeProp(L"Schema", WVPPropLong, &schema, &fallback);
    m_dwSchema = UINT(schema);
}

CWVPPropExchangeEnumerator::CWVPPropExchangeEnumerator(CWVPPropExchange* pContainer, LPCWSTR pszSection)
    : m_pContainer(pContainer), m_strSectionName(pszSection ? pszSection : L"")
{
}

POSITION CWVPPropExchangeEnumerator::GetPosition(DWORD dwCount, BOOL bCompactMode)
{
    m_nCount = dwCount;
    if (!m_pContainer)
        return nullptr;
    if (!bCompactMode)
    {
        LONG count = LONG(dwCount);
        const LONG none = 0;
        m_pContainer->ExchangeProp(L"Count", WVPPropLong, &count, &none);
        m_nCount = DWORD(count);
    }
    else if (m_pContainer->IsLoading())
        m_nCount = m_pContainer->ReadCount();
    else
        m_pContainer->WriteCount(dwCount);
    return m_nCount ? POSITION(1) : nullptr;
}

CWVPPropExchange* CWVPPropExchangeEnumerator::GetNext(POSITION& pos)
{
    const UINT_PTR index = UINT_PTR(pos);
    CString name;
    name.Format(L"%s%i", static_cast<LPCWSTR>(m_strSectionName), int(index - 1));
    pos = index + 1 > m_nCount ? nullptr : POSITION(index + 1);
    return m_pContainer ? m_pContainer->GetSection(name) : nullptr;
}

BOOL AFXAPI WVPExchangeLong(CWVPPropExchange* pPX, LPCWSTR pszPropName, long& nValue)
{
    if (!pPX)
        return FALSE;
    LONG value = LONG(nValue);
    const BOOL ok = pPX->ExchangeProp(pszPropName, WVPPropLong, &value, nullptr);
    nValue = value;
    return ok;
}

BOOL AFXAPI WVPExchangeLong(CWVPPropExchange* pPX, LPCWSTR pszPropName, long& nValue, long nDefault)
{
    if (!pPX)
        return FALSE;
    LONG value = LONG(nValue);
    const LONG fallback = LONG(nDefault);
    const BOOL ok = pPX->ExchangeProp(pszPropName, WVPPropLong, &value, &fallback);
    nValue = value;
    return ok;
}

BOOL AFXAPI WVPExchangeBool(CWVPPropExchange* pPX, LPCWSTR pszPropName, BOOL& bValue, BOOL bDefault)
{
    return pPX && pPX->ExchangeProp(pszPropName, WVPPropBool, &bValue, &bDefault);
}

BOOL AFXAPI WVPExchangeString(CWVPPropExchange* pPX, LPCWSTR pszPropName, CString& strValue)
{
    return pPX && pPX->ExchangeProp(pszPropName, WVPPropString, &strValue, nullptr);
}

BOOL AFXAPI WVPExchangeString(CWVPPropExchange* pPX, LPCWSTR pszPropName, CString& strValue, LPCWSTR pszDefault)
{
    if (!pPX)
        return FALSE;
    const CString fallback(pszDefault ? pszDefault : L"");
    return pPX->ExchangeProp(pszPropName, WVPPropString, &strValue, &fallback);
}

BOOL AFXAPI WVPExchangeSize(CWVPPropExchange* pPX, LPCWSTR pszPropName, CSize& szValue, CSize szDefault)
{
    return pPX && pPX->ExchangeProp(pszPropName, WVPPropSize, &szValue, &szDefault);
}

BOOL AFXAPI WVPExchangeRect(CWVPPropExchange* pPX, LPCWSTR pszPropName, CRect& rcValue, const CRect& rcDefault)
{
    return pPX && pPX->ExchangeProp(pszPropName, WVPPropRect, &rcValue, &rcDefault);
}

BOOL AFXAPI WVPExchangeRuntimeClass(CWVPPropExchange* pPX, LPCWSTR pszPropName, CRuntimeClass*& pClass,
                                    CRuntimeClass* pDefaultClass)
{
    return pPX && pPX->ExchangeRuntimeClass(pszPropName, pClass, pDefaultClass);
}

BOOL AFXAPI WVPExchangeBlob(CWVPPropExchange* pPX, LPCWSTR pszPropName, BYTE*& pData, DWORD& nBytes)
{
    return pPX && pPX->ExchangeBlob(pszPropName, pData, nBytes);
}

BOOL AFXAPI WVPExchangeSerialized(CWVPPropExchange* pPX, LPCWSTR pszPropName, CObject* pObject)
{
    if (!pPX || !pObject)
        return FALSE;
    CArchive* pArchive = pPX->GetArchive(pszPropName);
    if (!pArchive)
        return FALSE;
    BOOL ok = TRUE;
    try
    {
        pObject->Serialize(*pArchive);
    }
    catch (CArchiveException* e)
    {
        e->Delete();
        ok = FALSE;
    }
    catch (COleException* e)
    {
        e->Delete();
        ok = FALSE;
    }
    pPX->ReleaseArchive(pszPropName, pArchive);
    return ok;
}
