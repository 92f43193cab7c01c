#include "toolkit/syntaxedit/lexer/SyntaxEditLexTextSchema.h"

#include "toolkit/common/NotificationSinkMTWnd.h"
#include "toolkit/syntaxedit/text/SyntaxEditTextSource.h"

namespace {
bool SameClassName(const CKLVSyntaxEditLexTextBlock* a, const CKLVSyntaxEditLexTextBlock* b) {
    return a->m_pClass && b->m_pClass && a->m_pClass->GetName() == b->m_pClass->GetName();
}
}  // namespace

CKLVSyntaxEditLexTextSchema::CKLVSyntaxEditLexTextSchema(LPCSTR lpszName)
    : m_strName(lpszName),
      m_pTree(KLVMakeCounted<CKLVSyntaxEditLexClassTree>()),
      m_pConnection(new CKLVNotificationConnectionMT) {}

CKLVSyntaxEditLexTextSchema::~CKLVSyntaxEditLexTextSchema() {
    Close();
    m_pConnection->InternalRelease();
}

const CKLVSyntaxEditPosition& CKLVSyntaxEditLexTextSchema::EndOfText() {
    static const CKLVSyntaxEditPosition s_pos(INT_MAX, INT_MAX);
    return s_pos;
}

void CKLVSyntaxEditLexTextSchema::Close() {
    CKLVSyntaxEditLexBlockLock classLock(&m_lockClasses);
    ResetBlocks();
    m_pTree->RemoveAll();
}

void CKLVSyntaxEditLexTextSchema::ResetBlocks() {
    CKLVSyntaxEditLexBlockLock classLock(&m_lockClasses);
    CKLVSyntaxEditLexBlockLock blockLock(&m_lockBlocks);
    ReleaseParseRefs();
    m_pResume.Release();
    CKLVSyntaxEditLexBlockChain::CloseChain(m_pFirstBlock.Get());
    m_pFirstBlock.Release();
    m_mapStore.clear();
    m_pCurrent.Release();
    m_bChainCut = FALSE;
}

void CKLVSyntaxEditLexTextSchema::ReleaseParseRefs() {
    m_pFirstNew.Release();
    m_pLastLinked.Release();
    m_pReplacedRest.Release();
    m_nOpenBlocks = 0;
}

void CKLVSyntaxEditLexTextSchema::SetBreak(BOOL bBreak) { m_bBreak = bBreak != FALSE; }

CKLVLexBlockPtr CKLVSyntaxEditLexTextSchema::CreateBlock() { return KLVMakeCounted<CKLVSyntaxEditLexTextBlock>(); }

CKLVLexBlockPtr CKLVSyntaxEditLexTextSchema::GetLastLinkedBlock() {
    CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks);
    return m_pLastLinked;
}

CKLVLexBlockPtr CKLVSyntaxEditLexTextSchema::GetFirstBlock() {
    CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks);
    return m_pFirstBlock;
}

CKLVLexBlockPtr CKLVSyntaxEditLexTextSchema::FindBlock(const CKLVSyntaxEditPosition& pos) {
    // The head is read under the lock too: a parse on the worker may reset or replace it.
    CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks);
    CKLVSyntaxEditLexTextBlock* p = m_pFirstBlock.Get();
    for (int nStep = 1; p && p->m_pNext && p->m_pNext->m_posStart <= pos; ++nStep) {
        p = p->m_pNext.Get();
        if (nStep % kFindStepsBetweenChecks == 0 && !LetWaiterIn(p)) return CKLVLexBlockPtr();
    }
    return CKLVSyntaxEditLexBlockChain::FindBlock(p, pos, nullptr);
}

BOOL CKLVSyntaxEditLexTextSchema::LetWaiterIn(CKLVSyntaxEditLexTextBlock*& p) {
    // A walk over a long chain holds the lock for milliseconds: a break ends it, and a window
    // thread waiting to paint takes the chain in between. The walk goes on where it was unless
    // that block left the chain meanwhile.
    if (IsBreakSet()) return FALSE;
    if (!m_lockBlocks.HasWaiterFirst()) return TRUE;
    CKLVLexBlockPtr pHeld;
    pHeld.AssignRaw(p);
    m_lockBlocks.Unlock();
    m_lockBlocks.Lock();
    if (pHeld->IsClosed()) p = m_pFirstBlock.Get();
    return !IsBreakSet();
}

