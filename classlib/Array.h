// CArray and its typed forms: growable arrays indexed from 0.
#pragma once

#include "classlib/Collection.h"

#include <algorithm>
#include <cstring>

// Growth: an array that must grow beyond its capacity grows by its grow size, or, when none
// was set, by an eighth of its current size clamped to 4..1024 elements; a larger request
// gets exactly what it asks for. Out-of-range indexes throw CInvalidArgException.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() noexcept = default;
    ~CArray() override { RemoveAll(); }

    INT_PTR GetSize() const noexcept { return m_nSize; }
    INT_PTR GetCount() const noexcept { return m_nSize; }
    BOOL IsEmpty() const noexcept { return m_nSize == 0; }
    INT_PTR GetUpperBound() const noexcept { return m_nSize - 1; }

    // nGrowBy -1 keeps the grow size in force.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1);
    void FreeExtra();
    void RemoveAll() noexcept;

    const TYPE& GetAt(INT_PTR nIndex) const { return m_pData[CheckIndex(nIndex)]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_pData[CheckIndex(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_pData[CheckIndex(nIndex)] = newElement; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& ElementAt(INT_PTR nIndex) { return GetAt(nIndex); }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return GetAt(nIndex); }
    const TYPE* GetData() const noexcept { return m_pData; }
    TYPE* GetData() noexcept { return m_pData; }

    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement);
    INT_PTR Add(ARG_TYPE newElement);
    INT_PTR Append(const CArray& src);
    void Copy(const CArray& src);

    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1);
    void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray);
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);

