// CList and its typed forms: doubly linked lists walked with POSITION values.
#pragma once

#include "classlib/Collection.h"

// Nodes come from blocks of nBlockSize nodes. Asking an empty list for its head or tail, or a
// null position for its element, throws CInvalidArgException.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
protected:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    explicit CList(INT_PTR nBlockSize = 10) noexcept : m_pool(nBlockSize) {}
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const noexcept { return m_nCount; }
    INT_PTR GetSize() const noexcept { return m_nCount; }
    BOOL IsEmpty() const noexcept { return m_nCount == 0; }

    TYPE& GetHead() { return Checked(m_pNodeHead)->data; }
    const TYPE& GetHead() const { return Checked(m_pNodeHead)->data; }
    TYPE& GetTail() { return Checked(m_pNodeTail)->data; }
    const TYPE& GetTail() const { return Checked(m_pNodeTail)->data; }

    TYPE RemoveHead();
    TYPE RemoveTail();
    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(GetHeadPosition(), newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(GetTailPosition(), newElement); }
    void AddHead(const CList* pNewList);
    void AddTail(const CList* pNewList);
    void RemoveAll() noexcept;

    POSITION GetHeadPosition() const noexcept { return ToPosition(m_pNodeHead); }
    POSITION GetTailPosition() const noexcept { return ToPosition(m_pNodeTail); }
    // Return the element at rPosition and move rPosition on (null after the last one).
    TYPE& GetNext(POSITION& rPosition) { return Step(rPosition, Checked(ToNode(rPosition))->pNext); }
    const TYPE& GetNext(POSITION& rPosition) const { return Step(rPosition, Checked(ToNode(rPosition))->pNext); }
    TYPE& GetPrev(POSITION& rPosition) { return Step(rPosition, Checked(ToNode(rPosition))->pPrev); }
    const TYPE& GetPrev(POSITION& rPosition) const { return Step(rPosition, Checked(ToNode(rPosition))->pPrev); }

    TYPE& GetAt(POSITION position) { return Checked(ToNode(position))->data; }
    const TYPE& GetAt(POSITION position) const { return Checked(ToNode(position))->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { Checked(ToNode(pos))->data = newElement; }
    void RemoveAt(POSITION position);

    // A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const;
    POSITION FindIndex(INT_PTR nIndex) const;

protected:
    static POSITION ToPosition(CNode* pNode) noexcept { return reinterpret_cast<POSITION>(pNode); }
    static CNode* ToNode(POSITION position) noexcept { return reinterpret_cast<CNode*>(position); }
    static CNode* Checked(CNode* pNode) {
        if (!pNode) AfxThrowInvalidArgException();
        return pNode;
    }
    static TYPE& Step(POSITION& rPosition, CNode* pTo) {
        CNode* pNode = ToNode(rPosition);
        rPosition = ToPosition(pTo);
        return pNode->data;
    }
    void Link(CNode* pNode) noexcept;

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    INT_PTR m_nCount = 0;
    CNodePool<CNode> m_pool;
};

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::Link(CNode* pNode) noexcept {
    if (pNode->pPrev) pNode->pPrev->pNext = pNode; else m_pNodeHead = pNode;
    if (pNode->pNext) pNode->pNext->pPrev = pNode; else m_pNodeTail = pNode;
    ++m_nCount;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement) {
    CNode* pNext = position ? ToNode(position) : m_pNodeHead;
    CNode* pNode = m_pool.New(pNext, pNext ? pNext->pPrev : nullptr, newElement);
    Link(pNode);
    return ToPosition(pNode);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement) {
    CNode* pPrev = position ? ToNode(position) : m_pNodeTail;
    CNode* pNode = m_pool.New(pPrev ? pPrev->pNext : nullptr, pPrev, newElement);
    Link(pNode);
    return ToPosition(pNode);
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position) {
    CNode* pNode = Checked(ToNode(position));
    if (pNode->pPrev) pNode->pPrev->pNext = pNode->pNext; else m_pNodeHead = pNode->pNext;
    if (pNode->pNext) pNode->pNext->pPrev = pNode->pPrev; else m_pNodeTail = pNode->pPrev;
    m_pool.Delete(pNode);
    if (--m_nCount == 0) m_pool.FreeBlocks();
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveHead() {
    TYPE value(std::move(Checked(m_pNodeHead)->data));
    RemoveAt(ToPosition(m_pNodeHead));
    return value;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveTail() {
    TYPE value(std::move(Checked(m_pNodeTail)->data));
    RemoveAt(ToPosition(m_pNodeTail));
    return value;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(const CList* pNewList) {
    if (!pNewList) AfxThrowInvalidArgException();
    // Walking from the tail keeps the order; a count bounds the walk when the list is this one.
    POSITION pos = pNewList->GetTailPosition();
    for (INT_PTR n = pNewList->GetCount(); n > 0; --n) AddHead(pNewList->GetPrev(pos));
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(const CList* pNewList) {
    if (!pNewList) AfxThrowInvalidArgException();
    POSITION pos = pNewList->GetHeadPosition();
    for (INT_PTR n = pNewList->GetCount(); n > 0; --n) AddTail(pNewList->GetNext(pos));
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAll() noexcept {
    for (CNode* pNode = m_pNodeHead; pNode;) {
        CNode* pNext = pNode->pNext;
        m_pool.Delete(pNode);
        pNode = pNext;
    }
    m_pool.FreeBlocks();
    m_pNodeHead = m_pNodeTail = nullptr;
    m_nCount = 0;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const {
    CNode* pNode = startAfter ? ToNode(startAfter)->pNext : m_pNodeHead;
    for (; pNode; pNode = pNode->pNext) {
        if (CompareElements(&pNode->data, &searchValue)) return ToPosition(pNode);
    }
    return nullptr;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::FindIndex(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
    CNode* pNode = m_pNodeHead;
    while (nIndex-- > 0) pNode = pNode->pNext;
    return ToPosition(pNode);
}

// ---------------------------------------------------------------------------------------------
// Typed lists.

class CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(INT_PTR nBlockSize = 10) noexcept : CList(nBlockSize) {}
};

class CObList : public CList<CObject*, CObject*> {
    DECLARE_DYNAMIC(CObList)
public:
    explicit CObList(INT_PTR nBlockSize = 10) noexcept : CList(nBlockSize) {}
};

class CStringList : public CList<CString, const CString&> {
    DECLARE_DYNAMIC(CStringList)
public:
    explicit CStringList(INT_PTR nBlockSize = 10) noexcept : CList(nBlockSize) {}
};

// A list of pointers of one type over CPtrList or CObList.
template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
public:
    explicit CTypedPtrList(INT_PTR nBlockSize = 10) noexcept : BASE_CLASS(nBlockSize) {}

    TYPE& GetHead() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetHead()); }
    TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }
    TYPE& GetTail() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetTail()); }
    TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }
    TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
    TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }
    TYPE& GetNext(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetNext(rPosition)); }
    TYPE GetNext(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetNext(rPosition)); }
    TYPE& GetPrev(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE GetPrev(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE& GetAt(POSITION position) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetAt(position)); }
    TYPE GetAt(POSITION position) const { return static_cast<TYPE>(BASE_CLASS::GetAt(position)); }
    void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
    POSITION InsertBefore(POSITION position, TYPE newElement) { return BASE_CLASS::InsertBefore(position, newElement); }
    POSITION InsertAfter(POSITION position, TYPE newElement) { return BASE_CLASS::InsertAfter(position, newElement); }
    POSITION Find(TYPE searchValue, POSITION startAfter = nullptr) const { return BASE_CLASS::Find(searchValue, startAfter); }
};
