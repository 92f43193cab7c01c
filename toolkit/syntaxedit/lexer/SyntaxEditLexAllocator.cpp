#include "toolkit/syntaxedit/lexer/SyntaxEditLexAllocator.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditLexTagTree.h"

#include <algorithm>

void** CKLVSyntaxEditLexAllocator::TakeFree(size_t nWords) {
    auto it = m_mapFree.lower_bound(nWords);
    if (it == m_mapFree.end()) return nullptr;
    const size_t nHave = it->first;
    void** p = it->second;
    m_mapFree.erase(it);
    if (nHave - nWords >= kSplitWords) m_mapFree.emplace(nHave - nWords, p + nWords);
    return p;
}

void** CKLVSyntaxEditLexAllocator::Alloc(size_t nWords) {
    nWords = std::max<size_t>(nWords, 1);
    CKLVCriticalSectionLock lock(&m_cs);
    void** p = TakeFree(nWords);
    if (!p) {
        const size_t nChunk = std::max(nWords, std::min(nWords * kChunkArrays, kMaxChunkWords));
        m_arChunks.emplace_back(new void*[nChunk]);
        m_mapFree.emplace(nChunk, m_arChunks.back().get());
        p = TakeFree(nWords);
    }
    std::fill(p, p + nWords, nullptr);
    return p;
}

void CKLVSyntaxEditLexAllocator::Free(void** pArray, size_t nWords) {
    if (!pArray) return;
    CKLVCriticalSectionLock lock(&m_cs);
    m_mapFree.emplace(std::max<size_t>(nWords, 1), pArray);
}

size_t CKLVSyntaxEditLexAllocator::GetChunkCount() {
    CKLVCriticalSectionLock lock(&m_cs);
    return m_arChunks.size();
}

size_t CKLVSyntaxEditLexAllocator::GetFreeWords() {
    CKLVCriticalSectionLock lock(&m_cs);
    size_t n = 0;
    for (const auto& entry : m_mapFree) n += entry.first;
    return n;
}

std::shared_ptr<CKLVSyntaxEditLexPools> CKLVSyntaxEditLexPools::Get() {
    static const std::shared_ptr<CKLVSyntaxEditLexPools> s_pPools = std::make_shared<CKLVSyntaxEditLexPools>();
    return s_pPools;
}
