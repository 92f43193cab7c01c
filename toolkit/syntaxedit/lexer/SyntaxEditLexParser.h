// The background parser of one buffer: it gives the buffer's text schema the ranges to parse,
// at once on the caller's thread or queued for a worker thread that parses them after a quiet
// delay and ends by itself when idle. Results reach the user interface thread as codes 1 (a
// pass starts), 2 (a finished block; parameter 1) and 3 (a pass ended; parameter 1 the flags)
// on the parser's connection.
//
// The task queue's mutex is the one lock between the user interface thread and the worker: the
// worker holds it for a whole parse pass, and a request that finds it busy sets the schema's
// break so that the pass ends soon; a pass broken with no request after it is taken up again
// once no request has come for the quiet delay. A request waiting for the mutex goes before the next pass, which waits for it. The
// requests of one edit take the mutex once (BeginRequests): each take goes through the system's
// server, which under load costs milliseconds. Questions that
// only read (idle, running) and the priority take no part in it and never wait for a pass.
// A pass runs only for queued tasks, and not between a change of the rows and the notice of
// that edit. Stopping is cooperative: the worker is told, and joined.
#pragma once

#include "toolkit/syntaxedit/text/SyntaxEditLexLink.h"
#include "toolkit/syntaxedit/text/SyntaxEditNotificationSinkMT.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexTaskQueue.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexTextSchema.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexWaitingRequests.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditWorkerThread.h"

#include <atomic>
#include <map>
#include <vector>

typedef CKLVSyntaxEditParseOptions CKLVSyntaxEditLexParserOptions;

// The tags of one token class and the separators around them, as auto-completion offers them.
struct CKLVStringArraySet {
    std::vector<CString> arTags;
    std::vector<CString> arStartSeparators;
    std::vector<CString> arEndSeparators;
};

class CKLVSyntaxEditLexParser : public CCmdTarget, public IKLVSyntaxEditLexParser {
public:
    // Result of the worker thread.
    enum { klvThreadStopped = 0, klvThreadIdleExit = 1 };

    CKLVSyntaxEditLexParser();
    ~CKLVSyntaxEditLexParser() override;

    // IKLVSyntaxEditLexParser
    void Close() override;
    void BreakParse() override;
    IKLVSyntaxEditTextSchema* GetTextSchema() override { return m_pSchema.Get(); }
    void SetTextSchema(IKLVSyntaxEditTextSchema* pSchema) override;
    CKLVSyntaxEditParseOptions GetOptions(LPCSTR lpszFileName) override;
    void StartParseInThread(IKLVSyntaxEditTextSource* pText, const CKLVSyntaxEditPosition* pStart,
                            const CKLVSyntaxEditPosition* pEnd, int eEditAction, BOOL bDelayed) override;
    void OnTextChanged(const CKLVSyntaxEditPosition& posStart, const CKLVSyntaxEditPosition& posEnd, int eEditAction,
                       IKLVSyntaxEditTextSource* pText) override;
    // Ends a running pass and keeps the worker out until UnlockText, and then until the edit
    // is told (OnTextChanged) or a request comes: the text is changing.
    void LockText() override;
    void UnlockText() override;
    // The requests of one edit take the queue once: the ones made within find it held.
    BOOL BeginRequests() override;
    void EndRequests() override;

    void StopParserThread() override;
    void BreakParseAndWait() { BreakParse(); }
    CKLVSyntaxEditLexTextSchema* GetLexTextSchema() const { return m_pSchema.Get(); }
    int GetThreadPriority() const override { return m_nPriority; }
    void SetThreadPriority(int nPriority) override;
    CKLVNotificationConnection* GetConnection() override { return m_pConnection; }
    // The token tags of every class of the schema.
    void GetWordLists(CStringArray& arWords) override;
    // Whether a worker thread runs (one that ended for idleness does not).
    BOOL IsWorkerRunning();
    // The queued tasks, copied at once even while a pass runs (for a window thread to ask).
    std::vector<CKLVSyntaxEditLexTask> GetTasks();
    // Whether the worker has done all it was asked: no task queued and no wake it has not
    // yet taken. The chain then stays as it is until the next request or edit.
    BOOL IsIdle();
    // One set per class of the schema with token tags, in the order the classes were made;
    // without bAppend the array is emptied first. FALSE without a schema.
    BOOL GetTokenTagSets(std::vector<CKLVStringArraySet>& arSets, BOOL bAppend);
    // Appends the non-empty strings of the string members of a list value; other values add
    // nothing.
    static void CollectStrings(const CKLVSyntaxEditLexValueObj* pValue, std::vector<CString>& arStrings);
    // Fills the options from the file class of the schema; FALSE (defaults kept) without one.
    static BOOL ReadOptions(LPCSTR lpszFileName, CKLVSyntaxEditLexTextSchema* pSchema,
                            CKLVSyntaxEditLexParserOptions& options);

