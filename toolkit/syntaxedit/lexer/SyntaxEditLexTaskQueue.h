// The ranges of text the background parser still has to parse. A new range joins a queued one
// that it overlaps or nearly touches (three lines apart at most), so a burst of edits makes
// few tasks; the worker takes the most recent task first.
#pragma once

#include "toolkit/common/CriticalSection.h"
#include "toolkit/syntaxedit/text/SyntaxEditPosition.h"

#include <climits>
#include <vector>

struct CKLVSyntaxEditLexTask {
    CKLVSyntaxEditPosition posStart{INT_MAX, 0};   // none given: resume at the last block
    CKLVSyntaxEditPosition posEnd;                 // none given: cleared, not valid

    bool IsResume() const { return posStart.nLine == INT_MAX; }
};

class CKLVSyntaxEditLexTaskQueue {
public:
    // Joins or appends the range; a whole-text range (from line 1, column 0, open-ended)
    // replaces every queued task. A range never joins the task that resumes at the last block.
    void AddTask(const CKLVSyntaxEditPosition* pStart, const CKLVSyntaxEditPosition* pEnd);
    // Queues the task that resumes at the last block, once, behind every range (the worker takes
    // it last).
    void AddResumeTask();
    // For the holder of the lock under which the queue changes.
    const std::vector<CKLVSyntaxEditLexTask>& GetTasks() const { return m_arTasks; }
    int GetCount() const { return static_cast<int>(m_arTasks.size()); }
    // For any thread, while the owner may be changing the queue.
    std::vector<CKLVSyntaxEditLexTask> CopyTasks() const;
    BOOL IsEmpty() const;
    // FALSE for an index outside the queue (nothing removed).
    BOOL RemoveTask(int nIndex);
    void RemoveAll();
    // In one step, so that no thread sees the queue empty in between.
    void ReplaceAll(std::vector<CKLVSyntaxEditLexTask> arTasks);
    // Moves the ranges with the text after an edit from posStart to posEnd (nEditKind 1 an
    // insertion, 2 a deletion; a position inside deleted text goes to its start), as the blocks
    // are moved: a range left where the text was would be parsed over other rows.
    void MoveForEdit(const CKLVSyntaxEditPosition& posStart, const CKLVSyntaxEditPosition& posEnd, int nEditKind);

private:
    static BOOL Merge(CKLVSyntaxEditLexTask& queued, const CKLVSyntaxEditLexTask& task);
    static void MovePosition(CKLVSyntaxEditPosition& pos, const CKLVSyntaxEditPosition& posStart,
                             const CKLVSyntaxEditPosition& posEnd, bool bDelete);

    std::vector<CKLVSyntaxEditLexTask> m_arTasks;
    // Held only while the vector changes or is copied, never across a parse.
    mutable CKLVCriticalSection m_csChange;
};
