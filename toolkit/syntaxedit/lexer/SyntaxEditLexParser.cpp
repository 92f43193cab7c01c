#include "toolkit/syntaxedit/lexer/SyntaxEditLexParser.h"

#include "toolkit/syntaxedit/text/SyntaxEditTextSource.h"

namespace {

// Waits for a worker told to stop: attempts of this length, the request renewed before each.
const int kStopAttempts = 10;
const DWORD kStopWaitMs = 20000;
const CKLVSyntaxEditPosition kTextStart(1, 0);

}  // namespace

CKLVSyntaxEditLexParser::CQueueLock::CQueueLock(CKLVSyntaxEditLexParser* pParser) : m_pParser(pParser) {
    // The worker never waits for the user interface thread while it holds the queue, and a
    // pass it runs ends soon once the break is set.
    m_pParser->m_queueLock.Lock(INFINITE);
}

CKLVSyntaxEditLexParser::CQueueLock::~CQueueLock() { m_pParser->m_queueLock.Unlock(); }

CKLVSyntaxEditLexParser::CRequestLock::CRequestLock(CKLVSyntaxEditLexParser* pParser)
    : m_pParser(pParser), m_bBrokePass(pParser->AcquireRequest()) {}

CKLVSyntaxEditLexParser::CRequestLock::~CRequestLock() { m_pParser->ReleaseRequest(); }

CKLVSyntaxEditLexParser::CKLVSyntaxEditLexParser() : m_pConnection(new CKLVNotificationConnection) {}

CKLVSyntaxEditLexParser::~CKLVSyntaxEditLexParser() {
    Close();
    m_pConnection->InternalRelease();
}

void CKLVSyntaxEditLexParser::Close() {
    StopParserThread();
    m_sink.UnadviseAll();
    m_pSchema.Release();
}

BOOL CKLVSyntaxEditLexParser::SetBreakWhileBusy() {
    if (::WaitForSingleObject(m_queueLock.m_hObject, 0) == WAIT_TIMEOUT) {
        // The worker is in a pass: make it end, and let none of its posts wait for this thread.
        m_sink.SetPostsCancelled(TRUE);
        m_pSchema->SetBreak(TRUE);
        return TRUE;
    }
    m_queueLock.Unlock();
    return FALSE;
}

BOOL CKLVSyntaxEditLexParser::LockForRequest() {
    // Counted before the break: a pass that ends before it sees the break still sees the count.
    m_waitingRequests.Enter();
    const BOOL bBroken = SetBreakWhileBusy();
    m_queueLock.Lock(INFINITE);
    m_waitingRequests.Leave();
    // A break set only to get here would end the next pass before it begins.
    m_pSchema->SetBreak(FALSE);
    m_sink.SetPostsCancelled(FALSE);
    return bBroken;
}

BOOL CKLVSyntaxEditLexParser::AcquireRequest() {
    if (IsRequestHeldHere()) {
        ++m_nHeldRequests;
        return FALSE;
    }
    const BOOL bBroken = LockForRequest();
    m_dwRequestHolder = ::GetCurrentThreadId();
    m_nHeldRequests = 1;
    return bBroken;
}

void CKLVSyntaxEditLexParser::ReleaseRequest() {
    if (--m_nHeldRequests > 0) return;
    m_dwRequestHolder = 0;
    m_queueLock.Unlock();
}

BOOL CKLVSyntaxEditLexParser::BeginRequests() {
    if (!m_pSchema) return FALSE;
    const BOOL bOutermost = !IsRequestHeldHere();
    const BOOL bBroken = AcquireRequest();
    if (bOutermost) {
        m_bBatchOpen = TRUE;
        m_bBatchBrokePass = bBroken;
        m_bBatchWoke = FALSE;
    }
    return TRUE;
}