    // Runs on the user interface thread for the schema's codes.
    void OnSchemaEvent(KLV_NOTIFYCODE dwCode, WPARAM wParam, LPARAM lParam);

private:
    // Holds the task queue's mutex.
    class CQueueLock {
    public:
        explicit CQueueLock(CKLVSyntaxEditLexParser* pParser);
        ~CQueueLock();

    private:
        CKLVSyntaxEditLexParser* m_pParser;
    };
    // Holds the task queue's mutex for a request: a running pass is ended and none starts
    // while the request waits.
    class CRequestLock {
    public:
        explicit CRequestLock(CKLVSyntaxEditLexParser* pParser);
        ~CRequestLock();
        // Whether a pass was running when the request came.
        BOOL BrokePass() const { return m_bBrokePass; }

    private:
        CKLVSyntaxEditLexParser* m_pParser;
        BOOL m_bBrokePass;
    };

    DWORD RunWorker();
    // Waits for work or stop; FALSE when the thread is to end (dwResult its result).
    BOOL WaitForWork(DWORD& dwResult);
    void ParsePass();
    // Parses the tasks, the most recent first, until they are done or a stop is asked. While the
    // chain is cut, the task that resumes at its last block stays queued behind the ranges.
    int ParseTasks(IKLVSyntaxEditTextIterator* pIter);
    // A stopped parse that kept blocks past the task's range has done the range; what follows
    // the kept blocks is the resume task's. pFrontBefore: the chain's front before the parse.
    BOOL IsRangeKept(const CKLVSyntaxEditLexTask& task, const CKLVLexBlockPtr& pFrontBefore);
    void QueueResumeWhileChainCut(const CKLVSyntaxEditLexTask& task, int nFlags, const CKLVLexBlockPtr& pFrontBefore);
    // A break, or a request waiting for the queue.
    BOOL IsStopAsked();
    // Takes the queue as a request; TRUE when a pass was running and has been told to end.
    BOOL LockForRequest();
    // TRUE when a pass was running and has been told to end.
    BOOL SetBreakWhileBusy();
    // A request: takes the queue unless this thread's requests hold it already (then FALSE).
    BOOL AcquireRequest();
    void ReleaseRequest();
    BOOL IsRequestHeldHere() const { return m_dwRequestHolder.load() == ::GetCurrentThreadId(); }
    // Gives a started worker the priority asked for, unless it has it already.
    void ApplyPriority();
    // Leaves the wake for a pass after the waiting requests.
    void KeepWake();
    // Wakes a running worker for tasks that a broken pass left queued; bDelayed: once requests
    // have stopped coming for the quiet delay.
    void WakeForTasksLeft(BOOL bDelayed);
    void OnThreadIdleExit();
    CKLVSyntaxEditParseOptions OptionsUnlocked(LPCSTR lpszFileName);

    // The task queue: its mutex, the buffer of the last request, the tasks and the events.
    CMutex m_queueLock;
    IKLVSyntaxEditTextSource* m_pText = nullptr;
    CString m_strFileName;
    CKLVSyntaxEditLexTaskQueue m_tasks;
    CEvent m_evWork{FALSE, FALSE};
    CEvent m_evDelay{FALSE, FALSE};
    CEvent m_evStop{FALSE, FALSE};
    CKLVSyntaxEditWorkerThread m_worker;
    CKLVSyntaxEditLexWaitingRequests m_waitingRequests;
    // Set by the worker under the queue's mutex, read without it.
    std::atomic<bool> m_bWorkerEnded{false};
    // Set with the work event, cleared when a pass takes the wake; read without the mutex.
    std::atomic<bool> m_bWakePending{false};
    // Between a change of the rows and the edit's notification: the worker waits.
    BOOL m_bBlocksBehindText = FALSE;
    int m_nTextLocks = 0;
    int m_nPriority = THREAD_PRIORITY_NORMAL;
    int m_nWorkerPriority = THREAD_PRIORITY_NORMAL;
    // The thread whose requests hold the queue, and how deeply; only that thread reads the depth.
    std::atomic<DWORD> m_dwRequestHolder{0};
    int m_nHeldRequests = 0;
    // Of the outermost BeginRequests: it broke a pass, and a request within it woke the worker.
    BOOL m_bBatchOpen = FALSE;
    BOOL m_bBatchBrokePass = FALSE;
    BOOL m_bBatchWoke = FALSE;

    CKLVSmartPtr<CKLVSyntaxEditLexTextSchema> m_pSchema;
    // Read by the worker and the user interface thread.
    CKLVCriticalSection m_csOptions;
    std::map<CString, CKLVSyntaxEditLexParserOptions> m_mapOptions;
    CKLVNotificationConnection* m_pConnection;
    CKLVNotificationSinkMT<CKLVSyntaxEditLexParser> m_sink{this};
};
