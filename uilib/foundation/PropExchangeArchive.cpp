#include "uilib/foundation/PropExchangeArchive.h"
#include <cstdlib>

CWVPPropExchangeArchive::CWVPPropExchangeArchive(CArchive& ar) : m_ar(ar)
{
    m_bLoading = ar.IsLoading();
}

BOOL CWVPPropExchangeArchive::ExchangeProp(LPCWSTR /*pszPropName*/, WVPPropExchangeType vtProp, void* pvProp,
                                           const void* /*pvDefault*/)
{
    if (!OnBeforeExchange())
        return FALSE;
    CArchive& ar = m_ar;
    switch (vtProp)
    {
    case WVPPropShort:
        if (m_bLoading)
            ar >> *static_cast<short*>(pvProp);
        else
            ar << *static_cast<short*>(pvProp);
        break;
    case WVPPropLong:
    case WVPPropBool:
        if (m_bLoading)
            ar >> *static_cast<int*>(pvProp);
        else
            ar << *static_cast<int*>(pvProp);
        break;
    case WVPPropFloat:
        if (m_bLoading)
            ar >> *static_cast<float*>(pvProp);
        else
            ar << *static_cast<float*>(pvProp);
        break;
    case WVPPropDouble:
        if (m_bLoading)
            ar >> *static_cast<double*>(pvProp);
        else
            ar << *static_cast<double*>(pvProp);
        break;
    case WVPPropCurrency: {
        CY& cy = *static_cast<CY*>(pvProp);
        if (m_bLoading)
        {
            unsigned int low = 0;
            int high = 0;
            ar >> low >> high;
            cy.Lo = low;
            cy.Hi = high;
        }
        else
            ar << static_cast<unsigned int>(cy.Lo) << static_cast<int>(cy.Hi);
        break;
    }
    case WVPPropDate: {
        COleDateTime& date = *static_cast<COleDateTime*>(pvProp);
        if (m_bLoading)
        {
            int status = 0;
            double value = 0;
            ar >> status >> value;
            date = COleDateTime(DATE(value));
            date.SetStatus(COleDateTime::DateTimeStatus(status));
        }
        else
            ar << int(date.GetStatus()) << double(DATE(date));
        break;
    }
    case WVPPropVariant:
        if (m_bLoading)
            ar >> *static_cast<COleVariant*>(pvProp);
        else
            ar << *static_cast<COleVariant*>(pvProp);
        break;
    case WVPPropByte:
        if (m_bLoading)
            ar >> *static_cast<BYTE*>(pvProp);
        else
            ar << *static_cast<BYTE*>(pvProp);
        break;
    case WVPPropString:
        if (m_bLoading)
            ar >> *static_cast<CString*>(pvProp);
        else
            ar << *static_cast<CString*>(pvProp);
        break;
    case WVPPropRect: {
        RECT& rc = *static_cast<RECT*>(pvProp);
        if (m_bLoading)
        {
            int v[4];
            ar >> v[0] >> v[1] >> v[2] >> v[3];
            rc = {v[0], v[1], v[2], v[3]};
        }
        else
            ar << int(rc.left) << int(rc.top) << int(rc.right) << int(rc.bottom);
        break;
    }
    case WVPPropSize: {
        SIZE& size = *static_cast<SIZE*>(pvProp);
        if (m_bLoading)
        {
            int v[2];
            ar >> v[0] >> v[1];
            size = {v[0], v[1]};
        }
        else
            ar << int(size.cx) << int(size.cy);
        break;
    }
    default:
        break;
    }
    return TRUE;
}