void CKLVSyntaxEditLexParser::EndRequests() {
    if (m_nHeldRequests == 1 && m_bBatchOpen) {
        m_bBatchOpen = FALSE;
        // The pass the edit broke goes on after the quiet delay, unless a request woke the worker.
        if (m_bBatchBrokePass && !m_bBatchWoke) WakeForTasksLeft(TRUE);
    }
    ReleaseRequest();
}

void CKLVSyntaxEditLexParser::ApplyPriority() {
    if (m_nWorkerPriority == m_nPriority) return;
    if (::SetThreadPriority(m_worker.GetHandle(), m_nPriority)) m_nWorkerPriority = m_nPriority;
}

void CKLVSyntaxEditLexParser::WakeForTasksLeft(BOOL bDelayed) {
    if (m_tasks.GetCount() == 0 || !m_worker.IsStarted() || m_bWorkerEnded) return;
    if (bDelayed)
        m_evDelay.SetEvent();
    else
        m_evDelay.ResetEvent();
    KeepWake();
}

void CKLVSyntaxEditLexParser::KeepWake() {
    if (IsRequestHeldHere()) m_bBatchWoke = TRUE;
    m_bWakePending = true;
    m_evWork.SetEvent();
}

void CKLVSyntaxEditLexParser::BreakParse() {
    if (!m_pSchema) return;
    CRequestLock lock(this);
    // No request may follow (a save, say): the broken pass's tasks would wait for one. They
    // wait for the quiet delay, though: a keystroke breaks before it changes the rows, and a
    // pass started in between would only be stopped again by the edit.
    if (lock.BrokePass()) WakeForTasksLeft(TRUE);
}

void CKLVSyntaxEditLexParser::LockText() {
    if (!m_pSchema) return;
    AcquireRequest();
    ++m_nTextLocks;
}

void CKLVSyntaxEditLexParser::UnlockText() {
    if (m_nTextLocks == 0) return;
    --m_nTextLocks;
    // The rows have changed; the blocks still describe the old text until the edit is told.
    m_bBlocksBehindText = TRUE;
    ReleaseRequest();
}

BOOL CKLVSyntaxEditLexParser::IsWorkerRunning() { return m_worker.IsStarted() && !m_bWorkerEnded; }

std::vector<CKLVSyntaxEditLexTask> CKLVSyntaxEditLexParser::GetTasks() {
    // Not the queue lock: a pass holds it throughout, and a window asking would wait for it.
    return m_tasks.CopyTasks();
}

BOOL CKLVSyntaxEditLexParser::IsIdle() {
    // The wake is cleared before the pass takes the tasks, and set after a request adds them.
    return !m_bWakePending && m_tasks.IsEmpty();
}

void CKLVSyntaxEditLexParser::SetThreadPriority(int nPriority) {
    // The worker's handle changes only on this thread; one that ended for idleness is not joined yet.
    m_nPriority = nPriority;
    if (IsWorkerRunning()) ApplyPriority();
}

void CKLVSyntaxEditLexParser::StartParseInThread(IKLVSyntaxEditTextSource* pText,
                                                 const CKLVSyntaxEditPosition* pStart,
                                                 const CKLVSyntaxEditPosition* pEnd, int /*eEditAction*/,
                                                 BOOL bDelayed) {
    if (!m_pSchema) return;
    CRequestLock lock(this);
    m_pText = pText;
    m_strFileName = pText ? pText->GetFileName() : CString();
    m_tasks.AddTask(pStart, pEnd);
    m_bBlocksBehindText = FALSE;
    if (m_bWorkerEnded || !m_worker.IsStarted()) {
        // A worker that ended for idleness has let go of the queue and only returns.
        m_worker.Join(INFINITE);
        m_bWorkerEnded = false;
        if (!m_worker.Start([this] { return RunWorker(); }, m_nPriority)) return;
        m_nWorkerPriority = m_nPriority;
    }
    ApplyPriority();
    // A request for now also cuts short a delay asked for before the worker saw it.
    if (bDelayed)
        m_evDelay.SetEvent();
    else
        m_evDelay.ResetEvent();
    KeepWake();
}

