// The undoable commands of a buffer: insert, delete and replace of a text, and batches of them.
// Positions are 1-based lines and 1-based character columns.
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/syntaxedit/text/SyntaxEditPosition.h"

#include <deque>
#include <memory>

class CKLVSyntaxEditBufferManager;

// The editor whose caret follows an undone or redone command.
class IKLVSyntaxEditCaret {
public:
    virtual ~IKLVSyntaxEditCaret() = default;
    virtual void SetCaretPos(int nRow, int nCol) = 0;
};

// Edit-action flags that Execute and UnExecute return.
enum {
    klvEditActionInsert = 0x100,
    klvEditActionDelete = 0x200,
    klvEditActionReplace = 0x300,
    klvEditActionColumns = 0x004,         // the range is not empty
    klvEditActionInsertLines = 0x001,     // the range spans lines (with each kind's own bits)
    klvEditActionDeleteLines = 0x002,
    klvEditActionReplaceLines = 0x003
};

class CKLVSyntaxEditCommand : public CObject {
    DECLARE_DYNAMIC(CKLVSyntaxEditCommand)
public:
    CKLVSyntaxEditCommand();
    void Serialize(CArchive&) override {}

    // Return the edit-action flags; start and end receive the smaller and the larger position.
    virtual DWORD Execute(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                          IKLVSyntaxEditCaret* pEditCtrl) = 0;
    virtual DWORD UnExecute(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                            IKLVSyntaxEditCaret* pEditCtrl) = 0;
    virtual CString GetCommandText() const { return m_strCommandText; }
    virtual void SetCommandText(LPCSTR lpszText) { m_strCommandText = lpszText; }

protected:
    // A string resource of the toolkit, or the given text when the module has none.
    static CString LoadText(UINT nID, LPCSTR lpszDefault);

    CString m_strCommandText;
};

class CKLVSyntaxEditBatchCommand : public CKLVSyntaxEditCommand {
    DECLARE_DYNAMIC(CKLVSyntaxEditBatchCommand)
public:
    CKLVSyntaxEditBatchCommand();

    // Members run oldest first on Execute and newest first on UnExecute; flags are combined.
    DWORD Execute(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                  IKLVSyntaxEditCaret* pEditCtrl) override;
    DWORD UnExecute(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                    IKLVSyntaxEditCaret* pEditCtrl) override;

    // Adds the newest member at the head.
    void AddCommand(std::unique_ptr<CKLVSyntaxEditCommand> pCommand) { m_lstCommands.push_front(std::move(pCommand)); }
    int GetCount() const { return static_cast<int>(m_lstCommands.size()); }
    BOOL IsEmpty() const { return m_lstCommands.empty(); }

private:
    template <class It>
    static DWORD Run(It first, It last, bool bExecute, CKLVSyntaxEditPosition& posStart,
                     CKLVSyntaxEditPosition& posEnd, IKLVSyntaxEditCaret* pEditCtrl);

    std::deque<std::unique_ptr<CKLVSyntaxEditCommand>> m_lstCommands;   // newest first
};

class CKLVSyntaxEditBufferCommand : public CKLVSyntaxEditCommand {
    DECLARE_DYNAMIC(CKLVSyntaxEditBufferCommand)
public:
    CKLVSyntaxEditBufferCommand(CKLVSyntaxEditBufferManager* pBuffer, LPCSTR lpszText,
                                const CKLVSyntaxEditPosition& posStart, const CKLVSyntaxEditPosition& posEnd);

    const CString& GetText() const { return m_strText; }
    const CKLVSyntaxEditPosition& GetStart() const { return m_posStart; }
    const CKLVSyntaxEditPosition& GetEnd() const { return m_posEnd; }

    // Where a text inserted at a position ends.
    static CKLVSyntaxEditPosition CalcTextEnd(const CKLVSyntaxEditPosition& posStart, LPCSTR lpszText);

protected:
    DWORD DoInsertText(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                       IKLVSyntaxEditCaret* pEditCtrl);
    DWORD DoDeleteText(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                       IKLVSyntaxEditCaret* pEditCtrl);
    // Takes out what stands from the start to posRemoveEnd and puts the text in its place.
    DWORD DoReplaceText(LPCSTR lpszText, const CKLVSyntaxEditPosition& posRemoveEnd,
                        CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                        IKLVSyntaxEditCaret* pEditCtrl);
    void NotifyParser(int eEditAction) const;
    void GetRange(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd) const;
    DWORD RangeFlags(DWORD dwBase, DWORD dwLines) const;

    CKLVSyntaxEditBufferManager* m_pBuffer;
    CString m_strText;
    CKLVSyntaxEditPosition m_posStart;
    CKLVSyntaxEditPosition m_posEnd;
};

class CKLVSyntaxEditInsertStringCommand : public CKLVSyntaxEditBufferCommand {
    DECLARE_DYNAMIC(CKLVSyntaxEditInsertStringCommand)
public:
    CKLVSyntaxEditInsertStringCommand(CKLVSyntaxEditBufferManager* pBuffer, LPCSTR lpszText,
                                      const CKLVSyntaxEditPosition& posStart, const CKLVSyntaxEditPosition& posEnd);
    DWORD Execute(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                  IKLVSyntaxEditCaret* pEditCtrl) override;
    DWORD UnExecute(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                    IKLVSyntaxEditCaret* pEditCtrl) override;
};

class CKLVSyntaxEditDeleteStringCommand : public CKLVSyntaxEditBufferCommand {
    DECLARE_DYNAMIC(CKLVSyntaxEditDeleteStringCommand)
public:
    CKLVSyntaxEditDeleteStringCommand(CKLVSyntaxEditBufferManager* pBuffer, LPCSTR lpszText,
                                      const CKLVSyntaxEditPosition& posStart, const CKLVSyntaxEditPosition& posEnd);
    DWORD Execute(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                  IKLVSyntaxEditCaret* pEditCtrl) override;
    DWORD UnExecute(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                    IKLVSyntaxEditCaret* pEditCtrl) override;
};

// The base's text is the new text; the old text is what it replaced. Each direction takes out
// the other text and puts its own in, so that texts of different lengths restore exactly.
class CKLVSyntaxEditReplaceStringCommand : public CKLVSyntaxEditBufferCommand {
    DECLARE_DYNAMIC(CKLVSyntaxEditReplaceStringCommand)
public:
    CKLVSyntaxEditReplaceStringCommand(CKLVSyntaxEditBufferManager* pBuffer, LPCSTR lpszText, LPCSTR lpszReplacedText,
                                       const CKLVSyntaxEditPosition& posStart, const CKLVSyntaxEditPosition& posEnd);
    DWORD Execute(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                  IKLVSyntaxEditCaret* pEditCtrl) override;
    DWORD UnExecute(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                    IKLVSyntaxEditCaret* pEditCtrl) override;
    const CString& GetReplacedText() const { return m_strReplacedText; }

private:
    CString m_strReplacedText;
};
