#include "toolkit/syntaxedit/lexer/SyntaxEditLexClass.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditLexText.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// The tag keys of each group, in table order.
struct GroupRange {
    int nFirst;
    int nLast;
};
const GroupRange kGroups[] = {
    {klvLexPreviousClass, klvLexPreviousTagSeparators},
    {klvLexStartClass, klvLexStartTag},
    {klvLexEndClass, klvLexEndSeparators},
    {klvLexTokenTag, klvLexTokenEndSeparators},
    {klvLexSkipTag, klvLexSkipTag},
};

BOOL HasPrefix(const CString& strKey, LPCSTR lpszPrefix) {
    if (!lpszPrefix || !*lpszPrefix) return TRUE;
    return strKey.Left(static_cast<int>(std::strlen(lpszPrefix))).Compare(lpszPrefix) == 0;
}

}  // namespace

template <class VISIT>
void CKLVSyntaxEditLexClass::VisitAncestors(BOOL bWithThis, VISIT visit) {
    // A parent chain that loops back (a class made its own ancestor) ends at the first class
    // seen twice.
    std::vector<CKLVSyntaxEditLexClass*> arSeen;
    for (CKLVSyntaxEditLexClass* p = bWithThis ? this : m_pParent.Get(); p; p = p->m_pParent.Get()) {
        if (std::find(arSeen.begin(), arSeen.end(), p) != arSeen.end()) return;
        arSeen.push_back(p);
        if (visit(p)) return;
    }
}

CKLVSyntaxEditLexClass::CKLVSyntaxEditLexClass() : m_mapAttributes(10) {
    for (int i = 0; i < klvLexTagKeyCount; ++i) m_arTags[i].SetKey(i);
    m_mapAttributes.InitHashTable(17, FALSE);
    ResetCachedFlags();
}

CKLVSyntaxEditLexClass::~CKLVSyntaxEditLexClass() = default;

// ---------------------------------------------------------------------------------------------
// Attributes

CKLVLexValuePtr CKLVSyntaxEditLexClass::GetPropertyValue(LPCSTR lpszKey) {
    if (CString(lpszKey).CompareNoCase("name") == 0)
        return KLVMakeCounted<CKLVSyntaxEditLexValueObj>(m_strName, klvLexValueClassNames);
    const int nKey = CKLVSyntaxEditLexAttrArray::FindKey(lpszKey);
    if (nKey >= 0 && !m_arTags[nKey].IsEmpty()) return KLVMakeCounted<CKLVSyntaxEditLexValueObj>(&m_arTags[nKey]);
    return CKLVLexValuePtr();
}

CKLVLexValuePtr CKLVSyntaxEditLexClass::GetAttribute(LPCSTR lpszKey, BOOL bRecursive) {
    const CString strKey = CKLVSyntaxEditLexText::Lower(lpszKey);
    CKLVLexValuePtr pFound;
    VisitAncestors(TRUE, [&](CKLVSyntaxEditLexClass* pClass) {
        return (pClass->m_mapAttributes.Lookup(strKey, pFound) && pFound) || !bRecursive;
    });
    return pFound;
}

int CKLVSyntaxEditLexClass::GetAttributeInt(LPCSTR lpszKey, BOOL bRecursive, int nDefault) {
    const CKLVLexValuePtr pValue = GetAttribute(lpszKey, bRecursive);
    return pValue && pValue->m_nKind == klvLexValueInt ? pValue->m_nValue : nDefault;
}

BOOL CKLVSyntaxEditLexClass::GetAttributeBool(LPCSTR lpszKey, BOOL bRecursive, BOOL bDefault) {
    const int nValue = GetAttributeInt(lpszKey, bRecursive, -1);
    return nValue == -1 ? bDefault : nValue != 0;
}

void CKLVSyntaxEditLexClass::SetAttribute(LPCSTR lpszKey, const CKLVSyntaxEditLexValueObj& value) {
    ResetCachedFlags();
    m_mapAttributes.SetAt(CKLVSyntaxEditLexText::Lower(lpszKey), value.Clone());
}

void CKLVSyntaxEditLexClass::CopyAttributes(const CKLVSyntaxEditLexClass& from, LPCSTR lpszPrefix) {
    if (&from == this) return;
    ResetCachedFlags();
    POSITION pos = from.m_mapAttributes.GetStartPosition();
    while (pos) {
        CString strKey;
        CKLVLexValuePtr pValue;
        from.m_mapAttributes.GetNextAssoc(pos, strKey, pValue);
        if (HasPrefix(strKey, lpszPrefix)) m_mapAttributes.SetAt(strKey, pValue);
    }
}

