// Preparing a class's tag lists for matching: sorted lists and the tag trees.
#include "toolkit/syntaxedit/lexer/SyntaxEditLexClass.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditLexText.h"

#include <algorithm>
#include <vector>

namespace {

const int kCompiledLists[] = {klvLexPreviousTag, klvLexPreviousTagSeparators, klvLexStartTag,
                              klvLexEndTag,      klvLexEndSeparators,         klvLexTokenTag,
                              klvLexTokenStartSeparators, klvLexTokenEndSeparators, klvLexSkipTag,
                              klvLexActiveTags};

void CompileList(CKLVSyntaxEditLexAttrArray& list, BOOL bCaseSensitive) {
    const bool bAscending = list.GetKey() == klvLexActiveTags;
    std::vector<CString> arStrings;
    CKLVSyntaxEditLexAttrArray compiled(list.GetKey());
    for (INT_PTR i = 0; i < list.GetSize(); ++i) {
        const CKLVSyntaxEditLexValueObj* pValue = list.GetAt(i);
        if (pValue->m_nKind == klvLexValueStrings) {
            for (INT_PTR j = 0; j < pValue->m_arStrings.GetSize(); ++j) arStrings.push_back(pValue->m_arStrings[j]);
        } else {
            compiled.Add(pValue->Clone());
        }
    }
    if (!arStrings.empty()) {
        // Descending order puts a longer tag before any shorter tag that begins it, so a
        // first-match scan prefers the longer one.
        std::sort(arStrings.begin(), arStrings.end(), [&](const CString& a, const CString& b) {
            const int n = CKLVSyntaxEditLexText::Compare(a, b, bCaseSensitive);
            return bAscending ? n < 0 : n > 0;
        });
        if (bAscending)
            arStrings.erase(std::unique(arStrings.begin(), arStrings.end(),
                                        [](const CString& a, const CString& b) { return a.Compare(b) == 0; }),
                            arStrings.end());
        CStringArray arSorted;
        for (const CString& str : arStrings) arSorted.Add(str);
        compiled.InsertFront(KLVMakeCounted<CKLVSyntaxEditLexValueObj>(arSorted));
    }
    list.Swap(compiled);
}

}  // namespace

void CKLVSyntaxEditLexClass::CompileTags() {
    const BOOL bCaseSensitive = IsCaseSensitive();
    for (int nKey : kCompiledLists) CompileList(m_arTags[nKey], bCaseSensitive);
}

void CKLVSyntaxEditLexClass::AddActiveValues(const CKLVSyntaxEditLexAttrArray& list, INT_PTR nMax) {
    const INT_PTR nCount = nMax < 0 ? list.GetSize() : std::min(nMax, list.GetSize());
    CKLVSyntaxEditLexAttrArray& active = m_arTags[klvLexActiveTags];
    for (INT_PTR i = 0; i < nCount; ++i) {
        CKLVLexValuePtr pValue;
        pValue.AssignRaw(list.GetAt(i));
        active.AddUnique(pValue);
    }
}

int CKLVSyntaxEditLexClass::BuildActiveTags() {
    CKLVSyntaxEditLexAttrArray& active = m_arTags[klvLexActiveTags];
    // A class met again while its own list is being built (a loop in the tree) adds nothing.
    if (m_bBuildingActiveTags) return 0;
    m_bBuildingActiveTags = TRUE;
    active.RemoveAll();
    AddActiveValues(m_arTags[klvLexStartTag]);
    if (m_arTags[klvLexStartTag].IsEmpty()) {
        AddActiveValues(m_arTags[klvLexPreviousTag]);
        AddActiveValues(m_arTags[klvLexPreviousTagSeparators]);
    }
    AddActiveValues(m_arTags[klvLexTokenTag]);
    for (CKLVLexClassList* pList : {&m_arChildren, &m_arChildren2})
        for (const CKLVLexClassPtr& pChild : *pList) {
            const int nChildStart = pChild->BuildActiveTags();
            AddActiveValues(pChild->GetActiveTags(), nChildStart);
        }
    const int nStartPart = static_cast<int>(active.GetSize());
    AddActiveValues(m_arTags[klvLexSkipTag]);
    AddActiveValues(m_arTags[klvLexEndTag]);
    AddActiveValues(m_arTags[klvLexEndSeparators]);
    m_treeActive.Build(active, TRUE);
    // Tokens follow the class's letter-case rule like every other tag.
    m_treeToken.Build(m_arTags[klvLexTokenTag], !IsCaseSensitive());
    m_bBuildingActiveTags = FALSE;
    return nStartPart;
}
