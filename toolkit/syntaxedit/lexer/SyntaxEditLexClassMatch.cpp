// Matching a class at a text position: previous text, start, tokens, skipped text and end.
#include "toolkit/syntaxedit/lexer/SyntaxEditLexClass.h"

#include "toolkit/syntaxedit/text/SyntaxEditTextSource.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexText.h"


namespace {

const int kReadAhead = 512;
const int kPeekBytes = 2048;
const int kMaxTokenChars = 1024;

int CountChars(LPCSTR p, int nBytes) {
    if (!KLVHasLeadBytes()) return std::max(nBytes, 0);
    int nChars = 0;
    for (int i = 0; i < nBytes; ++nChars) i += std::max(CKLVSyntaxEditLexText::CharBytes(p + i), 1);
    return nChars;
}

// The text a tag list is tested against, read once per list: forward from nOffset characters
// after the position, or backward from nOffset characters before it. Reading never moves the
// position, and the peek offset is restored at the end.
class CTagListText {
public:
    CTagListText(IKLVSyntaxEditTextIterator* pIter, int nOffset) : m_pIter(pIter), m_nOffset(nOffset) {}
    ~CTagListText() {
        if (m_nMovedTo != 0) m_pIter->MoveOffset(0);
    }
    CTagListText(const CTagListText&) = delete;
    CTagListText& operator=(const CTagListText&) = delete;

    LPCSTR Forward() {
        if (!m_bForwardRead) m_pForward = At(m_nOffset, kPeekBytes), m_bForwardRead = true;
        return m_pForward;
    }
    // The text nChars characters before the end of the backward look-up, and that end.
    LPCSTR Back(int nChars, LPCSTR& pEnd) {
        if (!m_bEndRead) m_pEnd = At(-m_nOffset, 0), m_bEndRead = true;
        pEnd = m_pEnd;
        if (nChars != m_nBackChars) m_pBack = At(-(m_nOffset + nChars), 0), m_nBackChars = nChars;
        return m_pBack;
    }

    // A string tag that starts at the forward text: its characters when it matches.
    int MatchForward(const CString& strTag, BOOL bCase) {
        LPCSTR p = Forward();
        if (!p || !FirstBytesMayMatch(strTag.GetString()[0], p[0], bCase)) return 0;
        const int nBytes = CKLVSyntaxEditLexText::CompareForward(strTag, p, bCase);
        return nBytes > 0 ? CountChars(p, nBytes) : 0;
    }
    // A string tag that ends at the backward end: its characters when it matches. The text
    // before the position is never read past its start.
    int MatchBackward(const CString& strTag, BOOL bCase) {
        const int nChars = CountChars(strTag, strTag.GetLength());
        LPCSTR pEnd = nullptr;
        LPCSTR pStart = Back(nChars, pEnd);
        if (!pStart || !pEnd || pEnd - pStart != strTag.GetLength()) return 0;
        if (!FirstBytesMayMatch(strTag.GetString()[0], pStart[0], bCase)) return 0;
        return CKLVSyntaxEditLexText::CompareForward(strTag, pStart, bCase) == strTag.GetLength() ? nChars : 0;
    }

private:
    LPCSTR At(int nOffset, int nAhead) {
        m_nMovedTo = nOffset;
        m_pIter->MoveOffset(nOffset);
        return m_pIter->PeekText(nAhead);
    }
    // Whether a comparison from these first bytes can succeed: it compares character codes
    // from the first one, and below 0x80 a byte is a whole character of any code page.
    static bool FirstBytesMayMatch(char chTag, char chText, BOOL bCase) {
        if (chTag == chText) return true;
        if (bCase) return false;
        const auto tag = static_cast<BYTE>(chTag), text = static_cast<BYTE>(chText);
        if (tag >= 0x80 || text >= 0x80) return true;
        return CKLVSyntaxEditLexText::LowerCode(tag) == CKLVSyntaxEditLexText::LowerCode(text);
    }

