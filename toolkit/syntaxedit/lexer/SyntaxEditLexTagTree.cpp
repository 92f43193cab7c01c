#include "toolkit/syntaxedit/lexer/SyntaxEditLexTagTree.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditLexAttrArray.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexText.h"

#include <array>

// ---------------------------------------------------------------------------------------------
// Nodes

CKLVSyntaxEditLexTagNode::CKLVSyntaxEditLexTagNode(CKLVSyntaxEditLexPools* pPools, UINT nBuckets)
    : m_pPools(pPools), m_nBuckets(nBuckets ? nBuckets : 1) {
    m_ppBuckets = reinterpret_cast<KLV_LEX_TAG_ENTRY**>(m_pPools->buckets.Alloc(m_nBuckets));
}

CKLVSyntaxEditLexTagNode::~CKLVSyntaxEditLexTagNode() {
    for (UINT i = 0; i < m_nBuckets; ++i) {
        for (KLV_LEX_TAG_ENTRY* pEntry = m_ppBuckets[i]; pEntry;) {
            KLV_LEX_TAG_ENTRY* pNext = pEntry->pNext;
            Destroy(m_pPools, pEntry->pChild);
            m_pPools->entries.Delete(pEntry);
            pEntry = pNext;
        }
    }
    m_pPools->buckets.Free(reinterpret_cast<void**>(m_ppBuckets), m_nBuckets);
}

CKLVSyntaxEditLexTagNode* CKLVSyntaxEditLexTagNode::Create(CKLVSyntaxEditLexPools* pPools, UINT nBuckets) {
    return pPools->nodes.New(pPools, nBuckets);
}

void CKLVSyntaxEditLexTagNode::Destroy(CKLVSyntaxEditLexPools* pPools, CKLVSyntaxEditLexTagNode* pNode) {
    pPools->nodes.Delete(pNode);
}

KLV_LEX_TAG_ENTRY* CKLVSyntaxEditLexTagNode::Find(WORD wChar) const {
    for (KLV_LEX_TAG_ENTRY* pEntry = m_ppBuckets[wChar % m_nBuckets]; pEntry; pEntry = pEntry->pNext)
        if (pEntry->wChar == wChar) return pEntry;
    return nullptr;
}

KLV_LEX_TAG_ENTRY* CKLVSyntaxEditLexTagNode::FindOrAdd(WORD wChar) {
    if (KLV_LEX_TAG_ENTRY* pEntry = Find(wChar)) return pEntry;
    KLV_LEX_TAG_ENTRY* pEntry = m_pPools->entries.New();
    pEntry->wChar = wChar;
    KLV_LEX_TAG_ENTRY*& pHead = m_ppBuckets[wChar % m_nBuckets];
    pEntry->pNext = pHead;
    pHead = pEntry;
    return pEntry;
}

// ---------------------------------------------------------------------------------------------
// Sizing

UINT CKLVSyntaxEditLexTagTree::RoundUpToPrime(UINT n) {
    static const std::array<UINT, 50> s_arRounded = [] {
        const UINT arPrimes[] = {1, 2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47, 53};
        std::array<UINT, 50> ar{};
        for (UINT i = 0; i < ar.size(); ++i) {
            UINT nPrime = 0;
            for (UINT p : arPrimes)
                if (p >= i) {
                    nPrime = p;
                    break;
                }
            ar[i] = nPrime;
        }
        return ar;
    }();
    return n < s_arRounded.size() ? s_arRounded[n] : n;
}

UINT CKLVSyntaxEditLexTagTree::GetRootBucketCount(INT_PTR nStrings) {
    if (nStrings == 0) return 1;
    if (nStrings < 11) return 3;
    if (nStrings < 31) return 7;
    if (nStrings < 61) return 11;
    if (nStrings < 101) return 17;
    if (nStrings <= 200) return 23;
    return 29;
}

UINT CKLVSyntaxEditLexTagTree::GetNextSize(UINT nSize, UINT nMin) {
    const UINT nDivisor = nSize <= 10 ? 2 : (nSize <= 20 ? 3 : 4);
    return RoundUpToPrime(std::max(nSize / nDivisor, nMin));
}

// ---------------------------------------------------------------------------------------------
// Building

void CKLVSyntaxEditLexTagTree::Clear() {
    if (!m_pPools) return;
    CKLVSyntaxEditLexTagNode::Destroy(m_pPools.get(), m_pPlain);
    CKLVSyntaxEditLexTagNode::Destroy(m_pPools.get(), m_pInverted);
    m_pPlain = m_pInverted = nullptr;
    m_arPlainFirst.fill(nullptr);
    m_arInvertedFirst.fill(nullptr);
}

void CKLVSyntaxEditLexTagTree::Build(const CKLVSyntaxEditLexAttrArray& list, BOOL bLowerCase) {
    Clear();
    if (!m_pPools) m_pPools = CKLVSyntaxEditLexPools::Get();
    m_bLowerCase = bLowerCase;
    CStringArray arPlain, arInverted;
    for (INT_PTR i = 0; i < list.GetSize(); ++i) {
        const CKLVSyntaxEditLexValueObj* pValue = list.GetAt(i);
        if (pValue->IsString())
            arPlain.Append(pValue->m_arStrings);
        else if (pValue->m_nKind == klvLexValueCharClass)
            CKLVSyntaxEditLexVariant::Expand(pValue->m_CharClass.GetClassId(),
                                             pValue->m_CharClass.IsInverted() ? arInverted : arPlain);
    }
    AddStrings(m_pPlain, arPlain);
    // An inverted tree matches every character it does not hold, so it exists only when an
    // inverted class gave it members.
    if (!arInverted.IsEmpty()) AddStrings(m_pInverted, arInverted);
}

