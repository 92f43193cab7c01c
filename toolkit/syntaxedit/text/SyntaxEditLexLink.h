// What the editor's text model and control ask of the lexer side: the background parser of one
// buffer, the text schema it colours with (runs, folds and on-screen parses for painting), and
// the configuration manager shared by all buffers. The lexer implements these and registers its
// factory; without one, buffers have no parser and no configuration, and text stays uncoloured.
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/common/NotificationConnection.h"
#include "toolkit/syntaxedit/text/SyntaxEditTextSegment.h"
#include "toolkit/syntaxedit/text/SyntaxEditTextSource.h"

#include <memory>
#include <utility>
#include <vector>

// Notification codes of the configuration manager.
enum {
    klvEditSchemaReloaded = 10,   // parameter 2: the reloaded text schema, or 0
    klvEditThemeReloaded = 11,    // parameter 2: the theme, or 0
    klvEditConfigLoaded = 12      // a full load of the configuration ended
};

// The parser's options for one file, with their defaults (the file class's "global:" values).
struct CKLVSyntaxEditParseOptions {
    BOOL bFirstParseInSeparateThread = TRUE;
    BOOL bEditReparceInSeparateThread = TRUE;
    BOOL bConfigChangedReparceInSeparateThread = TRUE;
    int nMaxBackParseOffset = 100;
    int nEditReparceTimeout_ms = 500;
    int nOnScreenSchCacheLifeTime_sec = 180;
    int nParserThreadIdleLifeTime_ms = 60000;   // -1: no limit
};

// What a schema hands out to be kept and given back: the chain of an on-screen parse, or the
// place in a chain where the last look-up ended. Only the schema that made one reads it;
// dropping it frees what it holds.
class IKLVSyntaxEditSchemaHandle {
public:
    virtual ~IKLVSyntaxEditSchemaHandle() = default;
};
typedef std::unique_ptr<IKLVSyntaxEditSchemaHandle> CKLVSchemaHandlePtr;

class IKLVSyntaxEditTextSchema {
public:
    virtual ~IKLVSyntaxEditTextSchema() = default;
    virtual CString GetSchName() = 0;
    virtual BOOL FindClassForFile(LPCSTR lpszFileName) = 0;
    virtual void SetTheme(LPARAM pTheme) = 0;
    // Parses the whole text at once on the calling thread.
    virtual void Parse(IKLVSyntaxEditTextIterator* pTxtIter) = 0;
    // Parses rows into a chain of their own for painting them now; none when the chain is busy
    // or the rows lie beyond a running parse.
    virtual CKLVSchemaHandlePtr ParseScreenLines(IKLVSyntaxEditTextIterator* pIter, int nFirstLine,
                                                 int nLastLine) = 0;
    // Appends the runs of one line (columns from nFirstCol up to nColLimit, or the whole line),
    // coloured by a screen chain (none: the background chain).
    virtual void GetLineAttributes(IKLVSyntaxEditTextIterator* pIter, int nLine, int nFirstCol, int nColLimit,
                                   const CKLVSyntaxEditTextColors& defaults,
                                   std::vector<CKLVSyntaxEditTextSegment>& arRuns,
                                   IKLVSyntaxEditSchemaHandle* pScreen) = 0;
    // The collapsible blocks containing nLine, in chain order; rAnchor keeps where the look-up
    // ended, so that the following lines start there. The first line of a run of look-ups
    // (bFirstLine) moves the anchor up to that line; the lines after it leave it there.
    virtual void GetFoldRegions(int nLine, std::vector<CKLVSyntaxEditCollapsedBlock>& arRegions,
                                CKLVSchemaHandlePtr& rAnchor, BOOL bFirstLine) = 0;
    // The start and end of the block that a "block stored" notification carries.
    virtual BOOL GetNotifiedBlockRange(WPARAM pBlock, CKLVSyntaxEditPosition& posStart,
                                       CKLVSyntaxEditPosition& posEnd) = 0;
    // Schemas shared across threads are counted; static ones need not be.
    virtual void AddSchemaRef() {}
    virtual void ReleaseSchemaRef() {}
};

// Holds one reference to a text schema.
class CKLVTextSchemaRef {
public:
    CKLVTextSchemaRef() = default;
    // Adds a reference to a schema held elsewhere.
    explicit CKLVTextSchemaRef(IKLVSyntaxEditTextSchema* p) : m_p(p) {
        if (m_p) m_p->AddSchemaRef();
    }
    CKLVTextSchemaRef(const CKLVTextSchemaRef& other) : CKLVTextSchemaRef(other.m_p) {}
    CKLVTextSchemaRef& operator=(const CKLVTextSchemaRef& other) {
        CKLVTextSchemaRef copy(other);
        std::swap(m_p, copy.m_p);
        return *this;
    }
    ~CKLVTextSchemaRef() {
        if (m_p) m_p->ReleaseSchemaRef();
    }
    IKLVSyntaxEditTextSchema* Get() const { return m_p; }
    IKLVSyntaxEditTextSchema* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    IKLVSyntaxEditTextSchema* m_p = nullptr;
};