void CKLVSyntaxEditLexTextSchema::CAnnouncedSpan::Set(const CKLVSyntaxEditLexTextBlock* pBlock) {
    pKey = pBlock;
    posStart = pBlock->m_posStart;
    posEnd = pBlock->m_posEnd;
}

void CKLVSyntaxEditLexTextSchema::CAnnouncedSpan::Widen(const CKLVSyntaxEditLexTextBlock* pBlock) {
    if (pBlock->m_posStart < posStart) posStart = pBlock->m_posStart;
    // A block without an end reaches to the end of the text.
    if (!pBlock->m_posEnd.IsValid() || (posEnd.IsValid() && posEnd < pBlock->m_posEnd)) posEnd = pBlock->m_posEnd;
}

void CKLVSyntaxEditLexTextSchema::StoreChain(CKLVSyntaxEditLexTextBlock* pBlock) {
    {
        CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks);
        m_pCurrent.AssignRaw(pBlock);
        // Only the announcement gives the key out: without it the store would only grow.
        if (!m_bNotify) return;
        // A window thread that falls behind would otherwise get a post per block (hundreds of
        // thousands for a few megabytes) ahead of its input: once enough announcements wait,
        // later blocks ride with the last one, which then stands for their rows too.
        if (m_mapStore.size() >= static_cast<size_t>(kMaxAnnouncementsOnTheirWay) && m_mapStore.count(const_cast<void*>(m_lastAnnounced.pKey))) {
            m_lastAnnounced.Widen(pBlock);
            return;
        }
        m_mapStore[pBlock] = m_pCurrent;
        m_lastAnnounced.Set(pBlock);
    }
    m_pConnection->Notify(klvLexBlockStored, reinterpret_cast<WPARAM>(pBlock), 0,
                          KLV_NOTIFY_POST | KLV_NOTIFY_DIRECT_ON_SAME);
}

CKLVLexBlockPtr CKLVSyntaxEditLexTextSchema::GetBlocks(void* pKey) {
    CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks);
    if (!pKey) return m_pCurrent;
    auto it = m_mapStore.find(pKey);
    if (it == m_mapStore.end()) return CKLVLexBlockPtr();
    CKLVLexBlockPtr pBlock = std::move(it->second);
    m_mapStore.erase(it);
    if (pKey == m_lastAnnounced.pKey)
        m_lastHanded = m_lastAnnounced;
    else
        m_lastHanded.Set(pBlock.Get());
    return pBlock;
}

void CKLVSyntaxEditLexTextSchema::SetResumeBlock(CKLVSyntaxEditLexTextBlock* pBlock, BOOL bForce) {
    CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks);
    // A resume block that a later pass replaced is off the chain: it cannot stand.
    if (bForce || !m_pResume || m_pResume->IsClosed() || !pBlock || pBlock->m_posStart >= m_pResume->m_posStart)
        m_pResume.AssignRaw(pBlock);
}

CKLVLexBlockPtr CKLVSyntaxEditLexTextSchema::GetResumeBlock() {
    CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks);
    if (!m_pLastLinked) return m_pResume;
    if (!m_pResume || m_pResume->m_posStart < m_pLastLinked->m_posStart) return m_pLastLinked;
    return m_pResume;
}

BOOL CKLVSyntaxEditLexTextSchema::IsChainCut() {
    CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks);
    return m_bChainCut;
}

int CKLVSyntaxEditLexTextSchema::UpdateBlocksOnEdit(const CKLVSyntaxEditPosition& posStart,
                                                    const CKLVSyntaxEditPosition& posEnd, int nEditKind) {
    return CKLVSyntaxEditLexBlockChain::UpdateBlocksOnEdit(GetFirstBlock().Get(), posStart, posEnd, nEditKind,
                                                           &m_lockBlocks);
}