protected:
    INT_PTR CheckIndex(INT_PTR nIndex) const {
        if (nIndex < 0 || nIndex >= m_nSize) AfxThrowInvalidArgException();
        return nIndex;
    }
    void Reallocate(INT_PTR nNewMax);

    TYPE* m_pData = nullptr;
    INT_PTR m_nSize = 0;
    INT_PTR m_nMaxSize = 0;
    INT_PTR m_nGrowBy = 0;
};

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Reallocate(INT_PTR nNewMax) {
    if (static_cast<size_t>(nNewMax) > SIZE_MAX / sizeof(TYPE)) AfxThrowMemoryException();
    TYPE* pNewData = nullptr;
    if (nNewMax > 0) {
        pNewData = static_cast<TYPE*>(std::malloc(static_cast<size_t>(nNewMax) * sizeof(TYPE)));
        if (!pNewData) AfxThrowMemoryException();
    }
    if constexpr (std::is_trivially_copyable_v<TYPE>) {
        if (m_nSize) std::memcpy(static_cast<void*>(pNewData), m_pData, static_cast<size_t>(m_nSize) * sizeof(TYPE));
    } else {
        for (INT_PTR i = 0; i < m_nSize; ++i) {
            ::new (static_cast<void*>(pNewData + i)) TYPE(std::move(m_pData[i]));
            m_pData[i].~TYPE();
        }
    }
    std::free(m_pData);
    m_pData = pNewData;
    m_nMaxSize = nNewMax;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(INT_PTR nNewSize, INT_PTR nGrowBy) {
    if (nNewSize < 0) AfxThrowInvalidArgException();
    if (nGrowBy >= 0) m_nGrowBy = nGrowBy;
    if (nNewSize == 0) {
        RemoveAll();
        return;
    }
    if (!m_pData) {
        Reallocate(std::max(nNewSize, m_nGrowBy));
    } else if (nNewSize > m_nMaxSize) {
        INT_PTR nGrow = m_nGrowBy;
        if (nGrow == 0) nGrow = std::clamp<INT_PTR>(m_nSize / 8, 4, 1024);
        Reallocate(std::max(nNewSize, m_nMaxSize + nGrow));
    }
    for (; m_nSize < nNewSize; ++m_nSize) ::new (static_cast<void*>(m_pData + m_nSize)) TYPE();
    for (; m_nSize > nNewSize; --m_nSize) m_pData[m_nSize - 1].~TYPE();
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::FreeExtra() {
    if (m_nSize != m_nMaxSize) Reallocate(m_nSize);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAll() noexcept {
    for (INT_PTR i = 0; i < m_nSize; ++i) m_pData[i].~TYPE();
    std::free(m_pData);
    m_pData = nullptr;
    m_nSize = m_nMaxSize = 0;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
    if (nIndex < 0) AfxThrowInvalidArgException();
    if (nIndex >= m_nSize) {
        TYPE value(newElement);  // newElement may live in this array, which is about to move
        SetSize(nIndex + 1);
        m_pData[nIndex] = std::move(value);
    } else {
        m_pData[nIndex] = newElement;
    }
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Add(ARG_TYPE newElement) {
    const INT_PTR nIndex = m_nSize;
    SetAtGrow(nIndex, newElement);
    return nIndex;
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Append(const CArray& src) {
    const INT_PTR nOldSize = m_nSize;
    const INT_PTR nCount = src.m_nSize;  // src may be this array
    SetSize(m_nSize + nCount);
    for (INT_PTR i = 0; i < nCount; ++i) m_pData[nOldSize + i] = src.m_pData[i];
    return nOldSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src) {
    if (this == &src) return;
    SetSize(src.m_nSize);
    for (INT_PTR i = 0; i < m_nSize; ++i) m_pData[i] = src.m_pData[i];
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount) {
    if (nIndex < 0 || nCount < 0) AfxThrowInvalidArgException();
    if (nCount == 0) return;
    TYPE value(newElement);  // newElement may live in this array
    const INT_PTR nOldSize = m_nSize;
    if (nIndex >= nOldSize) {
        SetSize(nIndex + nCount);  // inserting past the end grows the array
    } else {
        SetSize(nOldSize + nCount);
        std::move_backward(m_pData + nIndex, m_pData + nOldSize, m_pData + nOldSize + nCount);
    }
    std::fill(m_pData + nIndex, m_pData + nIndex + nCount, value);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nStartIndex, const CArray* pNewArray) {
    if (!pNewArray || nStartIndex < 0) AfxThrowInvalidArgException();
    if (pNewArray->IsEmpty()) return;
    CArray copy;  // the source may be this array
    copy.Copy(*pNewArray);
    InsertAt(nStartIndex, copy.GetAt(0), copy.GetSize());
    for (INT_PTR i = 1; i < copy.GetSize(); ++i) m_pData[nStartIndex + i] = copy.m_pData[i];
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(INT_PTR nIndex, INT_PTR nCount) {
    if (nIndex < 0 || nCount < 0 || nCount > m_nSize - nIndex) AfxThrowInvalidArgException();
    std::move(m_pData + nIndex + nCount, m_pData + m_nSize, m_pData + nIndex);
    for (INT_PTR i = 0; i < nCount; ++i) m_pData[--m_nSize].~TYPE();
}

// ---------------------------------------------------------------------------------------------
// Typed arrays.

class CByteArray : public CArray<BYTE, BYTE> {
    DECLARE_DYNAMIC(CByteArray)
};

class CWordArray : public CArray<WORD, WORD> {
    DECLARE_DYNAMIC(CWordArray)
};

class CUIntArray : public CArray<UINT, UINT> {
    DECLARE_DYNAMIC(CUIntArray)
};

class CDWordArray : public CArray<DWORD, DWORD> {
    DECLARE_DYNAMIC(CDWordArray)
};

class CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
};

class CObArray : public CArray<CObject*, CObject*> {
    DECLARE_DYNAMIC(CObArray)
};

class CStringArray : public CArray<CString, const CString&> {
    DECLARE_DYNAMIC(CStringArray)
};

// An array of pointers of one type over CPtrArray or CObArray.
template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
public:
    TYPE GetAt(INT_PTR nIndex) const { return static_cast<TYPE>(BASE_CLASS::GetAt(nIndex)); }
    TYPE& ElementAt(INT_PTR nIndex) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(nIndex)); }
    void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void SetAtGrow(INT_PTR nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
    INT_PTR Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
    INT_PTR Append(const CTypedPtrArray& src) { return BASE_CLASS::Append(src); }
    void Copy(const CTypedPtrArray& src) { BASE_CLASS::Copy(src); }
    void InsertAt(INT_PTR nIndex, TYPE newElement, INT_PTR nCount = 1) {
        BASE_CLASS::InsertAt(nIndex, newElement, nCount);
    }
    TYPE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
};
