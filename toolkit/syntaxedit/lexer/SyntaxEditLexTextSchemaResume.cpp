// Resuming a parse at a block of the previous chain, and joining the new blocks to the rest.
#include "toolkit/syntaxedit/lexer/SyntaxEditLexTextSchema.h"

#include "toolkit/syntaxedit/text/SyntaxEditTextSource.h"

#include <algorithm>

BOOL CKLVSyntaxEditLexTextSchema::IsBlockStartValid(IKLVSyntaxEditTextIterator* pIter,
                                                    CKLVSyntaxEditLexTextBlock* pBlock) {
    if (!pIter || !pBlock || !pBlock->m_pClass) return FALSE;
    // A seek reads back no more than the look-back: too short to stop for a break.
    if (!pIter->SeekToLine(pBlock->m_posStart, nullptr)) return FALSE;
    CKLVLexBlockPtr pSlot;
    const int nFlags = pBlock->m_pClass->Match(pIter, this, pSlot, nullptr);
    if (pSlot) pSlot->Close();
    return (nFlags & klvMatchOpened) != 0;
}

int CKLVSyntaxEditLexTextSchema::ParseFromBlock(IKLVSyntaxEditTextIterator* pIter, CKLVLexBlockPtr pBlock,
                                                BOOL bContinue) {
    if (!pIter || !pBlock || !pBlock->m_pClass) return klvParseRestart;
    if (bContinue) return ContinueBlock(pIter, pBlock.Get());
    while (!IsBlockStartValid(pIter, pBlock.Get())) {
        if (!pBlock->m_pPrev) return -1;
        pBlock = CKLVLexBlockPtr(pBlock->m_pPrev);
        if (IsBreakSet()) return klvParseBroken;
    }
    if (m_posParseEnd.IsValid() && pBlock->m_posEnd > m_posParseEnd) {
        if (!pBlock->m_pParent && pBlock->m_pNext) {
            if (pBlock->m_pNext->m_posEnd > m_posParseEnd) m_posParseEnd = pBlock->m_pNext->m_posEnd;
        } else {
            m_posParseEnd = pBlock->m_posEnd;
        }
    }
    m_posParseStart = pBlock->m_posStart;
    if (!pIter->SeekToLine(pBlock->m_posStart, nullptr) || pIter->GetPosition() != pBlock->m_posStart)
        return klvParseRestart;
    if (IsBreakSet()) return klvParseBroken;
    {
        CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks);
        m_pFirstNew = pBlock->m_pPrev ? pBlock->m_pPrev : pBlock;
        m_pReplacedRest = m_pFirstNew->m_pNext;
    }
    if (pIter->IsEOF()) return klvParseDone;
    CKLVLexBlockPtr pOuter = pBlock->m_pParent ? pBlock->m_pParent : pBlock;
    if (m_posParseStart <= pOuter->m_posEnd && pOuter->m_posEnd <= m_posParseEnd) ++m_nOpenBlocks;
    const CKLVSyntaxEditPosition posRangeEnd = m_posParseEnd.IsValid() ? m_posParseEnd : EndOfText();
    for (;;) {
        if (IsBreakSet()) return klvParseBroken;
        const CKLVSyntaxEditPosition posOldEnd = pOuter->m_posEnd;
        const int nResult = ParseFromBlock(pIter, pOuter, TRUE);
        // A block that ends before the edited range is covered, or ends elsewhere than it
        // did, or before the end of a chain that a stopped pass cut, leaves the rest to the
        // block around it; a parse that rejoined the previous chain is complete.
        const bool bGoOutward = nResult == klvParseDone && m_pFirstNew && !pIter->IsEOF() && pOuter->m_pParent &&
                                (pIter->GetPosition() < posRangeEnd || pOuter->m_posEnd != posOldEnd || m_bChainCut);
        if (!bGoOutward) {
            if (nResult & klvParseStopMask) return nResult;
            return (nResult & klvParseConsumed) | (pIter->IsEOF() ? klvParseDone : 0);
        }
        pOuter = pOuter->m_pParent;
    }
}

int CKLVSyntaxEditLexTextSchema::ContinueBlock(IKLVSyntaxEditTextIterator* pIter, CKLVSyntaxEditLexTextBlock* pBlock) {
    BOOL bWasAtEnd = FALSE;
    for (int nTurn = 0;; ++nTurn) {
        if (nTurn && bWasAtEnd && pIter->IsEOF()) {
            CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks);
            for (CKLVSyntaxEditLexTextBlock* p = pBlock; p; p = p->m_pParent.Get()) p->m_posEnd = pIter->GetPosition();
            return klvParseDone;
        }
        if (IsBreakSet()) return klvParseBroken;
        bWasAtEnd = pIter->IsEOF();
        CKLVLexBlockPtr pSlot;
        pSlot.AssignRaw(pBlock);
        const int nFlags = pBlock->m_pClass->Match(pIter, this, pSlot, nullptr);
        if (nFlags & (klvParseRestart | klvParseDone)) return nFlags;
        if (nFlags & klvMatchEnded) {
            CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks);
            // An enclosing block continued after its child ended was not counted as open.
            m_nOpenBlocks = std::max(0, m_nOpenBlocks - 1 - pBlock->CloseOpenChildren(this));
            if (m_pLastLinked) DropNextBefore(m_pLastLinked.Get(), pBlock->m_posEnd);
            StoreChain(pBlock);
            return klvParseDone;
        }
        if (!(nFlags & klvMatchConsumed)) {
            if (IsBreakSet()) return klvParseBroken;
            SkipText(pIter, pBlock->m_pClass.Get(), nullptr, 1);
        }
    }
}

