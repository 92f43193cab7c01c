// POSITION-style walking of a std::vector, for the lists the library keeps in vectors
// (a document's views, a template's documents, the application's templates): a position is the
// index of the next element plus one, null after the last.
#pragma once

#include "classlib/Collection.h"

#include <vector>

template <class T>
POSITION AfxFirstPosition(const std::vector<T>& items) {
    return items.empty() ? nullptr : reinterpret_cast<POSITION>(static_cast<UINT_PTR>(1));
}

// The index at rPosition (nSize or more when the position is stale); rPosition moves on.
inline size_t AfxNextIndex(size_t nSize, POSITION& rPosition) {
    const size_t nIndex = reinterpret_cast<UINT_PTR>(rPosition) - 1;
    rPosition = nIndex + 1 < nSize ? reinterpret_cast<POSITION>(static_cast<UINT_PTR>(nIndex + 2)) : nullptr;
    return nIndex;
}

// The element at rPosition (null when the position is stale), and the next position.
template <class T>
T* AfxNextAt(const std::vector<T*>& items, POSITION& rPosition) {
    const size_t nIndex = AfxNextIndex(items.size(), rPosition);
    return nIndex < items.size() ? items[nIndex] : nullptr;
}
