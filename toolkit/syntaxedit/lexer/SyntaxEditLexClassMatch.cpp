// Matching a class at a text position: previous text, start, tokens, skipped text and end.
#include "toolkit/syntaxedit/lexer/SyntaxEditLexClass.h"

#include "toolkit/syntaxedit/text/SyntaxEditTextSource.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexText.h"


namespace {

const int kReadAhead = 512;
const int kPeekBytes = 2048;
const int kMaxTokenChars = 1024;

int CountChars(LPCSTR p, int nBytes) {
    int nChars = 0;
    for (int i = 0; i < nBytes; ++nChars) i += std::max(CKLVSyntaxEditLexText::CharBytes(p + i), 1);
    return nChars;
}

// Restores the iterator's peek offset when a test ends.
class CPeekOffset {
public:
    explicit CPeekOffset(IKLVSyntaxEditTextIterator* pIter) : m_pIter(pIter) {}
    ~CPeekOffset() { m_pIter->MoveOffset(0); }

    // The text nOffset characters away from the position (negative: before it).
    LPCSTR At(int nOffset, int nAhead) {
        m_pIter->MoveOffset(nOffset);
        return m_pIter->PeekText(nAhead);
    }

private:
    IKLVSyntaxEditTextIterator* m_pIter;
};

// A string tag that ends nOffset characters before the position: its bytes when it matches.
// The text before the position is never read past its start.
int MatchStringBackward(IKLVSyntaxEditTextIterator* pIter, const CString& strTag, int nOffset, BOOL bCase) {
    const int nChars = CountChars(strTag, strTag.GetLength());
    CPeekOffset peek(pIter);
    LPCSTR pEnd = peek.At(-nOffset, 0);
    LPCSTR pStart = peek.At(-(nOffset + nChars), 0);
    if (!pStart || !pEnd || pEnd - pStart != strTag.GetLength()) return 0;
    return CKLVSyntaxEditLexText::CompareForward(strTag, pStart, bCase) == strTag.GetLength() ? nChars : 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Tag and class tests

int CKLVSyntaxEditLexClass::MatchTagList(const CKLVSyntaxEditLexAttrArray& list, IKLVSyntaxEditTextIterator* pIter,
                                         int nOffset, BOOL bBackward, CString& strMatch) {
    const BOOL bCase = IsCaseSensitive();
    for (INT_PTR i = 0; i < list.GetSize(); ++i) {
        const CKLVSyntaxEditLexValueObj* pValue = list.GetAt(i);
        if (pValue->IsString()) {
            for (INT_PTR j = 0; j < pValue->m_arStrings.GetSize(); ++j) {
                const CString& strTag = pValue->m_arStrings[j];
                if (strTag.IsEmpty()) continue;   // an empty tag would match without moving on
                int nChars = 0;
                if (bBackward) {
                    nChars = MatchStringBackward(pIter, strTag, nOffset, bCase);
                } else {
                    CPeekOffset peek(pIter);
                    LPCSTR p = peek.At(nOffset, kPeekBytes);
                    const int nBytes = p ? CKLVSyntaxEditLexText::CompareForward(strTag, p, bCase) : -1;
                    if (nBytes > 0) nChars = CountChars(p, nBytes);
                }
                if (nChars > 0) {
                    strMatch = strTag;
                    return nChars;
                }
            }
        } else if (pValue->m_nKind == klvLexValueCharClass) {
            CPeekOffset peek(pIter);
            LPCSTR pEnd = bBackward ? peek.At(-nOffset, 0) : nullptr;
            LPCSTR p = bBackward ? peek.At(-(nOffset + 1), 0) : peek.At(nOffset, kPeekBytes);
            if (!p || (bBackward && pEnd - p < 1)) continue;
            CString strChar;
            const int nBytes = pValue->m_CharClass.Test(p, strChar);
            if (nBytes > 0 && (!bBackward || nBytes == pEnd - p)) {
                strMatch = strChar;
                return 1;
            }
        }
    }
    return 0;
}

BOOL CKLVSyntaxEditLexClass::CheckClass(const CKLVSyntaxEditLexAttrArray& list, IKLVSyntaxEditLexBlockSchema* pSchema,
                                        CKLVSyntaxEditLexParseContext* pContext, CKLVSyntaxEditLexTextBlock* pParent,
                                        const CKLVSyntaxEditPosition* pStartAtOrAfter, int nCount,
                                        CKLVLexBlockPtr& rFound) {
    CStringArray arNames;
    for (INT_PTR i = 0; i < list.GetSize(); ++i) arNames.Append(list.GetAt(i)->m_arStrings);
    CKLVLexBlockPtr pBlock = pContext ? pContext->m_pLastLinked : pSchema->GetLastLinkedBlock();
    if (!pBlock || (pParent && pBlock->m_pParent.Get() != pParent)) return FALSE;
    for (int i = 0; i < nCount && pBlock; ++i) {
        if (!pBlock->m_pClass) return FALSE;
        if (pStartAtOrAfter && pBlock->m_posStart < *pStartAtOrAfter) return FALSE;
        const CString strName = pBlock->m_pClass->GetName();
        for (INT_PTR j = 0; j < arNames.GetSize(); ++j)
            if (CKLVSyntaxEditLexText::Compare(strName, arNames[j], FALSE) == 0) {
                rFound = pBlock;
                return TRUE;
            }
        pBlock = CKLVLexBlockPtr(pBlock->m_pPrev);
    }
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Steps

BOOL CKLVSyntaxEditLexClass::CheckPrevious(IKLVSyntaxEditTextIterator* pIter, IKLVSyntaxEditLexBlockSchema* pSchema,
                                           CKLVSyntaxEditLexParseContext* pContext) {
    CKLVLexBlockPtr pFound;
    if (!m_arTags[klvLexPreviousClass].IsEmpty() &&
        !CheckClass(m_arTags[klvLexPreviousClass], pSchema, pContext, nullptr, nullptr, 1, pFound))
        return FALSE;
    if (m_arTags[klvLexPreviousTag].IsEmpty()) return TRUE;
    // Separators before the position are passed over, within the look-back the iterator keeps.
    int nBack = 0;
    CString strMatch;
    while (nBack < pIter->GetMaxBackOffset()) {
        const int n = MatchTagList(m_arTags[klvLexPreviousTagSeparators], pIter, nBack, TRUE, strMatch);
        if (n <= 0) break;
        nBack += n;
    }
    return nBack <= pIter->GetMaxBackOffset() &&
           MatchTagList(m_arTags[klvLexPreviousTag], pIter, nBack, TRUE, strMatch) > 0;
}

int CKLVSyntaxEditLexClass::CheckStart(IKLVSyntaxEditTextIterator* pIter, IKLVSyntaxEditLexBlockSchema* pSchema,
                                       CKLVLexBlockPtr& rBlock, CKLVSyntaxEditLexParseContext* pContext) {
    const BOOL bStartClass = !m_arTags[klvLexStartClass].IsEmpty();
    const BOOL bStartTag = !m_arTags[klvLexStartTag].IsEmpty();
    CKLVLexBlockPtr pFound;
    if (bStartClass && !CheckClass(m_arTags[klvLexStartClass], pSchema, pContext, nullptr, nullptr, 1, pFound)) return 0;
    CString strTag;
    const int nTagChars = bStartTag ? MatchTagList(m_arTags[klvLexStartTag], pIter, 0, FALSE, strTag) : 0;
    if (bStartTag && nTagChars <= 0) return 0;
    int nFlags = klvMatchOpened;
    if (bStartClass && pFound && m_pParent && pFound->m_pClass &&
        pFound->m_pClass->GetName().CompareNoCase(m_pParent->GetName()) != 0)
        nFlags |= klvMatchEncloses;
    CKLVLexBlockPtr pBlock = pSchema->CreateBlock();
    if (!pBlock) return nFlags | klvMatchCannotGoOn;
    {
        CKLVSyntaxEditLexBlockLock lock(pSchema);
        pBlock->m_pClass.AssignRaw(this);
        if (bStartTag) {
            pBlock->m_posStart = pIter->GetPosition();
            pBlock->m_nStartExtent = strTag.GetLength();
        } else if (pFound) {
            pBlock->m_posStart = pFound->m_posStart;
            pBlock->m_nStartExtent = pFound->m_nStartExtent;
        }
    }
    if (bStartTag) {
        pIter->Advance(nTagChars, kReadAhead);
        nFlags |= klvMatchConsumed;
    }
    rBlock = pBlock;
    return nFlags;
}

int CKLVSyntaxEditLexClass::CheckToken(IKLVSyntaxEditTextIterator* pIter, IKLVSyntaxEditLexBlockSchema* pSchema,
                                       CKLVLexBlockPtr& rBlock) {
    CString strToken;
    BOOL bSwapped = FALSE;
    pIter->MoveOffset(0);
    LPCSTR p = pIter->PeekText(kPeekBytes);
    if (!p || m_treeToken.Lookup(p, kMaxTokenChars, strToken, &bSwapped) <= 0) return 0;
    // The tree's second try in the other letter case is no match for a case-sensitive class.
    if (bSwapped && IsCaseSensitive()) return 0;
    if (!CheckTokenSeparators(pIter, strToken)) return 0;
    CKLVLexBlockPtr pBlock = pSchema->CreateBlock();
    if (!pBlock) return klvMatchCannotGoOn | klvMatchConsumed | klvMatchOpened | klvMatchEnded;
    const CKLVSyntaxEditPosition posStart = pIter->GetPosition();
    pIter->Advance(CountChars(strToken, strToken.GetLength()), kReadAhead);
    CKLVSyntaxEditPosition posEnd = pIter->GetPosition();
    if (!strToken.IsEmpty()) pIter->StepBack(posEnd);
    CKLVSyntaxEditLexBlockLock lock(pSchema);
    pBlock->m_pClass.AssignRaw(this);
    pBlock->m_posStart = posStart;
    pBlock->m_nStartExtent = strToken.GetLength();
    pBlock->m_posEnd = posEnd;
    pBlock->m_nEndExtent = static_cast<int>(posEnd.GetPackedKey() - posStart.GetPackedKey());
    rBlock = pBlock;
    return klvMatchOpened | klvMatchEnded | klvMatchConsumed;
}

BOOL CKLVSyntaxEditLexClass::CheckTokenSeparators(IKLVSyntaxEditTextIterator* pIter, const CString& strToken) {
    CString strMatch;
    if (!m_arTags[klvLexTokenStartSeparators].IsEmpty() &&
        MatchTagList(m_arTags[klvLexTokenStartSeparators], pIter, 0, TRUE, strMatch) <= 0)
        return FALSE;
    const int nChars = CountChars(strToken, strToken.GetLength());
    return m_arTags[klvLexTokenEndSeparators].IsEmpty() ||
           MatchTagList(m_arTags[klvLexTokenEndSeparators], pIter, nChars, FALSE, strMatch) > 0;
}

int CKLVSyntaxEditLexClass::SkipTags(IKLVSyntaxEditTextIterator* pIter) {
    int nFlags = 0;
    CString strMatch;
    while (!pIter->IsEOF()) {
        const int nChars = MatchTagList(m_arTags[klvLexSkipTag], pIter, 0, FALSE, strMatch);
        if (nChars <= 0) break;
        pIter->Advance(nChars, kReadAhead);
        nFlags = klvMatchConsumed;
    }
    return nFlags;
}

int CKLVSyntaxEditLexClass::CheckEnd(IKLVSyntaxEditTextIterator* pIter, IKLVSyntaxEditLexBlockSchema* pSchema,
                                     CKLVSyntaxEditLexTextBlock* pOpen, CKLVSyntaxEditLexParseContext* pContext) {
    const BOOL bEndClass = !m_arTags[klvLexEndClass].IsEmpty();
    const BOOL bEndTag = !m_arTags[klvLexEndTag].IsEmpty();
    const BOOL bSeparators = !m_arTags[klvLexEndSeparators].IsEmpty();
    CKLVLexBlockPtr pFound;
    if (bEndClass && !CheckClass(m_arTags[klvLexEndClass], pSchema, pContext, IsEndClassParent() ? pOpen : nullptr,
                                 &pOpen->m_posStart, 1, pFound))
        return 0;
    CString strTag, strSeparator;
    const int nTagChars = bEndTag ? MatchTagList(m_arTags[klvLexEndTag], pIter, 0, FALSE, strTag) : 0;
    if (bEndTag && nTagChars <= 0) return 0;
    const int nSepChars = bSeparators ? MatchTagList(m_arTags[klvLexEndSeparators], pIter, nTagChars, FALSE, strSeparator) : 0;
    if (bSeparators && nSepChars <= 0) return 0;

    CKLVSyntaxEditLexBlockLock lock(pSchema);
    if (!bEndTag && !bSeparators) {
        if (pFound) {
            pOpen->m_posEnd = pFound->m_posEnd;
            pOpen->m_nEndExtent = pFound->m_nEndExtent;
        }
        return klvMatchEnded | klvMatchConsumed;
    }
    const CKLVSyntaxEditPosition posBefore = pIter->GetPosition();
    if (bEndTag) pIter->Advance(nTagChars, kReadAhead);
    CKLVSyntaxEditPosition posEnd = pIter->GetPosition();
    if (posEnd > CKLVSyntaxEditPosition(1, 0)) pIter->StepBack(posEnd);
    pOpen->m_posEnd = posEnd;
    if (bSeparators) {
        CKLVSyntaxEditPosition posFar = posEnd;
        pIter->StepForward(posFar, nSepChars + nTagChars);
        pOpen->m_nEndExtent = static_cast<int>(posEnd.GetPackedKey() - posFar.GetPackedKey());
    } else {
        pOpen->m_nEndExtent = static_cast<int>(posEnd.GetPackedKey() - posBefore.GetPackedKey());
    }
    return klvMatchEnded | klvMatchConsumed;
}

int CKLVSyntaxEditLexClass::Match(IKLVSyntaxEditTextIterator* pIter, IKLVSyntaxEditLexBlockSchema* pSchema,
                                  CKLVLexBlockPtr& rBlock, CKLVSyntaxEditLexParseContext* pContext) {
    if (!pIter || !pSchema) return klvMatchCannotGoOn | klvMatchConsumed;
    if (!rBlock) {
        if (!IsGroupEmpty(klvLexGroupPrevious) && !CheckPrevious(pIter, pSchema, pContext)) return 0;
        if (!IsGroupEmpty(klvLexGroupStart)) return CheckStart(pIter, pSchema, rBlock, pContext);
        if (!IsGroupEmpty(klvLexGroupToken)) return CheckToken(pIter, pSchema, rBlock);
        // A class without start or token tags opens wherever it is asked to.
        CKLVLexBlockPtr pBlock = pSchema->CreateBlock();
        if (!pBlock) return klvMatchCannotGoOn | klvMatchConsumed | klvMatchOpened;
        CKLVSyntaxEditLexBlockLock lock(pSchema);
        pBlock->m_pClass.AssignRaw(this);
        pBlock->m_posStart = pIter->GetPosition();
        rBlock = pBlock;
        return klvMatchOpened;
    }
    int nFlags = IsGroupEmpty(klvLexGroupSkip) ? 0 : SkipTags(pIter);
    if (nFlags & klvMatchCannotGoOn) return nFlags;
    const BOOL bEnd = !IsGroupEmpty(klvLexGroupEnd);
    if (bEnd) {
        nFlags |= CheckEnd(pIter, pSchema, rBlock.Get(), pContext);
        if (nFlags & (klvMatchCannotGoOn | klvMatchEnded)) return nFlags;
    }
    if (!m_arChildren.empty() || !m_arChildren2.empty() || !m_arSelf.empty()) {
        nFlags |= pSchema->ParseChildren(pIter, rBlock.Get(), this, pContext) & ~(klvMatchOpened | klvMatchEnded);
        if (!(nFlags & klvMatchStopMask) && bEnd) nFlags |= CheckEnd(pIter, pSchema, rBlock.Get(), pContext);
    }
    return nFlags;
}