CKLVLexClassPtr CKLVSyntaxEditLexTextSchema::FindFileClass(LPCSTR lpszFileName) {
    // A theme may be changing the attributes meanwhile.
    CKLVSyntaxEditLexBlockLock classLock(&m_lockClasses);
    CString strCondition = CString("IsExt=") + lpszFileName;
    for (const CKLVLexClassPtr& pClass : m_pTree->GetRoots(TRUE)) {
        CKLVLexValuePtr pValue = pClass->GetPropertyValue(strCondition);
        if (pValue && pValue->m_nKind == klvLexValueInt && pValue->m_nValue) return pClass;
    }
    return CKLVLexClassPtr();
}

void CKLVSyntaxEditLexTextSchema::Parse(IKLVSyntaxEditTextIterator* pIter) {
    const CKLVSyntaxEditPosition posStart(1, 0);
    Parse(TRUE, pIter, &posStart, nullptr, FALSE);
}

int CKLVSyntaxEditLexTextSchema::Parse(BOOL bFirst, IKLVSyntaxEditTextIterator* pIter,
                                       const CKLVSyntaxEditPosition* pStart, const CKLVSyntaxEditPosition* pEnd,
                                       BOOL bNotify) {
    if (!pIter) return klvParseRestart;
    {
        CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks);
        m_mapStore.clear();
    }
    const DWORD dwFlags = KLV_NOTIFY_POST | KLV_NOTIFY_RETRY_POST | KLV_NOTIFY_DIRECT_ON_SAME;
    if (bNotify) m_pConnection->Notify(klvLexParseStarted, 0, 0, dwFlags);
    int nResult;
    {
        CKLVSyntaxEditLexBlockLock classLock(&m_lockClasses);
        m_bNotify = bNotify;
        nResult = RunParse(bFirst, pIter, pStart, pEnd);
        m_bNotify = FALSE;
    }
    if (bNotify) m_pConnection->Notify(klvLexParseEnded, static_cast<WPARAM>(nResult), 0, dwFlags);
    return nResult;
}

int CKLVSyntaxEditLexTextSchema::RunParse(BOOL bFirst, IKLVSyntaxEditTextIterator* pIter,
                                          const CKLVSyntaxEditPosition* pStart, const CKLVSyntaxEditPosition* pEnd) {
    m_posParseStart = pStart ? *pStart : CKLVSyntaxEditPosition(INT_MAX, 0);
    m_posParseEnd = pEnd ? *pEnd : CKLVSyntaxEditPosition();
    {
        CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks);
        ReleaseParseRefs();
    }
    CKLVLexBlockPtr pStartBlock = FindBlock(m_posParseStart);
    if (IsBreakSet()) return klvParseBroken;
    if (CKLVLexBlockPtr pFound = pStartBlock) {
        // A block that a deletion moved up to the start lies after it; the pass begins before
        // it, inside every block whose end the deletion took.
        if (pFound->m_posStart >= m_posParseStart && pFound->m_pPrev) pFound = CKLVLexBlockPtr(pFound->m_pPrev);
        const int nResult = ParseFromBlock(pIter, pFound, FALSE);
        if (nResult != -1 && (nResult & klvParseStopMask)) return FinishParse(nResult, pIter);
        if (nResult != -1 && pStart && *pStart != CKLVSyntaxEditPosition(1, 0))
            return FinishParse(klvParseDone, pIter);
        // Nothing of the previous chain can be resumed: from the top.
        ResetBlocks();
        pIter->Rewind();
    }
    CKLVLexClassList& arClasses = m_pTree->GetRoots(bFirst);
    if (arClasses.empty()) return FinishParse(klvParseDone, pIter);
    for (int nTurn = 0;; ++nTurn) {
        if (pIter->IsEOF() && nTurn) return FinishParse(klvParseDone, pIter);
        const int nResult = ParseStep(pIter, arClasses, m_pFirstBlock.Get(), nullptr);
        if (nResult & klvParseStopMask) return FinishParse(nResult, pIter);
        if (pIter->IsEOF() || (nResult & klvParseConsumed)) continue;
        if (IsBreakSet()) return klvParseBroken;
        SkipText(pIter, arClasses.front().Get(), nullptr, 1);
    }
}

int CKLVSyntaxEditLexTextSchema::FinishParse(int nResult, IKLVSyntaxEditTextIterator* pIter) {
    if (m_pFirstNew) CloseParsedBlocks((nResult & (klvParseRestart | klvParseBroken)) != 0, pIter->IsEOF());
    return nResult;
}

