#include "toolkit/syntaxedit/text/SyntaxEditCommands.h"

#include "toolkit/syntaxedit/text/SyntaxEditBufferManager.h"
#include "toolkit/syntaxedit/text/SyntaxEditTextFormat.h"

#include <algorithm>
#include <climits>

IMPLEMENT_DYNAMIC(CKLVSyntaxEditCommand, CObject)
IMPLEMENT_DYNAMIC(CKLVSyntaxEditBatchCommand, CKLVSyntaxEditCommand)
IMPLEMENT_DYNAMIC(CKLVSyntaxEditBufferCommand, CKLVSyntaxEditCommand)
IMPLEMENT_DYNAMIC(CKLVSyntaxEditInsertStringCommand, CKLVSyntaxEditBufferCommand)
IMPLEMENT_DYNAMIC(CKLVSyntaxEditDeleteStringCommand, CKLVSyntaxEditBufferCommand)
IMPLEMENT_DYNAMIC(CKLVSyntaxEditReplaceStringCommand, CKLVSyntaxEditBufferCommand)

namespace {

enum { kIdsUndefinedCommand = 9714, kIdsMultipleOperations = 9715, kIdsDelete = 9716, kIdsInsert = 9717 };

// Sets the buffer's overwrite flag for a scope and restores it, also on failure.
class COverwriteScope {
public:
    COverwriteScope(CKLVSyntaxEditBufferManager* pBuffer, BOOL bOverwrite)
        : m_pBuffer(pBuffer), m_bSaved(pBuffer->GetOverwriteFlag()) {
        m_pBuffer->SetOverwriteFlag(bOverwrite);
    }
    ~COverwriteScope() { m_pBuffer->SetOverwriteFlag(m_bSaved); }
    COverwriteScope(const COverwriteScope&) = delete;
    COverwriteScope& operator=(const COverwriteScope&) = delete;

private:
    CKLVSyntaxEditBufferManager* m_pBuffer;
    BOOL m_bSaved;
};

}  // namespace

CString CKLVSyntaxEditCommand::LoadText(UINT nID, LPCSTR lpszDefault) {
    CString strText;
    if (!strText.LoadString(nID)) strText = lpszDefault;
    return strText;
}

CKLVSyntaxEditCommand::CKLVSyntaxEditCommand() : m_strCommandText(LoadText(kIdsUndefinedCommand, "Undefined command")) {}

CKLVSyntaxEditBatchCommand::CKLVSyntaxEditBatchCommand() {
    m_strCommandText = LoadText(kIdsMultipleOperations, "Multiple operations");
}

template <class It>
DWORD CKLVSyntaxEditBatchCommand::Run(It first, It last, bool bExecute, CKLVSyntaxEditPosition& posStart,
                                      CKLVSyntaxEditPosition& posEnd, IKLVSyntaxEditCaret* pEditCtrl) {
    DWORD dwFlags = 0;
    posStart = CKLVSyntaxEditPosition(INT_MAX, INT_MAX);
    posEnd = CKLVSyntaxEditPosition(0, 0);
    for (; first != last; ++first) {
        CKLVSyntaxEditPosition posFrom, posTo;
        dwFlags |= bExecute ? (*first)->Execute(posFrom, posTo, pEditCtrl) : (*first)->UnExecute(posFrom, posTo, pEditCtrl);
        posStart = std::min(posStart, posFrom);
        posEnd = std::max(posEnd, posTo);
    }
    return dwFlags;
}

DWORD CKLVSyntaxEditBatchCommand::Execute(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                                          IKLVSyntaxEditCaret* pEditCtrl) {
    return Run(m_lstCommands.rbegin(), m_lstCommands.rend(), true, posStart, posEnd, pEditCtrl);
}

DWORD CKLVSyntaxEditBatchCommand::UnExecute(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                                            IKLVSyntaxEditCaret* pEditCtrl) {
    return Run(m_lstCommands.begin(), m_lstCommands.end(), false, posStart, posEnd, pEditCtrl);
}

