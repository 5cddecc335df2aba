// The framework's hash maps: CMap with POSITION-based iteration, its ready-made forms (text to
// text, text to pointer, pointer to pointer, ...) and CTypedPtrMap. The table has 17 buckets
// unless InitHashTable sets another size; entries come from blocks of nBlockSize (10 by default).
#pragma once

#include "platform/mfc/Collections.h"
#include "platform/mfc/Exception.h"
#include "platform/mfc/Object.h"
#include "platform/mfc/Plex.h"

#include <cstdlib>
#include <cstring>

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> class CMap : public CObject
{
  public:
    struct CPair
    {
        const KEY key;
        VALUE value;

      protected:
        explicit CPair(ARG_KEY keyval) : key(keyval), value()
        {
        }
    };

  protected:
    struct CAssoc : CPair
    {
        explicit CAssoc(ARG_KEY keyval) : CPair(keyval)
        {
        }
        CAssoc* pNext = nullptr;
        UINT nHashValue = 0;
    };
    // Free entries are raw storage linked through their first bytes.
    struct CFreeAssoc
    {
        CFreeAssoc* pNext;
    };
    union CAssocSlot {
        CFreeAssoc free;
        alignas(CAssoc) unsigned char storage[sizeof(CAssoc)];
    };

  public:
    static const UINT kDefaultHashTableSize = 17;

    explicit CMap(INT_PTR nBlockSize = 10) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10)
    {
    }
    CMap(const CMap& src) : CObject(), m_nHashTableSize(src.m_nHashTableSize), m_nBlockSize(src.m_nBlockSize)
    {
        CopyFrom(src);
    }
    CMap& operator=(const CMap& src)
    {
        if (this != &src)
        {
            RemoveAll();
            m_nHashTableSize = src.m_nHashTableSize;
            CopyFrom(src);
        }
        return *this;
    }
    ~CMap() override
    {
        RemoveAll();
    }

    INT_PTR GetCount() const
    {
        return m_nCount;
    }
    INT_PTR GetSize() const
    {
        return m_nCount;
    }
    BOOL IsEmpty() const
    {
        return m_nCount == 0;
    }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const
    {
        UINT nHash;
        CAssoc* pAssoc = GetAssocAt(key, nHash);
        if (!pAssoc)
            return FALSE;
        rValue = pAssoc->value;
        return TRUE;
    }
    const CPair* PLookup(ARG_KEY key) const
    {
        UINT nHash;
        return GetAssocAt(key, nHash);
    }
    CPair* PLookup(ARG_KEY key)
    {
        UINT nHash;
        return GetAssocAt(key, nHash);
    }

    // The value of key, added (value-initialised) when absent.
    // The count, then each key followed by its value.
    void Serialize(CArchive& ar) override
    {
        CObject::Serialize(ar);
        if (ar.IsStoring())
        {
            ar.WriteCount((DWORD_PTR)GetCount());
            for (POSITION pos = GetStartPosition(); pos;)
            {
                KEY key;
                VALUE value;
                GetNextAssoc(pos, key, value);
                SerializeElements<KEY>(ar, &key, 1);
                SerializeElements<VALUE>(ar, &value, 1);
            }
            return;
        }
        RemoveAll();
        for (DWORD_PTR left = ar.ReadCount(); left > 0; --left)
        {
            KEY key[1] = {};
            VALUE value[1] = {};
            SerializeElements<KEY>(ar, key, 1);
            SerializeElements<VALUE>(ar, value, 1);
            SetAt(key[0], value[0]);
        }
    }

    VALUE& operator[](ARG_KEY key)
    {
        UINT nHash;
        CAssoc* pAssoc = GetAssocAt(key, nHash);
        if (pAssoc)
            return pAssoc->value;
        if (!m_pHashTable)
            InitHashTable(m_nHashTableSize, TRUE);
        pAssoc = NewAssoc(key);
        pAssoc->nHashValue = nHash;
        UINT nBucket = nHash % m_nHashTableSize;
        pAssoc->pNext = m_pHashTable[nBucket];
        m_pHashTable[nBucket] = pAssoc;
        return pAssoc->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue)
    {
        (*this)[key] = newValue;
    }

    BOOL RemoveKey(ARG_KEY key)
    {
        if (!m_pHashTable)
            return FALSE;
        UINT nHash = HashKey<ARG_KEY>(key);
        CAssoc** ppPrev = &m_pHashTable[nHash % m_nHashTableSize];
        for (CAssoc* pAssoc = *ppPrev; pAssoc; ppPrev = &pAssoc->pNext, pAssoc = pAssoc->pNext)
        {
            if (pAssoc->nHashValue == nHash &&
                CompareElements<KEY, typename std::remove_reference<ARG_KEY>::type>(&pAssoc->key, &key))
            {
                *ppPrev = pAssoc->pNext;
                FreeAssoc(pAssoc);
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll()
    {
        if (m_pHashTable)
        {
            for (UINT i = 0; i < m_nHashTableSize; ++i)
                for (CAssoc* p = m_pHashTable[i]; p; p = p->pNext)
                    p->~CAssoc();
            std::free(m_pHashTable);
            m_pHashTable = nullptr;
        }
        m_nCount = 0;
        m_pFreeList = nullptr;
        if (m_pBlocks)
            m_pBlocks->FreeDataChain();
        m_pBlocks = nullptr;
    }

    POSITION GetStartPosition() const
    {
        return m_nCount == 0 ? nullptr : BEFORE_START_POSITION;
    }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
    {
        CAssoc* pAssoc = reinterpret_cast<CAssoc*>(rNextPosition);
        if (!pAssoc || !m_pHashTable)
            AfxThrowInvalidArgException();
        if (rNextPosition == BEFORE_START_POSITION)
            pAssoc = FirstInBucket(0);
        rNextPosition = reinterpret_cast<POSITION>(NextAssoc(pAssoc));
        rKey = pAssoc->key;
        rValue = pAssoc->value;
    }
    const CPair* PGetFirstAssoc() const
    {
        return m_pHashTable && m_nCount ? FirstInBucket(0) : nullptr;
    }
    CPair* PGetFirstAssoc()
    {
        return m_pHashTable && m_nCount ? FirstInBucket(0) : nullptr;
    }
    const CPair* PGetNextAssoc(const CPair* pAssocRet) const
    {
        return NextAssoc(static_cast<CAssoc*>(const_cast<CPair*>(pAssocRet)));
    }
    CPair* PGetNextAssoc(const CPair* pAssocRet)
    {
        return NextAssoc(static_cast<CAssoc*>(const_cast<CPair*>(pAssocRet)));
    }

    UINT GetHashTableSize() const
    {
        return m_nHashTableSize;
    }
    // Sets the number of buckets (entries already present are redistributed).
    void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE)
    {
        if (nHashSize == 0)
            nHashSize = kDefaultHashTableSize;
        CAssoc** pOld = m_pHashTable;
        UINT nOldSize = m_nHashTableSize;
        m_pHashTable = nullptr;
        m_nHashTableSize = nHashSize;
        if (bAllocNow || pOld)
        {
            m_pHashTable = static_cast<CAssoc**>(std::calloc(nHashSize, sizeof(CAssoc*)));
            if (!m_pHashTable)
            {
                m_pHashTable = pOld;
                m_nHashTableSize = nOldSize;
                AfxThrowMemoryException();
            }
        }
        if (pOld)
        {
            for (UINT i = 0; i < nOldSize; ++i)
            {
                for (CAssoc* p = pOld[i]; p;)
                {
                    CAssoc* pNext = p->pNext;
                    UINT nBucket = p->nHashValue % m_nHashTableSize;
                    p->pNext = m_pHashTable[nBucket];
                    m_pHashTable[nBucket] = p;
                    p = pNext;
                }
            }
            std::free(pOld);
        }
    }

  protected:
    CAssoc* FirstInBucket(UINT nBucket) const
    {
        for (; nBucket < m_nHashTableSize; ++nBucket)
            if (m_pHashTable[nBucket])
                return m_pHashTable[nBucket];
        return nullptr;
    }
    CAssoc* NextAssoc(CAssoc* pAssoc) const
    {
        if (pAssoc->pNext)
            return pAssoc->pNext;
        return FirstInBucket(pAssoc->nHashValue % m_nHashTableSize + 1);
    }
    CAssoc* GetAssocAt(ARG_KEY key, UINT& nHash) const
    {
        nHash = HashKey<ARG_KEY>(key);
        if (!m_pHashTable)
            return nullptr;
        for (CAssoc* p = m_pHashTable[nHash % m_nHashTableSize]; p; p = p->pNext)
            if (p->nHashValue == nHash &&
                CompareElements<KEY, typename std::remove_reference<ARG_KEY>::type>(&p->key, &key))
                return p;
        return nullptr;
    }
    CAssoc* NewAssoc(ARG_KEY key)
    {
        if (!m_pFreeList)
        {
            CPlex* pBlock = CPlex::Create(m_pBlocks, m_nBlockSize, sizeof(CAssocSlot));
            CAssocSlot* pSlot = static_cast<CAssocSlot*>(pBlock->data()) + m_nBlockSize - 1;
            for (INT_PTR i = m_nBlockSize - 1; i >= 0; --i, --pSlot)
            {
                pSlot->free.pNext = m_pFreeList;
                m_pFreeList = &pSlot->free;
            }
        }
        CFreeAssoc* pFree = m_pFreeList;
        m_pFreeList = pFree->pNext;
        CAssoc* pAssoc;
        try
        {
            pAssoc = new (static_cast<void*>(pFree)) CAssoc(key);
        }
        catch (...)
        {
            pFree->pNext = m_pFreeList;
            m_pFreeList = pFree;
            throw;
        }
        ++m_nCount;
        return pAssoc;
    }
    void FreeAssoc(CAssoc* pAssoc)
    {
        pAssoc->~CAssoc();
        CFreeAssoc* pFree = reinterpret_cast<CFreeAssoc*>(pAssoc);
        pFree->pNext = m_pFreeList;
        m_pFreeList = pFree;
        if (--m_nCount == 0)
            RemoveAll();
    }
    void CopyFrom(const CMap& src)
    {
        for (const CPair* p = src.PGetFirstAssoc(); p; p = src.PGetNextAssoc(p))
            SetAt(p->key, p->value);
    }

    CAssoc** m_pHashTable = nullptr;
    UINT m_nHashTableSize = kDefaultHashTableSize;
    INT_PTR m_nCount = 0;
    CFreeAssoc* m_pFreeList = nullptr;
    CPlex* m_pBlocks = nullptr;
    INT_PTR m_nBlockSize;
};

class CMapStringToString : public CMap<CString, LPCTSTR, CString, LPCTSTR>
{
  public:
    explicit CMapStringToString(INT_PTR nBlockSize = 10) : CMap(nBlockSize)
    {
    }
};
class CMapStringToPtr : public CMap<CString, LPCTSTR, void*, void*>
{
  public:
    explicit CMapStringToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize)
    {
    }
};
class CMapStringToOb : public CMap<CString, LPCTSTR, CObject*, CObject*>
{
  public:
    explicit CMapStringToOb(INT_PTR nBlockSize = 10) : CMap(nBlockSize)
    {
    }
};
class CMapPtrToPtr : public CMap<void*, void*, void*, void*>
{
  public:
    explicit CMapPtrToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize)
    {
    }
};
class CMapWordToPtr : public CMap<WORD, WORD, void*, void*>
{
  public:
    explicit CMapWordToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize)
    {
    }
};
class CMapPtrToWord : public CMap<void*, void*, WORD, WORD>
{
  public:
    explicit CMapPtrToWord(INT_PTR nBlockSize = 10) : CMap(nBlockSize)
    {
    }
};

