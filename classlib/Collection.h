// What the collection templates share: POSITION, the block allocator of list and map nodes,
// and the element helpers (comparison and hashing) that a key or element type may overload.
#pragma once

#include "classlib/Exceptions.h"
#include "classlib/Object.h"
#include "classlib/String.h"

#include <cstddef>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>

// An opaque place in a list or map; null means "no more".
struct __POSITION {};
typedef __POSITION* POSITION;

// ---------------------------------------------------------------------------------------------
// Nodes of lists and maps come from blocks of nBlockSize nodes; freed nodes go to a free list
// and are reused; the blocks are returned only when the collection is emptied.

template <class NODE>
class CNodePool {
public:
    explicit CNodePool(INT_PTR nBlockSize) noexcept : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}
    ~CNodePool() { FreeBlocks(); }
    CNodePool(const CNodePool&) = delete;
    CNodePool& operator=(const CNodePool&) = delete;

    template <class... ARGS>
    NODE* New(ARGS&&... args) {
        if (!m_pFreeList) AddBlock();
        Slot* pSlot = m_pFreeList;
        m_pFreeList = pSlot->pNextFree;  // before the node overwrites the link
        try {
            return ::new (static_cast<void*>(pSlot->storage)) NODE{std::forward<ARGS>(args)...};
        } catch (...) {
            pSlot->pNextFree = m_pFreeList;
            m_pFreeList = pSlot;
            throw;
        }
    }

    void Delete(NODE* pNode) noexcept {
        pNode->~NODE();
        Slot* pSlot = reinterpret_cast<Slot*>(pNode);
        pSlot->pNextFree = m_pFreeList;
        m_pFreeList = pSlot;
    }

    // Every node must have been destroyed with Delete before.
    void FreeBlocks() noexcept {
        while (m_pBlocks) {
            Block* pNext = m_pBlocks->pNext;
            std::free(m_pBlocks);
            m_pBlocks = pNext;
        }
        m_pFreeList = nullptr;
    }

private:
    union Slot {
        Slot* pNextFree;
        alignas(NODE) unsigned char storage[sizeof(NODE)];
    };
    struct alignas(std::max_align_t) Block {
        Block* pNext;
        Slot* Slots() noexcept { return reinterpret_cast<Slot*>(this + 1); }
    };

    void AddBlock() {
        if (static_cast<size_t>(m_nBlockSize) > (SIZE_MAX - sizeof(Block)) / sizeof(Slot)) AfxThrowMemoryException();
        auto* pBlock = static_cast<Block*>(std::malloc(sizeof(Block) + sizeof(Slot) * static_cast<size_t>(m_nBlockSize)));
        if (!pBlock) AfxThrowMemoryException();
        pBlock->pNext = m_pBlocks;
        m_pBlocks = pBlock;
        // Chain the new slots so that the first one is handed out first.
        Slot* pSlots = pBlock->Slots();
        for (INT_PTR i = m_nBlockSize - 1; i >= 0; --i) {
            pSlots[i].pNextFree = m_pFreeList;
            m_pFreeList = &pSlots[i];
        }
    }

    INT_PTR m_nBlockSize;
    Block* m_pBlocks = nullptr;
    Slot* m_pFreeList = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Element helpers.

template <class TYPE, class ARG_TYPE>
BOOL CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2) {
    return *pElement1 == *pElement2;
}

// Integers and handles hash to their value / 16 (the low bits of pointers and sizes carry
// little information); the map takes the hash modulo its table size.
template <class ARG_KEY>
inline UINT HashKey(ARG_KEY key) {
    if constexpr (std::is_pointer_v<ARG_KEY>)
        return static_cast<UINT>(reinterpret_cast<UINT_PTR>(key) >> 4);
    else
        return static_cast<UINT>(static_cast<UINT_PTR>(key) >> 4);
}

// Texts hash as h = h * 33 + c over their characters.
UINT HashString(LPCSTR key) noexcept;

template <>
inline UINT HashKey<LPCSTR>(LPCSTR key) { return HashString(key); }
template <>
inline UINT HashKey<LPSTR>(LPSTR key) { return HashString(key); }
template <>
inline UINT HashKey<const CString&>(const CString& key) { return HashString(key); }
template <>
inline UINT HashKey<CString>(CString key) { return HashString(key); }