void CKLVSyntaxEditLexParser::StopParserThread() {
    BreakParse();
    if (!m_worker.IsStarted()) return;
    m_sink.SetPostsCancelled(TRUE);
    BOOL bEnded = FALSE;
    for (int nAttempt = 0; nAttempt < kStopAttempts && !bEnded; ++nAttempt) {
        m_evWork.ResetEvent();
        m_evStop.SetEvent();
        if (m_pSchema) m_pSchema->SetBreak(TRUE);
        bEnded = m_worker.Join(kStopWaitMs);
    }
    if (!bEnded) {
        ::OutputDebugStringA("KLV syntax edit: the parser thread does not stop; it is terminated\n");
        m_worker.Terminate();
    }
    CQueueLock lock(this);
    m_bWorkerEnded = false;
    m_bWakePending = false;
    m_evStop.ResetEvent();
    m_tasks.RemoveAll();
    if (m_pSchema) m_pSchema->SetBreak(FALSE);
    m_sink.SetPostsCancelled(FALSE);
}

DWORD CKLVSyntaxEditLexParser::RunWorker() {
    for (DWORD dwResult = klvThreadStopped;;) {
        if (!WaitForWork(dwResult)) return dwResult;
        // A request waiting for the queue goes first: the mutex would not see to that.
        if (!m_waitingRequests.WaitForNone(m_evStop.m_hObject)) return klvThreadStopped;
        ParsePass();
    }
}

BOOL CKLVSyntaxEditLexParser::WaitForWork(DWORD& dwResult) {
    const HANDLE handles[2] = {m_evWork.m_hObject, m_evStop.m_hObject};
    for (;;) {
        CKLVSyntaxEditParseOptions options;
        {
            CQueueLock lock(this);
            options = GetOptions(m_strFileName);
        }
        const DWORD dwIdle = options.nParserThreadIdleLifeTime_ms < 0 ? INFINITE : options.nParserThreadIdleLifeTime_ms;
        DWORD dwWait = ::WaitForMultipleObjects(2, handles, FALSE, dwIdle);
        if (dwWait == WAIT_TIMEOUT) {
            CQueueLock lock(this);
            if (m_tasks.GetCount() > 0) continue;
            OnThreadIdleExit();
            dwResult = klvThreadIdleExit;
            return FALSE;
        }
        if (dwWait != WAIT_OBJECT_0) {
            // Stopped; a failed wait also ends the thread rather than spin.
            dwResult = klvThreadStopped;
            return FALSE;
        }
        // Delayed requests keep the pass waiting until they stop coming for the delay.
        while (::WaitForSingleObject(m_evDelay.m_hObject, 0) == WAIT_OBJECT_0) {
            dwWait = ::WaitForMultipleObjects(2, handles, FALSE, static_cast<DWORD>(options.nEditReparceTimeout_ms));
            if (dwWait == WAIT_TIMEOUT) break;
            if (dwWait != WAIT_OBJECT_0) {
                dwResult = klvThreadStopped;
                return FALSE;
            }
        }
        return TRUE;
    }
}

void CKLVSyntaxEditLexParser::OnThreadIdleExit() {
    m_bWorkerEnded = true;
    m_evStop.ResetEvent();
    if (m_pSchema) m_pSchema->SetBreak(FALSE);
}

