#include "platform/mfc/MemFile.h"

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(nullptr),
      m_bAutoDelete(TRUE)
{
}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) : CMemFile(0)
{
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile()
{
    Close();
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
{
    Close();
    m_lpBuffer = lpBuffer;
    m_nBufferSize = nBufferSize;
    m_nGrowBytes = nGrowBytes;
    // A growing file over a caller's buffer starts empty; a fixed one holds the buffer's bytes.
    m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
    m_nPosition = 0;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach()
{
    BYTE* lpBuffer = m_lpBuffer;
    m_lpBuffer = nullptr;
    m_nFileSize = m_nBufferSize = m_nPosition = 0;
    m_bAutoDelete = TRUE;
    return lpBuffer;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    if (m_nPosition >= m_nFileSize || nCount == 0)
        return 0;
    SIZE_T nRead = m_nFileSize - m_nPosition;
    if (nRead > nCount)
        nRead = nCount;
    std::memcpy(lpBuf, m_lpBuffer + m_nPosition, nRead);
    m_nPosition += nRead;
    return static_cast<UINT>(nRead);
}

void CMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    if (m_nPosition + nCount > m_nBufferSize)
        GrowFile(m_nPosition + nCount);
    std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition += nCount;
    if (m_nPosition > m_nFileSize)
        m_nFileSize = m_nPosition;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom)
{
    if (nFrom > end)
        AfxThrowInvalidArgException();
    LONGLONG base = nFrom == begin ? 0 : nFrom == current ? LONGLONG(m_nPosition) : LONGLONG(m_nFileSize);
    LONGLONG position = base + lOff;
    if (position < 0)
        AfxThrowFileException(CFileException::badSeek, ERROR_NEGATIVE_SEEK, m_strFileName);
    m_nPosition = SIZE_T(position);
    return m_nPosition;
}

void CMemFile::SetLength(ULONGLONG dwNewLen)
{
    if (dwNewLen > m_nBufferSize)
        GrowFile(SIZE_T(dwNewLen));
    if (dwNewLen < m_nPosition)
        m_nPosition = SIZE_T(dwNewLen);
    m_nFileSize = SIZE_T(dwNewLen);
}

void CMemFile::GrowFile(SIZE_T dwNewLen)
{
    if (dwNewLen <= m_nBufferSize)
        return;
    if (m_nGrowBytes == 0)
        AfxThrowMemoryException();
    SIZE_T nNewSize = (dwNewLen + m_nGrowBytes - 1) / m_nGrowBytes * m_nGrowBytes;
    BYTE* p;
    if (m_bAutoDelete)
        p = static_cast<BYTE*>(std::realloc(m_lpBuffer, nNewSize));
    else if ((p = static_cast<BYTE*>(std::malloc(nNewSize))) != nullptr)
    {
        // A caller's buffer cannot be resized: continue in a copy this file owns.
        std::memcpy(p, m_lpBuffer, m_nBufferSize);
        m_bAutoDelete = TRUE;
    }
    if (!p)
        AfxThrowMemoryException();
    // Bytes between the old end and a position written beyond it read as zeros.
    std::memset(p + m_nBufferSize, 0, nNewSize - m_nBufferSize);
    m_lpBuffer = p;
    m_nBufferSize = nNewSize;
}

void CMemFile::Close()
{
    if (m_bAutoDelete)
        std::free(m_lpBuffer);
    m_lpBuffer = nullptr;
    m_nFileSize = m_nBufferSize = m_nPosition = 0;
}

void CMemFile::Abort()
{
    Close();
}
