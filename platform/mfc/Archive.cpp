#include "platform/mfc/Archive.h"

#include <cstdlib>

namespace
{
const WORD kNullTag = 0;
const WORD kNewClassTag = 0xFFFF;
const WORD kClassTag = 0x8000;
const DWORD kBigClassTag = 0x80000000;
const WORD kBigObjectTag = 0x7FFF;
const DWORD kMaxMapCount = 0x3FFFFFFE;
const WORD kUnicodeMark = 0xFFFE;
const int kMinBufferSize = 128;
const UINT kStringChunk = 0x10000;
const ULONGLONG kMaxStringLength = 0x3FFFFFF0;
} // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_nMode(nMode), m_pFile(pFile), m_nBufSize(nBufSize < kMinBufferSize ? kMinBufferSize : nBufSize),
      m_bUserBuf(lpBuf != nullptr && nBufSize >= kMinBufferSize), m_nObjectSchema(UINT(-1)), m_nMapCount(1)
{
    if (!pFile)
        AfxThrowInvalidArgException();
    m_strFileName = pFile->GetFilePath();
    m_lpBufStart = m_bUserBuf ? static_cast<BYTE*>(lpBuf) : static_cast<BYTE*>(std::malloc(m_nBufSize));
    if (!m_lpBufStart)
        AfxThrowMemoryException();
    m_lpBufCur = m_lpBufStart;
    // A loading buffer starts empty, a storing one has all its room free.
    m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
    m_loadArray.push_back({nullptr, false, 0});
}

CArchive::~CArchive()
{
    if (m_pFile && !(m_nMode & bNoFlushOnDelete))
    {
        try
        {
            Close();
        }
        catch (CException* e)
        {
            e->Delete();
        }
    }
    Abort();
    if (!m_bUserBuf)
        std::free(m_lpBufStart);
}

UINT CArchive::GetObjectSchema()
{
    UINT nSchema = m_nObjectSchema;
    m_nObjectSchema = UINT(-1);
    return nSchema;
}

void CArchive::CheckStoring()
{
    if (!m_pFile)
        AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
    if (IsLoading())
        AfxThrowArchiveException(CArchiveException::readOnly, m_strFileName);
}

void CArchive::CheckLoading()
{
    if (!m_pFile)
        AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
    if (!IsLoading())
        AfxThrowArchiveException(CArchiveException::writeOnly, m_strFileName);
}

void CArchive::ThrowEndOfFile()
{
    AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
}

void CArchive::FillBuffer(UINT nBytesNeeded)
{
    CheckLoading();
    size_t nUnused = m_lpBufMax - m_lpBufCur;
    if (nUnused >= nBytesNeeded)
        return;
    if (nUnused > 0 && m_lpBufCur != m_lpBufStart)
        std::memmove(m_lpBufStart, m_lpBufCur, nUnused);
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = m_lpBufStart + nUnused;
    while (size_t(m_lpBufMax - m_lpBufStart) < nBytesNeeded)
    {
        UINT nRead = m_pFile->Read(m_lpBufMax, UINT(m_nBufSize - (m_lpBufMax - m_lpBufStart)));
        if (nRead == 0)
            break;
        m_lpBufMax += nRead;
    }
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    CheckLoading();
    BYTE* out = static_cast<BYTE*>(lpBuf);
    UINT nDone = 0;
    while (nDone < nMax)
    {
        if (m_lpBufCur == m_lpBufMax)
        {
            UINT nLeft = nMax - nDone;
            if (nLeft >= UINT(m_nBufSize))
            {
                // Large reads go straight to the file.
                UINT nRead = m_pFile->Read(out + nDone, nLeft);
                if (nRead == 0)
                    break;
                nDone += nRead;
                continue;
            }
            FillBuffer(1);
            if (m_lpBufCur == m_lpBufMax)
                break;
        }
        UINT n = UINT(m_lpBufMax - m_lpBufCur);
        if (n > nMax - nDone)
            n = nMax - nDone;
        std::memcpy(out + nDone, m_lpBufCur, n);
        m_lpBufCur += n;
        nDone += n;
    }
    return nDone;
}

void CArchive::EnsureRead(void* lpBuf, UINT nCount)
{
    if (Read(lpBuf, nCount) != nCount)
        ThrowEndOfFile();
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    CheckStoring();
    const BYTE* in = static_cast<const BYTE*>(lpBuf);
    while (nMax > 0)
    {
        UINT nRoom = UINT(m_lpBufMax - m_lpBufCur);
        if (nRoom == 0)
        {
            Flush();
            if (nMax >= UINT(m_nBufSize))
            {
                m_pFile->Write(in, nMax);
                return;
            }
            continue;
        }
        UINT n = nMax < nRoom ? nMax : nRoom;
        std::memcpy(m_lpBufCur, in, n);
        m_lpBufCur += n;
        in += n;
        nMax -= n;
    }
}