int CKLVSyntaxEditLexTextSchema::ParseChildren(IKLVSyntaxEditTextIterator* pIter, CKLVSyntaxEditLexTextBlock* pParent,
                                               CKLVSyntaxEditLexClass* pClass,
                                               CKLVSyntaxEditLexParseContext* pContext) {
    if (!pIter || !pClass) return klvParseRestart;
    int nResult = 0;
    for (CKLVLexClassList* pList : {&pClass->GetChildren(), &pClass->GetChildren2(), &pClass->GetSelfList()}) {
        if (pList->empty()) continue;
        nResult |= ParseStep(pIter, *pList, pParent, pContext);
        if (nResult & 0xF00) break;
    }
    return nResult;
}

int CKLVSyntaxEditLexTextSchema::ParseStep(IKLVSyntaxEditTextIterator* pIter, CKLVLexClassList& arClasses,
                                           CKLVSyntaxEditLexTextBlock* pParent,
                                           CKLVSyntaxEditLexParseContext* pContext) {
    BOOL bConsumed = FALSE;
    // The lists change only under the class lock, which the parse holds throughout: no copy.
    for (const CKLVLexClassPtr& pClass : arClasses) {
        CKLVLexBlockPtr pSlot;
        BOOL bLinked = FALSE;
        for (BOOL bWasAtEnd = FALSE;;) {
            if (IsBreakSet()) return klvParseBroken;
            bWasAtEnd = pIter->IsEOF();
            const int nFlags = pClass->Match(pIter, this, pSlot, pContext);
            if (nFlags & (klvParseRestart | klvParseDone)) return nFlags;
            if ((nFlags & klvMatchOpened) && pSlot && !pSlot->m_pPrev && pSlot != m_pFirstBlock) {
                bLinked = TRUE;
                if (LinkNewBlock(pIter, pSlot.Get(), nFlags, pParent, pContext) & klvParseDone) return klvParseDone;
            }
            if (nFlags & klvMatchConsumed) bConsumed = TRUE;
            if (nFlags & klvMatchEnded) EndBlock(pSlot.Get(), pContext);
            if (nFlags & klvParseBroken) return nFlags;
            if (bLinked && !(nFlags & (klvMatchEnded | klvMatchConsumed))) {
                if (IsBreakSet()) return klvParseBroken;
                SkipText(pIter, pClass.Get(), pContext, 1);
                bConsumed = TRUE;
            }
            if (pContext && pIter->GetPosition().nLine > pContext->m_nLastLine) return klvParseDone;
            if (nFlags & klvMatchEnded) {
                if (pClass->IsRestartRunLoop()) return klvParseStopAfterEnd | (bConsumed ? klvParseConsumed : 0);
                break;
            }
            // An open block is asked again while text remains, and once more at the end so
            // that it can end there.
            if (!bLinked || (bWasAtEnd && pIter->IsEOF())) break;
        }
    }
    return bConsumed ? klvParseConsumed : 0;
}

void CKLVSyntaxEditLexTextSchema::DropNextBefore(CKLVSyntaxEditLexTextBlock* pLast, const CKLVSyntaxEditPosition& pos) {
    // A block whose start an edit broke is dropped wherever it lies: its rows may be out of order.
    while (pLast->m_pNext && (pLast->m_pNext->m_posStart < pos || pLast->m_pNext->IsStartBroken())) {
        CKLVLexBlockPtr pDropped = pLast->m_pNext;
        pLast->m_pNext = pDropped->m_pNext;
        if (pLast->m_pNext) pLast->m_pNext->m_pPrev.AssignRaw(pLast);
        if (pDropped == m_pReplacedRest) m_pReplacedRest = pLast->m_pNext;
        pDropped->Close();
    }
}

