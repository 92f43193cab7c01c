#include "toolkit/syntaxedit/lexer/SyntaxEditLexAttrArray.h"

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
}

void CKLVSyntaxEditLexAttrArray::Copy(const CKLVSyntaxEditLexAttrArray& other) {
    if (&other != this) m_arValues = other.m_arValues;
}

BOOL CKLVSyntaxEditLexAttrArray::IsEqual(const CKLVSyntaxEditLexAttrArray& other) const {
    if (m_arValues.size() != other.m_arValues.size()) return FALSE;
    for (size_t i = 0; i < m_arValues.size(); ++i)
        if (!m_arValues[i]->IsEqual(*other.m_arValues[i])) return FALSE;
    return TRUE;
}