void CArchive::Flush()
{
    if (!m_pFile)
        return;
    if (IsLoading())
    {
        // Give the read-ahead back so the file is positioned after what was consumed.
        if (m_lpBufMax != m_lpBufCur)
            m_pFile->Seek(-LONGLONG(m_lpBufMax - m_lpBufCur), CFile::current);
        m_lpBufCur = m_lpBufMax = m_lpBufStart;
        return;
    }
    if (m_lpBufCur != m_lpBufStart)
    {
        UINT n = UINT(m_lpBufCur - m_lpBufStart);
        m_lpBufCur = m_lpBufStart;
        m_pFile->Write(m_lpBufStart, n);
    }
    m_lpBufMax = m_lpBufStart + m_nBufSize;
}

void CArchive::Close()
{
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort()
{
    m_pFile = nullptr;
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
}

void CArchive::WriteCount(DWORD_PTR dwCount)
{
    if (dwCount < 0xFFFF)
        *this << WORD(dwCount);
    else
    {
        if (dwCount > 0xFFFFFFFF)
            AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
        *this << WORD(0xFFFF) << DWORD(dwCount);
    }
}

DWORD_PTR CArchive::ReadCount()
{
    WORD wCount;
    *this >> wCount;
    if (wCount != 0xFFFF)
        return wCount;
    DWORD dwCount;
    *this >> dwCount;
    return dwCount;
}

void CArchive::WriteIndex(DWORD nIndex, bool bClass)
{
    if (nIndex < kBigObjectTag)
        *this << WORD(nIndex | (bClass ? kClassTag : 0));
    else
        *this << kBigObjectTag << DWORD(nIndex | (bClass ? kBigClassTag : 0));
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    CheckStoring();
    if (!pClassRef || pClassRef->m_wSchema == 0xFFFF)
        AfxThrowNotSupportedException();
    auto found = m_storeMap.find(pClassRef);
    if (found != m_storeMap.end())
    {
        WriteIndex(found->second, true);
        return;
    }
    *this << kNewClassTag;
    pClassRef->Store(*this);
    if (m_nMapCount >= kMaxMapCount)
        AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    m_storeMap[pClassRef] = m_nMapCount++;
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag)
{
    CheckLoading();
    WORD wTag;
    *this >> wTag;
    CRuntimeClass* pClass;
    UINT nSchema;
    if (wTag == kNewClassTag)
    {
        pClass = CRuntimeClass::Load(*this, &nSchema);
        if (!pClass)
            AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
        if (!(pClass->m_wSchema & VERSIONABLE_SCHEMA) && (pClass->m_wSchema & 0xFFFF) != nSchema)
            AfxThrowArchiveException(CArchiveException::badSchema, m_strFileName);
        if (m_loadArray.size() >= kMaxMapCount)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        m_loadArray.push_back({pClass, true, nSchema});
    }
    else
    {
        DWORD obTag;
        if (wTag == kBigObjectTag)
            *this >> obTag;
        else
            obTag = (DWORD(wTag & kClassTag) << 16) | (wTag & ~kClassTag);
        if (!(obTag & kBigClassTag))
        {
            if (!pObTag)
                AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
            *pObTag = obTag;
            return nullptr;
        }
        DWORD nIndex = obTag & ~kBigClassTag;
        if (nIndex == 0 || nIndex >= m_loadArray.size() || !m_loadArray[nIndex].isClass)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        pClass = static_cast<CRuntimeClass*>(m_loadArray[nIndex].p);
        nSchema = m_loadArray[nIndex].nSchema;
    }
    if (pClassRefRequested && !pClass->IsDerivedFrom(pClassRefRequested))
        AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    m_nObjectSchema = nSchema;
    if (pSchema)
        *pSchema = nSchema;
    if (pObTag)
        *pObTag = 0;
    return pClass;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef)
{
    if (IsStoring())
        WriteClass(pClassRef);
    else
        ReadClass(pClassRef, &m_nObjectSchema);
}

void CArchive::WriteObject(const CObject* pOb)
{
    CheckStoring();
    if (!pOb)
    {
        *this << kNullTag;
        return;
    }
    auto found = m_storeMap.find(pOb);
    if (found != m_storeMap.end())
    {
        WriteIndex(found->second, false);
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    MapObject(pOb);
    const_cast<CObject*>(pOb)->Serialize(*this);
}

void CArchive::MapObject(const CObject* pOb)
{
    if (IsStoring())
    {
        if (!pOb || m_storeMap.count(pOb))
            return;
        if (m_nMapCount >= kMaxMapCount)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        m_storeMap[pOb] = m_nMapCount++;
    }
    else
    {
        if (m_loadArray.size() >= kMaxMapCount)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        m_loadArray.push_back({const_cast<CObject*>(pOb), false, 0});
    }
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    UINT nSchema = 0;
    DWORD obTag = 0;
    CRuntimeClass* pClass = ReadClass(pClassRefRequested, &nSchema, &obTag);
    if (!pClass)
    {
        if (obTag == 0)
            return nullptr;
        if (obTag >= m_loadArray.size() || m_loadArray[obTag].isClass || !m_loadArray[obTag].p)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        CObject* pOb = static_cast<CObject*>(m_loadArray[obTag].p);
        if (pClassRefRequested && !pOb->IsKindOf(pClassRefRequested))
            AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
        return pOb;
    }
    CObject* pOb = pClass->CreateObject();
    if (!pOb)
        AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    size_t nIndex = m_loadArray.size();
    try
    {
        MapObject(pOb);
        m_nObjectSchema = nSchema;
        pOb->Serialize(*this);
    }
    catch (...)
    {
        // The half-read object is not handed out; later references to it are bad indexes.
        if (nIndex < m_loadArray.size())
            m_loadArray[nIndex].p = nullptr;
        delete pOb;
        throw;
    }
    return pOb;
}

void CArchive::WriteStringLength(ULONGLONG nLength, bool bUnicode)
{
    if (bUnicode)
        *this << BYTE(0xFF) << kUnicodeMark;
    if (nLength < 0xFF)
        *this << BYTE(nLength);
    else if (nLength < 0xFFFE)
        *this << BYTE(0xFF) << WORD(nLength);
    else if (nLength < 0xFFFFFFFF)
        *this << BYTE(0xFF) << WORD(0xFFFF) << DWORD(nLength);
    else
        *this << BYTE(0xFF) << WORD(0xFFFF) << DWORD(0xFFFFFFFF) << ULONGLONG(nLength);
}

ULONGLONG CArchive::ReadStringLength(bool& bUnicode)
{
    bUnicode = false;
    BYTE bLength;
    *this >> bLength;
    if (bLength < 0xFF)
        return bLength;
    WORD wLength;
    *this >> wLength;
    if (wLength == kUnicodeMark)
    {
        bUnicode = true;
        *this >> bLength;
        if (bLength < 0xFF)
            return bLength;
        *this >> wLength;
    }
    if (wLength < 0xFFFF)
        return wLength;
    DWORD dwLength;
    *this >> dwLength;
    if (dwLength < 0xFFFFFFFF)
        return dwLength;
    ULONGLONG qwLength;
    *this >> qwLength;
    return qwLength;
}

namespace
{
// Reads nLength characters in chunks, so that a corrupt length cannot demand a huge block before
// the stream runs out.
template <typename XCHAR> CStringT<XCHAR> ReadChars(CArchive& ar, ULONGLONG nLength)
{
    if (nLength > kMaxStringLength)
        AfxThrowArchiveException(CArchiveException::genericException, ar.m_strFileName);
    CStringT<XCHAR> text;
    int nDone = 0;
    while (ULONGLONG(nDone) < nLength)
    {
        int nChunk = int(nLength - nDone < kStringChunk ? nLength - nDone : kStringChunk);
        XCHAR* p = text.GetBuffer(nDone + nChunk);
        ar.EnsureRead(p + nDone, UINT(nChunk * sizeof(XCHAR)));
        nDone += nChunk;
        text.ReleaseBuffer(nDone);
    }
    return text;
}
} // namespace

CArchive& CArchive::operator<<(const CStringW& str)
{
    WriteStringLength(ULONGLONG(str.GetLength()), true);
    Write(str.GetString(), UINT(str.GetLength() * sizeof(WCHAR)));
    return *this;
}

CArchive& CArchive::operator<<(const CStringA& str)
{
    WriteStringLength(ULONGLONG(str.GetLength()), false);
    Write(str.GetString(), UINT(str.GetLength()));
    return *this;
}

CArchive& CArchive::operator>>(CStringW& str)
{
    return ReadText(str);
}

CArchive& CArchive::operator>>(CStringA& str)
{
    return ReadText(str);
}

template <typename XCHAR> CArchive& CArchive::ReadText(CStringT<XCHAR>& str)
{
    bool bUnicode;
    ULONGLONG nLength = ReadStringLength(bUnicode);
    // Either width converts to the other through the ANSI code page.
    if (bUnicode)
        str = ReadChars<WCHAR>(*this, nLength);
    else
        str = ReadChars<char>(*this, nLength);
    return *this;
}

CArchive& CArchive::operator>>(bool& b)
{
    BYTE by;
    ReadValue(by);
    b = by != 0;
    return *this;
}

CArchive& CArchive::operator>>(wchar_t& ch)
{
    WORD w;
    ReadValue(w);
    ch = wchar_t(w);
    return *this;
}