BOOL CWVPPropExchangeArchive::ExchangeBlob(LPCWSTR /*pszPropName*/, BYTE*& pData, DWORD& nBytes)
{
    if (!OnBeforeExchange())
        return FALSE;
    if (!m_bLoading)
    {
        m_ar.WriteCount(nBytes);
        if (nBytes)
            m_ar.Write(pData, nBytes);
        return TRUE;
    }
    const DWORD count = DWORD(m_ar.ReadCount());
    BYTE* target = pData;
    if (target && nBytes < count)
    {
        // Too small a buffer: the block is passed over so that the stream stays in step.
        for (DWORD left = count; left;)
        {
            BYTE scratch[256];
            const UINT chunk = left < sizeof scratch ? UINT(left) : UINT(sizeof scratch);
            m_ar.EnsureRead(scratch, chunk);
            left -= chunk;
        }
        return FALSE;
    }
    if (!target)
    {
        // The block must be in the stream before it is allocated: a count is never trusted alone.
        CFile* pFile = m_ar.GetFile();
        if (pFile && ULONGLONG(count) > pFile->GetLength())
            AfxThrowArchiveException(CArchiveException::endOfFile, nullptr);
        target = static_cast<BYTE*>(std::malloc(count ? count : 1));
        if (!target)
            return FALSE;
    }
    try
    {
        m_ar.EnsureRead(target, count);
    }
    catch (CException*)
    {
        if (target != pData)
            std::free(target);
        throw;
    }
    pData = target;
    nBytes = count;
    return TRUE;
}

BOOL CWVPPropExchangeArchive::ExchangeRuntimeClass(LPCWSTR /*pszPropName*/, CRuntimeClass*& pClass,
                                                   CRuntimeClass* pDefaultClass)
{
    if (!OnBeforeExchange())
        return FALSE;
    if (!m_bLoading)
    {
        m_ar.WriteClass(pClass);
        return TRUE;
    }
    UINT schema = 0;
    pClass = m_ar.ReadClass(pDefaultClass, &schema);
    if (pClass)
        m_dwSchema = schema;
    return pClass != nullptr;
}

BOOL CWVPPropExchangeArchive::ExchangeObjectInstance(CObject*& pObject, CRuntimeClass* pObjectRuntimeClass)
{
    if (!CWVPPropExchange::ExchangeObjectInstance(pObject, pObjectRuntimeClass))
        return FALSE;
    m_ar.MapObject(pObject);
    return TRUE;
}

CArchive* CWVPPropExchangeArchive::GetArchive(LPCWSTR /*pszPropName*/)
{
    return &m_ar;
}

void CWVPPropExchangeArchive::ReleaseArchive(LPCWSTR /*pszPropName*/, CArchive* /*pArchive*/)
{
}

CWVPPropExchange* CWVPPropExchangeArchive::GetSection(LPCWSTR /*pszSection*/)
{
    CWVPPropExchangeArchive* pSection = new CWVPPropExchangeArchive(m_ar);
    InitSection(pSection);
    return pSection;
}

void CWVPPropExchangeArchive::WriteCount(DWORD dwCount)
{
    m_ar.WriteCount(dwCount);
}

DWORD CWVPPropExchangeArchive::ReadCount()
{
    return DWORD(m_ar.ReadCount());
}

void CWVPPropExchangeArchive::Write(LPCWSTR /*pszPropName*/, const void* lpBuf, UINT nCount)
{
    m_ar.Write(lpBuf, nCount);
}

UINT CWVPPropExchangeArchive::Read(LPCWSTR /*pszPropName*/, void* lpBuf, UINT nCount)
{
    return m_ar.Read(lpBuf, nCount);
}

BOOL CWVPPropExchangeArchive::SkipsDefaultValues() const
{
    return FALSE;
}

BOOL CWVPPropExchangeArchive::IsBinaryStream() const
{
    return TRUE;
}

void CWVPPropExchangeArchive::ExchangeSchema()
{
    if (!m_bLoading)
    {
        m_ar << DWORD(kSchemaMarker) << DWORD(m_dwSchema);
        return;
    }
    // The marker is consumed only when it is there; a stream without it is of the oldest schema.
    // Flushing a loading archive gives its read-ahead back, so the file position is the stream's.
    m_ar.Flush();
    CFile* pFile = m_ar.GetFile();
    const ULONGLONG at = pFile->GetPosition();
    DWORD marker = 0;
    if (m_ar.Read(&marker, sizeof marker) == sizeof marker && marker == kSchemaMarker)
    {
        DWORD schema = 0;
        m_ar >> schema;
        m_dwSchema = schema;
        return;
    }
    m_ar.Flush();
    pFile->Seek(LONGLONG(at), CFile::begin);
    m_dwSchema = kSchemaUnmarked;
}
