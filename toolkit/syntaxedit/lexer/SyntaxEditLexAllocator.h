// The pools that tag trees draw from: bucket arrays of any length, nodes and entries. The
// pools are shared by every tree of the process and used from the UI, reload and parser
// threads, so each takes its own lock. Memory goes back to the system only when the last tree
// and the process's own reference let go of the pools.
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/common/CriticalSection.h"

#include <map>
#include <memory>
#include <vector>

// Bucket arrays (arrays of pointers) carved from large chunks, kept on free lists by length.
class CKLVSyntaxEditLexAllocator {
public:
    // Each chunk holds this many arrays of the length that made it, within a megabyte unless
    // one array needs more.
    static constexpr size_t kChunkArrays = 4096;
    static constexpr size_t kMaxChunkWords = (1u << 20) / sizeof(void*);
    // A free piece at least this many words longer than a request is split.
    static constexpr size_t kSplitWords = 3;

    CKLVSyntaxEditLexAllocator() = default;
    CKLVSyntaxEditLexAllocator(const CKLVSyntaxEditLexAllocator&) = delete;
    CKLVSyntaxEditLexAllocator& operator=(const CKLVSyntaxEditLexAllocator&) = delete;

    // nWords zeroed pointers (at least one).
    void** Alloc(size_t nWords);
    // Gives an array of nWords back (the length it was allocated with).
    void Free(void** pArray, size_t nWords);

    size_t GetChunkCount();
    size_t GetFreeWords();

private:
    void** TakeFree(size_t nWords);

    CKLVCriticalSection m_cs;
    std::vector<std::unique_ptr<void*[]>> m_arChunks;
    std::multimap<size_t, void**> m_mapFree;
};

// Fixed-size objects in blocks of nBlockSize, behind a lock.
template <class NODE, INT_PTR nBlockSize>
class CKLVSyntaxEditLexNodePool {
public:
    CKLVSyntaxEditLexNodePool() : m_pool(nBlockSize) {}

    template <class... ARGS>
    NODE* New(ARGS&&... args) {
        CKLVCriticalSectionLock lock(&m_cs);
        ++m_nLive;
        return m_pool.New(std::forward<ARGS>(args)...);
    }
    void Delete(NODE* pNode) {
        if (!pNode) return;
        CKLVCriticalSectionLock lock(&m_cs);
        --m_nLive;
        m_pool.Delete(pNode);
    }
    INT_PTR GetLiveCount() {
        CKLVCriticalSectionLock lock(&m_cs);
        return m_nLive;
    }

private:
    CKLVCriticalSection m_cs;
    CNodePool<NODE> m_pool;
    INT_PTR m_nLive = 0;
};

class CKLVSyntaxEditLexTagNode;
struct KLV_LEX_TAG_ENTRY;

struct CKLVSyntaxEditLexPools {
    CKLVSyntaxEditLexAllocator buckets;
    CKLVSyntaxEditLexNodePool<CKLVSyntaxEditLexTagNode, 25> nodes;
    CKLVSyntaxEditLexNodePool<KLV_LEX_TAG_ENTRY, 64> entries;

    // The process's pools; every holder keeps them alive.
    static std::shared_ptr<CKLVSyntaxEditLexPools> Get();
};
