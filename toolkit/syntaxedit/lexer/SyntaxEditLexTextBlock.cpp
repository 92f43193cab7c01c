#include "toolkit/syntaxedit/lexer/SyntaxEditLexTextBlock.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditLexClass.h"

#include <algorithm>

CKLVSyntaxEditLexParseContext::~CKLVSyntaxEditLexParseContext() = default;

CKLVSyntaxEditLexTextBlock::CKLVSyntaxEditLexTextBlock() = default;
CKLVSyntaxEditLexTextBlock::~CKLVSyntaxEditLexTextBlock() = default;

void CKLVSyntaxEditLexTextBlock::Close() {
    m_pClass.Release();
    m_pParent.Release();
    m_pPrev.Release();
    m_pNext.Release();
    m_pLastChild.Release();
}

BOOL CKLVSyntaxEditLexTextBlock::IsSameClass(const CKLVSyntaxEditLexTextBlock& other) const {
    return m_pClass && other.m_pClass && m_pClass->GetName().CompareNoCase(other.m_pClass->GetName()) == 0;
}

BOOL CKLVSyntaxEditLexTextBlock::Contains(const CKLVSyntaxEditLexTextBlock& other) const {
    return m_posEnd.IsValid() && other.m_posEnd.IsValid() && m_posStart <= other.m_posStart &&
           m_posEnd >= other.m_posEnd;
}

BOOL CKLVSyntaxEditLexTextBlock::IsClosed() const {
    return !m_pClass && !m_pParent && !m_pPrev && !m_pNext && !m_pLastChild;
}

CKLVLexBlockPtr CKLVSyntaxEditLexTextBlock::GetPrevChild(CKLVSyntaxEditLexTextBlock* pChild) {
    CKLVLexBlockPtr pFound;
    for (CKLVSyntaxEditLexTextBlock* p = pChild ? pChild->m_pPrev.Get() : nullptr; p && p != this; p = p->m_pPrev.Get())
        if (p->m_pParent.Get() == this) {
            pFound.AssignRaw(p);
            break;
        }
    return pFound;
}

int CKLVSyntaxEditLexTextBlock::CloseOpenChildren(IKLVSyntaxEditLexBlockSchema* pSchema) {
    int nClosed = 0;
    for (CKLVLexBlockPtr pChild = m_pLastChild; pChild; pChild = GetPrevChild(pChild.Get())) {
        if (!pChild->IsOpen()) continue;
        pChild->m_posEnd = m_posEnd;
        pChild->m_nEndExtent = m_nEndExtent;
        if (pSchema) pSchema->StoreChain(pChild.Get());
        nClosed += 1 + pChild->CloseOpenChildren(pSchema);
    }
    return nClosed;
}

LONGLONG CKLVSyntaxEditLexTextBlock::GetBodyStart() const {
    return static_cast<LONGLONG>(m_posStart.GetPackedKey()) + m_nStartExtent;
}

LONGLONG CKLVSyntaxEditLexTextBlock::GetBodyEnd() const {
    return static_cast<LONGLONG>(m_posEnd.GetPackedKey()) - std::max(m_nEndExtent, 0);
}

LONGLONG CKLVSyntaxEditLexTextBlock::GetEndTagEnd() const {
    return static_cast<LONGLONG>(m_posEnd.GetPackedKey()) - std::min(m_nEndExtent, 0);
}

// ---------------------------------------------------------------------------------------------
// Chain operations

CKLVSyntaxEditLexBlockLock::CKLVSyntaxEditLexBlockLock(CSyncObject* pLock, DWORD dwTimeout)
    : m_pLock(pLock), m_bLocked(!pLock || pLock->Lock(dwTimeout)) {}

CKLVSyntaxEditLexBlockLock::~CKLVSyntaxEditLexBlockLock() {
    if (m_pLock && m_bLocked) m_pLock->Unlock();
}

namespace {

// One edit as the blocks see it.
struct EditRange {
    CKLVSyntaxEditPosition s;
    CKLVSyntaxEditPosition e;
    bool bDelete;
    int nLineDelta;
    int nColDelta;
    int nRefLine;

