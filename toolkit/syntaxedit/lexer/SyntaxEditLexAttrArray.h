// A list of values of one tag attribute of a lex class ("start:tag", "end:separators" ...).
// Each list knows its key and accepts values only when handed that key.
#pragma once

#include "toolkit/syntaxedit/lexer/SyntaxEditLexValueObj.h"

#include <atomic>
#include <bitset>
#include <vector>

// The tag keys in the order of the class's tag table.
enum KLVSyntaxEditLexTagKey {
    klvLexActiveTags = 0,
    klvLexPreviousClass,
    klvLexPreviousTag,
    klvLexPreviousTagSeparators,
    klvLexStartClass,
    klvLexStartTag,
    klvLexEndClass,
    klvLexEndTag,
    klvLexEndSeparators,
    klvLexTokenTag,
    klvLexTokenStartSeparators,
    klvLexTokenEndSeparators,
    klvLexSkipTag,
    klvLexTagKeyCount
};

class CKLVSyntaxEditLexAttrArray : public CObject {
public:
    explicit CKLVSyntaxEditLexAttrArray(int nKey = klvLexActiveTags) : m_nKey(nKey) {}
    CKLVSyntaxEditLexAttrArray(const CKLVSyntaxEditLexAttrArray&) = delete;
    CKLVSyntaxEditLexAttrArray& operator=(const CKLVSyntaxEditLexAttrArray&) = delete;

    // The key of a list ("start:tag"); the index of a key (any case), or -1.
    static LPCSTR GetKeyName(int nKey);
    static int FindKey(LPCSTR lpszKey);
    int GetKey() const { return m_nKey; }
    void SetKey(int nKey) { m_nKey = nKey; }

    // Appends the values when lpszKey is this list's key (any case).
    BOOL SetValues(LPCSTR lpszKey, const CKLVSyntaxEditLexAttrArray& values);

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_arValues.size()); }
    BOOL IsEmpty() const { return m_arValues.empty(); }
    CKLVSyntaxEditLexValueObj* GetAt(INT_PTR i) const { return m_arValues.at(static_cast<size_t>(i)).Get(); }
    void Add(const CKLVLexValuePtr& pValue) {
        m_arValues.push_back(pValue);
        Changed();
    }
    // Appends the value only when no value of the list equals it.
    BOOL AddUnique(const CKLVLexValuePtr& pValue);
    void InsertFront(const CKLVLexValuePtr& pValue) {
        m_arValues.insert(m_arValues.begin(), pValue);
        Changed();
    }
    void Append(const CKLVSyntaxEditLexAttrArray& other);
    // Shares the other list's values (references, not copies).
    void Copy(const CKLVSyntaxEditLexAttrArray& other);
    void RemoveAll() {
        m_arValues.clear();
        Changed();
    }
    void Swap(CKLVSyntaxEditLexAttrArray& other) {
        m_arValues.swap(other.m_arValues);
        Changed();
        other.Changed();
    }
    BOOL IsEqual(const CKLVSyntaxEditLexAttrArray& other) const;

    // Whether a forward match of the list can begin with this byte: false only when no string
    // tag can (in the given letter-case rule) and no character class takes it. Worked out on
    // first use after a change; a thread that finds it being worked out gets true.
    bool MayStartWith(char ch, BOOL bCaseSensitive) const {
        if (m_nFirstState.load(std::memory_order_acquire) != klvFirstReady) return MayStartWithFirstTime(ch, bCaseSensitive);
        return (bCaseSensitive ? m_firstCase : m_firstNoCase).test(static_cast<BYTE>(ch));
    }

private:
    enum { klvFirstUnknown, klvFirstBuilding, klvFirstReady };
    void Changed() { m_nFirstState.store(klvFirstUnknown, std::memory_order_release); }
    void BuildFirstBytes() const;
    bool MayStartWithFirstTime(char ch, BOOL bCaseSensitive) const;

    int m_nKey;
    std::vector<CKLVLexValuePtr> m_arValues;
    mutable std::atomic<int> m_nFirstState{klvFirstUnknown};
    mutable std::bitset<256> m_firstCase;
    mutable std::bitset<256> m_firstNoCase;
};
