// The framework's growable arrays: CArray and its ready-made forms (bytes, words, texts,
// pointers, objects), with CTypedPtrArray for arrays of typed pointers.
#pragma once

#include "platform/mfc/Collections.h"
#include "platform/mfc/Exception.h"
#include "platform/mfc/Object.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

template <class TYPE, class ARG_TYPE = const TYPE&> class CArray : public CObject
{
  public:
    CArray() = default;
    CArray(const CArray& src) : CObject()
    {
        Copy(src);
    }
    CArray(CArray&& src) noexcept : CObject()
    {
        Swap(src);
    }
    CArray& operator=(const CArray& src)
    {
        if (this != &src)
            Copy(src);
        return *this;
    }
    CArray& operator=(CArray&& src) noexcept
    {
        if (this != &src)
        {
            RemoveAll();
            Swap(src);
        }
        return *this;
    }
    ~CArray() override
    {
        RemoveAll();
    }

    // The count, then the elements. A count larger than the data runs into the end of the
    // archive (an archive exception) before it can claim the memory it names.
    void Serialize(CArchive& ar) override
    {
        CObject::Serialize(ar);
        if (ar.IsStoring())
        {
            ar.WriteCount((DWORD_PTR)m_nSize);
            SerializeElements<TYPE>(ar, m_pData, m_nSize);
            return;
        }
        RemoveAll();
        const INT_PTR kBlock = 4096;
        for (INT_PTR left = (INT_PTR)ar.ReadCount(); left > 0;)
        {
            INT_PTR part = left < kBlock ? left : kBlock;
            INT_PTR done = m_nSize;
            SetSize(done + part);
            SerializeElements<TYPE>(ar, m_pData + done, part);
            left -= part;
        }
    }

    INT_PTR GetSize() const
    {
        return m_nSize;
    }
    INT_PTR GetCount() const
    {
        return m_nSize;
    }
    BOOL IsEmpty() const
    {
        return m_nSize == 0;
    }
    INT_PTR GetUpperBound() const
    {
        return m_nSize - 1;
    }

    // Resizes to nNewSize elements (new ones value-initialised); nGrowBy >= 0 sets how many
    // elements each reallocation adds (0 picks a step from the current size).
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        if (nNewSize < 0)
            AfxThrowInvalidArgException();
        if (nGrowBy >= 0)
            m_nGrowBy = nGrowBy;
        if (nNewSize == 0)
        {
            RemoveAll();
            return;
        }
        if (nNewSize > m_nMaxSize)
        {
            INT_PTR nStep = m_nGrowBy;
            if (nStep == 0)
                nStep = (std::min<INT_PTR>)(1024, (std::max<INT_PTR>)(4, m_nSize / 8));
            Reallocate(m_pData ? (std::max)(nNewSize, m_nMaxSize + nStep) : nNewSize);
        }
        for (INT_PTR i = m_nSize; i < nNewSize; ++i)
            new (&m_pData[i]) TYPE();
        for (INT_PTR i = nNewSize; i < m_nSize; ++i)
            m_pData[i].~TYPE();
        m_nSize = nNewSize;
    }
    void FreeExtra()
    {
        if (m_nSize != m_nMaxSize)
        {
            if (m_nSize == 0)
                RemoveAll();
            else
                Reallocate(m_nSize);
        }
    }
    void RemoveAll()
    {
        for (INT_PTR i = 0; i < m_nSize; ++i)
            m_pData[i].~TYPE();
        std::free(m_pData);
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
    }

    const TYPE& GetAt(INT_PTR nIndex) const
    {
        CheckIndex(nIndex);
        return m_pData[nIndex];
    }
    TYPE& GetAt(INT_PTR nIndex)
    {
        CheckIndex(nIndex);
        return m_pData[nIndex];
    }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement)
    {
        CheckIndex(nIndex);
        m_pData[nIndex] = newElement;
    }
    TYPE& ElementAt(INT_PTR nIndex)
    {
        return GetAt(nIndex);
    }
    const TYPE& ElementAt(INT_PTR nIndex) const
    {
        return GetAt(nIndex);
    }
    const TYPE* GetData() const
    {
        return m_pData;
    }
    TYPE* GetData()
    {
        return m_pData;
    }
    const TYPE& operator[](INT_PTR nIndex) const
    {
        return GetAt(nIndex);
    }
    TYPE& operator[](INT_PTR nIndex)
    {
        return GetAt(nIndex);
    }

    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (nIndex < 0)
            AfxThrowInvalidArgException();
        if (nIndex >= m_nSize)
        {
            TYPE copy(newElement); // the element may live in this array
            SetSize(nIndex + 1);
            m_pData[nIndex] = std::move(copy);
        }
        else
            m_pData[nIndex] = newElement;
    }
    INT_PTR Add(ARG_TYPE newElement)
    {
        INT_PTR nIndex = m_nSize;
        SetAtGrow(nIndex, newElement);
        return nIndex;
    }
    INT_PTR Append(const CArray& src)
    {
        INT_PTR nOldSize = m_nSize;
        if (this == &src)
        {
            CArray copy(src);
            return Append(copy);
        }
        SetSize(m_nSize + src.m_nSize);
        for (INT_PTR i = 0; i < src.m_nSize; ++i)
            m_pData[nOldSize + i] = src.m_pData[i];
        return nOldSize;
    }
    void Copy(const CArray& src)
    {
        if (this == &src)
            return;
        SetSize(src.m_nSize);
        for (INT_PTR i = 0; i < src.m_nSize; ++i)
            m_pData[i] = src.m_pData[i];
    }

    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount <= 0)
        {
            if (nIndex < 0 || nCount < 0)
                AfxThrowInvalidArgException();
            return;
        }
        TYPE copy(newElement); // the element may live in this array
        INT_PTR nOldSize = m_nSize;
        if (nIndex >= nOldSize)
            SetSize(nIndex + nCount);
        else
        {
            SetSize(nOldSize + nCount);
            for (INT_PTR i = nOldSize - 1; i >= nIndex; --i)
                m_pData[i + nCount] = std::move(m_pData[i]);
        }
        for (INT_PTR i = 0; i < nCount; ++i)
            m_pData[nIndex + i] = copy;
    }
    void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray)
    {
        if (!pNewArray || nStartIndex < 0)
            AfxThrowInvalidArgException();
        if (pNewArray->m_nSize == 0)
            return;
        CArray copy(*pNewArray);
        InsertAt(nStartIndex, copy.m_pData[0], copy.m_nSize);
        for (INT_PTR i = 1; i < copy.m_nSize; ++i)
            m_pData[nStartIndex + i] = copy.m_pData[i];
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount < 0 || nIndex + nCount > m_nSize)
            AfxThrowInvalidArgException();
        for (INT_PTR i = nIndex; i + nCount < m_nSize; ++i)
            m_pData[i] = std::move(m_pData[i + nCount]);
        for (INT_PTR i = m_nSize - nCount; i < m_nSize; ++i)
            m_pData[i].~TYPE();
        m_nSize -= nCount;
    }

  protected:
    void CheckIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nSize)
            AfxThrowInvalidArgException();
    }
    void Swap(CArray& other) noexcept
    {
        std::swap(m_pData, other.m_pData);
        std::swap(m_nSize, other.m_nSize);
        std::swap(m_nMaxSize, other.m_nMaxSize);
        std::swap(m_nGrowBy, other.m_nGrowBy);
    }
    void Reallocate(INT_PTR nNewMax)
    {
        if (nNewMax > INT_PTR(0x7FFFFFFFFFFF) / INT_PTR(sizeof(TYPE)))
            AfxThrowMemoryException();
        TYPE* pNew = static_cast<TYPE*>(std::malloc(nNewMax * sizeof(TYPE)));
        if (!pNew)
            AfxThrowMemoryException();
        for (INT_PTR i = 0; i < m_nSize; ++i)
        {
            new (&pNew[i]) TYPE(std::move(m_pData[i]));
            m_pData[i].~TYPE();
        }
        std::free(m_pData);
        m_pData = pNew;
        m_nMaxSize = nNewMax;
    }

    TYPE* m_pData = nullptr;
    INT_PTR m_nSize = 0;
    INT_PTR m_nMaxSize = 0;
    INT_PTR m_nGrowBy = 0;
};