void CKLVSyntaxEditLexClass::RemoveAttributes(LPCSTR lpszPrefix) {
    ResetCachedFlags();
    if (!lpszPrefix || !*lpszPrefix) {
        m_mapAttributes.RemoveAll();
        return;
    }
    CStringArray arKeys;
    POSITION pos = m_mapAttributes.GetStartPosition();
    while (pos) {
        CString strKey;
        CKLVLexValuePtr pValue;
        m_mapAttributes.GetNextAssoc(pos, strKey, pValue);
        if (HasPrefix(strKey, lpszPrefix)) arKeys.Add(strKey);
    }
    for (INT_PTR i = 0; i < arKeys.GetSize(); ++i) m_mapAttributes.RemoveKey(arKeys[i]);
}

// ---------------------------------------------------------------------------------------------
// Cached flags and text attributes

void CKLVSyntaxEditLexClass::ResetCachedFlags() {
    std::fill(std::begin(m_arFlags), std::end(m_arFlags), -1);
    m_bTextAttributesRead = FALSE;
}

int CKLVSyntaxEditLexClass::ReadFlag(int nFlag) {
    switch (nFlag) {
    case klvFlagCaseSensitive: return GetAttributeInt("casesensitive", TRUE, 0) > 0;
    case klvFlagCollapsable: return GetAttributeInt("collapsable", FALSE, 0) > 0;
    case klvFlagRestartRunLoop: return GetAttributeBool("restartrunloop", FALSE, TRUE) ? 1 : 0;
    case klvFlagEndClassParent: {
        const CKLVLexValuePtr pValue = GetAttribute("end:class:parent", FALSE);
        if (pValue && pValue->IsString())
            for (INT_PTR i = 0; i < pValue->m_arStrings.GetSize(); ++i)
                if (pValue->m_arStrings[i].CompareNoCase("this") == 0) return 1;
        return 0;
    }
    default: return 0;
    }
}

int CKLVSyntaxEditLexClass::CacheFlag(int nFlag) {
    const int nValue = ReadFlag(nFlag);
    m_arFlags[nFlag] = nValue;
    return nValue;
}

BOOL CKLVSyntaxEditLexClass::IsCaseSensitive() { return GetCachedFlag(klvFlagCaseSensitive); }
BOOL CKLVSyntaxEditLexClass::IsCollapsable() { return GetCachedFlag(klvFlagCollapsable); }
BOOL CKLVSyntaxEditLexClass::IsRestartRunLoop() { return GetCachedFlag(klvFlagRestartRunLoop); }
BOOL CKLVSyntaxEditLexClass::IsEndClassParent() { return GetCachedFlag(klvFlagEndClassParent); }

KLV_LEX_TEXT_ATTRIBUTES CKLVSyntaxEditLexClass::GetCachedTextAttributes() {
    if (m_bTextAttributesRead) return m_textAttributes;
    KLV_LEX_TEXT_ATTRIBUTES attr;
    struct ColorKey {
        LPCSTR lpszKey;
        CKLVColorValue KLV_LEX_TEXT_ATTRIBUTES::*pMember;
    };
    static const ColorKey kColors[] = {
        {"txt:colorFG", &KLV_LEX_TEXT_ATTRIBUTES::clrFG},
        {"txt:colorBK", &KLV_LEX_TEXT_ATTRIBUTES::clrBK},
        {"txt:colorSelFG", &KLV_LEX_TEXT_ATTRIBUTES::clrSelFG},
        {"txt:colorSelBK", &KLV_LEX_TEXT_ATTRIBUTES::clrSelBK},
    };
    for (const ColorKey& color : kColors) {
        const CKLVLexValuePtr pValue = GetAttribute(color.lpszKey, TRUE);
        if (pValue && pValue->m_nKind == klvLexValueInt) (attr.*color.pMember).SetCustomValue(pValue->m_nValue);
    }
    const int nBold = GetAttributeInt("txt:Bold", TRUE, -1);
    if (nBold != -1) attr.nWeight = nBold ? 700 : 255;
    const int nItalic = GetAttributeInt("txt:Italic", TRUE, -1);
    if (nItalic != -1) attr.bItalic = nItalic ? 1 : 255;
    const int nUnderline = GetAttributeInt("txt:Underline", TRUE, -1);
    if (nUnderline != -1) attr.bUnderline = nUnderline ? 1 : 255;
    m_textAttributes = attr;
    m_bTextAttributesRead = TRUE;
    return attr;
}

