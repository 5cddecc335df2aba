// A buffered text file: reads and writes lines. In text mode (the default) the file's bytes are
// in the ANSI code page and lines end with CR LF on disk; with typeBinary the file holds UTF-16
// characters and line ends are kept as they are.
#pragma once

#include "platform/mfc/File.h"

#include <vector>

class CStdioFile : public CFile
{
    DECLARE_DYNAMIC(CStdioFile)
  public:
    CStdioFile();
    // Opens the file or throws CFileException.
    CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags);

    BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;

    // The next line without its line end; FALSE at the end of the file.
    virtual BOOL ReadString(CString& rString);
    // Up to nMax - 1 characters of the next line, its '\n' included; null at the end of the file.
    virtual LPTSTR ReadString(LPTSTR lpsz, UINT nMax);
    // Writes the text; in text mode each '\n' becomes CR LF.
    virtual void WriteString(LPCTSTR lpsz);

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override;
    void Close() override;
    void Abort() override;

  protected:
    // Reads one line of raw units (bytes in text mode, UTF-16 units in binary mode), up to and
    // including '\n' or nMaxUnits; FALSE when the file is at its end.
    BOOL ReadLineUnits(std::vector<BYTE>& line, size_t nMaxUnits);
    // Converts raw line units to text (text mode drops the CR of a CR LF).
    CString UnitsToText(const std::vector<BYTE>& line) const;
    BOOL FillBuffer();
    void DropBuffer();

    bool m_bText;
    std::vector<BYTE> m_buffer;
    size_t m_nBufferPos;
};