class CByteArray : public CArray<BYTE, BYTE>
{
};
class CWordArray : public CArray<WORD, WORD>
{
};
class CDWordArray : public CArray<DWORD, DWORD>
{
};
class CUIntArray : public CArray<UINT, UINT>
{
};
class CStringArray : public CArray<CString, const CString&>
{
};
class CPtrArray : public CArray<void*, void*>
{
};
class CObArray : public CArray<CObject*, CObject*>
{
};

// An array of pointers of one type over CPtrArray or CObArray.
template <class BASE_CLASS, class TYPE> class CTypedPtrArray : public BASE_CLASS
{
  public:
    TYPE GetAt(INT_PTR nIndex) const
    {
        return static_cast<TYPE>(BASE_CLASS::GetAt(nIndex));
    }
    TYPE& ElementAt(INT_PTR nIndex)
    {
        return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(nIndex));
    }
    void SetAt(INT_PTR nIndex, TYPE ptr)
    {
        BASE_CLASS::SetAt(nIndex, ptr);
    }
    void SetAtGrow(INT_PTR nIndex, TYPE newElement)
    {
        BASE_CLASS::SetAtGrow(nIndex, newElement);
    }
    INT_PTR Add(TYPE newElement)
    {
        return BASE_CLASS::Add(newElement);
    }
    INT_PTR Append(const CTypedPtrArray& src)
    {
        return BASE_CLASS::Append(src);
    }
    void Copy(const CTypedPtrArray& src)
    {
        BASE_CLASS::Copy(src);
    }
    void InsertAt(INT_PTR nIndex, TYPE newElement, INT_PTR nCount = 1)
    {
        BASE_CLASS::InsertAt(nIndex, newElement, nCount);
    }
    void InsertAt(INT_PTR nStartIndex, CTypedPtrArray* pNewArray)
    {
        BASE_CLASS::InsertAt(nStartIndex, pNewArray);
    }
    TYPE operator[](INT_PTR nIndex) const
    {
        return GetAt(nIndex);
    }
    TYPE& operator[](INT_PTR nIndex)
    {
        return ElementAt(nIndex);
    }
};