void CKLVSyntaxEditLexParser::ParsePass() {
    CQueueLock lock(this);
    // A request that came after the wait for requests goes first too; the wake stays for after it.
    if (m_waitingRequests.Any()) {
        KeepWake();
        return;
    }
    // A delayed request that came while this wake waited for the queue delays it as well: the
    // worker goes back to wait for the quiet time instead of parsing at once.
    if (::WaitForSingleObject(m_evDelay.m_hObject, 0) == WAIT_OBJECT_0) {
        m_evDelay.SetEvent();
        KeepWake();
        return;
    }
    m_bWakePending = false;
    // A wake whose tasks an earlier pass has done finds a current chain: parsing without a task
    // would resume at the last block, which a complete chain answers with a reparse from a
    // reset. Blocks not yet moved for an edit would be matched against the new text.
    if (!m_pSchema || !m_pText || m_tasks.GetCount() == 0 || m_bBlocksBehindText) return;
    ParseTasks(m_pText->CreateTextIterator().get());
    // Stopped for a request that may add nothing (a save): the tasks left go on after it.
    if (m_waitingRequests.Any() && m_tasks.GetCount() > 0) KeepWake();
}

BOOL CKLVSyntaxEditLexParser::IsStopAsked() { return m_pSchema->IsBreakSet() || m_waitingRequests.Any(); }

int CKLVSyntaxEditLexParser::ParseTasks(IKLVSyntaxEditTextIterator* pIter) {
    for (int nFlags = 0;;) {
        if (IsStopAsked()) {
            m_pSchema->SetBreak(FALSE);
            return nFlags;
        }
        int n = m_tasks.GetCount();
        if (n == 0) return nFlags;
        const CKLVSyntaxEditLexTask task = m_tasks.GetTasks()[n - 1];
        if (task.IsResume() && !m_pSchema->IsChainCut()) {
            // A whole chain resumed would be parsed again from a reset.
            m_tasks.RemoveTask(n - 1);
            continue;
        }
        const CKLVSyntaxEditPosition* pStart = task.posStart.IsValid() ? &task.posStart : nullptr;
        const CKLVSyntaxEditPosition* pEnd = task.posEnd.IsValid() ? &task.posEnd : nullptr;
        const CKLVLexBlockPtr pFrontBefore = m_pSchema->GetResumeBlock();
        // The resume task reads on past a cut: a range's parse may rejoin the chain before it.
        m_pSchema->SetCutResumedLater(TRUE);
        nFlags = m_pSchema->Parse(TRUE, pIter, pStart, pEnd, TRUE);
        m_pSchema->SetCutResumedLater(FALSE);
        BOOL bTaskDone = (nFlags & klvParseDone) != 0;
        if (nFlags & klvParseRestart) {
            // The blocks cannot be resumed: everything from the top, then what is left later.
            m_pSchema->ResetBlocks();
            pIter->Rewind();
            nFlags = m_pSchema->Parse(TRUE, pIter, &kTextStart, nullptr, FALSE);
            std::vector<CKLVSyntaxEditLexTask> arLeft;
            if ((nFlags & klvParseBroken) && !(nFlags & klvParseDone)) arLeft.emplace_back();   // resume at the last block
            m_tasks.ReplaceAll(std::move(arLeft));
            n = m_tasks.GetCount();
            bTaskDone = (nFlags & klvParseDone) != 0;
        } else if (!bTaskDone) {
            bTaskDone = IsRangeKept(task, pFrontBefore);
        }
        BOOL bFinished = !(nFlags & klvParseDone) || (nFlags & (klvParseRestart | klvParseBroken));
        if (!bFinished) bFinished = IsStopAsked();
        m_pSchema->SetBreak(FALSE);
        if (bTaskDone && n > 0) m_tasks.RemoveTask(n - 1);
        QueueResumeWhileChainCut(task, nFlags, pFrontBefore);
        if (m_tasks.GetCount() == 0 || bFinished) return nFlags;
    }
}

BOOL CKLVSyntaxEditLexParser::IsRangeKept(const CKLVSyntaxEditLexTask& task, const CKLVLexBlockPtr& pFrontBefore) {
    if (task.IsResume() || !m_pSchema->IsChainCut()) return FALSE;
    // The chain's front moves only when the parse kept blocks of its own.
    const CKLVLexBlockPtr pFront = m_pSchema->GetResumeBlock();
    if (!pFront || pFront == pFrontBefore) return FALSE;
    const CKLVSyntaxEditPosition& posLast = task.posEnd.IsValid() ? task.posEnd : task.posStart;
    return posLast <= pFront->m_posStart;
}