void CKLVSyntaxEditLexTagTree::AddStrings(CKLVSyntaxEditLexTagNode*& pRoot, const CStringArray& arStrings) {
    if (!pRoot) pRoot = CKLVSyntaxEditLexTagNode::Create(m_pPools.get(), GetRootBucketCount(arStrings.GetSize()));
    const UINT nChildSize = GetNextSize(pRoot->GetBucketCount(), 3);
    for (INT_PTR i = 0; i < arStrings.GetSize(); ++i) {
        const CString str = m_bLowerCase ? CKLVSyntaxEditLexText::Lower(arStrings[i]) : arStrings[i];
        if (!str.IsEmpty()) AddString(pRoot, str, nChildSize);
    }
}

void CKLVSyntaxEditLexTagTree::AddString(CKLVSyntaxEditLexTagNode* pNode, LPCSTR p, UINT nSize) {
    auto& arFirst = pNode == m_pPlain ? m_arPlainFirst : m_arInvertedFirst;
    for (bool bRoot = true;; bRoot = false) {
        const int nBytes = CKLVSyntaxEditLexText::CharBytes(p);
        const WORD wCode = CKLVSyntaxEditLexText::CharCode(p, nBytes);
        KLV_LEX_TAG_ENTRY* pEntry = pNode->FindOrAdd(wCode);
        if (bRoot && wCode < 256) arFirst[wCode] = pEntry;
        p += nBytes;
        if (!*p) {
            pEntry->wFlags |= KLV_LEX_TAG_ENTRY::klvTerminal;
            return;
        }
        if (!pEntry->pChild) pEntry->pChild = CKLVSyntaxEditLexTagNode::Create(m_pPools.get(), nSize);
        pNode = pEntry->pChild;
        nSize = GetNextSize(nSize, 1);
    }
}

// ---------------------------------------------------------------------------------------------
// Look-up

int CKLVSyntaxEditLexTagTree::LookupNode(const CKLVSyntaxEditLexTagNode* pNode, LPCSTR p, int nMaxChars,
                                         WORD wFirstOverride) const {
    const int nBytes = CKLVSyntaxEditLexText::CharBytes(p);
    if (!pNode || nBytes == 0 || nMaxChars <= 0) return 0;
    WORD wChar = wFirstOverride ? wFirstOverride : CKLVSyntaxEditLexText::CharCode(p, nBytes);
    if (m_bLowerCase) wChar = CKLVSyntaxEditLexText::LowerCode(wChar);
    const KLV_LEX_TAG_ENTRY* pEntry = FindEntry(pNode, wChar);
    if (!pEntry) return 0;
    if (pEntry->pChild) {
        const int nRest = LookupNode(pEntry->pChild, p + nBytes, nMaxChars - 1, 0);
        if (nRest > 0) return nBytes + nRest;
    }
    return (pEntry->wFlags & KLV_LEX_TAG_ENTRY::klvTerminal) ? nBytes : 0;
}

const KLV_LEX_TAG_ENTRY* CKLVSyntaxEditLexTagTree::FindEntry(const CKLVSyntaxEditLexTagNode* pNode, WORD wCode) const {
    if (wCode < 256 && pNode == m_pPlain) return m_arPlainFirst[wCode];
    if (wCode < 256 && pNode == m_pInverted) return m_arInvertedFirst[wCode];
    return pNode->Find(wCode);
}

int CKLVSyntaxEditLexTagTree::LookupTree(const CKLVSyntaxEditLexTagNode* pRoot, LPCSTR p, int nMaxChars,
                                         BOOL* pbSwapped) const {
    int nMatched = LookupNode(pRoot, p, nMaxChars, 0);
    if (nMatched == 0 && !m_bLowerCase && pRoot) {
        // One more try with the first letter in the other case.
        const int nBytes = CKLVSyntaxEditLexText::CharBytes(p);
        const WORD wSwapped = nBytes ? CKLVSyntaxEditLexText::SwapCaseCode(CKLVSyntaxEditLexText::CharCode(p, nBytes)) : 0;
        if (wSwapped) nMatched = LookupNode(pRoot, p, nMaxChars, wSwapped);
        if (pbSwapped) *pbSwapped = nMatched > 0;
    }
    return nMatched;
}

int CKLVSyntaxEditLexTagTree::Find(LPCSTR p, int nMaxChars, BOOL* pbSwapped) const {
    if (pbSwapped) *pbSwapped = FALSE;
    if (!p || !*p) return 0;
    int nMatched = LookupTree(m_pPlain, p, nMaxChars, pbSwapped);
    if (nMatched == 0 && m_pInverted && LookupTree(m_pInverted, p, nMaxChars, nullptr) == 0)
        nMatched = CKLVSyntaxEditLexText::CharBytes(p);
    return nMatched;
}

int CKLVSyntaxEditLexTagTree::Lookup(LPCSTR p, int nMaxChars, CString& strMatch, BOOL* pbSwapped) const {
    const int nMatched = Find(p, nMaxChars, pbSwapped);
    if (nMatched > 0) strMatch.Append(p, nMatched);
    return nMatched;
}
