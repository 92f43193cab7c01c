// The undo history of a buffer: executed commands up to the current position, undone ones after
// it, grouping into batches, and the modified state against the last save.
#pragma once

#include "toolkit/syntaxedit/text/SyntaxEditCommands.h"

#include <memory>
#include <vector>

class CKLVSyntaxEditUndoManager {
public:
    CKLVSyntaxEditUndoManager() = default;
    CKLVSyntaxEditUndoManager(const CKLVSyntaxEditUndoManager&) = delete;
    CKLVSyntaxEditUndoManager& operator=(const CKLVSyntaxEditUndoManager&) = delete;
    virtual ~CKLVSyntaxEditUndoManager() = default;

    void AddCommand(std::unique_ptr<CKLVSyntaxEditCommand> pCommand);
    void SetGroupInsertMode(BOOL bInsertInGroup);
    BOOL IsGroupInsertMode() const { return m_bGroupInsertMode; }
    void ChainLastCommand();

    DWORD Undo(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd, IKLVSyntaxEditCaret* pEditCtrl);
    DWORD Redo(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd, IKLVSyntaxEditCaret* pEditCtrl);
    BOOL CanUndo() const { return m_nCurrent > 0; }
    BOOL CanRedo() const { return m_nCurrent < static_cast<int>(m_arNodes.size()); }

    void MarkSaved() { m_nSavedState = CurrentState(); }
    BOOL IsModified() const { return CurrentState() != m_nSavedState; }
    // Forgets every command; the text as it stands becomes the unmodified state.
    void Clear();

    void SetLastCommandText(UINT nID);
    // The command at the current position, or null.
    CKLVSyntaxEditCommand* GetLastCommand() const;
    int GetCount() const { return static_cast<int>(m_arNodes.size()); }

private:
    // Each node names the state of the text after its command by a number that is never used
    // again, so a save point can never be mistaken for a later state.
    struct CNode {
        std::unique_ptr<CKLVSyntaxEditCommand> pCommand;
        UINT nState;
    };
    UINT CurrentState() const { return m_nCurrent > 0 ? m_arNodes[m_nCurrent - 1].nState : 0; }
    void DropRedo();
    CKLVSyntaxEditBatchCommand* TailBatch() const;

    std::vector<CNode> m_arNodes;   // oldest first
    int m_nCurrent = 0;             // executed commands: the current node is m_arNodes[m_nCurrent - 1]
    UINT m_nSavedState = 0;
    UINT m_nNextState = 1;
    BOOL m_bGroupInsertMode = FALSE;
};
