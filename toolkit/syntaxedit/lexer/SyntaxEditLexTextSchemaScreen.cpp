// The on-screen parse: the shown rows parsed into a chain of their own, which starts from
// copies of the blocks that enclose the first row and uses every class of the scheme.
#include "toolkit/syntaxedit/lexer/SyntaxEditLexTextSchema.h"

#include "toolkit/syntaxedit/text/SyntaxEditTextSource.h"

namespace {
const DWORD kUiLockWaitMs = 30;
}  // namespace

CKLVLexClassPtr CKLVSyntaxEditLexTextSchema::FindClassByID(CKLVLexClassList& list, int nID) {
    for (const CKLVLexClassPtr& pClass : list) {
        if (pClass->GetAttributeInt("ClassID", FALSE, 0) == nID) return pClass;
        for (CKLVLexClassList* pChildren : {&pClass->GetChildren(), &pClass->GetChildren2()})
            if (CKLVLexClassPtr pFound = FindClassByID(*pChildren, nID)) return pFound;
    }
    return CKLVLexClassPtr();
}

CKLVLexBlockPtr CKLVSyntaxEditLexTextSchema::CopyBlock(CKLVSyntaxEditLexTextBlock* pBlock) {
    if (!pBlock || !pBlock->m_pClass) return CKLVLexBlockPtr();
    CKLVLexClassPtr pClass =
        FindClassByID(m_pTree->GetRoots(FALSE), pBlock->m_pClass->GetAttributeInt("ClassID", FALSE, 0));
    if (!pClass) return CKLVLexBlockPtr();
    CKLVLexBlockPtr pCopy = CreateBlock();
    pCopy->m_pClass = pClass;
    pCopy->m_posStart = pBlock->m_posStart;
    pCopy->m_posEnd = pBlock->m_posEnd;
    return pCopy;
}

CKLVLexBlockPtr CKLVSyntaxEditLexTextSchema::MatchRoot(IKLVSyntaxEditTextIterator* pIter) {
    for (const CKLVLexClassPtr& pClass : m_pTree->GetRoots(FALSE)) {
        CKLVLexBlockPtr pSlot;
        if ((pClass->Match(pIter, this, pSlot, nullptr) & klvMatchOpened) && pSlot) return pSlot;
    }
    return CKLVLexBlockPtr();
}

BOOL CKLVSyntaxEditLexTextSchema::PrepareOnScreenBlocks(IKLVSyntaxEditTextIterator* pIter, int nFirstLine,
                                                        int nLastLine, CKLVLexBlockPtr& rHead, CKLVLexBlockPtr& rStart) {
    CKLVSyntaxEditLexTextBlock* pFirst = m_pFirstBlock.Get();
    if (nFirstLine == 1 && !pFirst) {
        rHead = MatchRoot(pIter);
        rStart = rHead;
        return static_cast<bool>(rHead);
    }
    if (m_pLastLinked) {
        if (CKLVLexBlockPtr pFront = GetResumeBlock()) {
            const int nFrontLine = pFront->m_posEnd.IsValid() ? pFront->m_posEnd.nLine : pFront->m_posStart.nLine;
            if (nFirstLine > nFrontLine) return FALSE;   // beyond what the running parse reached
        }
    }
    const CKLVSyntaxEditPosition posFirst(nFirstLine, 0);
    CKLVSyntaxEditLexTextBlock* pEnclosing = nullptr;
    for (CKLVSyntaxEditLexTextBlock* p = pFirst; p; p = p->m_pNext.Get()) {
        if (p->m_posStart < posFirst && !(EndOfOrText(p) < posFirst)) pEnclosing = p;
        if (p->m_posStart.nLine > nLastLine) break;
    }
    if (!pEnclosing) pEnclosing = pFirst;
    CKLVLexBlockPtr pInner;
    for (CKLVSyntaxEditLexTextBlock* p = pEnclosing; p; p = p->m_pParent.Get()) {
        CKLVLexBlockPtr pCopy = CopyBlock(p);
        if (!pCopy) return FALSE;
        if (pInner) {
            pInner->m_pPrev = pCopy;
            pInner->m_pParent = pCopy;
            pCopy->m_pNext = pInner;
            pCopy->m_pLastChild = pInner;
        } else {
            rStart = pCopy;
        }
        rHead = pCopy;
        pInner = pCopy;
    }
    return static_cast<bool>(rStart);
}

