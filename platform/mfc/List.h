// The framework's doubly linked lists: CList with POSITION-based iteration, its ready-made forms
// (pointers, objects, texts) and CTypedPtrList for lists of typed pointers. Nodes come from
// blocks of nBlockSize (10 by default).
#pragma once

#include "platform/mfc/Collections.h"
#include "platform/mfc/Exception.h"
#include "platform/mfc/Object.h"
#include "platform/mfc/Plex.h"

template <class TYPE, class ARG_TYPE = const TYPE&> class CList : public CObject
{
  protected:
    struct CNode
    {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

  public:
    explicit CList(INT_PTR nBlockSize = 10) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10)
    {
    }
    CList(const CList& src) : CObject(), m_nBlockSize(src.m_nBlockSize)
    {
        AddTail(&src);
    }
    CList& operator=(const CList& src)
    {
        if (this != &src)
        {
            RemoveAll();
            AddTail(&src);
        }
        return *this;
    }
    ~CList() override
    {
        RemoveAll();
    }

    // The count, then the elements in order.
    void Serialize(CArchive& ar) override
    {
        CObject::Serialize(ar);
        if (ar.IsStoring())
        {
            ar.WriteCount((DWORD_PTR)GetCount());
            for (POSITION pos = GetHeadPosition(); pos;)
                SerializeElements<TYPE>(ar, &GetNext(pos), 1);
            return;
        }
        RemoveAll();
        for (DWORD_PTR left = ar.ReadCount(); left > 0; --left)
        {
            TYPE element[1] = {};
            SerializeElements<TYPE>(ar, element, 1);
            AddTail(element[0]);
        }
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

    TYPE& GetHead()
    {
        return Head()->data;
    }
    const TYPE& GetHead() const
    {
        return Head()->data;
    }
    TYPE& GetTail()
    {
        return Tail()->data;
    }
    const TYPE& GetTail() const
    {
        return Tail()->data;
    }

    TYPE RemoveHead()
    {
        CNode* pNode = Head();
        TYPE value(std::move(pNode->data));
        Unlink(pNode);
        return value;
    }
    TYPE RemoveTail()
    {
        CNode* pNode = Tail();
        TYPE value(std::move(pNode->data));
        Unlink(pNode);
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement)
    {
        return InsertBefore(nullptr, newElement, true);
    }
    POSITION AddTail(ARG_TYPE newElement)
    {
        return InsertAfter(nullptr, newElement, true);
    }
    void AddHead(const CList* pNewList)
    {
        for (POSITION pos = pNewList->GetTailPosition(); pos;)
            AddHead(pNewList->GetPrev(pos));
    }
    void AddTail(const CList* pNewList)
    {
        for (POSITION pos = pNewList->GetHeadPosition(); pos;)
            AddTail(pNewList->GetNext(pos));
    }
    void RemoveAll()
    {
        for (CNode* p = m_pNodeHead; p; p = p->pNext)
            p->data.~TYPE();
        m_pNodeHead = m_pNodeTail = m_pNodeFree = nullptr;
        m_nCount = 0;
        if (m_pBlocks)
            m_pBlocks->FreeDataChain();
        m_pBlocks = nullptr;
    }

    POSITION GetHeadPosition() const
    {
        return reinterpret_cast<POSITION>(m_pNodeHead);
    }
    POSITION GetTailPosition() const
    {
        return reinterpret_cast<POSITION>(m_pNodeTail);
    }
    TYPE& GetNext(POSITION& rPosition)
    {
        CNode* pNode = Node(rPosition);
        rPosition = reinterpret_cast<POSITION>(pNode->pNext);
        return pNode->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const
    {
        CNode* pNode = Node(rPosition);
        rPosition = reinterpret_cast<POSITION>(pNode->pNext);
        return pNode->data;
    }
    TYPE& GetPrev(POSITION& rPosition)
    {
        CNode* pNode = Node(rPosition);
        rPosition = reinterpret_cast<POSITION>(pNode->pPrev);
        return pNode->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const
    {
        CNode* pNode = Node(rPosition);
        rPosition = reinterpret_cast<POSITION>(pNode->pPrev);
        return pNode->data;
    }
    TYPE& GetAt(POSITION position)
    {
        return Node(position)->data;
    }
    const TYPE& GetAt(POSITION position) const
    {
        return Node(position)->data;
    }
    void SetAt(POSITION pos, ARG_TYPE newElement)
    {
        Node(pos)->data = newElement;
    }
    void RemoveAt(POSITION position)
    {
        Unlink(Node(position));
    }

    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        return InsertBefore(position, newElement, false);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        return InsertAfter(position, newElement, false);
    }

    // The position of the first element equal to searchValue after startAfter, or null.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const
    {
        CNode* pNode = startAfter ? Node(startAfter)->pNext : m_pNodeHead;
        for (; pNode; pNode = pNode->pNext)
            if (CompareElements<TYPE, typename std::remove_reference<ARG_TYPE>::type>(&pNode->data, &searchValue))
                return reinterpret_cast<POSITION>(pNode);
        return nullptr;
    }
    POSITION FindIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return nullptr;
        CNode* pNode = m_pNodeHead;
        while (nIndex--)
            pNode = pNode->pNext;
        return reinterpret_cast<POSITION>(pNode);
    }

  protected:
    CNode* Node(POSITION position) const
    {
        if (!position || position == BEFORE_START_POSITION)
            AfxThrowInvalidArgException();
        return reinterpret_cast<CNode*>(position);
    }
    CNode* Head() const
    {
        if (!m_pNodeHead)
            AfxThrowInvalidArgException();
        return m_pNodeHead;
    }
    CNode* Tail() const
    {
        if (!m_pNodeTail)
            AfxThrowInvalidArgException();
        return m_pNodeTail;
    }
    CNode* NewNode(CNode* pPrev, CNode* pNext, ARG_TYPE value)
    {
        if (!m_pNodeFree)
        {
            CPlex* pBlock = CPlex::Create(m_pBlocks, m_nBlockSize, sizeof(CNode));
            CNode* pNode = static_cast<CNode*>(pBlock->data()) + m_nBlockSize - 1;
            for (INT_PTR i = m_nBlockSize - 1; i >= 0; --i, --pNode)
            {
                pNode->pNext = m_pNodeFree;
                m_pNodeFree = pNode;
            }
        }
        CNode* pNode = m_pNodeFree;
        new (&pNode->data) TYPE(value);
        m_pNodeFree = m_pNodeFree->pNext;
        pNode->pPrev = pPrev;
        pNode->pNext = pNext;
        ++m_nCount;
        return pNode;
    }
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement, bool atHead)
    {
        if (atHead || !position)
        {
            CNode* pNode = NewNode(nullptr, m_pNodeHead, newElement);
            (m_pNodeHead ? m_pNodeHead->pPrev : m_pNodeTail) = pNode;
            m_pNodeHead = pNode;
            return reinterpret_cast<POSITION>(pNode);
        }
        CNode* pOld = Node(position);
        CNode* pNode = NewNode(pOld->pPrev, pOld, newElement);
        (pOld->pPrev ? pOld->pPrev->pNext : m_pNodeHead) = pNode;
        pOld->pPrev = pNode;
        return reinterpret_cast<POSITION>(pNode);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement, bool atTail)
    {
        if (atTail || !position)
        {
            CNode* pNode = NewNode(m_pNodeTail, nullptr, newElement);
            (m_pNodeTail ? m_pNodeTail->pNext : m_pNodeHead) = pNode;
            m_pNodeTail = pNode;
            return reinterpret_cast<POSITION>(pNode);
        }
        CNode* pOld = Node(position);
        CNode* pNode = NewNode(pOld, pOld->pNext, newElement);
        (pOld->pNext ? pOld->pNext->pPrev : m_pNodeTail) = pNode;
        pOld->pNext = pNode;
        return reinterpret_cast<POSITION>(pNode);
    }
    void Unlink(CNode* pNode)
    {
        (pNode->pPrev ? pNode->pPrev->pNext : m_pNodeHead) = pNode->pNext;
        (pNode->pNext ? pNode->pNext->pPrev : m_pNodeTail) = pNode->pPrev;
        pNode->data.~TYPE();
        pNode->pNext = m_pNodeFree;
        m_pNodeFree = pNode;
        if (--m_nCount == 0)
            RemoveAll();
    }

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    INT_PTR m_nCount = 0;
    CNode* m_pNodeFree = nullptr;
    CPlex* m_pBlocks = nullptr;
    INT_PTR m_nBlockSize;
};

