// The run-time form of one scheme: its class tree, the block chain of the last parse, and the
// parse itself (from the top, or resumed at a block of the previous chain), the fold regions
// and the coloured runs of a line.
#pragma once

#include "toolkit/syntaxedit/text/SyntaxEditLexLink.h"
#include "toolkit/syntaxedit/text/SyntaxEditTextSegment.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexClassInfo.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexClassTree.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexTextBlock.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexTimedLock.h"

#include <atomic>
#include <climits>
#include <unordered_map>
#include <vector>

// What the schema publishes on its connection.
enum { klvLexParseStarted = 1, klvLexBlockStored = 2, klvLexParseEnded = 3 };

enum KLVSyntaxEditLexParseFlags {
    klvParseConsumed = 0x10,
    klvParseRestart = 0x100,     // parse again from the top of the text
    klvParseDone = 0x200,        // the requested range has been parsed
    klvParseBroken = 0x400,      // stopped early (among others by the break event)
    klvParseStopAfterEnd = 0x800,
    klvParseStopMask = 0x700
};

class CKLVSyntaxEditTheme;

class CKLVSyntaxEditLexTextSchema : public CCmdTarget,
                                    public IKLVSyntaxEditLexBlockSchema,
                                    public IKLVSyntaxEditTextSchema {
public:
    explicit CKLVSyntaxEditLexTextSchema(LPCSTR lpszName = "");
    ~CKLVSyntaxEditLexTextSchema() override;
    CKLVSyntaxEditLexTextSchema(const CKLVSyntaxEditLexTextSchema&) = delete;
    CKLVSyntaxEditLexTextSchema& operator=(const CKLVSyntaxEditLexTextSchema&) = delete;

    virtual CString GetName() const { return m_strName; }
    virtual void Close();
    virtual void ResetBlocks();
    // A new schema of the same name with a copy of the class tree; none when the copy fails.
    virtual CKLVSmartPtr<CKLVSyntaxEditLexTextSchema> Clone();
    // Publishes 1 (a parse starts), 2 (a finished block is stored; parameter 1 its key) and
    // 3 (a parse ended; parameter 1 the result flags) during parses that ask for it.
    virtual CKLVNotificationConnection* GetConnection() { return m_pConnection; }
    // Builds the class tree from the blocks of a schema file.
    BOOL LoadClasses(const CKLVSyntaxEditLexClassInfoArray& arBlocks);
    // Sets the theme's values (none: the schema file's own) on every class as "txt:" attributes.
    virtual void ApplyTheme(const CKLVSyntaxEditTheme* pTheme, CKLVLexClassList& arClasses);
    // Result flags (KLVSyntaxEditLexParseFlags); no start: resume at the last block.
    virtual int Parse(BOOL bFirst, IKLVSyntaxEditTextIterator* pIter, const CKLVSyntaxEditPosition* pStart,
                      const CKLVSyntaxEditPosition* pEnd, BOOL bNotify);
    virtual CKLVSyntaxEditLexClassTree& GetClassTree() { return *m_pTree; }
    CKLVLexBlockPtr GetFirstBlock();
    // The block a parse from pos starts in; none when a break stopped the walk.
    CKLVLexBlockPtr FindBlock(const CKLVSyntaxEditPosition& pos);
    CKLVLexClassPtr FindFileClass(LPCSTR lpszFileName);
    // Makes a running parse return early (until reset). A flag the parse tests between its
    // steps: setting and testing it must stay cheap, with no call into the system.
    void SetBreak(BOOL bBreak);
    BOOL IsBreakSet() { return m_bBreak.load(std::memory_order_relaxed); }
    // Moves and invalidates the blocks for an edit (1 insert, 2 delete) of the range.
    int UpdateBlocksOnEdit(const CKLVSyntaxEditPosition& posStart, const CKLVSyntaxEditPosition& posEnd, int nEditKind);

    // Appends the runs of one line (columns from nFirstCol up to nColLimit, or the whole line).
    virtual void GetLineAttributes(IKLVSyntaxEditTextIterator* pIter, int nLine, int nFirstCol, int nColLimit,
                                   const CKLVSyntaxEditTextColors& defaults,
                                   std::vector<CKLVSyntaxEditTextSegment>& arRuns, CKLVLexBlockPtr* pAnchor,
                                   CKLVSyntaxEditLexTextBlock* pHead);
    // The collapsible blocks containing nLine (-1: all), in chain order, looked up from pAnchor
    // (none: the chain's start); bMoveAnchor moves it to the first block around the line.
    virtual void GetFoldRegions(CKLVLexBlockPtr* pAnchor, int nLine, std::vector<CKLVSyntaxEditCollapsedBlock>& arRegions,
                                bool bMoveAnchor = false);
    static void FillRunFromBlock(CKLVSyntaxEditTextSegment& run, CKLVSyntaxEditLexTextBlock* pBlock);
    // Lays run N over the sorted runs; where they overlap N wins.
    static void LayRun(std::vector<CKLVSyntaxEditTextSegment>& arRuns, const CKLVSyntaxEditTextSegment& run);

    virtual int ParseStep(IKLVSyntaxEditTextIterator* pIter, CKLVLexClassList& arClasses,
                          CKLVSyntaxEditLexTextBlock* pParent, CKLVSyntaxEditLexParseContext* pContext);
    virtual int ParseFromBlock(IKLVSyntaxEditTextIterator* pIter, CKLVLexBlockPtr pBlock, BOOL bContinue);
    virtual BOOL IsBlockStartValid(IKLVSyntaxEditTextIterator* pIter, CKLVSyntaxEditLexTextBlock* pBlock);
    virtual void CloseParsedBlocks(BOOL bStopped, BOOL bEndOfText);
    virtual void SkipText(IKLVSyntaxEditTextIterator* pIter, CKLVSyntaxEditLexClass* pClass,
                          CKLVSyntaxEditLexParseContext* pContext, int nCount);
    virtual void SetResumeBlock(CKLVSyntaxEditLexTextBlock* pBlock, BOOL bForce);
    virtual CKLVLexBlockPtr GetResumeBlock();
    // The chain stops before the end of the text: a parse without start goes on from its end.
    BOOL IsChainCut();
    // The caller resumes a cut chain at its last block after the parses it runs now, which may
    // then rejoin the chain before the cut instead of reading on to the end of the text.
    void SetCutResumedLater(BOOL bResumed) { m_bCutResumedLater = bResumed; }
    // Takes the stored block of that key out of the store (0: the block stored last).
    virtual CKLVLexBlockPtr GetBlocks(void* pKey);

    // Parses the rows into a screen chain of its own (rHead: its head, which the caller
    // closes); FALSE when the chain is busy or the rows lie beyond a running parse.
    virtual BOOL ParseScreenLines(IKLVSyntaxEditTextIterator* pIter, int nFirstLine, int nLastLine,
                                  CKLVLexBlockPtr& rHead);
    virtual BOOL PrepareOnScreenBlocks(IKLVSyntaxEditTextIterator* pIter, int nFirstLine, int nLastLine,
                                       CKLVLexBlockPtr& rHead, CKLVLexBlockPtr& rStart);
    virtual int ContinueBlockOnScreen(IKLVSyntaxEditTextIterator* pIter, CKLVSyntaxEditLexTextBlock* pBlock,
                                      CKLVSyntaxEditLexParseContext* pContext);
    virtual CKLVLexBlockPtr MatchRoot(IKLVSyntaxEditTextIterator* pIter);
    // A copy with the same positions whose class is the declared class of the same "ClassID".
    virtual CKLVLexBlockPtr CopyBlock(CKLVSyntaxEditLexTextBlock* pBlock);
    static CKLVLexClassPtr FindClassByID(CKLVLexClassList& list, int nID);
    static CKLVSyntaxEditPosition EndOfOrText(const CKLVSyntaxEditLexTextBlock* pBlock);

    // IKLVSyntaxEditLexBlockSchema
    CKLVLexBlockPtr CreateBlock() override;
    CKLVLexBlockPtr GetLastLinkedBlock() override;
    int ParseChildren(IKLVSyntaxEditTextIterator* pIter, CKLVSyntaxEditLexTextBlock* pParent,
                      CKLVSyntaxEditLexClass* pClass, CKLVSyntaxEditLexParseContext* pContext) override;
    void StoreChain(CKLVSyntaxEditLexTextBlock* pBlock) override;
    CSyncObject* GetBlockLock() override { return &m_lockBlocks; }

    // IKLVSyntaxEditTextSchema
    CString GetSchName() override { return m_strName; }
    BOOL FindClassForFile(LPCSTR lpszFileName) override { return static_cast<bool>(FindFileClass(lpszFileName)); }
    void SetTheme(LPARAM pTheme) override;
    void Parse(IKLVSyntaxEditTextIterator* pIter) override;
    CKLVSchemaHandlePtr ParseScreenLines(IKLVSyntaxEditTextIterator* pIter, int nFirstLine, int nLastLine) override;
    void GetLineAttributes(IKLVSyntaxEditTextIterator* pIter, int nLine, int nFirstCol, int nColLimit,
                           const CKLVSyntaxEditTextColors& defaults, std::vector<CKLVSyntaxEditTextSegment>& arRuns,
                           IKLVSyntaxEditSchemaHandle* pScreen) override;
    void GetFoldRegions(int nLine, std::vector<CKLVSyntaxEditCollapsedBlock>& arRegions,
                        CKLVSchemaHandlePtr& rAnchor, BOOL bFirstLine) override;
    BOOL GetNotifiedBlockRange(WPARAM pBlock, CKLVSyntaxEditPosition& posStart,
                               CKLVSyntaxEditPosition& posEnd) override;
    void AddSchemaRef() override { InternalAddRef(); }
    void ReleaseSchemaRef() override { InternalRelease(); }

    static const CKLVSyntaxEditPosition& EndOfText();
    // Announcements of finished blocks (code 2) not yet handed over beyond which later blocks
    // ride with the last one instead of each being announced. A keystroke waits behind every
    // announcement on its way, each a few milliseconds on a busy machine (taking the block
    // waits for the parser's lock): few enough that typing during a colouring stays prompt.
    enum { kMaxAnnouncementsOnTheirWay = 8 };

protected:
    int RunParse(BOOL bFirst, IKLVSyntaxEditTextIterator* pIter, const CKLVSyntaxEditPosition* pStart,
                 const CKLVSyntaxEditPosition* pEnd);
    int FinishParse(int nResult, IKLVSyntaxEditTextIterator* pIter);
    int ContinueBlock(IKLVSyntaxEditTextIterator* pIter, CKLVSyntaxEditLexTextBlock* pBlock);
    // Links a block that a class opened; 0x200 when the parse rejoined the previous chain.
    int LinkNewBlock(IKLVSyntaxEditTextIterator* pIter, CKLVSyntaxEditLexTextBlock* pNew, int nFlags,
                     CKLVSyntaxEditLexTextBlock* pParent, CKLVSyntaxEditLexParseContext* pContext);
    void EndBlock(CKLVSyntaxEditLexTextBlock* pBlock, CKLVSyntaxEditLexParseContext* pContext);
    void DropNextBefore(CKLVSyntaxEditLexTextBlock* pLast, const CKLVSyntaxEditPosition& pos);
    void ReleaseParseRefs();
    // After a stopped pass: keeps the blocks it finished and cuts the chain after them.
    void KeepFinishedBlocks();
    // After a complete pass that linked nothing: the chain ends at the first new block (else at
    // the first block); FALSE when there is none.
    BOOL CutAfterFirstNew();
    // Drops the old blocks after the last linked one that it replaced; answers the remainder of
    // the previous chain that is kept (none at the end of the text).
    CKLVLexBlockPtr DropReplacedAfter(CKLVSyntaxEditLexTextBlock* pLast, BOOL bEndOfText);
    // Closes the replaced blocks of the previous chain up to the kept remainder or pLast.
    void CloseReplacedRest(CKLVSyntaxEditLexTextBlock* pKept, CKLVSyntaxEditLexTextBlock* pLast);
    // A pass that reached the end of the text leaves the chain whole; one that cut it, cut.
    void MarkChainCut(BOOL bEndOfText, BOOL bCut);

private:
    enum { kFindStepsBetweenChecks = 1024 };
    // Between steps of a walk under the block lock (p: where it stands): FALSE on a break;
    // else the lock is let go to a waiting window thread and taken back.
    BOOL LetWaiterIn(CKLVSyntaxEditLexTextBlock*& p);

    CString m_strName;
    CKLVSyntaxEditPosition m_posParseStart{INT_MAX, 0};
    CKLVSyntaxEditPosition m_posParseEnd;
    CKLVLexBlockPtr m_pFirstNew;
    CKLVLexBlockPtr m_pLastLinked;
    CKLVLexBlockPtr m_pReplacedRest;
    std::unordered_map<void*, CKLVLexBlockPtr> m_mapStore;
    CKLVLexBlockPtr m_pCurrent;
    // The blocks announced last and handed over last, each with the rows it stands for: its own,
    // widened by the blocks that finished while many announcements were still on their way.
    struct CAnnouncedSpan {
        const void* pKey = nullptr;
        CKLVSyntaxEditPosition posStart, posEnd;
        void Set(const CKLVSyntaxEditLexTextBlock* pBlock);
        void Widen(const CKLVSyntaxEditLexTextBlock* pBlock);
    };
    CAnnouncedSpan m_lastAnnounced;
    CAnnouncedSpan m_lastHanded;
    int m_nOpenBlocks = 0;
    // The chain stops before the end of the text (a stopped pass cut it): passes read on to the
    // end, unless their caller resumes the chain at its last block later.
    BOOL m_bChainCut = FALSE;
    BOOL m_bCutResumedLater = FALSE;
    CKLVSyntaxEditLexTimedLock m_lockBlocks;
    CKLVSyntaxEditLexTimedLock m_lockClasses;
    std::atomic<bool> m_bBreak{false};
    CKLVSmartPtr<CKLVSyntaxEditLexClassTree> m_pTree;
    CKLVLexBlockPtr m_pFirstBlock;
    CKLVLexBlockPtr m_pResume;
    int m_nSkipCounter = 0;
    BOOL m_bNotify = FALSE;
    CKLVNotificationConnectionMT* m_pConnection;
};