CKLVSyntaxEditBufferCommand::CKLVSyntaxEditBufferCommand(CKLVSyntaxEditBufferManager* pBuffer, LPCSTR lpszText,
                                                         const CKLVSyntaxEditPosition& posStart,
                                                         const CKLVSyntaxEditPosition& posEnd)
    : m_pBuffer(pBuffer), m_strText(lpszText), m_posStart(posStart), m_posEnd(posEnd) {}

CKLVSyntaxEditPosition CKLVSyntaxEditBufferCommand::CalcTextEnd(const CKLVSyntaxEditPosition& posStart,
                                                                LPCSTR lpszText) {
    BOOL bEndsWithLineEnd = FALSE;
    std::vector<CString> arLines =
        CKLVSyntaxEditTextFormat::SplitLines(lpszText, lpszText ? strlen(lpszText) : 0, &bEndsWithLineEnd);
    if (arLines.empty()) return posStart;
    const int nLines = static_cast<int>(arLines.size());
    if (bEndsWithLineEnd) return CKLVSyntaxEditPosition(posStart.nLine + nLines, 1);
    if (nLines == 1) return CKLVSyntaxEditPosition(posStart.nLine, posStart.nCol + arLines[0].GetLength());
    return CKLVSyntaxEditPosition(posStart.nLine + nLines - 1, arLines.back().GetLength() + 1);
}

void CKLVSyntaxEditBufferCommand::GetRange(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd) const {
    posStart = std::min(m_posStart, m_posEnd);
    posEnd = std::max(m_posStart, m_posEnd);
}

DWORD CKLVSyntaxEditBufferCommand::RangeFlags(DWORD dwBase, DWORD dwLines) const {
    if (m_posStart.nLine != m_posEnd.nLine) return dwBase | klvEditActionColumns | dwLines;
    return m_posStart.nCol != m_posEnd.nCol ? dwBase | klvEditActionColumns : dwBase;
}

void CKLVSyntaxEditBufferCommand::NotifyParser(int eEditAction) const {
    if (IKLVSyntaxEditLexParser* pParser = m_pBuffer->GetLexParser())
        pParser->OnTextChanged(m_posStart, m_posEnd, eEditAction, m_pBuffer);
}

DWORD CKLVSyntaxEditBufferCommand::DoInsertText(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                                                IKLVSyntaxEditCaret* pEditCtrl) {
    if (!m_pBuffer) return 0;
    {
        COverwriteScope overwrite(m_pBuffer, FALSE);
        m_pBuffer->InsertText(m_strText, m_posStart.nLine, m_posStart.nCol, nullptr, FALSE);
    }
    NotifyParser(1);
    if (pEditCtrl) pEditCtrl->SetCaretPos(m_posEnd.nLine, m_posEnd.nCol);
    GetRange(posStart, posEnd);
    return RangeFlags(klvEditActionInsert, klvEditActionInsertLines);
}

DWORD CKLVSyntaxEditBufferCommand::DoDeleteText(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                                                IKLVSyntaxEditCaret* pEditCtrl) {
    if (!m_pBuffer) return 0;
    {
        COverwriteScope overwrite(m_pBuffer, FALSE);
        m_pBuffer->DeleteText(m_posStart.nLine, m_posStart.nCol, m_posEnd.nLine, m_posEnd.nCol, FALSE, FALSE);
    }
    NotifyParser(2);
    if (pEditCtrl) pEditCtrl->SetCaretPos(m_posStart.nLine, m_posStart.nCol);
    GetRange(posStart, posEnd);
    return RangeFlags(klvEditActionDelete, klvEditActionDeleteLines);
}

