#include "toolkit/syntaxedit/lexer/SyntaxEditLexValueObj.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditLexAttrArray.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexClass.h"

CKLVSyntaxEditLexValueObj::CKLVSyntaxEditLexValueObj(CKLVSyntaxEditLexAttrArray* pList)
    : m_nKind(klvLexValueListRef), m_pList(pList) {}

CKLVSyntaxEditLexValueObj::CKLVSyntaxEditLexValueObj(LPCSTR lpszString, int nKind) : m_nKind(nKind) {
    m_arStrings.Add(CString(lpszString));
}

CKLVSyntaxEditLexValueObj::CKLVSyntaxEditLexValueObj(const CStringArray& arStrings) : m_nKind(klvLexValueStrings) {
    m_arStrings.Copy(arStrings);
}

CKLVSyntaxEditLexValueObj::CKLVSyntaxEditLexValueObj(int nValue) : m_nKind(klvLexValueInt), m_nValue(nValue) {}

CKLVSyntaxEditLexValueObj::CKLVSyntaxEditLexValueObj(CKLVSyntaxEditLexClass* pClass) : m_nKind(klvLexValueClassRef) {
    m_pClass.AssignRaw(pClass);
}

CKLVSyntaxEditLexValueObj::CKLVSyntaxEditLexValueObj(const CKLVSyntaxEditLexValueObj& other)
    : CCmdTarget(),
      m_nKind(other.m_nKind),
      m_pClass(other.m_pClass),
      m_pList(other.m_pList),
      m_nValue(other.m_nValue),
      m_CharClass(other.m_CharClass) {
    m_arStrings.Copy(other.m_arStrings);
}

CKLVSyntaxEditLexValueObj::~CKLVSyntaxEditLexValueObj() = default;

BOOL CKLVSyntaxEditLexValueObj::SetCharClass(LPCSTR lpszText) {
    m_nKind = klvLexValueCharClass;
    m_nValue = 0;
    return m_CharClass.Parse(lpszText);
}

BOOL CKLVSyntaxEditLexValueObj::IsString() const {
    return m_nKind == klvLexValueStrings || m_nKind == klvLexValueClassNames;
}

CString CKLVSyntaxEditLexValueObj::GetFirstString() const {
    return IsString() && !m_arStrings.IsEmpty() ? m_arStrings[0] : CString();
}

CKLVSmartPtr<CKLVSyntaxEditLexValueObj> CKLVSyntaxEditLexValueObj::Clone() const {
    return KLVMakeCounted<CKLVSyntaxEditLexValueObj>(*this);
}

BOOL CKLVSyntaxEditLexValueObj::IsEqual(const CKLVSyntaxEditLexValueObj& other) const {
    if (m_nKind != other.m_nKind) return FALSE;
    switch (m_nKind) {
    case klvLexValueClassNames:
    case klvLexValueStrings:
        if (m_arStrings.GetSize() != other.m_arStrings.GetSize()) return FALSE;
        for (INT_PTR i = 0; i < m_arStrings.GetSize(); ++i)
            if (m_arStrings[i].Compare(other.m_arStrings[i]) != 0) return FALSE;
        return TRUE;
    case klvLexValueClassRef:
        if (!m_pClass || !other.m_pClass) return m_pClass.Get() == other.m_pClass.Get();
        return m_pClass->GetName().Compare(other.m_pClass->GetName()) == 0;
    case klvLexValueListRef:
        if (!m_pList || !other.m_pList) return m_pList == other.m_pList;
        return m_pList->IsEqual(*other.m_pList);
    case klvLexValueInt: return m_nValue == other.m_nValue;
    case klvLexValueCharClass: return m_CharClass == other.m_CharClass;
    default: return TRUE;
    }
}
