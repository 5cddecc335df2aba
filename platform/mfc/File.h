// A binary file on a Win32 handle: open with the framework's mode flags, read, write, seek and
// report failures as CFileException. The base of the memory and text files.
#pragma once

#include "platform/mfc/FileException.h"
#include "platform/mfc/Object.h"
#include "platform/mfc/String.h"

struct CFileStatus
{
    FILETIME m_ctime;
    FILETIME m_mtime;
    FILETIME m_atime;
    ULONGLONG m_size;
    DWORD m_attribute;
    WCHAR m_szFullName[MAX_PATH];
};

class CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)
  public:
    enum OpenFlags
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
        osNoBuffer = 0x10000,
        osWriteThrough = 0x20000,
        osRandomAccess = 0x40000,
        osSequentialScan = 0x80000,
    };
    enum SeekPosition
    {
        begin = 0x0,
        current = 0x1,
        end = 0x2
    };
    static const HANDLE hFileNull;

    CFile();
    explicit CFile(HANDLE hFile);
    // Opens the file or throws CFileException.
    CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override;

    // FALSE on failure, with the cause in pError when given.
    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin()
    {
        Seek(0, begin);
    }
    ULONGLONG SeekToEnd()
    {
        return Seek(0, end);
    }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG dwNewLen);
    virtual void Flush();
    virtual void Close();
    // Closes without reporting errors.
    virtual void Abort();

    virtual CString GetFileName() const;
    virtual CString GetFileTitle() const;
    virtual CString GetFilePath() const
    {
        return m_strFileName;
    }
    virtual void SetFilePath(LPCTSTR lpszNewName)
    {
        m_strFileName = lpszNewName;
    }

    BOOL GetStatus(CFileStatus& rStatus) const;
    static BOOL AFXAPI GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus);
    static void AFXAPI Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName);
    static void AFXAPI Remove(LPCTSTR lpszFileName);

    operator HANDLE() const
    {
        return m_hFile;
    }

    HANDLE m_hFile;

  protected:
    BOOL m_bCloseOnDelete;
    CString m_strFileName;
};
