#include "toolkit/syntaxedit/lexer/SyntaxEditLexAttrArray.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditLexText.h"

namespace {

const LPCSTR kKeyNames[klvLexTagKeyCount] = {
    "_active_tags",   "previous:class", "previous:tag", "previous:tag:separators", "start:class",
    "start:tag",      "end:class",      "end:tag",      "end:separators",          "token:tag",
    "token:start:separators", "token:end:separators", "skip:tag",
};

}  // namespace

LPCSTR CKLVSyntaxEditLexAttrArray::GetKeyName(int nKey) {
    return nKey >= 0 && nKey < klvLexTagKeyCount ? kKeyNames[nKey] : "";
}

int CKLVSyntaxEditLexAttrArray::FindKey(LPCSTR lpszKey) {
    for (int i = 0; i < klvLexTagKeyCount; ++i)
        if (CString(lpszKey).CompareNoCase(kKeyNames[i]) == 0) return i;
    return -1;
}

BOOL CKLVSyntaxEditLexAttrArray::SetValues(LPCSTR lpszKey, const CKLVSyntaxEditLexAttrArray& values) {
    if (FindKey(lpszKey) != m_nKey) return FALSE;
    Append(values);
    return TRUE;
}

BOOL CKLVSyntaxEditLexAttrArray::AddUnique(const CKLVLexValuePtr& pValue) {
    if (!pValue) return FALSE;
    for (const CKLVLexValuePtr& p : m_arValues)
        if (p->IsEqual(*pValue)) return FALSE;
    Add(pValue);
    return TRUE;
}

void CKLVSyntaxEditLexAttrArray::Append(const CKLVSyntaxEditLexAttrArray& other) {
    if (&other == this) return;
    m_arValues.insert(m_arValues.end(), other.m_arValues.begin(), other.m_arValues.end());
    Changed();
}

void CKLVSyntaxEditLexAttrArray::Copy(const CKLVSyntaxEditLexAttrArray& other) {
    if (&other == this) return;
    m_arValues = other.m_arValues;
    Changed();
}

BOOL CKLVSyntaxEditLexAttrArray::IsEqual(const CKLVSyntaxEditLexAttrArray& other) const {
    if (m_arValues.size() != other.m_arValues.size()) return FALSE;
    for (size_t i = 0; i < m_arValues.size(); ++i)
        if (!m_arValues[i]->IsEqual(*other.m_arValues[i])) return FALSE;
    return TRUE;
}

bool CKLVSyntaxEditLexAttrArray::MayStartWithFirstTime(char ch, BOOL bCaseSensitive) const {
    int nState = klvFirstUnknown;
    if (!m_nFirstState.compare_exchange_strong(nState, klvFirstBuilding, std::memory_order_acq_rel))
        return nState != klvFirstReady || MayStartWith(ch, bCaseSensitive);
    BuildFirstBytes();
    m_nFirstState.store(klvFirstReady, std::memory_order_release);
    return MayStartWith(ch, bCaseSensitive);
}

void CKLVSyntaxEditLexAttrArray::BuildFirstBytes() const {
    m_firstCase.reset();
    m_firstNoCase.reset();
    auto setFrom = [](std::bitset<256>& bits, int nFirst) {
        for (int b = nFirst; b < 256; ++b) bits.set(static_cast<size_t>(b));
    };
    for (const CKLVLexValuePtr& pValue : m_arValues) {
        if (pValue->m_nKind == klvLexValueStrings || pValue->m_nKind == klvLexValueClassNames) {
            for (INT_PTR j = 0; j < pValue->m_arStrings.GetSize(); ++j) {
                const auto c = static_cast<BYTE>(pValue->m_arStrings[j].GetString()[0]);
                if (!c) continue;
                m_firstCase.set(c);
                // Without letter case, text from 0x80 on goes to the code page's tables, and a
                // tag from 0x80 on may match any text.
                setFrom(m_firstNoCase, c < 0x80 ? 0x80 : 1);
                if (c < 0x80) {
                    m_firstNoCase.set(c);
                    m_firstNoCase.set(CKLVSyntaxEditLexText::LowerCode(c));
                    if (c >= 'a' && c <= 'z') m_firstNoCase.set(c - 32);
                }
            }
        } else if (pValue->m_nKind == klvLexValueCharClass) {
            for (int b = 1; b < 256; ++b) {
                const char sz[3] = {static_cast<char>(b), 'x', 0};
                if (KLVIsLeadByte(sz[0]) || pValue->m_CharClass.TestChar(sz) > 0) {
                    m_firstCase.set(static_cast<size_t>(b));
                    m_firstNoCase.set(static_cast<size_t>(b));
                }
            }
        }
    }
}