    IKLVSyntaxEditTextIterator* m_pIter;
    int m_nOffset;
    int m_nMovedTo = 0;   // the peek offset set last; 0 needs no restoring
    bool m_bForwardRead = false;
    bool m_bEndRead = false;
    LPCSTR m_pForward = nullptr;
    LPCSTR m_pEnd = nullptr;
    LPCSTR m_pBack = nullptr;
    int m_nBackChars = -1;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Tag and class tests

CKLVSyntaxEditLexClass::CTagMatch CKLVSyntaxEditLexClass::FindTag(const CKLVSyntaxEditLexAttrArray& list,
                                                                   IKLVSyntaxEditTextIterator* pIter, int nOffset,
                                                                   BOOL bBackward) {
    const BOOL bCase = GetCachedFlag(klvFlagCaseSensitive);
    CTagListText text(pIter, nOffset);
    CTagMatch match;
    if (!bBackward && list.GetSize() > 0) {
        LPCSTR p = text.Forward();
        if (p && !list.MayStartWith(p[0], bCase)) return match;
    }
    for (INT_PTR i = 0; i < list.GetSize(); ++i) {
        const CKLVSyntaxEditLexValueObj* pValue = list.GetAt(i);
        if (pValue->m_nKind == klvLexValueStrings || pValue->m_nKind == klvLexValueClassNames) {
            for (INT_PTR j = 0; j < pValue->m_arStrings.GetSize(); ++j) {
                const CString& strTag = pValue->m_arStrings[j];
                if (!strTag.GetString()[0]) continue;   // an empty tag would match without moving on
                match.nChars = bBackward ? text.MatchBackward(strTag, bCase) : text.MatchForward(strTag, bCase);
                if (match.nChars > 0) {
                    match.pText = strTag.GetString();
                    match.nBytes = strTag.GetLength();
                    return match;
                }
            }
        } else if (pValue->m_nKind == klvLexValueCharClass) {
            LPCSTR pEnd = nullptr;
            LPCSTR p = bBackward ? text.Back(1, pEnd) : text.Forward();
            if (!p || (bBackward && pEnd - p < 1)) continue;
            const int nBytes = pValue->m_CharClass.TestChar(p);
            if (nBytes > 0 && (!bBackward || nBytes == pEnd - p)) {
                match.nChars = 1;
                match.pText = p;
                match.nBytes = nBytes;
                return match;
            }
        }
    }
    return CTagMatch();
}

int CKLVSyntaxEditLexClass::MatchTagList(const CKLVSyntaxEditLexAttrArray& list, IKLVSyntaxEditTextIterator* pIter,
                                         int nOffset, BOOL bBackward, CString& strMatch) {
    const CTagMatch match = FindTag(list, pIter, nOffset, bBackward);
    if (match.nChars > 0) strMatch = CString(match.pText, match.nBytes);
    return match.nChars;
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
    while (nBack < pIter->GetMaxBackOffset()) {
        const int n = FindTag(m_arTags[klvLexPreviousTagSeparators], pIter, nBack, TRUE).nChars;
        if (n <= 0) break;
        nBack += n;
    }
    return nBack <= pIter->GetMaxBackOffset() && FindTag(m_arTags[klvLexPreviousTag], pIter, nBack, TRUE).nChars > 0;
}

BOOL CKLVSyntaxEditLexClass::StartTagMayMatch(IKLVSyntaxEditTextIterator* pIter) {
    CTagListText text(pIter, 0);
    LPCSTR p = text.Forward();
    return !p || m_arTags[klvLexStartTag].MayStartWith(p[0], GetCachedFlag(klvFlagCaseSensitive));
}

int CKLVSyntaxEditLexClass::CheckStart(IKLVSyntaxEditTextIterator* pIter, IKLVSyntaxEditLexBlockSchema* pSchema,
                                       CKLVLexBlockPtr& rBlock, CKLVSyntaxEditLexParseContext* pContext) {
    const BOOL bStartClass = !m_arTags[klvLexStartClass].IsEmpty();
    const BOOL bStartTag = !m_arTags[klvLexStartTag].IsEmpty();
    CKLVLexBlockPtr pFound;
    if (bStartClass && !CheckClass(m_arTags[klvLexStartClass], pSchema, pContext, nullptr, nullptr, 1, pFound)) return 0;
    const CTagMatch tag = bStartTag ? FindTag(m_arTags[klvLexStartTag], pIter, 0, FALSE) : CTagMatch();
    const int nTagChars = tag.nChars;
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
            pBlock->m_nStartExtent = tag.nBytes;
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
    if (!m_arTags[klvLexTokenStartSeparators].IsEmpty() &&
        FindTag(m_arTags[klvLexTokenStartSeparators], pIter, 0, TRUE).nChars <= 0)
        return FALSE;
    const int nChars = CountChars(strToken, strToken.GetLength());
    return m_arTags[klvLexTokenEndSeparators].IsEmpty() ||
           FindTag(m_arTags[klvLexTokenEndSeparators], pIter, nChars, FALSE).nChars > 0;
}

int CKLVSyntaxEditLexClass::SkipTags(IKLVSyntaxEditTextIterator* pIter) {
    int nFlags = 0;
    while (!pIter->IsEOF()) {
        const int nChars = FindTag(m_arTags[klvLexSkipTag], pIter, 0, FALSE).nChars;
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
    const int nTagChars = bEndTag ? FindTag(m_arTags[klvLexEndTag], pIter, 0, FALSE).nChars : 0;
    if (bEndTag && nTagChars <= 0) return 0;
    const int nSepChars = bSeparators ? FindTag(m_arTags[klvLexEndSeparators], pIter, nTagChars, FALSE).nChars : 0;
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
        // A start tag that cannot begin here fails the class whatever the text before says.
        const CKLVSyntaxEditLexAttrArray& startTags = m_arTags[klvLexStartTag];
        if (!startTags.IsEmpty() && !StartTagMayMatch(pIter)) return 0;
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
