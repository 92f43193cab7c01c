// Applying the property lines of a "lexClass:" block to a class.
#include "toolkit/syntaxedit/lexer/SyntaxEditLexClass.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditLexText.h"

#include <cstdlib>

int CKLVSyntaxEditLexClass::ParseInteger(LPCSTR lpszText) {
    return static_cast<int>(std::strtoll(lpszText ? lpszText : "", nullptr, 0));
}

COLORREF CKLVSyntaxEditLexClass::RgbToColorRef(int nRgb) {
    return RGB((nRgb >> 16) & 0xFF, (nRgb >> 8) & 0xFF, nRgb & 0xFF);
}

BOOL CKLVSyntaxEditLexClass::ApplyProperty(const CKLVSyntaxEditLexClassProperty& prop) {
    if (prop.m_arKeyParts.IsEmpty()) return FALSE;
    typedef BOOL (CKLVSyntaxEditLexClass::*Setter)(const CKLVSyntaxEditLexClassProperty&, BOOL&);
    static const Setter kSetters[] = {&CKLVSyntaxEditLexClass::SetRelationProperty,
                                      &CKLVSyntaxEditLexClass::SetTagProperty,
                                      &CKLVSyntaxEditLexClass::SetAttributeProperty};
    for (Setter pfnSetter : kSetters) {
        BOOL bHandled = FALSE;
        if (!(this->*pfnSetter)(prop, bHandled)) return FALSE;
        if (bHandled) return TRUE;
    }
    return FALSE;
}

BOOL CKLVSyntaxEditLexClass::SetRelationProperty(const CKLVSyntaxEditLexClassProperty& prop, BOOL& bHandled) {
    const CString& strFirst = prop.m_arKeyParts[0];
    if (strFirst.CompareNoCase("parent") == 0) {
        int nKind = klvLexParentClass;
        if (prop.m_arKeyParts.GetSize() > 1) {
            const CString& strSecond = prop.m_arKeyParts[1];
            if (strSecond.CompareNoCase("file") == 0)
                nKind = klvLexParentFile;
            else if (strSecond.CompareNoCase("dyn") == 0)
                nKind = klvLexParentDyn;
            else
                return FALSE;
        }
        m_nParentKind = nKind;
        m_arParentNames.Copy(prop.m_arValues);
        bHandled = TRUE;
        return TRUE;
    }
    if (strFirst.CompareNoCase("children") == 0) {
        CString strFirstValue = prop.m_arValues.IsEmpty() ? CString("0") : prop.m_arValues[0];
        if (strFirstValue.Trim() == "0") {
            m_nChildrenKind = klvLexChildrenNone;
        } else {
            m_nChildrenKind = klvLexChildrenNamed;
            m_arChildrenNames.Copy(prop.m_arValues);
        }
        bHandled = TRUE;
    }
    return TRUE;
}

BOOL CKLVSyntaxEditLexClass::SetTagProperty(const CKLVSyntaxEditLexClassProperty& prop, BOOL& bHandled) {
    const CString strKey = CKLVSyntaxEditLexText::JoinStrings(prop.m_arKeyParts, ":");
    const int nKey = CKLVSyntaxEditLexAttrArray::FindKey(strKey);
    if (nKey < 0) return TRUE;
    CKLVSyntaxEditLexAttrArray values(nKey);
    if (!ParseTagValues(prop, values)) return FALSE;
    m_arTags[nKey].SetValues(strKey, values);
    bHandled = TRUE;
    return TRUE;
}

BOOL CKLVSyntaxEditLexClass::SetAttributeProperty(const CKLVSyntaxEditLexClassProperty& prop, BOOL& bHandled) {
    bHandled = TRUE;
    if (prop.m_arValues.IsEmpty()) return TRUE;
    const CString strKey = CKLVSyntaxEditLexText::Lower(CKLVSyntaxEditLexText::JoinStrings(prop.m_arKeyParts, ":"));
    CKLVLexValuePtr pValue;
    CString strQuoted;
    const CString& strValue = prop.m_arValues[0];
    if (prop.m_arValues.GetSize() > 1)
        pValue = KLVMakeCounted<CKLVSyntaxEditLexValueObj>(prop.m_arValues);
    else if (IsQuotedValue(strValue, strQuoted))
        pValue = KLVMakeCounted<CKLVSyntaxEditLexValueObj>(strQuoted, klvLexValueStrings);
    else if (strKey == "end:class:parent")
        pValue = KLVMakeCounted<CKLVSyntaxEditLexValueObj>(strValue, klvLexValueStrings);
    else {
        int nValue = ParseInteger(strValue);
        if (strKey.Left(9) == "txt:color") nValue = static_cast<int>(RgbToColorRef(nValue));
        pValue = KLVMakeCounted<CKLVSyntaxEditLexValueObj>(nValue);
    }
    ResetCachedFlags();
    m_mapAttributes.SetAt(strKey, pValue);
    return TRUE;
}

BOOL CKLVSyntaxEditLexClass::IsQuotedValue(LPCSTR lpszText, CString& strValue) {
    CString str(lpszText);
    str.Trim();
    if (str.GetLength() < 2 || str[0] != '\'' || str[str.GetLength() - 1] != '\'') return FALSE;
    strValue = str.Mid(1, str.GetLength() - 2);
    return TRUE;
}

BOOL CKLVSyntaxEditLexClass::IsKeywordValue(LPCSTR lpszText, CString& strValue) {
    CString str(lpszText);
    str.Trim();
    if (str.GetLength() < 2 || str[0] != '@') return FALSE;
    strValue = str;
    return TRUE;
}

BOOL CKLVSyntaxEditLexClass::ParseTagValues(const CKLVSyntaxEditLexClassProperty& prop,
                                            CKLVSyntaxEditLexAttrArray& list) {
    list.RemoveAll();
    if (prop.m_arKeyParts.IsEmpty()) return TRUE;
    const CString strLast = CKLVSyntaxEditLexText::Lower(prop.m_arKeyParts[prop.m_arKeyParts.GetUpperBound()]);
    const BOOL bTags = strLast == "tag" || strLast == "separators";
    const BOOL bClasses = strLast == "class";
    // Consecutive strings of one kind share a value; anything else starts a new one.
    CKLVSyntaxEditLexValueObj* pGathering = nullptr;
    auto addString = [&](const CString& str, int nKind) {
        if (pGathering && pGathering->m_nKind == nKind) {
            pGathering->m_arStrings.Add(str);
            return;
        }
        CKLVLexValuePtr pValue = KLVMakeCounted<CKLVSyntaxEditLexValueObj>(str, nKind);
        pGathering = pValue.Get();
        list.Add(pValue);
    };
    for (INT_PTR i = 0; i < prop.m_arValues.GetSize(); ++i) {
        const CString& strRaw = prop.m_arValues[i];
        CString strValue;
        if (IsQuotedValue(strRaw, strValue)) {
            if (bTags) {
                addString(strValue, klvLexValueStrings);
                continue;
            }
        } else if (IsKeywordValue(strRaw, strValue)) {
            if (bTags) {
                CKLVLexValuePtr pValue = KLVMakeCounted<CKLVSyntaxEditLexValueObj>();
                if (!pValue->SetCharClass(strValue)) return FALSE;
                list.Add(pValue);
                pGathering = nullptr;
                continue;
            }
        } else if (bClasses) {
            strValue = strRaw;
            addString(strValue.Trim(), klvLexValueClassNames);
            continue;
        }
        pGathering = nullptr;
    }
    return TRUE;
}
