// What painting asks of the chain: the coloured runs of a line and the fold regions.
#include "toolkit/syntaxedit/lexer/SyntaxEditLexTextSchema.h"

#include "toolkit/syntaxedit/text/SyntaxEditTextSource.h"

namespace {
const DWORD kUiLockWaitMs = 30;

CKLVSyntaxEditTextSegment MakeRun(int nFirst, int nLast, const CKLVSyntaxEditTextColors& colors) {
    CKLVSyntaxEditTextSegment run;
    run.nFirstCol = nFirst;
    run.nLastCol = nLast;
    run.clrColors = colors;
    return run;
}
}  // namespace

void CKLVSyntaxEditLexTextSchema::FillRunFromBlock(CKLVSyntaxEditTextSegment& run, CKLVSyntaxEditLexTextBlock* pBlock) {
    if (pBlock && pBlock->m_pClass) pBlock->m_pClass->GetTextAttributes(run);
}

void CKLVSyntaxEditLexTextSchema::LayRun(std::vector<CKLVSyntaxEditTextSegment>& arRuns,
                                         const CKLVSyntaxEditTextSegment& run) {
    const int ns = run.nFirstCol, ne = run.nLastCol;
    for (size_t i = 0; i < arRuns.size(); ++i) {
        CKLVSyntaxEditTextSegment& r = arRuns[i];
        if (!(r.nFirstCol <= ns && ne <= r.nLastCol)) continue;
        if (r.nFirstCol == ns && r.nLastCol == ne) {
            r = run;
        } else if (r.nFirstCol == ns) {
            r.nFirstCol = ne;
            arRuns.insert(arRuns.begin() + i, run);
        } else if (r.nLastCol == ne) {
            r.nLastCol = ns;
            arRuns.insert(arRuns.begin() + i + 1, run);
        } else {
            CKLVSyntaxEditTextSegment tail = r;
            tail.nFirstCol = ne;
            r.nLastCol = ns;
            arRuns.insert(arRuns.begin() + i + 1, tail);
            arRuns.insert(arRuns.begin() + i + 1, run);
        }
        return;
    }
    bool bInserted = false;
    for (size_t i = arRuns.size(); i-- > 0;) {
        CKLVSyntaxEditTextSegment& r = arRuns[i];
        if (r.nFirstCol < ne && ne < r.nLastCol) {
            r.nFirstCol = ne;
            if (!bInserted) arRuns.insert(arRuns.begin() + i, run), bInserted = true;
        } else if (ns <= r.nFirstCol && r.nLastCol <= ne) {
            arRuns.erase(arRuns.begin() + i);
        } else if (r.nFirstCol < ns && ns < r.nLastCol) {
            r.nLastCol = ns;
            if (!bInserted) arRuns.insert(arRuns.begin() + i + 1, run), bInserted = true;
        }
    }
    if (!bInserted) {
        // Kept in column order: after the last run that ends at or before it.
        size_t nAt = 0;
        while (nAt < arRuns.size() && arRuns[nAt].nLastCol <= ns) ++nAt;
        arRuns.insert(arRuns.begin() + nAt, run);
    }
}

