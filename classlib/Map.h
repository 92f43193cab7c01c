// CMap and its typed forms: hash tables with chained buckets.
#pragma once

#include "classlib/Collection.h"

#include <memory>

// The table has 17 buckets unless InitHashTable chose another size; it is allocated when the
// first key goes in. A key lands in bucket HashKey(key) % size, at the front of that bucket's
// chain. Iteration (GetStartPosition / GetNextAssoc) therefore visits the buckets in ascending
// order and, within a bucket, the most recently inserted key first; owners that save a map
// rely on this order. Associations come from blocks of nBlockSize.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
public:
    typedef KEY BASE_KEY;
    typedef ARG_KEY BASE_ARG_KEY;
    typedef VALUE BASE_VALUE;
    typedef ARG_VALUE BASE_ARG_VALUE;

    explicit CMap(INT_PTR nBlockSize = 10) noexcept : m_pool(nBlockSize) {}
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const noexcept { return m_nCount; }
    INT_PTR GetSize() const noexcept { return m_nCount; }
    BOOL IsEmpty() const noexcept { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const;
    // The value of key, added with a default value when the key is new.
    VALUE& operator[](ARG_KEY key);
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key);
    void RemoveAll() noexcept;

    POSITION GetStartPosition() const noexcept;
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;

    UINT GetHashTableSize() const noexcept { return m_nHashTableSize; }
    // Sets the number of buckets (a prime suits best). Associations already in the map are
    // moved to their new buckets.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