class CPtrList : public CList<void*, void*>
{
  public:
    explicit CPtrList(INT_PTR nBlockSize = 10) : CList(nBlockSize)
    {
    }
};
class CObList : public CList<CObject*, CObject*>
{
  public:
    explicit CObList(INT_PTR nBlockSize = 10) : CList(nBlockSize)
    {
    }
};
class CStringList : public CList<CString, const CString&>
{
  public:
    explicit CStringList(INT_PTR nBlockSize = 10) : CList(nBlockSize)
    {
    }
};

// A list of pointers of one type over CPtrList or CObList.
template <class BASE_CLASS, class TYPE> class CTypedPtrList : public BASE_CLASS
{
  public:
    explicit CTypedPtrList(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize)
    {
    }

    TYPE& GetHead()
    {
        return reinterpret_cast<TYPE&>(BASE_CLASS::GetHead());
    }
    TYPE GetHead() const
    {
        return static_cast<TYPE>(BASE_CLASS::GetHead());
    }
    TYPE& GetTail()
    {
        return reinterpret_cast<TYPE&>(BASE_CLASS::GetTail());
    }
    TYPE GetTail() const
    {
        return static_cast<TYPE>(BASE_CLASS::GetTail());
    }
    TYPE RemoveHead()
    {
        return static_cast<TYPE>(BASE_CLASS::RemoveHead());
    }
    TYPE RemoveTail()
    {
        return static_cast<TYPE>(BASE_CLASS::RemoveTail());
    }
    POSITION AddHead(TYPE newElement)
    {
        return BASE_CLASS::AddHead(newElement);
    }
    POSITION AddTail(TYPE newElement)
    {
        return BASE_CLASS::AddTail(newElement);
    }
    void AddHead(CTypedPtrList* pNewList)
    {
        BASE_CLASS::AddHead(pNewList);
    }
    void AddTail(CTypedPtrList* pNewList)
    {
        BASE_CLASS::AddTail(pNewList);
    }
    TYPE& GetNext(POSITION& rPosition)
    {
        return reinterpret_cast<TYPE&>(BASE_CLASS::GetNext(rPosition));
    }
    TYPE GetNext(POSITION& rPosition) const
    {
        return static_cast<TYPE>(BASE_CLASS::GetNext(rPosition));
    }
    TYPE& GetPrev(POSITION& rPosition)
    {
        return reinterpret_cast<TYPE&>(BASE_CLASS::GetPrev(rPosition));
    }
    TYPE GetPrev(POSITION& rPosition) const
    {
        return static_cast<TYPE>(BASE_CLASS::GetPrev(rPosition));
    }
    TYPE& GetAt(POSITION position)
    {
        return reinterpret_cast<TYPE&>(BASE_CLASS::GetAt(position));
    }
    TYPE GetAt(POSITION position) const
    {
        return static_cast<TYPE>(BASE_CLASS::GetAt(position));
    }
    void SetAt(POSITION pos, TYPE newElement)
    {
        BASE_CLASS::SetAt(pos, newElement);
    }
    POSITION InsertBefore(POSITION position, TYPE newElement)
    {
        return BASE_CLASS::InsertBefore(position, newElement);
    }
    POSITION InsertAfter(POSITION position, TYPE newElement)
    {
        return BASE_CLASS::InsertAfter(position, newElement);
    }
};