void CKLVSyntaxEditLexTextSchema::GetLineAttributes(IKLVSyntaxEditTextIterator* pIter, int nLine, int nFirstCol,
                                                    int nColLimit, const CKLVSyntaxEditTextColors& defaults,
                                                    std::vector<CKLVSyntaxEditTextSegment>& arOut,
                                                    CKLVLexBlockPtr* pAnchor, CKLVSyntaxEditLexTextBlock* pHead) {
    const int n = pIter ? pIter->GetLineLength(nLine, FALSE) : 0;
    if (n <= 0) return;
    const CKLVSyntaxEditPosition posVisibleEnd(nLine, nColLimit > 0 && nColLimit < n ? nColLimit : n);
    const CKLVSyntaxEditPosition posFirst(nLine, nFirstCol);
    std::vector<CKLVSyntaxEditTextSegment> arRuns;
    CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks, kUiLockWaitMs);
    if (lock.IsLocked()) {
        CKLVSyntaxEditLexTextBlock* pH = pHead ? pHead : m_pFirstBlock.Get();
        CKLVSyntaxEditLexTextBlock* pAnchorBlock = pAnchor ? pAnchor->Get() : nullptr;
        CKLVSyntaxEditLexTextBlock* pBlock = (pAnchorBlock && pAnchorBlock != pH && !pAnchorBlock->IsClosed())
                                                 ? pAnchorBlock
                                                 : (pH ? pH->m_pNext.Get() : nullptr);
        if (pH) {
            CKLVSyntaxEditTextSegment run = MakeRun(0, n, defaults);
            FillRunFromBlock(run, pH);
            LayRun(arRuns, run);
        }
        CKLVSyntaxEditLexTextBlock* pRemembered = nullptr;
        while (pBlock) {
            const CKLVSyntaxEditPosition posEnd = EndOfOrText(pBlock);
            if (posEnd < posFirst || posEnd < pBlock->m_posStart) {
                pBlock = pBlock->m_pNext.Get();
                continue;
            }
            if (pBlock->m_posStart > posVisibleEnd) break;
            if (!pRemembered) pRemembered = pBlock;
            std::vector<CKLVSyntaxEditLexTextBlock*> arGroup{pBlock};
            for (CKLVSyntaxEditLexTextBlock* pNext = pBlock->m_pNext.Get();
                 pNext && pNext->m_posStart == arGroup.back()->m_posStart && pNext->m_posEnd.IsValid() &&
                 arGroup.back()->m_posEnd.IsValid() && pNext->m_posEnd > arGroup.back()->m_posEnd;
                 pNext = pNext->m_pNext.Get())
                arGroup.push_back(pNext);
            for (size_t i = arGroup.size(); i-- > 0;) {
                CKLVSyntaxEditLexTextBlock* p = arGroup[i];
                const int nFirst = p->m_posStart > posFirst ? p->m_posStart.nCol : 0;
                const int nLast = p->m_posEnd.nLine == nLine ? std::min(p->m_posEnd.nCol + 1, n) : n;
                CKLVSyntaxEditTextSegment run = MakeRun(p->m_posStart.nLine == nLine ? nFirst : 0, nLast, defaults);
                FillRunFromBlock(run, p);
                if (run.nFirstCol < run.nLastCol) LayRun(arRuns, run);
            }
            pBlock = arGroup.back()->m_pNext.Get();
        }
        if (pAnchor && (!pAnchor->Get() || pAnchor->Get()->IsClosed())) pAnchor->AssignRaw(pRemembered);
    }
    int nCol = 0;
    for (const CKLVSyntaxEditTextSegment& run : arRuns) {
        if (run.nFirstCol > nCol) arOut.push_back(MakeRun(nCol, run.nFirstCol, defaults));
        arOut.push_back(run);
        nCol = std::max(nCol, run.nLastCol);
    }
    if (nCol < n) arOut.push_back(MakeRun(nCol, n, defaults));
}