int CKLVSyntaxEditLexTextSchema::LinkNewBlock(IKLVSyntaxEditTextIterator* pIter, CKLVSyntaxEditLexTextBlock* pNew,
                                              int nFlags, CKLVSyntaxEditLexTextBlock* pParent,
                                              CKLVSyntaxEditLexParseContext* pContext) {
    CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks);
    pNew->m_pParent.AssignRaw(pParent);
    if (pParent) pParent->m_pLastChild.AssignRaw(pNew);
    if (!pContext) {
        if (m_pLastLinked) {
            DropNextBefore(m_pLastLinked.Get(), pNew->m_posStart);
            CKLVSyntaxEditLexTextBlock* pNext = m_pLastLinked->m_pNext.Get();
            // The previous chain is rejoined only where the nesting is the same: an old
            // block whose parent lost it (an end moved before it) is parsed anew. A cut chain
            // is not rejoined unless a later parse resumes at its last block: what follows the
            // join would still be missing. Nor is a block an edit took (its start deleted, end
            // before start) or left open: it no longer describes the text where it lies.
            if (pNext && pNext->m_posStart == pNew->m_posStart && SameClassName(pNext, pNew) &&
                pNext->m_pParent == pNew->m_pParent && !pNext->IsOpen() && !pNext->IsStartBroken() &&
                m_posParseEnd.IsValid() && pNext->m_posStart > m_posParseEnd && !m_nOpenBlocks &&
                (!m_bChainCut || m_bCutResumedLater)) {
                pNew->m_pParent.Release();
                CloseParsedBlocks(FALSE, pIter->IsEOF());
                return klvParseDone;
            }
        }
        ++m_nOpenBlocks;
        if (!m_pFirstNew) {
            m_pFirstNew.AssignRaw(pNew);
            m_pLastLinked.Release();
            // The old top of the chain is replaced; what follows it is closed when the
            // parse joins its blocks to the rest.
            if (m_pFirstBlock && m_pFirstBlock.Get() != pNew) {
                m_pReplacedRest = m_pFirstBlock->m_pNext;
                m_pFirstBlock->Close();
            }
            m_pFirstBlock.AssignRaw(pNew);
            pNew->m_pParent.Release();
        } else if (!m_pLastLinked) {
            m_pLastLinked = m_pFirstNew;
        }
    }
    CKLVLexBlockPtr& rLast = pContext ? pContext->m_pLastLinked : m_pLastLinked;
    if ((nFlags & klvMatchEncloses) && rLast) {
        pNew->m_pPrev = rLast->m_pPrev;
        if (pNew->m_pPrev) pNew->m_pPrev->m_pNext.AssignRaw(pNew);
        pNew->m_pNext = rLast;
        rLast->m_pPrev.AssignRaw(pNew);
        rLast->m_pParent.AssignRaw(pNew);
        return 0;
    }
    if (rLast) {
        pNew->m_pNext = rLast->m_pNext;
        if (pNew->m_pNext) pNew->m_pNext->m_pPrev.AssignRaw(pNew);
        rLast->m_pNext.AssignRaw(pNew);
        pNew->m_pPrev = rLast;
    }
    rLast.AssignRaw(pNew);
    return 0;
}

void CKLVSyntaxEditLexTextSchema::EndBlock(CKLVSyntaxEditLexTextBlock* pBlock, CKLVSyntaxEditLexParseContext* pContext) {
    if (!pBlock) return;
    CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks);
    --m_nOpenBlocks;
    m_nOpenBlocks -= pBlock->CloseOpenChildren(pContext ? nullptr : this);
    if (!pContext) StoreChain(pBlock);
}

void CKLVSyntaxEditLexTextSchema::SkipText(IKLVSyntaxEditTextIterator* pIter, CKLVSyntaxEditLexClass* pClass,
                                           CKLVSyntaxEditLexParseContext* pContext, int nCount) {
    if (!pIter || !pClass) return;
    pIter->Advance(nCount, 512);
    m_nSkipCounter -= nCount;
    const CKLVSyntaxEditLexTagTree& tree = pClass->GetActiveTree();
    if (tree.IsEmpty() || !m_nSkipCounter) return;
    for (int nTests = 1; !pIter->IsEOF() && m_nSkipCounter; ++nTests) {
        LPCSTR p = pIter->PeekText(1024);
        const int nMatched = p ? tree.Find(p, 1024) : 0;
        if (nMatched > 0) {
            m_nSkipCounter = nMatched;
            return;
        }
        pIter->Advance(1, 512);
        --m_nSkipCounter;
        if (nTests % 10 == 0 && IsBreakSet()) return;
        if (pContext && pIter->GetPosition().nLine > pContext->m_nLastLine) return;
    }
}