class IKLVSyntaxEditLexParser {
public:
    virtual ~IKLVSyntaxEditLexParser() = default;
    virtual void Close() = 0;
    virtual void BreakParse() = 0;
    virtual IKLVSyntaxEditTextSchema* GetTextSchema() = 0;
    virtual void SetTextSchema(IKLVSyntaxEditTextSchema* pSchema) = 0;
    virtual CKLVSyntaxEditParseOptions GetOptions(LPCSTR lpszFileName) = 0;
    virtual void StartParseInThread(IKLVSyntaxEditTextSource* pText, const CKLVSyntaxEditPosition* pLCStart,
                                    const CKLVSyntaxEditPosition* pLCEnd, int eEditAction, BOOL bDelayed) = 0;
    // After an edit: action 1 inserted, 2 deleted.
    virtual void OnTextChanged(const CKLVSyntaxEditPosition& posStart, const CKLVSyntaxEditPosition& posEnd,
                               int eEditAction, IKLVSyntaxEditTextSource* pText) = 0;
    // Around every change of the rows: a parser that reads them on another thread keeps off.
    virtual void LockText() {}
    virtual void UnlockText() {}
    // Around the requests of one edit (its break, the change of the rows, the notice of it): a
    // parser on another thread is stopped and kept off once for all of them. EndRequests only
    // after a BeginRequests that answered TRUE.
    virtual BOOL BeginRequests() { return FALSE; }
    virtual void EndRequests() {}
    // The connection on which the parser's codes 1, 2 and 3 reach the user interface thread;
    // none for a parser that announces nothing.
    virtual CKLVNotificationConnection* GetConnection() { return nullptr; }
    // Ends a worker thread, if one runs; the next request starts one again.
    virtual void StopParserThread() {}
    // The priority of the background parse thread (a view raises it while active).
    virtual int GetThreadPriority() const { return THREAD_PRIORITY_NORMAL; }
    virtual void SetThreadPriority(int /*nPriority*/) {}
    // The words of the current schema's word lists, offered for completing typed words.
    virtual void GetWordLists(CStringArray& arWords) { arWords.RemoveAll(); }
};

// Holds a parser's requests together for the life of one edit (BeginRequests to EndRequests).
class CKLVSyntaxEditLexRequestBatch {
public:
    explicit CKLVSyntaxEditLexRequestBatch(IKLVSyntaxEditLexParser* pParser)
        : m_pParser(pParser && pParser->BeginRequests() ? pParser : nullptr) {}
    ~CKLVSyntaxEditLexRequestBatch() {
        if (m_pParser) m_pParser->EndRequests();
    }
    CKLVSyntaxEditLexRequestBatch(const CKLVSyntaxEditLexRequestBatch&) = delete;
    CKLVSyntaxEditLexRequestBatch& operator=(const CKLVSyntaxEditLexRequestBatch&) = delete;

private:
    IKLVSyntaxEditLexParser* m_pParser;
};

class IKLVSyntaxEditConfigManager {
public:
    virtual ~IKLVSyntaxEditConfigManager() = default;
    // The schema that serves the file; the reference keeps it alive through a concurrent reload.
    virtual CKLVTextSchemaRef FindSchemaForFile(LPCSTR lpszFileName) = 0;
    virtual CString GetConfigFile() = 0;
    virtual BOOL SetConfigFile(LPCSTR lpszPath) = 0;
    virtual void Close() = 0;
    // The connection through which the manager announces loads and reloads, or null.
    virtual CKLVNotificationConnection* GetConnection() = 0;
    // Gives up the creator's hold; a manager shared by reference lives on while others hold it.
    virtual void Release() { delete this; }
};

struct KLV_SYNTAXEDIT_LEXER_FACTORY {
    IKLVSyntaxEditLexParser* (*pfnCreateParser)();
    IKLVSyntaxEditConfigManager* (*pfnCreateConfigManager)();
};

// Registers the lexer's factory (null: none); buffers created afterwards use it.
void KLVSetSyntaxEditLexerFactory(const KLV_SYNTAXEDIT_LEXER_FACTORY* pFactory);
const KLV_SYNTAXEDIT_LEXER_FACTORY* KLVGetSyntaxEditLexerFactory();
