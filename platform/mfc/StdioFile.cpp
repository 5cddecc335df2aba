#include "platform/mfc/StdioFile.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

namespace
{
const size_t kReadAhead = 4096;
}

CStdioFile::CStdioFile() : m_bText(true), m_nBufferPos(0)
{
}

CStdioFile::CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags) : CStdioFile()
{
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

BOOL CStdioFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    DropBuffer();
    m_bText = !(nOpenFlags & typeBinary);
    BOOL ok = CFile::Open(lpszFileName, nOpenFlags & ~(typeText | typeBinary), pError);
    // Appending text files start at their end, as the C library does for "a" modes.
    if (ok && (nOpenFlags & modeCreate) && (nOpenFlags & modeNoTruncate) && (nOpenFlags & (modeWrite | modeReadWrite)))
        CFile::Seek(0, end);
    return ok;
}

void CStdioFile::DropBuffer()
{
    m_buffer.clear();
    m_nBufferPos = 0;
}

BOOL CStdioFile::FillBuffer()
{
    if (m_nBufferPos < m_buffer.size())
        return TRUE;
    m_buffer.resize(kReadAhead);
    UINT nRead = CFile::Read(m_buffer.data(), UINT(kReadAhead));
    m_buffer.resize(nRead);
    m_nBufferPos = 0;
    return nRead > 0;
}

BOOL CStdioFile::ReadLineUnits(std::vector<BYTE>& line, size_t nMaxUnits)
{
    const size_t unit = m_bText ? 1 : sizeof(WCHAR);
    line.clear();
    while (line.size() / unit < nMaxUnits)
    {
        if (!FillBuffer())
            break;
        line.push_back(m_buffer[m_nBufferPos++]);
        if (line.size() % unit)
            continue;
        size_t n = line.size();
        bool newline = unit == 1 ? line[n - 1] == '\n' : (line[n - 2] == '\n' && line[n - 1] == 0);
        if (newline)
            break;
    }
    // A trailing odd byte of a UTF-16 file is not a character.
    line.resize(line.size() / unit * unit);
    return !line.empty();
}

CString CStdioFile::UnitsToText(const std::vector<BYTE>& line) const
{
    if (!m_bText)
        return CString(reinterpret_cast<const WCHAR*>(line.data()), int(line.size() / sizeof(WCHAR)));
    size_t n = line.size();
    CStringA bytes(reinterpret_cast<const char*>(line.data()), int(n));
    if (n >= 2 && line[n - 1] == '\n' && line[n - 2] == '\r')
        bytes.Delete(int(n - 2));
    return CString(bytes);
}

BOOL CStdioFile::ReadString(CString& rString)
{
    std::vector<BYTE> line;
    rString.Empty();
    if (!ReadLineUnits(line, size_t(-1)))
        return FALSE;
    rString = UnitsToText(line);
    if (!rString.IsEmpty() && rString[rString.GetLength() - 1] == '\n')
        rString.Delete(rString.GetLength() - 1);
    return TRUE;
}

LPTSTR CStdioFile::ReadString(LPTSTR lpsz, UINT nMax)
{
    if (!lpsz || nMax == 0)
        AfxThrowInvalidArgException();
    std::vector<BYTE> line;
    if (!ReadLineUnits(line, nMax - 1))
        return nullptr;
    CString text = UnitsToText(line);
    std::memcpy(lpsz, text.GetString(), text.GetLength() * sizeof(WCHAR));
    lpsz[text.GetLength()] = 0;
    return lpsz;
}

void CStdioFile::WriteString(LPCTSTR lpsz)
{
    if (!lpsz)
        AfxThrowInvalidArgException();
    if (!m_bText)
    {
        Write(lpsz, UINT(AfxStringLength(lpsz) * sizeof(WCHAR)));
        return;
    }
    CString text(lpsz);
    text.Replace(L"\n", L"\r\n");
    CStringA bytes(text);
    Write(bytes.GetString(), UINT(bytes.GetLength()));
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    BYTE* out = static_cast<BYTE*>(lpBuf);
    UINT nDone = 0;
    while (nDone < nCount && m_nBufferPos < m_buffer.size())
        out[nDone++] = m_buffer[m_nBufferPos++];
    if (nDone < nCount)
        nDone += CFile::Read(out + nDone, nCount - nDone);
    return nDone;
}

void CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    if (m_nBufferPos < m_buffer.size())
        Seek(0, current);
    CFile::Write(lpBuf, nCount);
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom)
{
    if (nFrom == current)
        lOff -= LONGLONG(m_buffer.size() - m_nBufferPos);
    DropBuffer();
    return CFile::Seek(lOff, nFrom);
}

ULONGLONG CStdioFile::GetPosition() const
{
    return CFile::GetPosition() - (m_buffer.size() - m_nBufferPos);
}

void CStdioFile::Close()
{
    DropBuffer();
    CFile::Close();
}

void CStdioFile::Abort()
{
    DropBuffer();
    CFile::Abort();
}
