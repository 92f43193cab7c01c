// Tag trees: the tags of a list arranged by character for longest-match look-up. A pair holds
// a plain tree (literal tags and the members of character classes) and an inverted tree (the
// members of inverted classes: any other character matches).
#pragma once

#include "toolkit/syntaxedit/lexer/SyntaxEditLexAllocator.h"

#include <array>

class CKLVSyntaxEditLexAttrArray;

struct KLV_LEX_TAG_ENTRY {
    enum { klvTerminal = 0x1 };
    WORD wChar = 0;
    WORD wFlags = 0;
    CKLVSyntaxEditLexTagNode* pChild = nullptr;
    KLV_LEX_TAG_ENTRY* pNext = nullptr;
};

// One level of a tree: a hash table of entries by character (bucket = code % bucket count).
class CKLVSyntaxEditLexTagNode {
public:
    CKLVSyntaxEditLexTagNode(CKLVSyntaxEditLexPools* pPools, UINT nBuckets);
    ~CKLVSyntaxEditLexTagNode();
    CKLVSyntaxEditLexTagNode(const CKLVSyntaxEditLexTagNode&) = delete;
    CKLVSyntaxEditLexTagNode& operator=(const CKLVSyntaxEditLexTagNode&) = delete;

    UINT GetBucketCount() const { return m_nBuckets; }
    KLV_LEX_TAG_ENTRY* Find(WORD wChar) const;
    KLV_LEX_TAG_ENTRY* FindOrAdd(WORD wChar);

    static CKLVSyntaxEditLexTagNode* Create(CKLVSyntaxEditLexPools* pPools, UINT nBuckets);
    static void Destroy(CKLVSyntaxEditLexPools* pPools, CKLVSyntaxEditLexTagNode* pNode);

private:
    CKLVSyntaxEditLexPools* m_pPools;
    UINT m_nBuckets;
    KLV_LEX_TAG_ENTRY** m_ppBuckets;
};

class CKLVSyntaxEditLexTagTree {
public:
    CKLVSyntaxEditLexTagTree() = default;
    ~CKLVSyntaxEditLexTagTree() { Clear(); }
    CKLVSyntaxEditLexTagTree(const CKLVSyntaxEditLexTagTree&) = delete;
    CKLVSyntaxEditLexTagTree& operator=(const CKLVSyntaxEditLexTagTree&) = delete;

    // Rebuilds the pair from a value list; with bLowerCase tags and looked-up text are
    // lower-cased.
    void Build(const CKLVSyntaxEditLexAttrArray& list, BOOL bLowerCase);
    void Clear();
    BOOL IsEmpty() const { return !m_pPlain && !m_pInverted; }

    // Longest match at p over at most nMaxChars characters: the bytes matched (0: none); the
    // matched text is appended to strMatch. pbSwapped: the match needed the first letter in
    // the other case.
    int Lookup(LPCSTR p, int nMaxChars, CString& strMatch, BOOL* pbSwapped = nullptr) const;
    // The same look-up without the copy: the bytes matched.
    int Find(LPCSTR p, int nMaxChars, BOOL* pbSwapped = nullptr) const;

    const CKLVSyntaxEditLexTagNode* GetPlainRoot() const { return m_pPlain; }
    const CKLVSyntaxEditLexTagNode* GetInvertedRoot() const { return m_pInverted; }

    // Hash sizing: the smallest table prime not below n (for n < 50), else n; the root's
    // bucket count for n strings; the size of the next level below a level of size s.
    static UINT RoundUpToPrime(UINT n);
    static UINT GetRootBucketCount(INT_PTR nStrings);
    static UINT GetNextSize(UINT nSize, UINT nMin);

private:
    void AddStrings(CKLVSyntaxEditLexTagNode*& pRoot, const CStringArray& arStrings);
    void AddString(CKLVSyntaxEditLexTagNode* pNode, LPCSTR p, UINT nSize);
    // Bytes of the longest match below pNode (0: none).
    int LookupNode(const CKLVSyntaxEditLexTagNode* pNode, LPCSTR p, int nMaxChars, WORD wFirstOverride) const;
    int LookupTree(const CKLVSyntaxEditLexTagNode* pRoot, LPCSTR p, int nMaxChars, BOOL* pbSwapped) const;
    // The entry of a node for a code: a root answers single-byte codes from its table (the scan
    // at every character mostly stops there), everything else is hashed.
    const KLV_LEX_TAG_ENTRY* FindEntry(const CKLVSyntaxEditLexTagNode* pNode, WORD wCode) const;

    std::shared_ptr<CKLVSyntaxEditLexPools> m_pPools;
    CKLVSyntaxEditLexTagNode* m_pPlain = nullptr;
    CKLVSyntaxEditLexTagNode* m_pInverted = nullptr;
    BOOL m_bLowerCase = FALSE;
    // The entries of each root by single-byte code (stored case).
    std::array<const KLV_LEX_TAG_ENTRY*, 256> m_arPlainFirst{};
    std::array<const KLV_LEX_TAG_ENTRY*, 256> m_arInvertedFirst{};
};