void CKLVSyntaxEditLexTextSchema::CloseParsedBlocks(BOOL bStopped, BOOL bEndOfText) {
    CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks);
    // Stopped even at the end of the text: the blocks still open there were not ended.
    if (bStopped) {
        KeepFinishedBlocks();
        return;
    }
    CKLVLexBlockPtr pLast = m_pLastLinked;
    if (!pLast) {
        const BOOL bCut = CutAfterFirstNew();
        CloseReplacedRest(nullptr, nullptr);
        MarkChainCut(bEndOfText, bCut);
        ReleaseParseRefs();
        return;
    }
    CKLVSyntaxEditLexBlockChain::CloseOpenEnds(m_pFirstNew.Get(), pLast.Get(), nullptr);
    if (pLast == m_pFirstNew) {
        if (bEndOfText) m_bChainCut = FALSE;
        SetResumeBlock(pLast.Get(), FALSE);
        m_pReplacedRest.Release();
        return;
    }
    const CKLVLexBlockPtr pKept = DropReplacedAfter(pLast.Get(), bEndOfText);
    CloseReplacedRest(pKept.Get(), pLast.Get());
    BOOL bCut = FALSE;
    if (pLast->m_pNext && pLast->m_pNext->IsClosed()) {
        pLast->m_pNext.Release();
        SetResumeBlock(pLast.Get(), TRUE);
        bCut = TRUE;
    }
    MarkChainCut(bEndOfText, bCut);
    if (m_pFirstNew) CKLVSyntaxEditLexBlockChain::ReparentOrphans(m_pFirstNew.Get(), nullptr);
    SetResumeBlock(pLast.Get(), FALSE);
    ReleaseParseRefs();
}

BOOL CKLVSyntaxEditLexTextSchema::CutAfterFirstNew() {
    CKLVSyntaxEditLexTextBlock* pCut = m_pFirstNew ? m_pFirstNew.Get() : m_pFirstBlock.Get();
    if (!pCut) return FALSE;
    pCut->m_pNext.Release();
    SetResumeBlock(pCut, TRUE);
    return TRUE;
}

CKLVLexBlockPtr CKLVSyntaxEditLexTextSchema::DropReplacedAfter(CKLVSyntaxEditLexTextBlock* pLast, BOOL bEndOfText) {
    // Old blocks the new ones replaced, and blocks whose start an edit broke.
    while (CKLVSyntaxEditLexTextBlock* pNext = pLast->m_pNext.Get()) {
        if (!(pNext->IsStartBroken() || pNext->m_posStart < pLast->m_posStart ||
              (pNext->m_posStart == pLast->m_posStart && pNext->IsSameClass(*pLast))))
            break;
        CKLVLexBlockPtr pDropped = pLast->m_pNext;
        pLast->m_pNext = pDropped->m_pNext;
        if (pDropped == m_pReplacedRest) m_pReplacedRest = pLast->m_pNext;
        pDropped->Close();
    }
    if (pLast->m_pNext) {
        pLast->m_pNext->m_pPrev.AssignRaw(pLast);
        m_posParseEnd = pLast->m_pNext->m_posStart;
    } else {
        m_posParseEnd = pLast->m_posStart;
    }
    return bEndOfText ? CKLVLexBlockPtr() : pLast->m_pNext;
}

void CKLVSyntaxEditLexTextSchema::CloseReplacedRest(CKLVSyntaxEditLexTextBlock* pKept, CKLVSyntaxEditLexTextBlock* pLast) {
    // The replaced blocks of the previous chain up to the kept remainder.
    for (CKLVLexBlockPtr p = m_pReplacedRest; p && p.Get() != pKept && p.Get() != pLast;) {
        CKLVLexBlockPtr pNext = p->m_pNext;
        if (pLast && pLast->m_pNext == p) pLast->m_pNext = pNext;
        p->Close();
        p = pNext;
    }
}

void CKLVSyntaxEditLexTextSchema::MarkChainCut(BOOL bEndOfText, BOOL bCut) {
    if (bEndOfText)
        m_bChainCut = FALSE;
    else if (bCut)
        m_bChainCut = TRUE;
}

void CKLVSyntaxEditLexTextSchema::KeepFinishedBlocks() {
    CKLVLexBlockPtr pLast = m_pLastLinked;
    if (!pLast) {
        // Nothing was linked: the chain is as the pass found it.
        ReleaseParseRefs();
        return;
    }
    // Blocks whose end the pass did not reach are forgotten from the back, and an open block
    // that keeps finished children stays open: an end taken from elsewhere would be believed by
    // every later pass.
    while (!pLast->m_posEnd.IsValid() && pLast->m_pPrev && pLast != m_pFirstNew) {
        CKLVLexBlockPtr pPrev = pLast->m_pPrev;
        pPrev->m_pNext = pLast->m_pNext;
        if (pPrev->m_pNext) pPrev->m_pNext->m_pPrev = pPrev;
        pLast->Close();
        pLast = pPrev;
    }
    // The previous chain after the stop was parsed inside blocks this pass may have ended,
    // opened or moved: it ends here, and the next pass reads on from the last kept block.
    CKLVSyntaxEditLexBlockChain::CloseChain(pLast->m_pNext.Get());
    pLast->m_pNext.Release();
    if (m_pReplacedRest) CKLVSyntaxEditLexBlockChain::CloseChain(m_pReplacedRest.Get());
    m_bChainCut = TRUE;
    SetResumeBlock(pLast.Get(), TRUE);
    ReleaseParseRefs();
}