DWORD CKLVSyntaxEditBufferCommand::DoReplaceText(LPCSTR lpszText, const CKLVSyntaxEditPosition& posRemoveEnd,
                                                 CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                                                 IKLVSyntaxEditCaret* pEditCtrl) {
    if (!m_pBuffer) return 0;
    {
        COverwriteScope overwrite(m_pBuffer, FALSE);
        const CKLVSyntaxEditPosition posFrom = std::min(m_posStart, m_posEnd);
        m_pBuffer->DeleteText(posFrom.nLine, posFrom.nCol, posRemoveEnd.nLine, posRemoveEnd.nCol, FALSE, FALSE);
        m_pBuffer->InsertText(lpszText, posFrom.nLine, posFrom.nCol, nullptr, FALSE);
    }
    NotifyParser(1);
    if (pEditCtrl) pEditCtrl->SetCaretPos(m_posStart.nLine, m_posStart.nCol);
    GetRange(posStart, posEnd);
    return RangeFlags(klvEditActionReplace, klvEditActionReplaceLines);
}

CKLVSyntaxEditInsertStringCommand::CKLVSyntaxEditInsertStringCommand(CKLVSyntaxEditBufferManager* pBuffer,
                                                                     LPCSTR lpszText,
                                                                     const CKLVSyntaxEditPosition& posStart,
                                                                     const CKLVSyntaxEditPosition& posEnd)
    : CKLVSyntaxEditBufferCommand(pBuffer, lpszText, posStart, posEnd) {
    m_strCommandText = LoadText(kIdsInsert, "Insert: ") + m_strText;
}

DWORD CKLVSyntaxEditInsertStringCommand::Execute(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                                                 IKLVSyntaxEditCaret* pEditCtrl) {
    return DoInsertText(posStart, posEnd, pEditCtrl);
}

DWORD CKLVSyntaxEditInsertStringCommand::UnExecute(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                                                   IKLVSyntaxEditCaret* pEditCtrl) {
    return DoDeleteText(posStart, posEnd, pEditCtrl);
}

CKLVSyntaxEditDeleteStringCommand::CKLVSyntaxEditDeleteStringCommand(CKLVSyntaxEditBufferManager* pBuffer,
                                                                     LPCSTR lpszText,
                                                                     const CKLVSyntaxEditPosition& posStart,
                                                                     const CKLVSyntaxEditPosition& posEnd)
    : CKLVSyntaxEditBufferCommand(pBuffer, lpszText, posStart, posEnd) {
    m_strCommandText = LoadText(kIdsDelete, "Delete: ") + m_strText;
}

DWORD CKLVSyntaxEditDeleteStringCommand::Execute(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                                                 IKLVSyntaxEditCaret* pEditCtrl) {
    return DoDeleteText(posStart, posEnd, pEditCtrl);
}

DWORD CKLVSyntaxEditDeleteStringCommand::UnExecute(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                                                   IKLVSyntaxEditCaret* pEditCtrl) {
    return DoInsertText(posStart, posEnd, pEditCtrl);
}

CKLVSyntaxEditReplaceStringCommand::CKLVSyntaxEditReplaceStringCommand(CKLVSyntaxEditBufferManager* pBuffer,
                                                                       LPCSTR lpszText, LPCSTR lpszReplacedText,
                                                                       const CKLVSyntaxEditPosition& posStart,
                                                                       const CKLVSyntaxEditPosition& posEnd)
    : CKLVSyntaxEditBufferCommand(pBuffer, lpszText, posStart, posEnd), m_strReplacedText(lpszReplacedText) {
    m_strCommandText = LoadText(kIdsMultipleOperations, "Multiple operations") + m_strText;
}

DWORD CKLVSyntaxEditReplaceStringCommand::Execute(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                                                  IKLVSyntaxEditCaret* pEditCtrl) {
    const CKLVSyntaxEditPosition posFrom = std::min(m_posStart, m_posEnd);
    return DoReplaceText(m_strText, CalcTextEnd(posFrom, m_strReplacedText), posStart, posEnd, pEditCtrl);
}

DWORD CKLVSyntaxEditReplaceStringCommand::UnExecute(CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd,
                                                    IKLVSyntaxEditCaret* pEditCtrl) {
    const CKLVSyntaxEditPosition posFrom = std::min(m_posStart, m_posEnd);
    return DoReplaceText(m_strReplacedText, CalcTextEnd(posFrom, m_strText), posStart, posEnd, pEditCtrl);
}