void CKLVSyntaxEditLexParser::QueueResumeWhileChainCut(const CKLVSyntaxEditLexTask& task, int nFlags,
                                                       const CKLVLexBlockPtr& pFrontBefore) {
    if (!m_pSchema->IsChainCut()) return;
    // A resume that ended without moving the front is not queued again: it would keep the
    // worker busy.
    if (task.IsResume() && (nFlags & klvParseDone) && m_pSchema->GetResumeBlock() == pFrontBefore) return;
    m_tasks.AddResumeTask();
}

void CKLVSyntaxEditLexParser::OnTextChanged(const CKLVSyntaxEditPosition& posStart,
                                            const CKLVSyntaxEditPosition& posEnd, int eEditAction,
                                            IKLVSyntaxEditTextSource* pText) {
    if (!m_pSchema) return;
    // The blocks move while no pass reads them; the request below takes the lock again.
    CRequestLock lock(this);
    m_pSchema->UpdateBlocksOnEdit(posStart, posEnd, eEditAction);
    m_tasks.MoveForEdit(posStart, posEnd, eEditAction);
    m_bBlocksBehindText = FALSE;
    if (GetOptions(pText ? pText->GetFileName() : CString()).bEditReparceInSeparateThread) {
        StartParseInThread(pText, &posStart, &posEnd, eEditAction, FALSE);
        return;
    }
    if (pText) m_pSchema->Parse(TRUE, pText->CreateTextIterator().get(), &posStart, &posEnd, FALSE);
    // Tasks held back while the blocks were behind the text can go now.
    WakeForTasksLeft(FALSE);
}

void CKLVSyntaxEditLexParser::SetTextSchema(IKLVSyntaxEditTextSchema* pSchema) {
    StopParserThread();
    if (m_pSchema) m_pSchema->ResetBlocks();
    m_sink.UnadviseAll();
    m_pSchema.Release();
    {
        CKLVCriticalSectionLock lock(&m_csOptions);
        m_mapOptions.clear();
    }
    // Each buffer parses with a copy of its own: blocks belong to one text.
    auto* pLexSchema = dynamic_cast<CKLVSyntaxEditLexTextSchema*>(pSchema);
    if (!pLexSchema) return;
    m_pSchema = pLexSchema->Clone();
    if (!m_pSchema) return;
    for (DWORD dwCode : {klvLexParseStarted, klvLexBlockStored, klvLexParseEnded})
        m_sink.Advise(m_pSchema->GetConnection(), dwCode, &CKLVSyntaxEditLexParser::OnSchemaEvent);
}

CKLVSyntaxEditParseOptions CKLVSyntaxEditLexParser::GetOptions(LPCSTR lpszFileName) {
    CKLVCriticalSectionLock lock(&m_csOptions);
    if (!m_pSchema) {
        m_mapOptions.clear();
        return CKLVSyntaxEditParseOptions();
    }
    auto it = m_mapOptions.find(lpszFileName);
    if (it != m_mapOptions.end()) return it->second;
    CKLVSyntaxEditLexParserOptions options;
    if (!ReadOptions(lpszFileName, m_pSchema.Get(), options)) return CKLVSyntaxEditParseOptions();
    m_mapOptions[lpszFileName] = options;
    return options;
}

