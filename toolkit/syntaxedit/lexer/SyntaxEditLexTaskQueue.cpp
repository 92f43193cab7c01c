#include "toolkit/syntaxedit/lexer/SyntaxEditLexTaskQueue.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditLexTextBlock.h"

namespace {

// Three lines in packed keys.
const DWORD kNearLines = 0x3000;

}  // namespace

void CKLVSyntaxEditLexTaskQueue::AddTask(const CKLVSyntaxEditPosition* pStart, const CKLVSyntaxEditPosition* pEnd) {
    if (!pStart && !pEnd) return;
    CKLVCriticalSectionLock lock(&m_csChange);
    CKLVSyntaxEditLexTask task;
    if (pStart) task.posStart = *pStart;
    if (pEnd) task.posEnd = *pEnd;
    if (pStart && !pEnd && *pStart == CKLVSyntaxEditPosition(1, 0)) {
        m_arTasks.clear();
        m_arTasks.push_back(task);
        return;
    }
    // Joined to the resume task, an edit's range would be taken as done with it.
    for (CKLVSyntaxEditLexTask& queued : m_arTasks)
        if (!queued.IsResume() && Merge(queued, task)) return;
    m_arTasks.push_back(task);
}

void CKLVSyntaxEditLexTaskQueue::AddResumeTask() {
    CKLVCriticalSectionLock lock(&m_csChange);
    for (const CKLVSyntaxEditLexTask& queued : m_arTasks)
        if (queued.IsResume()) return;
    m_arTasks.insert(m_arTasks.begin(), CKLVSyntaxEditLexTask());
}

BOOL CKLVSyntaxEditLexTaskQueue::Merge(CKLVSyntaxEditLexTask& t, const CKLVSyntaxEditLexTask& n) {
    const CKLVSyntaxEditPosition &s = n.posStart, &e = n.posEnd, &ts = t.posStart, &te = t.posEnd;
    if (s <= ts && (e >= ts || e.GetPackedKey() + kNearLines >= ts.GetPackedKey())) {
        t.posStart = s;
        return TRUE;
    }
    if (e >= te && (s <= te || s.GetPackedKey() - kNearLines <= te.GetPackedKey())) {
        t.posEnd = e;
        return TRUE;
    }
    return s >= ts && e <= te;
}

void CKLVSyntaxEditLexTaskQueue::MoveForEdit(const CKLVSyntaxEditPosition& posStart,
                                             const CKLVSyntaxEditPosition& posEnd, int nEditKind) {
    CKLVCriticalSectionLock lock(&m_csChange);
    for (CKLVSyntaxEditLexTask& task : m_arTasks)
        for (CKLVSyntaxEditPosition* pPos : {&task.posStart, &task.posEnd})
            MovePosition(*pPos, posStart, posEnd, nEditKind == CKLVSyntaxEditLexBlockChain::klvEditDelete);
}

void CKLVSyntaxEditLexTaskQueue::MovePosition(CKLVSyntaxEditPosition& pos, const CKLVSyntaxEditPosition& posStart,
                                              const CKLVSyntaxEditPosition& posEnd, bool bDelete) {
    // Not given, resume at the last block, or before the edit: nothing moves it.
    if (!pos.IsValid() || pos.nLine == INT_MAX || pos < posStart) return;
    if (bDelete && pos < posEnd) {
        pos = posStart;
        return;
    }
    CKLVSyntaxEditLexBlockChain::MoveAfterEdit(pos, posStart, posEnd, bDelete);
}

BOOL CKLVSyntaxEditLexTaskQueue::RemoveTask(int nIndex) {
    if (nIndex < 0 || nIndex >= GetCount()) return FALSE;
    CKLVCriticalSectionLock lock(&m_csChange);
    m_arTasks.erase(m_arTasks.begin() + nIndex);
    return TRUE;
}

void CKLVSyntaxEditLexTaskQueue::RemoveAll() { ReplaceAll({}); }

void CKLVSyntaxEditLexTaskQueue::ReplaceAll(std::vector<CKLVSyntaxEditLexTask> arTasks) {
    CKLVCriticalSectionLock lock(&m_csChange);
    m_arTasks.swap(arTasks);
}

BOOL CKLVSyntaxEditLexTaskQueue::IsEmpty() const {
    CKLVCriticalSectionLock lock(&m_csChange);
    return m_arTasks.empty();
}

std::vector<CKLVSyntaxEditLexTask> CKLVSyntaxEditLexTaskQueue::CopyTasks() const {
    CKLVCriticalSectionLock lock(&m_csChange);
    return m_arTasks;
}