void CKLVSyntaxEditLexClass::GetTextAttributes(CKLVSyntaxEditTextSegment& segment) {
    const KLV_LEX_TEXT_ATTRIBUTES attr = GetCachedTextAttributes();
    const std::pair<const CKLVColorValue*, CKLVColorValue*> colors[] = {
        {&attr.clrFG, &segment.clrColors.crText},
        {&attr.clrBK, &segment.clrColors.crBack},
        {&attr.clrSelFG, &segment.clrColors.crSelText},
        {&attr.clrSelBK, &segment.clrColors.crSelBack},
    };
    for (const auto& color : colors)
        if (!color.first->IsUnset()) *color.second = *color.first;
    segment.lf.lfWeight = attr.nWeight;
    segment.lf.lfItalic = attr.bItalic;
    segment.lf.lfUnderline = attr.bUnderline;
}

// ---------------------------------------------------------------------------------------------
// Tag table

BOOL CKLVSyntaxEditLexClass::IsGroupEmpty(int nGroup) const {
    const GroupRange& range = kGroups[nGroup];
    for (int i = range.nFirst; i <= range.nLast; ++i)
        if (!m_arTags[i].IsEmpty()) return FALSE;
    return TRUE;
}

BOOL CKLVSyntaxEditLexClass::IsTagTableEmpty() const {
    for (int nGroup = klvLexGroupPrevious; nGroup <= klvLexGroupSkip; ++nGroup)
        if (!IsGroupEmpty(nGroup)) return FALSE;
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Relations, copies

void CKLVSyntaxEditLexClass::Clear() {
    // The lists are taken out first, so that classes that reach each other end.
    CKLVLexClassList arChildren, arChildren2;
    arChildren.swap(m_arChildren);
    arChildren2.swap(m_arChildren2);
    m_arSelf.clear();
    for (CKLVLexClassList* pList : {&arChildren, &arChildren2})
        for (const CKLVLexClassPtr& pChild : *pList) pChild->Clear();
    for (CKLVSyntaxEditLexAttrArray& list : m_arTags) list.RemoveAll();
    m_treeActive.Clear();
    m_treeToken.Clear();
    m_mapAttributes.RemoveAll();
    ResetCachedFlags();
    m_pParent.Release();
}

void CKLVSyntaxEditLexClass::AddChild(CKLVSyntaxEditLexClass* pChild, BOOL bSecond) {
    if (!pChild) return;
    CKLVLexClassPtr pHolder;
    pHolder.AssignRaw(pChild);
    if (pChild == this) {
        const bool bListed = std::any_of(m_arSelf.begin(), m_arSelf.end(),
                                         [&](const CKLVLexClassPtr& p) { return p.Get() == this; });
        if (!bListed) m_arSelf.push_back(pHolder);
        return;
    }
    pChild->m_pParent.AssignRaw(this);
    (bSecond ? m_arChildren2 : m_arChildren).push_back(pHolder);
}

void CKLVSyntaxEditLexClass::CopyFrom(const CKLVSyntaxEditLexClass& other) {
    if (&other == this) return;
    m_nParentKind = other.m_nParentKind;
    m_pParent = other.m_pParent;
    m_arParentNames.Copy(other.m_arParentNames);
    m_nChildrenKind = other.m_nChildrenKind;
    m_arChildrenNames.Copy(other.m_arChildrenNames);
    m_strName = other.m_strName;
    for (int i = 0; i < klvLexTagKeyCount; ++i) m_arTags[i].Copy(other.m_arTags[i]);
    m_mapAttributes.RemoveAll();
    CopyAttributes(other, nullptr);
    m_arChildren.clear();
    m_arChildren2.clear();
    m_arSelf.clear();
}

CKLVLexClassPtr CKLVSyntaxEditLexClass::CreateEmpty() const { return KLVMakeCounted<CKLVSyntaxEditLexClass>(); }

CKLVLexClassPtr CKLVSyntaxEditLexClass::Clone() const {
    CKLVLexClassPtr pClone = CreateEmpty();
    pClone->CopyFrom(*this);
    return pClone;
}

int CKLVSyntaxEditLexClass::GetParentInfo(CStringArray& arNames) const {
    arNames.Copy(m_arParentNames);
    return m_nParentKind;
}

int CKLVSyntaxEditLexClass::GetChildrenInfo(CStringArray& arNames) const {
    arNames.Copy(m_arChildrenNames);
    return m_nChildrenKind;
}

CKLVSyntaxEditLexClass* CKLVSyntaxEditLexClass::FindAncestor(LPCSTR lpszName) {
    CKLVSyntaxEditLexClass* pFound = nullptr;
    VisitAncestors(FALSE, [&](CKLVSyntaxEditLexClass* pClass) {
        if (pClass->m_strName.CompareNoCase(lpszName) == 0) pFound = pClass;
        return pFound != nullptr;
    });
    return pFound;
}