BOOL CKLVSyntaxEditLexParser::GetTokenTagSets(std::vector<CKLVStringArraySet>& arSets, BOOL bAppend) {
    if (!bAppend) arSets.clear();
    if (!m_pSchema) return FALSE;
    for (const CKLVLexClassPtr& pClass : m_pSchema->GetClassTree().GetAllClasses()) {
        const CKLVLexValuePtr pTags = pClass->GetPropertyValue("token:tag");
        if (!pTags) continue;
        CKLVStringArraySet set;
        CollectStrings(pTags.Get(), set.arTags);
        CollectStrings(pClass->GetPropertyValue("token:start:separators").Get(), set.arStartSeparators);
        CollectStrings(pClass->GetPropertyValue("token:end:separators").Get(), set.arEndSeparators);
        arSets.push_back(std::move(set));
    }
    return TRUE;
}

void CKLVSyntaxEditLexParser::GetWordLists(CStringArray& arWords) {
    arWords.RemoveAll();
    std::vector<CKLVStringArraySet> arSets;
    GetTokenTagSets(arSets, FALSE);
    for (const CKLVStringArraySet& set : arSets)
        for (const CString& strTag : set.arTags) arWords.Add(strTag);
}

void CKLVSyntaxEditLexParser::CollectStrings(const CKLVSyntaxEditLexValueObj* pValue, std::vector<CString>& arStrings) {
    if (!pValue || pValue->m_nKind != klvLexValueListRef || !pValue->m_pList) return;
    for (INT_PTR i = 0; i < pValue->m_pList->GetSize(); ++i) {
        const CKLVSyntaxEditLexValueObj* pMember = pValue->m_pList->GetAt(i);
        if (!pMember || pMember->m_nKind != klvLexValueStrings) continue;
        for (INT_PTR j = 0; j < pMember->m_arStrings.GetSize(); ++j)
            if (!pMember->m_arStrings[j].IsEmpty()) arStrings.push_back(pMember->m_arStrings[j]);
    }
}

BOOL CKLVSyntaxEditLexParser::ReadOptions(LPCSTR lpszFileName, CKLVSyntaxEditLexTextSchema* pSchema,
                                          CKLVSyntaxEditLexParserOptions& options) {
    options = CKLVSyntaxEditLexParserOptions();
    if (!pSchema) return FALSE;
    const CKLVLexClassPtr pClass = pSchema->FindFileClass(lpszFileName);
    if (!pClass) return FALSE;
    options.bFirstParseInSeparateThread = pClass->GetAttributeBool("global:FirstParseInSeparateThread", FALSE, TRUE);
    options.bEditReparceInSeparateThread = pClass->GetAttributeBool("global:EditReparceInSeparateThread", FALSE, TRUE);
    options.bConfigChangedReparceInSeparateThread =
        pClass->GetAttributeBool("global:ConfigChangedReparceInSeparateThread", FALSE, TRUE);
    options.nMaxBackParseOffset = pClass->GetAttributeInt("global:MaxBackParseOffset", FALSE, 100);
    options.nEditReparceTimeout_ms = pClass->GetAttributeInt("global:EditReparceTimeout_ms", FALSE, 500);
    options.nOnScreenSchCacheLifeTime_sec = pClass->GetAttributeInt("global:OnScreenSchCacheLifeTime_sec", FALSE, 180);
    int nIdle = pClass->GetAttributeInt("global:ParserThreadIdleLifeTime_sec", FALSE, 60);
    if (nIdle != -1) nIdle *= 1000;
    options.nParserThreadIdleLifeTime_ms = nIdle == 0 ? -1 : nIdle;
    return TRUE;
}

void CKLVSyntaxEditLexParser::OnSchemaEvent(KLV_NOTIFYCODE dwCode, WPARAM wParam, LPARAM lParam) {
    if (dwCode != klvLexBlockStored) {
        m_pConnection->Notify(dwCode, wParam, lParam, 0);
        return;
    }
    // The schema hands the block over once; a pass of an older schema left nothing here.
    if (!m_pSchema) return;
    const CKLVLexBlockPtr pBlock = m_pSchema->GetBlocks(reinterpret_cast<void*>(wParam));
    if (pBlock) m_pConnection->Notify(dwCode, reinterpret_cast<WPARAM>(pBlock.Get()), 0, 0);
}