CKLVSyntaxEditPosition CKLVSyntaxEditLexTextSchema::EndOfOrText(const CKLVSyntaxEditLexTextBlock* pBlock) {
    return pBlock->m_posEnd.IsValid() ? pBlock->m_posEnd : EndOfText();
}

int CKLVSyntaxEditLexTextSchema::ContinueBlockOnScreen(IKLVSyntaxEditTextIterator* pIter,
                                                       CKLVSyntaxEditLexTextBlock* pBlock,
                                                       CKLVSyntaxEditLexParseContext* pContext) {
    if (!pBlock || !pBlock->m_pClass || !pContext) return klvParseRestart;
    BOOL bConsumed = FALSE, bEnded = FALSE, bWasAtEnd = FALSE;
    for (int nTurn = 0;; ++nTurn) {
        if (nTurn && bWasAtEnd && pIter->IsEOF()) break;
        bWasAtEnd = pIter->IsEOF();
        CKLVLexBlockPtr pSlot;
        pSlot.AssignRaw(pBlock);
        const int nFlags = pBlock->m_pClass->Match(pIter, this, pSlot, pContext);
        if (nFlags & (klvParseRestart | klvParseBroken)) return nFlags;
        if (nFlags & klvMatchConsumed) bConsumed = TRUE;
        if (nFlags & klvMatchEnded) {
            CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks);
            pBlock->CloseOpenChildren(nullptr);
            bEnded = TRUE;
        } else if (!(nFlags & klvMatchConsumed)) {
            SkipText(pIter, pBlock->m_pClass.Get(), pContext, 1);
        }
        if (pIter->GetPosition().nLine > pContext->m_nLastLine) break;
        if (bEnded) break;
    }
    if (!bEnded) {
        pBlock->m_posEnd = pIter->GetPosition();
        pBlock->CloseOpenChildren(nullptr);
        return klvParseDone;
    }
    return (pIter->IsEOF() ? klvParseDone : 0) | (bConsumed ? klvParseConsumed : 0);
}

BOOL CKLVSyntaxEditLexTextSchema::ParseScreenLines(IKLVSyntaxEditTextIterator* pIter, int nFirstLine, int nLastLine,
                                                   CKLVLexBlockPtr& rHead) {
    if (!pIter || nFirstLine < 1 || nLastLine < 1) return FALSE;
    CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks, kUiLockWaitMs);
    if (!lock.IsLocked()) return FALSE;
    CKLVLexBlockPtr pStart;
    if (!PrepareOnScreenBlocks(pIter, nFirstLine, nLastLine, rHead, pStart)) return FALSE;
    if (!pIter->SeekToLine(CKLVSyntaxEditPosition(nFirstLine, 0), nullptr) ||
        pIter->GetPosition() != CKLVSyntaxEditPosition(nFirstLine, 0))
        return FALSE;
    CKLVSyntaxEditLexParseContext context;
    context.m_nFirstLine = nFirstLine;
    context.m_nLastLine = nLastLine;
    context.m_pLastLinked = pStart;
    CKLVLexBlockPtr pCurrent = pStart;
    for (BOOL bWasAtEnd = FALSE; !pIter->IsEOF() && !m_pTree->GetRoots(FALSE).empty() && !bWasAtEnd;) {
        bWasAtEnd = pIter->IsEOF();
        const int nFlags = ContinueBlockOnScreen(pIter, pCurrent.Get(), &context);
        if (nFlags & (klvParseRestart | klvParseBroken)) return !(nFlags & klvParseRestart);
        if (!pIter->IsEOF() && !(nFlags & klvParseConsumed)) SkipText(pIter, pCurrent->m_pClass.Get(), &context, 1);
        if (pIter->GetPosition().nLine > nLastLine) break;
        if (pCurrent->m_pParent) pCurrent = pCurrent->m_pParent;
    }
    return TRUE;
}

CKLVSchemaHandlePtr CKLVSyntaxEditLexTextSchema::ParseScreenLines(IKLVSyntaxEditTextIterator* pIter, int nFirstLine,
                                                                  int nLastLine) {
    CKLVLexBlockPtr pHead;
    const BOOL bParsed = ParseScreenLines(pIter, nFirstLine, nLastLine, pHead);
    // A chain left by a parse that failed is closed with its handle.
    CKLVSchemaHandlePtr pHandle;
    if (pHead) pHandle = std::make_unique<CKLVSyntaxEditLexBlockHandle>(pHead.Get(), CKLVSyntaxEditLexBlockHandle::klvScreenChain);
    if (!bParsed) pHandle.reset();
    return pHandle;
}