protected:
    struct CAssoc {
        CAssoc* pNext;
        UINT nHashValue;
        KEY key;
        VALUE value;
    };

    CAssoc* GetAssocAt(ARG_KEY key, UINT& nHashBucket, UINT& nHashValue) const;
    POSITION FirstFromBucket(UINT nBucket) const noexcept;

    std::unique_ptr<CAssoc*[]> m_pHashTable;
    UINT m_nHashTableSize = 17;
    INT_PTR m_nCount = 0;
    CNodePool<CAssoc> m_pool;
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT hashSize, BOOL bAllocNow) {
    if (hashSize == 0) AfxThrowInvalidArgException();
    std::unique_ptr<CAssoc*[]> pNewTable;
    if (bAllocNow || m_nCount > 0) pNewTable = std::make_unique<CAssoc*[]>(hashSize);
    for (UINT nBucket = 0; m_pHashTable && nBucket < m_nHashTableSize; ++nBucket) {
        for (CAssoc* pAssoc = m_pHashTable[nBucket]; pAssoc;) {
            CAssoc* pNext = pAssoc->pNext;
            CAssoc*& rHead = pNewTable[pAssoc->nHashValue % hashSize];
            pAssoc->pNext = rHead;
            rHead = pAssoc;
            pAssoc = pNext;
        }
    }
    m_pHashTable = std::move(pNewTable);
    m_nHashTableSize = hashSize;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc*
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetAssocAt(ARG_KEY key, UINT& nHashBucket, UINT& nHashValue) const {
    nHashValue = HashKey<ARG_KEY>(key);
    nHashBucket = nHashValue % m_nHashTableSize;
    if (!m_pHashTable) return nullptr;
    for (CAssoc* pAssoc = m_pHashTable[nHashBucket]; pAssoc; pAssoc = pAssoc->pNext) {
        if (pAssoc->nHashValue == nHashValue && CompareElements(&pAssoc->key, &key)) return pAssoc;
    }
    return nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& rValue) const {
    UINT nHashBucket, nHashValue;
    CAssoc* pAssoc = GetAssocAt(key, nHashBucket, nHashValue);
    if (!pAssoc) return FALSE;
    rValue = pAssoc->value;
    return TRUE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key) {
    UINT nHashBucket, nHashValue;
    if (CAssoc* pAssoc = GetAssocAt(key, nHashBucket, nHashValue)) return pAssoc->value;
    if (!m_pHashTable) InitHashTable(m_nHashTableSize);
    CAssoc*& rHead = m_pHashTable[nHashBucket];
    CAssoc* pAssoc = m_pool.New(rHead, nHashValue, KEY(key), VALUE());
    rHead = pAssoc;
    ++m_nCount;
    return pAssoc->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key) {
    if (!m_pHashTable) return FALSE;
    const UINT nHashValue = HashKey<ARG_KEY>(key);
    for (CAssoc** ppLink = &m_pHashTable[nHashValue % m_nHashTableSize]; *ppLink; ppLink = &(*ppLink)->pNext) {
        CAssoc* pAssoc = *ppLink;
        if (pAssoc->nHashValue == nHashValue && CompareElements(&pAssoc->key, &key)) {
            *ppLink = pAssoc->pNext;
            m_pool.Delete(pAssoc);
            if (--m_nCount == 0) RemoveAll();
            return TRUE;
        }
    }
    return FALSE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll() noexcept {
    for (UINT nBucket = 0; m_pHashTable && nBucket < m_nHashTableSize; ++nBucket) {
        for (CAssoc* pAssoc = m_pHashTable[nBucket]; pAssoc;) {
            CAssoc* pNext = pAssoc->pNext;
            m_pool.Delete(pAssoc);
            pAssoc = pNext;
        }
    }
    m_pHashTable.reset();
    m_pool.FreeBlocks();
    m_nCount = 0;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
POSITION CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::FirstFromBucket(UINT nBucket) const noexcept {
    for (; m_pHashTable && nBucket < m_nHashTableSize; ++nBucket) {
        if (m_pHashTable[nBucket]) return reinterpret_cast<POSITION>(m_pHashTable[nBucket]);
    }
    return nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
POSITION CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetStartPosition() const noexcept {
    return m_nCount == 0 ? nullptr : FirstFromBucket(0);
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
    CAssoc* pAssoc = reinterpret_cast<CAssoc*>(rNextPosition);
    if (!pAssoc) AfxThrowInvalidArgException();
    rKey = pAssoc->key;
    rValue = pAssoc->value;
    rNextPosition = pAssoc->pNext ? reinterpret_cast<POSITION>(pAssoc->pNext)
                                  : FirstFromBucket(pAssoc->nHashValue % m_nHashTableSize + 1);
}

// ---------------------------------------------------------------------------------------------
// Typed maps.

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
    DECLARE_DYNAMIC(CMapWordToPtr)
public:
    explicit CMapWordToPtr(INT_PTR nBlockSize = 10) noexcept : CMap(nBlockSize) {}
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
    DECLARE_DYNAMIC(CMapPtrToPtr)
public:
    explicit CMapPtrToPtr(INT_PTR nBlockSize = 10) noexcept : CMap(nBlockSize) {}
};

class CMapStringToPtr : public CMap<CString, LPCSTR, void*, void*> {
    DECLARE_DYNAMIC(CMapStringToPtr)
public:
    explicit CMapStringToPtr(INT_PTR nBlockSize = 10) noexcept : CMap(nBlockSize) {}
};

class CMapStringToOb : public CMap<CString, LPCSTR, CObject*, CObject*> {
    DECLARE_DYNAMIC(CMapStringToOb)
public:
    explicit CMapStringToOb(INT_PTR nBlockSize = 10) noexcept : CMap(nBlockSize) {}
};

class CMapStringToString : public CMap<CString, LPCSTR, CString, LPCSTR> {
    DECLARE_DYNAMIC(CMapStringToString)
public:
    explicit CMapStringToString(INT_PTR nBlockSize = 10) noexcept : CMap(nBlockSize) {}
};

// A map with typed pointer keys or values over one of the pointer maps above.
template <class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS {
public:
    explicit CTypedPtrMap(INT_PTR nBlockSize = 10) noexcept : BASE_CLASS(nBlockSize) {}

    BOOL Lookup(typename BASE_CLASS::BASE_ARG_KEY key, VALUE& rValue) const {
        typename BASE_CLASS::BASE_VALUE value;
        if (!BASE_CLASS::Lookup(key, value)) return FALSE;
        rValue = static_cast<VALUE>(value);
        return TRUE;
    }
    VALUE& operator[](typename BASE_CLASS::BASE_ARG_KEY key) {
        return reinterpret_cast<VALUE&>(BASE_CLASS::operator[](key));
    }
    void SetAt(KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
    BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
    void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const {
        typename BASE_CLASS::BASE_KEY key;
        typename BASE_CLASS::BASE_VALUE value;
        BASE_CLASS::GetNextAssoc(rPosition, key, value);
        rKey = (KEY)key;  // a typed pointer or the base's own key type
        rValue = static_cast<VALUE>(value);
    }
};
