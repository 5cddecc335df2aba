// The MD5 digest (RFC 1321) of a file as 32 lower-case hex digits; the update manager checks a
// downloaded update package with it. UI thread: pending window messages are dispatched now and
// then while a large file is read, so callers must expect re-entrant message handling.
#pragma once

#include "platform/mfc/Mfc.h"

#include <memory>

class FileMD5
{
  public:
    FileMD5();
    ~FileMD5();
    FileMD5(const FileMD5&) = delete;
    FileMD5& operator=(const FileMD5&) = delete;

    // Computes the digest of the file; afterwards IsOk tells success, GetDigest holds the result
    // and GetMessage the reason of a failure.
    void Compute(const CString& path);
    // Allocates the block buffer and resets the state for a new file.
    void Init();

    bool IsOk() const
    {
        return m_ok != 0;
    }
    const CString& GetDigest() const
    {
        return m_digest;
    }
    const CString& GetMessage() const
    {
        return m_message;
    }
    UINT64 GetByteCount() const
    {
        return m_byteCount;
    }

    // Longest accepted path and longest message, in UTF-16 units.
    static const int kPathCapacity = 262;
    static const int kMessageCapacity = 49;

  private:
    // Records the first failure only; later ones keep it.
    void Fail(const CString& message);
    void Transform(const BYTE* block);
    void ReadBlock(CFile& file, BYTE* chunk, UINT& chunkFill, UINT& chunkPos, BYTE* block, UINT& got);

    std::unique_ptr<BYTE[]> m_block;
    UINT32 m_state[4];
    int m_ok;
    CString m_path;
    UINT64 m_byteCount;
    CString m_message;
    CString m_digest;
};

// Dispatches the thread's pending window messages; a WM_QUIT met on the way is posted again for
// the thread's own message loop and stops the dispatching.
void PumpPendingMessages();