    LONGLONG KeyS() const { return s.GetPackedKey(); }
    LONGLONG KeyE() const { return e.GetPackedKey(); }
    // The key that must lie within a block's body for the edit to lie there.
    LONGLONG BodyKey() const { return bDelete ? KeyE() : KeyS(); }
};

enum HitKind { klvHitNone, klvHitStart, klvHitBody, klvHitEnd };

HitKind BodyOrEndHit(const CKLVSyntaxEditLexTextBlock& block, const EditRange& edit) {
    if (block.GetBodyStart() <= edit.KeyS() && edit.BodyKey() <= block.GetBodyEnd()) return klvHitBody;
    if (edit.BodyKey() > block.GetBodyEnd() && edit.KeyS() <= block.GetEndTagEnd()) return klvHitEnd;
    return klvHitNone;
}

void EndBeforeStart(CKLVSyntaxEditLexTextBlock& block) {
    block.m_posEnd = CKLVSyntaxEditPosition(block.m_posStart.nLine, block.m_posStart.nCol - 1);
}

void ShiftBody(CKLVSyntaxEditLexTextBlock& block, const EditRange& edit) {
    block.m_posEnd.nLine += edit.nLineDelta;
    if (block.m_posEnd.nLine < block.m_posStart.nLine) {
        EndBeforeStart(block);
    } else if (block.m_posEnd.nLine == edit.nRefLine) {
        block.m_posEnd.nCol = std::max(block.m_posEnd.nCol + edit.nColDelta, 0);
    }
}

// Moves a block that lies after the edit; false when neither of its lines is touched by an
// edit within one line, so that no later block can be either.
bool MoveBlock(CKLVSyntaxEditLexTextBlock& block, const EditRange& edit) {
    if (edit.nLineDelta == 0 && block.m_posStart.nLine != edit.nRefLine && block.m_posEnd.nLine != edit.nRefLine)
        return false;
    for (CKLVSyntaxEditPosition* pPos : {&block.m_posStart, &block.m_posEnd})
        if (pPos->IsValid()) CKLVSyntaxEditLexBlockChain::MoveAfterEdit(*pPos, edit.s, edit.e, edit.bDelete);
    return true;
}

}  // namespace

void CKLVSyntaxEditLexBlockChain::MoveAfterEdit(CKLVSyntaxEditPosition& pos, const CKLVSyntaxEditPosition& posStart,
                                                const CKLVSyntaxEditPosition& posEnd, bool bDelete) {
    // The text after the edit moves from where it stood to where it stands now.
    const CKLVSyntaxEditPosition& posFrom = bDelete ? posEnd : posStart;
    const CKLVSyntaxEditPosition& posTo = bDelete ? posStart : posEnd;
    if (pos.nLine == posFrom.nLine) pos.nCol += posTo.nCol - posFrom.nCol;
    pos.nLine += posTo.nLine - posFrom.nLine;
}

void CKLVSyntaxEditLexBlockChain::CloseChain(CKLVSyntaxEditLexTextBlock* pFirst) {
    CKLVLexBlockPtr pBlock;
    pBlock.AssignRaw(pFirst);
    while (pBlock) {
        CKLVLexBlockPtr pNext = pBlock->m_pNext;
        pBlock->Close();
        pBlock = pNext;
    }
}

void CKLVSyntaxEditLexBlockChain::CloseOpenEnds(CKLVSyntaxEditLexTextBlock* pFrom, CKLVSyntaxEditLexTextBlock* pTo,
                                                CSyncObject* pLock) {
    CKLVSyntaxEditLexBlockLock lock(pLock, INFINITE);
    CKLVSyntaxEditLexTextBlock* pStop = pTo ? pTo->m_pNext.Get() : nullptr;
    for (CKLVSyntaxEditLexTextBlock* p = pFrom; p && p != pStop; p = p->m_pNext.Get())
        if (p->IsOpen() && p->m_pParent && !p->m_pParent->IsOpen()) p->m_posEnd = p->m_pParent->m_posEnd;
}

void CKLVSyntaxEditLexBlockChain::ReparentOrphans(CKLVSyntaxEditLexTextBlock* pFirst, CSyncObject* pLock) {
    CKLVSyntaxEditLexBlockLock lock(pLock, INFINITE);
    for (CKLVSyntaxEditLexTextBlock* p = pFirst ? pFirst->m_pNext.Get() : nullptr; p; p = p->m_pNext.Get()) {
        if (!p->m_pParent || !p->m_pParent->IsClosed()) continue;
        CKLVSyntaxEditLexTextBlock* pOuter = p->m_pPrev.Get();
        while (pOuter && !pOuter->Contains(*p)) pOuter = pOuter->m_pPrev.Get();
        p->m_pParent.AssignRaw(pOuter);
    }
}

