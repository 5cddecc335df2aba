// A buffered binary stream over a CFile for storing or loading values, texts and whole object
// graphs. Classes and objects share one index space from 1: a class is written by name the first
// time and referenced by index afterwards; an object is written once and then referenced.
#pragma once

#include "platform/mfc/ArchiveException.h"
#include "platform/mfc/File.h"
#include "platform/mfc/Object.h"
#include "platform/mfc/String.h"

#include <cstring>
#include <unordered_map>
#include <vector>

class CArchive
{
  public:
    enum Mode
    {
        store = 0,
        load = 1,
        bNoFlushOnDelete = 2,
        bNoByteSwap = 4
    };
    static const int kDefaultBufferSize = 4096;

    CArchive(CFile* pFile, UINT nMode, int nBufSize = kDefaultBufferSize, void* lpBuf = nullptr);
    // Closes (flushing a storing archive) unless bNoFlushOnDelete was given or it was aborted.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const
    {
        return (m_nMode & load) != 0;
    }
    BOOL IsStoring() const
    {
        return (m_nMode & load) == 0;
    }
    BOOL IsBufferEmpty() const
    {
        return m_lpBufCur == m_lpBufMax;
    }
    CFile* GetFile() const
    {
        return m_pFile;
    }

    // The schema of the object being loaded; valid once per object (then -1).
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema)
    {
        m_nObjectSchema = nSchema;
    }

    // Raw bytes. Read returns how many were available; EnsureRead throws endOfFile when short.
    UINT Read(void* lpBuf, UINT nMax);
    void EnsureRead(void* lpBuf, UINT nCount);
    void Write(const void* lpBuf, UINT nMax);

    // Writes the buffer out (storing) or gives unread bytes back to the file (loading).
    void Flush();
    void Close();
    // Drops the buffer and detaches from the file without writing; never throws.
    void Abort();

    // A count: 16 bits when below 0xFFFF, else 0xFFFF and 32 bits.
    void WriteCount(DWORD_PTR dwCount);
    DWORD_PTR ReadCount();

    void WriteClass(const CRuntimeClass* pClassRef);
    // Reads a class reference; an unknown class or one not derived from pClassRefRequested throws
    // badClass, a wrong schema of a non-versionable class badSchema. When pObTag is given, an
    // object reference yields null with its index there.
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                             DWORD* pObTag = nullptr);
    void SerializeClass(const CRuntimeClass* pClassRef);

    void WriteObject(const CObject* pOb);
    // Reads an object reference: null, an object read before, or a new object of a registered
    // class, created and serialised (deleted again when its Serialize throws).
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
    // Enters an object in the index space without writing or reading it.
    void MapObject(const CObject* pOb);

    CArchive& operator<<(BYTE by)
    {
        return WriteValue(by);
    }
    CArchive& operator<<(char ch)
    {
        return WriteValue(ch);
    }
    CArchive& operator<<(signed char ch)
    {
        return WriteValue(ch);
    }
    CArchive& operator<<(bool b)
    {
        return WriteValue(BYTE(b ? 1 : 0));
    }
    CArchive& operator<<(WORD w)
    {
        return WriteValue(w);
    }
    CArchive& operator<<(short w)
    {
        return WriteValue(w);
    }
    CArchive& operator<<(wchar_t ch)
    {
        return WriteValue(WORD(ch));
    }
    CArchive& operator<<(int i)
    {
        return WriteValue(i);
    }
    CArchive& operator<<(unsigned int u)
    {
        return WriteValue(u);
    }
    CArchive& operator<<(long l)
    {
        return WriteValue(LONGLONG(l));
    }
    CArchive& operator<<(unsigned long u)
    {
        return WriteValue(ULONGLONG(u));
    }
    CArchive& operator<<(long long l)
    {
        return WriteValue(LONGLONG(l));
    }
    CArchive& operator<<(unsigned long long u)
    {
        return WriteValue(ULONGLONG(u));
    }
    CArchive& operator<<(float f)
    {
        return WriteValue(f);
    }
    CArchive& operator<<(double d)
    {
        return WriteValue(d);
    }
    CArchive& operator<<(const CObject* pOb)
    {
        WriteObject(pOb);
        return *this;
    }
    CArchive& operator<<(const CStringW& str);
    CArchive& operator<<(const CStringA& str);
    CArchive& operator<<(const WCHAR* psz)
    {
        return *this << CStringW(psz);
    }
    CArchive& operator<<(const char* psz)
    {
        return *this << CStringA(psz);
    }

    CArchive& operator>>(BYTE& by)
    {
        return ReadValue(by);
    }
    CArchive& operator>>(char& ch)
    {
        return ReadValue(ch);
    }
    CArchive& operator>>(signed char& ch)
    {
        return ReadValue(ch);
    }
    CArchive& operator>>(bool& b);
    CArchive& operator>>(WORD& w)
    {
        return ReadValue(w);
    }
    CArchive& operator>>(short& w)
    {
        return ReadValue(w);
    }
    CArchive& operator>>(wchar_t& ch);
    CArchive& operator>>(int& i)
    {
        return ReadValue(i);
    }
    CArchive& operator>>(unsigned int& u)
    {
        return ReadValue(u);
    }
    CArchive& operator>>(long& l)
    {
        return ReadValue(l);
    }
    CArchive& operator>>(unsigned long& u)
    {
        return ReadValue(u);
    }
    CArchive& operator>>(long long& l)
    {
        return ReadValue(l);
    }
    CArchive& operator>>(unsigned long long& u)
    {
        return ReadValue(u);
    }
    CArchive& operator>>(float& f)
    {
        return ReadValue(f);
    }
    CArchive& operator>>(double& d)
    {
        return ReadValue(d);
    }
    CArchive& operator>>(CObject*& pOb)
    {
        pOb = ReadObject(nullptr);
        return *this;
    }
    CArchive& operator>>(const CObject*& pOb)
    {
        pOb = ReadObject(nullptr);
        return *this;
    }
    CArchive& operator>>(CStringW& str);
    CArchive& operator>>(CStringA& str);

    // The name of the archive's file, for error reports.
    CString m_strFileName;

  protected:
    struct LoadEntry
    {
        void* p;
        bool isClass;
        UINT nSchema;
    };

    template <typename T> CArchive& WriteValue(T value)
    {
        CheckStoring();
        if (m_lpBufMax - m_lpBufCur < static_cast<ptrdiff_t>(sizeof(T)))
            Flush();
        std::memcpy(m_lpBufCur, &value, sizeof(T));
        m_lpBufCur += sizeof(T);
        return *this;
    }
    template <typename T> CArchive& ReadValue(T& value)
    {
        CheckLoading();
        if (m_lpBufMax - m_lpBufCur < static_cast<ptrdiff_t>(sizeof(T)))
            FillBuffer(sizeof(T));
        if (m_lpBufMax - m_lpBufCur < static_cast<ptrdiff_t>(sizeof(T)))
            ThrowEndOfFile();
        std::memcpy(&value, m_lpBufCur, sizeof(T));
        m_lpBufCur += sizeof(T);
        return *this;
    }
    void CheckStoring();
    void CheckLoading();
    [[noreturn]] void ThrowEndOfFile();
    // Makes at least nBytesNeeded bytes available when the file still has them.
    void FillBuffer(UINT nBytesNeeded);
    void WriteStringLength(ULONGLONG nLength, bool bUnicode);
    ULONGLONG ReadStringLength(bool& bUnicode);
    template <typename XCHAR> CArchive& ReadText(CStringT<XCHAR>& str);
    // Writes an index reference: 16 bits below 0x7FFF, else 0x7FFF and 32 bits (flag in both).
    void WriteIndex(DWORD nIndex, bool bClass);

    UINT m_nMode;
    CFile* m_pFile;
    int m_nBufSize;
    BYTE* m_lpBufStart;
    BYTE* m_lpBufCur;
    BYTE* m_lpBufMax;
    bool m_bUserBuf;
    UINT m_nObjectSchema;
    DWORD m_nMapCount;
    std::unordered_map<const void*, DWORD> m_storeMap;
    std::vector<LoadEntry> m_loadArray;
};