void CKLVSyntaxEditLexTextSchema::GetFoldRegions(CKLVLexBlockPtr* pAnchor, int nLine,
                                                 std::vector<CKLVSyntaxEditCollapsedBlock>& arRegions, bool bMoveAnchor) {
    CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks, kUiLockWaitMs);
    if (!lock.IsLocked()) return;
    // An anchor below the line cannot hold the blocks around it.
    const bool bAnchorUsable = pAnchor && pAnchor->Get() && !pAnchor->Get()->IsClosed() &&
                               (nLine < 0 || pAnchor->Get()->m_posStart.nLine <= nLine);
    CKLVSyntaxEditLexTextBlock* pBlock = bAnchorUsable ? pAnchor->Get() : m_pFirstBlock.Get();
    CKLVSyntaxEditLexTextBlock* pFirstContaining = nullptr;
    for (; pBlock && (nLine < 0 || pBlock->m_posStart.nLine <= nLine); pBlock = pBlock->m_pNext.Get()) {
        const int nEndLine = EndOfOrText(pBlock).nLine;
        const bool bContains = nLine < 0 || (pBlock->m_posStart.nLine <= nLine && nLine <= nEndLine);
        if (!bContains || !pBlock->m_pParent) continue;
        if (!pFirstContaining) pFirstContaining = pBlock;
        if (nEndLine <= pBlock->m_posStart.nLine || !pBlock->m_pClass || !pBlock->m_pClass->IsCollapsable()) continue;
        CKLVSyntaxEditCollapsedBlock region;
        region.lcStart = pBlock->m_posStart;
        region.lcEnd = EndOfOrText(pBlock);
        CKLVLexValuePtr pText = pBlock->m_pClass->GetAttribute("CollapsedText", TRUE);
        region.strCollapsedText = pText && pText->m_arStrings.GetSize() ? pText->m_arStrings[0] : CString("[..]");
        arRegions.push_back(region);
    }
    // The first block around this line starts no later than any block around a line below it,
    // so the look-ups of the lines below may start there. An anchor the parser has since ended
    // far above would otherwise make every line below walk all the blocks in between.
    if (pAnchor && (!bAnchorUsable || (bMoveAnchor && pFirstContaining))) pAnchor->AssignRaw(pFirstContaining);
}

void CKLVSyntaxEditLexTextSchema::GetLineAttributes(IKLVSyntaxEditTextIterator* pIter, int nLine, int nFirstCol,
                                                    int nColLimit, const CKLVSyntaxEditTextColors& defaults,
                                                    std::vector<CKLVSyntaxEditTextSegment>& arRuns,
                                                    IKLVSyntaxEditSchemaHandle* pScreen) {
    GetLineAttributes(pIter, nLine, nFirstCol, nColLimit, defaults, arRuns, nullptr,
                      CKLVSyntaxEditLexBlockHandle::BlockOf(pScreen));
}

void CKLVSyntaxEditLexTextSchema::GetFoldRegions(int nLine, std::vector<CKLVSyntaxEditCollapsedBlock>& arRegions,
                                                 CKLVSchemaHandlePtr& rAnchor, BOOL bFirstLine) {
    CKLVLexBlockPtr pAnchor;
    pAnchor.AssignRaw(CKLVSyntaxEditLexBlockHandle::BlockOf(rAnchor.get()));
    CKLVSyntaxEditLexTextBlock* pBefore = pAnchor.Get();
    GetFoldRegions(&pAnchor, nLine, arRegions, bFirstLine != FALSE);
    if (pAnchor.Get() != pBefore)
        rAnchor = pAnchor ? std::make_unique<CKLVSyntaxEditLexBlockHandle>(pAnchor.Get(), CKLVSyntaxEditLexBlockHandle::klvChainPlace)
                          : CKLVSchemaHandlePtr();
}

BOOL CKLVSyntaxEditLexTextSchema::GetNotifiedBlockRange(WPARAM pBlock, CKLVSyntaxEditPosition& posStart,
                                                        CKLVSyntaxEditPosition& posEnd) {
    // The parameter is a block of this schema's chain, alive while its notification runs.
    const auto* p = reinterpret_cast<const CKLVSyntaxEditLexTextBlock*>(pBlock);
    if (!p) return FALSE;
    {
        CKLVSyntaxEditLexBlockLock lock(&m_lockBlocks);
        if (m_lastHanded.pKey == p) {
            posStart = m_lastHanded.posStart;
            posEnd = m_lastHanded.posEnd;
            return TRUE;
        }
    }
    posStart = p->m_posStart;
    posEnd = p->m_posEnd;
    return TRUE;
}