CKLVLexBlockPtr CKLVSyntaxEditLexBlockChain::FindBlock(CKLVSyntaxEditLexTextBlock* pFirst,
                                                       const CKLVSyntaxEditPosition& pos, CSyncObject* pLock) {
    CKLVSyntaxEditLexBlockLock lock(pLock, INFINITE);
    CKLVSyntaxEditLexTextBlock* p = pFirst;
    while (p && p->m_pNext && p->m_pNext->m_posStart <= pos) p = p->m_pNext.Get();
    while (p && p->m_pNext && p->m_pNext->m_posStart <= p->m_posStart) p = p->m_pNext.Get();
    CKLVLexBlockPtr pFound;
    pFound.AssignRaw(p);
    return pFound;
}

int CKLVSyntaxEditLexBlockChain::UpdateBlocksOnEdit(CKLVSyntaxEditLexTextBlock* pFirst,
                                                    const CKLVSyntaxEditPosition& posStart,
                                                    const CKLVSyntaxEditPosition& posEnd, int nEditKind,
                                                    CSyncObject* pLock) {
    CKLVSyntaxEditLexBlockLock lock(pLock, 5000);
    if (!lock.IsLocked()) return 1;
    const CKLVLexBlockPtr pInner = FindBlock(pFirst, posStart, nullptr);
    if (!pInner) return 0;
    EditRange edit{posStart, posEnd, nEditKind == klvEditDelete, posEnd.nLine - posStart.nLine,
                   posEnd.nCol - posStart.nCol, nEditKind == klvEditDelete ? posStart.nLine : posEnd.nLine};
    if (edit.bDelete) {
        edit.nLineDelta = -edit.nLineDelta;
        edit.nColDelta = -edit.nColDelta;
    }
    int nFlags = 0;
    // The block at the edit and the blocks around it, innermost first.
    for (CKLVSyntaxEditLexTextBlock* p = pInner.Get(); p; p = p->m_pParent.Get()) {
        const int nInner = p == pInner.Get() ? 0x100 : 0;
        const bool bStartHit = edit.bDelete ? (p->m_posStart >= edit.s && p->m_posStart < edit.e)
                                            : (p->m_posStart < edit.s && edit.KeyS() < p->GetBodyStart());
        const HitKind hit = bStartHit ? klvHitStart : BodyOrEndHit(*p, edit);
        if (hit == klvHitStart) EndBeforeStart(*p);
        if (hit == klvHitEnd) p->m_posEnd.Clear();
        if (hit == klvHitBody) ShiftBody(*p, edit);
        if (hit == klvHitStart || hit == klvHitEnd) nFlags |= 2 | nInner;
        if (hit == klvHitBody) nFlags |= nInner;
    }
    // The blocks that follow in the chain.
    for (CKLVSyntaxEditLexTextBlock* p = (nFlags & 0x100) ? pInner->m_pNext.Get() : pInner.Get(); p;
         p = p->m_pNext.Get()) {
        const bool bStartHit = edit.bDelete ? (edit.e > p->m_posStart && edit.KeyS() < p->GetBodyStart())
                                            : (p->m_posStart < edit.s && edit.KeyS() < p->GetBodyStart());
        const HitKind hit = bStartHit ? klvHitStart : BodyOrEndHit(*p, edit);
        if (hit == klvHitStart) EndBeforeStart(*p);
        if (hit == klvHitEnd) p->m_posEnd.Clear();
        if (hit == klvHitBody) ShiftBody(*p, edit);
        if (hit == klvHitStart || hit == klvHitEnd) nFlags |= 2;
        if (hit != klvHitNone) continue;
        const bool bAfter = edit.bDelete ? p->m_posStart >= edit.e : p->m_posStart >= edit.s;
        if (bAfter && !MoveBlock(*p, edit)) break;
    }
    return nFlags;
}

CKLVSyntaxEditLexBlockHandle::CKLVSyntaxEditLexBlockHandle(CKLVSyntaxEditLexTextBlock* pBlock, Kind eKind)
    : m_eKind(eKind) {
    m_pBlock.AssignRaw(pBlock);
}

CKLVSyntaxEditLexBlockHandle::~CKLVSyntaxEditLexBlockHandle() {
    if (m_eKind == klvScreenChain && m_pBlock) CKLVSyntaxEditLexBlockChain::CloseChain(m_pBlock.Get());
}

CKLVSyntaxEditLexTextBlock* CKLVSyntaxEditLexBlockHandle::BlockOf(IKLVSyntaxEditSchemaHandle* pHandle) {
    // Every handle of a text schema is one of these.
    return pHandle ? static_cast<CKLVSyntaxEditLexBlockHandle*>(pHandle)->m_pBlock.Get() : nullptr;
}