// A map with typed keys and values over one of the pointer maps above.
template <class BASE_CLASS, class KEY, class VALUE> class CTypedPtrMap : public BASE_CLASS
{
  public:
    explicit CTypedPtrMap(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize)
    {
    }

    BOOL Lookup(KEY key, VALUE& rValue) const
    {
        typename std::remove_reference<decltype(this->PLookup(key)->value)>::type value;
        if (!BASE_CLASS::Lookup(key, value))
            return FALSE;
        rValue = static_cast<VALUE>(value);
        return TRUE;
    }
    VALUE& operator[](KEY key)
    {
        return reinterpret_cast<VALUE&>(BASE_CLASS::operator[](key));
    }
    void SetAt(KEY key, VALUE newValue)
    {
        BASE_CLASS::SetAt(key, newValue);
    }
    BOOL RemoveKey(KEY key)
    {
        return BASE_CLASS::RemoveKey(key);
    }
    void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const
    {
        typename std::remove_cv<typename std::remove_reference<decltype(this->PGetFirstAssoc()->key)>::type>::type key;
        typename std::remove_reference<decltype(this->PGetFirstAssoc()->value)>::type value;
        BASE_CLASS::GetNextAssoc(rPosition, key, value);
        rKey = (KEY)key;
        rValue = static_cast<VALUE>(value);
    }
};
