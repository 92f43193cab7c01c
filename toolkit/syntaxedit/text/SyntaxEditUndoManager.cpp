#include "toolkit/syntaxedit/text/SyntaxEditUndoManager.h"

void CKLVSyntaxEditUndoManager::DropRedo() { m_arNodes.resize(m_nCurrent); }

CKLVSyntaxEditBatchCommand* CKLVSyntaxEditUndoManager::TailBatch() const {
    if (m_arNodes.empty()) return nullptr;
    CKLVSyntaxEditCommand* pTail = m_arNodes.back().pCommand.get();
    return pTail->IsKindOf(RUNTIME_CLASS(CKLVSyntaxEditBatchCommand)) ? static_cast<CKLVSyntaxEditBatchCommand*>(pTail)
                                                                       : nullptr;
}

CKLVSyntaxEditCommand* CKLVSyntaxEditUndoManager::GetLastCommand() const {
    return m_nCurrent > 0 ? m_arNodes[m_nCurrent - 1].pCommand.get() : nullptr;
}

void CKLVSyntaxEditUndoManager::AddCommand(std::unique_ptr<CKLVSyntaxEditCommand> pCommand) {
    DropRedo();
    if (m_bGroupInsertMode) {
        CKLVSyntaxEditBatchCommand* pBatch = TailBatch();
        if (!pBatch) {
            m_arNodes.push_back({std::make_unique<CKLVSyntaxEditBatchCommand>(), 0});
            pBatch = TailBatch();
        }
        pBatch->AddCommand(std::move(pCommand));
        // The batch now leaves the text in a new state.
        m_arNodes.back().nState = m_nNextState++;
    } else {
        m_arNodes.push_back({std::move(pCommand), m_nNextState++});
    }
    m_nCurrent = static_cast<int>(m_arNodes.size());
}

void CKLVSyntaxEditUndoManager::SetGroupInsertMode(BOOL bInsertInGroup) {
    if (!bInsertInGroup == !m_bGroupInsertMode) return;
    m_bGroupInsertMode = bInsertInGroup;
    if (bInsertInGroup) {
        DropRedo();
        // An empty batch changes nothing: it leaves the text in the state before it.
        m_arNodes.push_back({std::make_unique<CKLVSyntaxEditBatchCommand>(), CurrentState()});
    } else {
        CKLVSyntaxEditBatchCommand* pBatch = TailBatch();
        if (!pBatch || !pBatch->IsEmpty()) return;
        m_arNodes.pop_back();
    }
    m_nCurrent = static_cast<int>(m_arNodes.size());
}

void CKLVSyntaxEditUndoManager::ChainLastCommand() {
    if (m_nCurrent < 2) return;
    CNode& prev = m_arNodes[m_nCurrent - 2];
    CNode& last = m_arNodes[m_nCurrent - 1];
    if (!prev.pCommand->IsKindOf(RUNTIME_CLASS(CKLVSyntaxEditBatchCommand))) {
        auto pBatch = std::make_unique<CKLVSyntaxEditBatchCommand>();
        pBatch->AddCommand(std::move(prev.pCommand));
        prev.pCommand = std::move(pBatch);
    }
    static_cast<CKLVSyntaxEditBatchCommand*>(prev.pCommand.get())->AddCommand(std::move(last.pCommand));
    // The merged node leaves the text as the last command did.
    prev.nState = last.nState;
    m_arNodes.erase(m_arNodes.begin() + (m_nCurrent - 1));
    --m_nCurrent;
}

DWORD CKLVSyntaxEditUndoManager::Undo(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                                      IKLVSyntaxEditCaret* pEditCtrl) {
    if (m_nCurrent == 0) return 0;
    DWORD dwFlags = m_arNodes[m_nCurrent - 1].pCommand->UnExecute(posStart, posEnd, pEditCtrl);
    --m_nCurrent;
    return dwFlags;
}

DWORD CKLVSyntaxEditUndoManager::Redo(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                                      IKLVSyntaxEditCaret* pEditCtrl) {
    if (!CanRedo()) return 0;
    ++m_nCurrent;
    return m_arNodes[m_nCurrent - 1].pCommand->Execute(posStart, posEnd, pEditCtrl);
}

void CKLVSyntaxEditUndoManager::Clear() {
    m_arNodes.clear();
    m_nCurrent = 0;
    m_nSavedState = 0;
}

void CKLVSyntaxEditUndoManager::SetLastCommandText(UINT nID) {
    CKLVSyntaxEditCommand* pCommand = GetLastCommand();
    CString strText;
    if (pCommand && strText.LoadString(nID)) pCommand->SetCommandText(strText);
}
