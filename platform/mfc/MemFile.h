// A file held in memory: grows in steps of nGrowBytes (1024 by default) as it is written, or
// works over a caller's buffer; Detach hands the bytes (C heap) to the caller.
#pragma once

#include "platform/mfc/File.h"

class CMemFile : public CFile
{
    DECLARE_DYNAMIC(CMemFile)
  public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    // Works over lpBuffer; nGrowBytes 0 makes it fixed (writing past its end throws).
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // Returns the bytes (to be freed with free) and leaves the file empty and closed.
    BYTE* Detach();

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override
    {
        return m_nPosition;
    }
    ULONGLONG GetLength() const override
    {
        return m_nFileSize;
    }
    void SetLength(ULONGLONG dwNewLen) override;
    void Flush() override
    {
    }
    void Close() override;
    void Abort() override;

  protected:
    void GrowFile(SIZE_T dwNewLen);

    UINT m_nGrowBytes;
    SIZE_T m_nPosition;
    SIZE_T m_nBufferSize;
    SIZE_T m_nFileSize;
    BYTE* m_lpBuffer;
    BOOL m_bAutoDelete;
};
