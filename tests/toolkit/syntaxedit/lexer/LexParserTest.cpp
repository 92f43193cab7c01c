// The background parser: how requests merge into tasks, the options a schema gives, the worker's
// delay, idle end, break and stop, the codes it delivers through the message loop, and edits
// made while it parses, which must leave the same colours as a fresh parse of the text.
#include "LexTestSupport.h"

#include "toolkit/syntaxedit/text/SyntaxEditTestSupport.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexParser.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexerFactory.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <random>
#include <thread>

namespace {

using Pos = CKLVSyntaxEditPosition;

CKLVSmartPtr<CKLVSyntaxEditLexTextSchema> SchemaFromText(const std::string& text) {
    CKLVSyntaxEditSchemaFileStore store;
    store.LoadSchemaText(text.c_str());
    auto pSchema = KLVMakeCounted<CKLVSyntaxEditLexTextSchema>("test");
    pSchema->LoadClasses(store.GetCurrentBlocks());
    return pSchema;
}

// A file class for ".q" with the given option lines, and blocks from "x" to "y".
std::string QSchema(const std::string& globals) {
    return "lexClass:\n\tname = q_file\n\tparent:file = <*.q>\n" + globals +
           "//:lexClass\nlexClass:\n\tname = q_word\n\tparent = q_file\n\tstart:tag = 'x'\n\tend:tag = 'y'\n"
           "//:lexClass\n";
}

std::string SourceText(const char* name) {
    std::ifstream in(std::string(KELVANE_SOURCE_DIR) + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

CString WindowsPath(std::string path) {
    for (char& ch : path)
        if (ch == '/') ch = '\\';
    return path.c_str();
}

// Counts the codes the parser publishes, in the order they come.
class CCodes : public CKLVNotificationSink {
public:
    void OnEvent(KLV_NOTIFYCODE dwCode, WPARAM, LPARAM, DWORD) override { log += std::to_string(dwCode); }
    int Count(char code) const { return static_cast<int>(std::count(log.begin(), log.end(), code)); }
    std::string log;
};

// Sees on the worker thread itself each pass that the schema starts. Armed, it holds the next
// pass at its start until the parse is told to break, so that a break lands inside a pass.
class CPassStarts : public CKLVNotificationSink {
public:
    explicit CPassStarts(CKLVSyntaxEditLexTextSchema* pSchema) : m_pSchema(pSchema) { Advise(pSchema->GetConnection(), 1); }
    ~CPassStarts() override {
        UnadviseAll();
        ::CloseHandle(m_hHeld);
    }
    void OnEvent(KLV_NOTIFYCODE, WPARAM, LPARAM, DWORD) override {
        ++nStarts;
        if (!bHold.exchange(false)) return;
        ::SetEvent(m_hHeld);
        WaitUntil([this] { return m_pSchema->IsBreakSet(); });
    }
    // Waits until an armed hold has caught a pass; the time-out only guards a broken test.
    bool WaitHeld() { return ::WaitForSingleObject(m_hHeld, 60000) == WAIT_OBJECT_0; }

    std::atomic<int> nStarts{0};
    std::atomic<bool> bHold{false};

private:
    CKLVSyntaxEditLexTextSchema* m_pSchema;
    HANDLE m_hHeld = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
};

// Runs a step on the worker thread at each parse the schema starts (1 for the first), while
// the worker holds the queue.
class CAtParseStart : public CKLVNotificationSink {
public:
    CAtParseStart(CKLVSyntaxEditLexTextSchema* pSchema, std::function<void(int)> fnStep) : m_fnStep(std::move(fnStep)) {
        Advise(pSchema->GetConnection(), klvLexParseStarted);
    }
    ~CAtParseStart() override { UnadviseAll(); }
    void OnEvent(KLV_NOTIFYCODE, WPARAM, LPARAM, DWORD) override { m_fnStep(++m_nStarts); }

private:
    std::function<void(int)> m_fnStep;
    int m_nStarts = 0;
};

// A parser with the ".q" scheme over a buffer of words, whose first pass has ended.
struct CQParse {
    explicit CQParse(const char* text, const std::string& globals = "") : buffer(MakeBuffer(text)) {
        parser.SetTextSchema(SchemaFromText(QSchema(globals)).Get());
        buffer->SetFileName(".q");
    }
    std::string Fresh() {
        auto pFresh = SchemaFromText(QSchema(""));
        pFresh->Parse(buffer->CreateTextIterator().get());
        return RunsOf(buffer.get(), pFresh.Get()) + FoldsOf(pFresh.Get());
    }
    std::string Colours() { return RunsOf(buffer.get(), parser.GetLexTextSchema()) + FoldsOf(parser.GetLexTextSchema()); }
    // Changes the rows (a deletion without text), giving the end of the range as the edit tells it.
    Pos Change(const Pos& posStart, const Pos& posEnd, const char* text) {
        Pos posChanged = posEnd;
        if (text) {
            buffer->InsertText(text, posStart.nLine, posStart.nCol + 1, &posChanged);
            posChanged.nCol -= 1;
        } else {
            buffer->DeleteText(posStart.nLine, posStart.nCol + 1, posEnd.nLine, posEnd.nCol + 1);
        }
        return posChanged;
    }
    // An edit as the buffer makes it: the rows change under the text lock, then the parser is told.
    void Type(const Pos& posStart, const Pos& posEnd, const char* text) {
        parser.LockText();
        const Pos posChanged = Change(posStart, posEnd, text);
        parser.UnlockText();
        parser.OnTextChanged(posStart, posChanged, text ? 1 : 2, buffer.get());
    }

    CKLVSyntaxEditLexParser parser;
    BufferPtr buffer;
};

std::string Tasks(const std::vector<CKLVSyntaxEditLexTask>& tasks) {
    std::string out;
    for (const CKLVSyntaxEditLexTask& t : tasks)
        out += std::to_string(t.posStart.nLine) + ":" + std::to_string(t.posStart.nCol) + "-" +
               std::to_string(t.posEnd.nLine) + ":" + std::to_string(t.posEnd.nCol) + " ";
    return out;
}

}  // namespace

TEST(LexParser, RequestsMergeIntoNearbyTasks) {
    struct Case {
        const char* name;
        std::vector<std::pair<Pos, Pos>> queued;
        Pos start, end;
        const char* tasks;
    } const cases[] = {
        {"apart", {{{10, 0}, {12, 0}}}, {20, 0}, {21, 0}, "10:0-12:0 20:0-21:0 "},
        {"overlaps the start", {{{10, 0}, {12, 0}}}, {8, 0}, {11, 0}, "8:0-12:0 "},
        {"ends three lines before", {{{10, 0}, {12, 0}}}, {5, 0}, {7, 0}, "5:0-12:0 "},
        {"ends four lines before", {{{10, 0}, {12, 0}}}, {5, 0}, {6, 0}, "10:0-12:0 5:0-6:0 "},
        {"overlaps the end", {{{10, 0}, {12, 0}}}, {11, 0}, {14, 0}, "10:0-14:0 "},
        {"starts three lines after", {{{10, 0}, {12, 0}}}, {15, 0}, {16, 0}, "10:0-16:0 "},
        {"inside", {{{10, 0}, {12, 0}}}, {11, 0}, {11, 5}, "10:0-12:0 "},
        {"joins the first that fits", {{{10, 0}, {12, 0}}, {{20, 0}, {22, 0}}}, {19, 0}, {21, 0},
         "10:0-12:0 19:0-22:0 "},
    };
    for (const Case& c : cases) {
        CKLVSyntaxEditLexTaskQueue queue;
        for (const auto& task : c.queued) queue.AddTask(&task.first, &task.second);
        queue.AddTask(&c.start, &c.end);
        EXPECT_EQ(Tasks(queue.GetTasks()), c.tasks) << c.name;
    }
    CKLVSyntaxEditLexTaskQueue queue;
    const Pos a(4, 0), b(5, 0), top(1, 0);
    queue.AddTask(&a, &b);
    queue.AddTask(&top, nullptr);
    EXPECT_EQ(Tasks(queue.GetTasks()), "1:0-0:0 ") << "the whole text replaces every task";
    EXPECT_FALSE(queue.RemoveTask(1));
    EXPECT_FALSE(queue.RemoveTask(-1));
    EXPECT_TRUE(queue.RemoveTask(0));
}

TEST(LexParser, OptionsComeFromTheFileClass) {
    struct Case {
        const char* globals;
        int nIdle;
        BOOL bEdit;
        int nTimeout;
    } const cases[] = {
        {"", 60000, TRUE, 500},
        {"\tglobal:ParserThreadIdleLifeTime_sec = 0\n\tglobal:EditReparceInSeparateThread = 0\n", -1, FALSE, 500},
        {"\tglobal:ParserThreadIdleLifeTime_sec = -1\n\tglobal:EditReparceTimeout_ms = 7\n", -1, TRUE, 7},
        {"\tglobal:ParserThreadIdleLifeTime_sec = 2\n", 2000, TRUE, 500},
    };
    for (const Case& c : cases) {
        auto pSchema = SchemaFromText(QSchema(c.globals));
        CKLVSyntaxEditLexParserOptions options;
        ASSERT_TRUE(CKLVSyntaxEditLexParser::ReadOptions(".q", pSchema.Get(), options)) << c.globals;
        EXPECT_EQ(options.nParserThreadIdleLifeTime_ms, c.nIdle) << c.globals;
        EXPECT_EQ(options.bEditReparceInSeparateThread, c.bEdit) << c.globals;
        EXPECT_EQ(options.nEditReparceTimeout_ms, c.nTimeout) << c.globals;
        EXPECT_FALSE(CKLVSyntaxEditLexParser::ReadOptions(".c", pSchema.Get(), options));
        EXPECT_EQ(options.nParserThreadIdleLifeTime_ms, 60000) << "defaults for a file no class takes";
    }
    CKLVSyntaxEditLexParser parser;
    parser.SetTextSchema(SchemaFromText(QSchema("\tglobal:MaxBackParseOffset = 33\n")).Get());
    EXPECT_EQ(parser.GetOptions(".q").nMaxBackParseOffset, 33);
    parser.SetTextSchema(nullptr);
    EXPECT_EQ(parser.GetOptions(".q").nMaxBackParseOffset, 100);
}

TEST(LexParser, WorkerDelaysEndsWhenIdleBreaksAndStops) {
    CKLVSyntaxEditLexParser parser;
    parser.SetTextSchema(SchemaFromText(QSchema("\tglobal:ParserThreadIdleLifeTime_sec = 1\n"
                                                "\tglobal:EditReparceTimeout_ms = 600000\n"))
                             .Get());
    BufferPtr buffer = MakeBuffer("a x b y\r\nx\r\ny x y\r\n");
    buffer->SetFileName(".q");
    CCodes codes;
    for (DWORD dwCode : {1, 2, 3}) codes.Advise(parser.GetConnection(), dwCode);
    const Pos top(1, 0), line2(2, 0), line3(3, 0);

    parser.StartParseInThread(buffer.get(), &top, nullptr, 0, FALSE);
    ASSERT_TRUE(PumpUntil([&] { return codes.Count('3') == 1; }));
    EXPECT_EQ(codes.log.front(), '1');
    EXPECT_EQ(codes.Count('2'), 4) << "one code per finished block: three words and the file";
    ASSERT_TRUE(PumpUntil([&] { return !parser.IsWorkerRunning(); })) << "ends after a second without work";

    // A delayed request waits for ten minutes of quiet; a request without delay cuts it short.
    parser.StartParseInThread(buffer.get(), &line2, &line3, 1, TRUE);
    EXPECT_TRUE(parser.IsWorkerRunning()) << "a new worker for the new request";
    parser.StartParseInThread(buffer.get(), &line2, &line3, 1, FALSE);
    ASSERT_TRUE(PumpUntil([&] { return codes.Count('3') == 2; }));

    parser.StartParseInThread(buffer.get(), &top, nullptr, 0, TRUE);
    parser.BreakParse();
    EXPECT_EQ(Tasks(parser.GetTasks()), "1:0-0:0 ") << "a break keeps the task, the delay holds it";
    parser.StopParserThread();
    EXPECT_FALSE(parser.IsWorkerRunning());
    EXPECT_EQ(Tasks(parser.GetTasks()), "");
    parser.StartParseInThread(buffer.get(), &top, nullptr, 0, FALSE);
    ASSERT_TRUE(PumpUntil([&] { return codes.Count('3') == 3; })) << "a stopped parser starts again";
    codes.UnadviseAll();
}

// A pass holds the queue lock from start to end; a window thread asking for the tasks (between
// two messages, say) must not wait for it. The text lock is the same lock, held here instead.
TEST(LexParser, TheTasksAreReadWhileTheQueueIsHeld) {
    CKLVSyntaxEditLexParser parser;
    parser.SetTextSchema(SchemaFromText(QSchema("\tglobal:EditReparceTimeout_ms = 600000\n")).Get());
    BufferPtr buffer = MakeBuffer("a x b\r\ny\r\n");
    buffer->SetFileName(".q");
    const Pos top(1, 0);
    parser.StartParseInThread(buffer.get(), &top, nullptr, 0, TRUE);

    parser.LockText();
    CEvent evRead(FALSE, TRUE);
    std::string strTasks;
    std::thread reader([&] {
        strTasks = Tasks(parser.GetTasks());
        evRead.SetEvent();
    });
    // Only a bound against a hang: the read takes no lock the holder keeps.
    const bool bRead = ::WaitForSingleObject(evRead.m_hObject, 30000) == WAIT_OBJECT_0;
    parser.UnlockText();
    reader.join();
    EXPECT_TRUE(bRead) << "the tasks were read only once the queue was let go";
    EXPECT_EQ(strTasks, "1:0-0:0 ");
    parser.StopParserThread();
}

// A keystroke that finds a pass running waits for the queue. Its break may come as a parse is
// finishing, which clears it (here the worker clears it at the parse's start, the same as far as
// the rest of the pass is concerned): the pass must still leave its remaining ranges, and no
// parse may start, until the keystroke has had the queue.
TEST(LexParser, AKeystrokeWaitingForTheQueueGoesBeforeAnyFurtherParse) {
    CQParse q("a x b y\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nc x d y\r\n\r\n", "\tglobal:EditReparceTimeout_ms = 600000\n");
    const Pos top(1, 0), rows1(1, 0), rows1End(2, 0), rows9(9, 0), rows9End(10, 0);
    q.parser.StartParseInThread(q.buffer.get(), &top, nullptr, 0, FALSE);
    ASSERT_TRUE(PumpUntil([&] { return q.parser.IsIdle(); }));

    CKLVSyntaxEditLexTextSchema* pSchema = q.parser.GetLexTextSchema();
    CEvent evFirstParse(FALSE, TRUE);
    std::atomic<bool> bKeyHasQueue{false};
    std::atomic<int> nParsesWhileTheKeyWaited{0};
    CAtParseStart atStart(pSchema, [&](int nParse) {
        if (nParse > 1) {
            if (!bKeyHasQueue) ++nParsesWhileTheKeyWaited;
            return;
        }
        evFirstParse.SetEvent();
        // The keystroke has come and waits in LockText once its break is set.
        EXPECT_TRUE(WaitUntil([&] { return pSchema->IsBreakSet(); }));
        pSchema->SetBreak(FALSE);
    });
    // Two ranges far apart: one pass, two parses. The delayed one waits for the second.
    q.parser.StartParseInThread(q.buffer.get(), &rows1, &rows1End, 1, TRUE);
    q.parser.StartParseInThread(q.buffer.get(), &rows9, &rows9End, 1, FALSE);
    ASSERT_EQ(::WaitForSingleObject(evFirstParse.m_hObject, 60000), WAIT_OBJECT_0);

    std::thread keystroke([&] {
        q.parser.LockText();
        bKeyHasQueue = true;
        q.buffer->InsertText("x", 10, 1);
        q.parser.UnlockText();
    });
    keystroke.join();
    q.parser.OnTextChanged(Pos(10, 0), Pos(10, 1), 1, q.buffer.get());
    ASSERT_TRUE(PumpUntil([&] { return q.parser.IsIdle(); }));
    EXPECT_EQ(nParsesWhileTheKeyWaited.load(), 0);
    EXPECT_EQ(q.Colours(), q.Fresh()) << "the range left by the stopped pass was parsed after the keystroke";
}

// A tab activated during a colouring sets its parser's priority, and a window may ask whether the
// parser is idle or running: none of them waits for the pass.
TEST(LexParser, QuestionsAndThePriorityDoNotWaitForARunningPass) {
    struct Case {
        const char* name;
        std::function<BOOL(CKLVSyntaxEditLexParser&)> ask;
        BOOL bExpected;
    } const cases[] = {
        {"idle", [](CKLVSyntaxEditLexParser& parser) { return parser.IsIdle(); }, FALSE},
        {"running", [](CKLVSyntaxEditLexParser& parser) { return parser.IsWorkerRunning(); }, TRUE},
        {"priority",
         [](CKLVSyntaxEditLexParser& parser) {
             parser.SetThreadPriority(THREAD_PRIORITY_BELOW_NORMAL);
             return parser.GetThreadPriority() == THREAD_PRIORITY_BELOW_NORMAL;
         },
         TRUE},
    };
    for (const Case& c : cases) {
        CQParse q("a x b y\r\nx\r\ny x y\r\n");
        CEvent evHeld(FALSE, TRUE), evRelease(FALSE, TRUE);
        CAtParseStart atStart(q.parser.GetLexTextSchema(), [&](int nParse) {
            if (nParse > 1) return;
            evHeld.SetEvent();
            EXPECT_EQ(::WaitForSingleObject(evRelease.m_hObject, 120000), WAIT_OBJECT_0);
        });
        const Pos top(1, 0);
        q.parser.StartParseInThread(q.buffer.get(), &top, nullptr, 0, FALSE);
        ASSERT_EQ(::WaitForSingleObject(evHeld.m_hObject, 60000), WAIT_OBJECT_0) << c.name;

        CEvent evAnswered(FALSE, TRUE);
        std::atomic<BOOL> bAnswer{-1};
        std::thread asker([&] {
            bAnswer = c.ask(q.parser);
            evAnswered.SetEvent();
        });
        // Only a bound against a hang: the question takes no lock a pass holds.
        const bool bAnswered = ::WaitForSingleObject(evAnswered.m_hObject, 30000) == WAIT_OBJECT_0;
        evRelease.SetEvent();
        asker.join();
        EXPECT_TRUE(bAnswered) << c.name << " waited for the pass";
        EXPECT_EQ(bAnswer.load(), c.bExpected) << c.name;
        ASSERT_TRUE(PumpUntil([&] { return q.parser.IsIdle(); })) << c.name;
        EXPECT_EQ(q.Colours(), q.Fresh()) << c.name;
    }
}

// Records the keys of the finished blocks the schema announces (code 2), handing each over at
// once, as a window thread that keeps up does, or not at all, as a busy one.
class CAnnouncements : public CKLVNotificationSink {
public:
    CAnnouncements(CKLVSyntaxEditLexTextSchema* pSchema, bool bHandOver) : m_pSchema(pSchema), m_bHandOver(bHandOver) {
        Advise(pSchema->GetConnection(), klvLexBlockStored);
    }
    ~CAnnouncements() override { UnadviseAll(); }
    void OnEvent(KLV_NOTIFYCODE, WPARAM pKey, LPARAM, DWORD) override {
        arKeys.push_back(pKey);
        if (m_bHandOver) {
            EXPECT_TRUE(m_pSchema->GetBlocks(reinterpret_cast<void*>(pKey)));
        }
    }
    std::vector<WPARAM> arKeys;

private:
    CKLVSyntaxEditLexTextSchema* m_pSchema;
    bool m_bHandOver;
};

TEST(LexParser, BlocksFinishedWhileManyAnnouncementsWaitRideWithTheLast) {
    const int nWords = 300, nMax = CKLVSyntaxEditLexTextSchema::kMaxAnnouncementsOnTheirWay;
    std::string text;
    for (int i = 1; i <= nWords; ++i) text += "x" + std::to_string(i) + "y\r\n";
    CStringText source(text, ".q");
    const Pos top(1, 0);
    for (bool bHandOver : {true, false}) {
        SCOPED_TRACE(bHandOver ? "handed over at once" : "never handed over");
        auto pSchema = SchemaFromText(QSchema(""));
        CAnnouncements announced(pSchema.Get(), bHandOver);
        pSchema->Parse(TRUE, source.CreateTextIterator().get(), &top, nullptr, TRUE);
        if (bHandOver) {
            EXPECT_EQ(announced.arKeys.size(), static_cast<size_t>(nWords + 1)) << "every word and the file";
            continue;
        }
        ASSERT_EQ(announced.arKeys.size(), static_cast<size_t>(nMax));
        // Handed over late, in order: each stands for its own rows, the last also for the words
        // after it and the file block around them all.
        for (int i = 0; i < nMax; ++i) {
            const CKLVLexBlockPtr pBlock = pSchema->GetBlocks(reinterpret_cast<void*>(announced.arKeys[i]));
            ASSERT_TRUE(pBlock) << i;
            Pos posStart, posEnd;
            ASSERT_TRUE(pSchema->GetNotifiedBlockRange(announced.arKeys[i], posStart, posEnd));
            if (i + 1 < nMax) {
                EXPECT_EQ(posStart.nLine, i + 1);
                EXPECT_EQ(posEnd.nLine, i + 1);
            } else {
                EXPECT_EQ(posStart.nLine, 1) << "the file block rode with it";
                EXPECT_TRUE(!posEnd.IsValid() || posEnd.nLine >= nWords) << posEnd.nLine;
            }
        }
        EXPECT_FALSE(pSchema->GetBlocks(reinterpret_cast<void*>(announced.arKeys[0]))) << "handed over once";
        pSchema->Parse(TRUE, source.CreateTextIterator().get(), &top, nullptr, TRUE);
        EXPECT_EQ(announced.arKeys.size(), static_cast<size_t>(2 * nMax)) << "a new pass announces afresh";
    }
}

// The C sample loaded from a file is coloured in the background; a second thread keeps asking
// for fold regions and blocks while a burst of edits is made, each told to the parser as the
// edit control does. Once the worker has caught up, the colours and folds are those of a
// fresh parse of the final text.
TEST(LexParser, EditsWhileTheWorkerRunsEndAsAFreshParse) {
    KLVRegisterSyntaxEditLexer();
    TempFolder folder;
    WriteText(folder.Path("sample.c"), SourceText("/tests/toolkit/syntaxedit/lexer/golden/sample.c"));
    BufferPtr buffer(new CKLVSyntaxEditBufferManager);
    CCodes bufferCodes;
    for (DWORD dwCode : {10, 11, 12}) bufferCodes.Advise(buffer->GetConnection(), dwCode);
    ASSERT_TRUE(buffer->SetConfigFile(WindowsPath(KELVANE_SOURCE_DIR "/runtime/config/SyntaxEdit.ini")));
    EXPECT_EQ(bufferCodes.log, "12") << "the full load reaches the buffer and its listeners";
    auto* pParser = dynamic_cast<CKLVSyntaxEditLexParser*>(buffer->GetLexParser());
    ASSERT_TRUE(pParser);
    CCodes codes;
    codes.Advise(pParser->GetConnection(), 3);
    ASSERT_TRUE(buffer->LoadFile(folder.Path("sample.c")));
    CKLVSyntaxEditLexTextSchema* pSchema = pParser->GetLexTextSchema();
    ASSERT_TRUE(pSchema) << "the C scheme serves .c";
    ASSERT_TRUE(PumpUntil([&] { return codes.Count('3') > 0 && pParser->IsIdle(); }));

    std::atomic<bool> bDone{false};
    std::atomic<int> nReads{0};
    std::thread reader([&] {
        while (!bDone) {
            std::vector<CKLVSyntaxEditCollapsedBlock> regions;
            pSchema->GetFoldRegions(nullptr, -1, regions);
            pSchema->FindBlock(Pos(1 + nReads % 20, 0));
            ++nReads;
        }
    });
    const char* snippets[] = {"/*", "*/", "{", "}", "\"", "//", "\r\n", "x", " 7 "};
    std::mt19937 rng(4242);
    for (int nEdit = 0; nEdit < 150; ++nEdit) {
        const int nRow = 1 + static_cast<int>(rng() % (buffer->GetRowCount()));
        CString strRow;
        buffer->GetLineText(nRow, strRow);
        const int nCol = static_cast<int>(rng() % (strRow.GetLength() + 1));
        const bool bInsert = rng() % 3 != 0 || nCol == strRow.GetLength();
        Pos posStart(nRow, nCol), posEnd(nRow, nCol + 1);
        if (bInsert) {
            buffer->InsertText(snippets[rng() % std::size(snippets)], nRow, nCol + 1, &posEnd);
            posEnd.nCol -= 1;
        } else {
            buffer->DeleteText(nRow, nCol + 1, nRow, nCol + 2);
        }
        pParser->OnTextChanged(posStart, posEnd, bInsert ? 1 : 2, buffer.get());
        if (nEdit % 10 == 0) PumpUntil([] { return true; });
    }
    ASSERT_TRUE(PumpUntil([&] { return pParser->IsIdle(); }));
    bDone = true;
    reader.join();
    EXPECT_GT(nReads.load(), 0);

    pParser->LockText();
    const std::string colours = RunsOf(buffer.get(), pSchema) + FoldsOf(pSchema);
    pParser->UnlockText();
    auto pFresh = SchemaFromText(SourceText("/runtime/config/lexer/C.lex"));
    pFresh->Parse(buffer->CreateTextIterator().get());
    EXPECT_EQ(colours, RunsOf(buffer.get(), pFresh.Get()) + FoldsOf(pFresh.Get()));
    codes.UnadviseAll();
    bufferCodes.UnadviseAll();
    buffer.reset();
    KLVSetSyntaxEditLexerFactory(nullptr);
}

// Once the worker has done its tasks, a wake without one (a request that added none, or the
// work signal of a request whose task an earlier pass took) must leave the chain alone: a
// parse without a task would answer with a reparse from a reset chain, and a break then
// leaves the file uncoloured.
TEST(LexParser, AWakeWithoutTasksLeavesTheChain) {
    CQParse q("a x b y\r\nx\r\ny x y\r\n");
    CPassStarts starts(q.parser.GetLexTextSchema());
    const Pos top(1, 0);
    q.parser.StartParseInThread(q.buffer.get(), &top, nullptr, 0, FALSE);
    ASSERT_TRUE(PumpUntil([&] { return q.parser.IsIdle(); }));
    const CKLVLexBlockPtr pFirst = q.parser.GetLexTextSchema()->GetFirstBlock();
    ASSERT_TRUE(pFirst);
    const int nStarts = starts.nStarts;
    // The request marks its wake pending at once, so idle below means the worker took it.
    q.parser.StartParseInThread(q.buffer.get(), nullptr, nullptr, 0, FALSE);
    ASSERT_TRUE(PumpUntil([&] { return q.parser.IsIdle(); }));
    EXPECT_EQ(starts.nStarts, nStarts) << "no pass parses without a task";
    EXPECT_EQ(q.parser.GetLexTextSchema()->GetFirstBlock(), pFirst);
    EXPECT_FALSE(pFirst->IsClosed());
    EXPECT_EQ(q.Colours(), q.Fresh());
}

// Starts colouring the whole text, holds its first parse at the start and breaks it from outside.
bool StartHeldAndBreak(CQParse& q, CPassStarts& starts) {
    starts.bHold = true;
    const Pos top(1, 0);
    q.parser.StartParseInThread(q.buffer.get(), &top, nullptr, 0, FALSE);
    if (!starts.WaitHeld()) return false;
    q.parser.BreakParse();
    return true;
}

// A pass broken from outside (a save, say) with no request after it: the worker goes on with
// the tasks left, on its own.
TEST(LexParser, ABrokenPassIsTakenUpWithoutANewRequest) {
    CQParse q("a x b y\r\nx\r\ny x y\r\n");
    CPassStarts starts(q.parser.GetLexTextSchema());
    ASSERT_TRUE(StartHeldAndBreak(q, starts));
    ASSERT_TRUE(PumpUntil([&] { return q.parser.IsIdle(); }, 20000)) << "the task was left waiting";
    EXPECT_GE(starts.nStarts, 2);
    EXPECT_EQ(q.Colours(), q.Fresh());
}

// A keystroke breaks the running pass and then changes the rows under the text lock: the
// broken pass's tasks wait for the quiet delay, so the edit finds no pass to stop again, and
// its notice starts the pass that colours both.
TEST(LexParser, AnEditRightAfterABreakStopsNoFurtherPass) {
    CQParse q("a x b y\r\nx\r\ny x y\r\n", "\tglobal:EditReparceTimeout_ms = 600000\n");
    CPassStarts starts(q.parser.GetLexTextSchema());
    ASSERT_TRUE(StartHeldAndBreak(q, starts));
    q.parser.LockText();
    EXPECT_FALSE(q.parser.GetLexTextSchema()->IsBreakSet()) << "no pass was running to stop";
    EXPECT_EQ(starts.nStarts, 1);
    const Pos posChanged = q.Change(Pos(2, 0), Pos(2, 0), "x ");
    q.parser.UnlockText();
    q.parser.OnTextChanged(Pos(2, 0), posChanged, 1, q.buffer.get());
    ASSERT_TRUE(PumpUntil([&] { return q.parser.IsIdle(); }));
    EXPECT_EQ(q.Colours(), q.Fresh());
}

// Rows changed and the edit not yet told: the worker, woken before, keeps off the chain,
// whose blocks still lie where the old text had them; the edit's notice lets it go on.
TEST(LexParser, TheWorkerWaitsForTheEditOfChangedRows) {
    struct Case {
        const char* name;
        bool bInsert;
        Pos start, end;
        const char* text;
    } const cases[] = {
        {"a line before the blocks", true, {1, 0}, {}, "x\r\n"},
        {"an end taken away", false, {1, 6}, {1, 7}, nullptr},
        {"a start put in", true, {1, 0}, {}, "x"},
        {"an end put in", true, {2, 1}, {}, " y"},
    };
    for (const Case& c : cases) {
        CQParse q("a x b y\r\nx\r\ny x y\r\n");
        CPassStarts starts(q.parser.GetLexTextSchema());
        const Pos top(1, 0), line3(3, 0), line3End(3, 5);
        q.parser.StartParseInThread(q.buffer.get(), &top, nullptr, 0, FALSE);
        ASSERT_TRUE(PumpUntil([&] { return q.parser.IsIdle(); })) << c.name;
        const int nStarts = starts.nStarts;

        q.parser.LockText();
        q.parser.StartParseInThread(q.buffer.get(), &line3, &line3End, 1, FALSE);
        const Pos posEnd = q.Change(c.start, c.end, c.bInsert ? c.text : nullptr);
        q.parser.UnlockText();
        EXPECT_FALSE(PumpUntil([&] { return starts.nStarts > nStarts; }, 300)) << c.name;
        EXPECT_FALSE(q.parser.IsIdle()) << c.name;

        q.parser.OnTextChanged(c.start, posEnd, c.bInsert ? 1 : 2, q.buffer.get());
        ASSERT_TRUE(PumpUntil([&] { return q.parser.IsIdle(); })) << c.name;
        EXPECT_EQ(q.Colours(), q.Fresh()) << c.name;
    }
}

// A keystroke's range that a pass left queued when the next keystroke stopped it lies in rows that
// the next keystroke may move: the range moves with them, or the rows it names would be parsed
// instead of those typed in (a block opened there left unseen).
TEST(LexParser, ARangeLeftQueuedMovesWithTheRowsOfALaterEdit) {
    struct Case {
        const char* name;
        Pos start, end;
        const char* text;   // none: the range is deleted
        int nTypedRow;      // where the first keystroke's row lies afterwards
    } const cases[] = {
        {"a row joined above", {1, 1}, {2, 0}, nullptr, 7},
        {"a row put in above", {1, 1}, {1, 1}, "\r\n", 9},
        {"text put in before it on its row", {8, 0}, {8, 0}, "z ", 8},
    };
    for (const Case& c : cases) {
        CQParse q("a\r\nb\r\nx1y\r\n\r\nx2y\r\n\r\n\r\nc x5y d\r\ne\r\nx3y\r\n");
        CPassStarts starts(q.parser.GetLexTextSchema());
        const Pos top(1, 0);
        q.parser.StartParseInThread(q.buffer.get(), &top, nullptr, 0, FALSE);
        ASSERT_TRUE(PumpUntil([&] { return q.parser.IsIdle(); })) << c.name;
        // The first keystroke opens a block that "x5y" ends; its pass is held until the second
        // keystroke stops it.
        starts.bHold = true;
        q.Type(Pos(8, 0), Pos(8, 0), "x");
        ASSERT_TRUE(starts.WaitHeld()) << c.name;
        q.Type(c.start, c.end, c.text);
        ASSERT_TRUE(PumpUntil([&] { return q.parser.IsIdle(); })) << c.name;
        CString strRow;
        q.buffer->GetLineText(c.nTypedRow, strRow);
        EXPECT_GE(strRow.Find("xc x5y"), 0) << c.name;
        EXPECT_EQ(q.Colours(), q.Fresh()) << c.name;
    }
}

TEST(LexParser, QueuedRangesMoveWithAnEdit) {
    struct Case {
        const char* name;
        int nKind;   // 1 an insertion, 2 a deletion
        Pos start, end;
        const char* tasks;
    } const cases[] = {
        {"rows put in above", 1, {2, 3}, {4, 1}, "12:4-12:9 22:0-23:0 "},
        {"rows taken out above", 2, {2, 3}, {4, 1}, "8:4-8:9 18:0-19:0 "},
        {"text put in before it on its row", 1, {10, 1}, {10, 3}, "10:6-10:11 20:0-21:0 "},
        {"text taken out before it on its row", 2, {10, 1}, {10, 3}, "10:2-10:7 20:0-21:0 "},
        {"rows with it taken out", 2, {9, 0}, {11, 0}, "9:0-9:0 18:0-19:0 "},
        {"rows put in after it", 1, {10, 10}, {12, 0}, "10:4-10:9 22:0-23:0 "},
        {"rows put in below all", 1, {30, 0}, {32, 0}, "10:4-10:9 20:0-21:0 "},
    };
    for (const Case& c : cases) {
        CKLVSyntaxEditLexTaskQueue queue;
        // The last: resume at the last block, which no edit moves.
        queue.ReplaceAll({{{10, 4}, {10, 9}}, {{20, 0}, {21, 0}}, {}});
        queue.MoveForEdit(c.start, c.end, c.nKind);
        EXPECT_EQ(Tasks(queue.GetTasks()), std::string(c.tasks) + std::to_string(INT_MAX) + ":0-0:0 ") << c.name;
    }
}

// The task that resumes at the last block waits behind the ranges and is never joined by one:
// joined, an edit's range would be taken as done with it.
TEST(LexParser, RangesNeverJoinTheResumeTask) {
    struct Case {
        const char* name;
        Pos start, end;
    } const cases[] = {
        {"on line 3 at column 0", {3, 0}, {3, 1}},
        {"on the first line", {1, 0}, {1, 2}},
        {"far down", {500, 4}, {501, 0}},
    };
    const std::string resume = std::to_string(INT_MAX) + ":0-0:0 ";
    for (const Case& c : cases) {
        CKLVSyntaxEditLexTaskQueue queue;
        queue.AddResumeTask();
        queue.AddTask(&c.start, &c.end);
        queue.AddResumeTask();
        const std::string range = std::to_string(c.start.nLine) + ":" + std::to_string(c.start.nCol) + "-" +
                                  std::to_string(c.end.nLine) + ":" + std::to_string(c.end.nCol) + " ";
        EXPECT_EQ(Tasks(queue.GetTasks()), resume + range) << c.name;
    }
    CKLVSyntaxEditLexTaskQueue queue;
    const Pos start(7, 0), end(7, 3);
    queue.AddTask(&start, &end);
    queue.AddResumeTask();
    EXPECT_EQ(Tasks(queue.GetTasks()), resume + "7:0-7:3 ") << "queued behind a range already there";
}

// A schema whose next complete parse closes its blocks as a stopped one does: what followed the
// last block it linked is let go and the chain is left cut before the end of the text.
class CCuttingSchema : public CKLVSyntaxEditLexTextSchema {
public:
    using CKLVSyntaxEditLexTextSchema::CKLVSyntaxEditLexTextSchema;
    CKLVSmartPtr<CKLVSyntaxEditLexTextSchema> Clone() override {
        auto pClone = KLVMakeCounted<CCuttingSchema>(GetName());
        GetClassTree().CopyTo(pClone->GetClassTree());
        return pClone;
    }
    void CloseParsedBlocks(BOOL bStopped, BOOL bEndOfText) override {
        CKLVSyntaxEditLexTextSchema::CloseParsedBlocks(bStopped || bCutNext.exchange(false), bEndOfText);
    }
    std::atomic<bool> bCutNext{false};
};

// A complete pass that leaves the chain cut queues the rest as a stopped one would: the worker
// reads on to the end of the text by itself, and every row is coloured as a fresh parse has it.
TEST(LexParser, ACompleteParseThatCutsTheChainIsFollowedToTheEndOfTheText) {
    CKLVSyntaxEditSchemaFileStore store;
    store.LoadSchemaText(QSchema("").c_str());
    auto pSchema = KLVMakeCounted<CCuttingSchema>("test");
    pSchema->LoadClasses(store.GetCurrentBlocks());
    CQParse q("a x b y\r\nx c y\r\nd\r\nx e y\r\nx f y\r\n\r\nx g y\r\n");
    q.parser.SetTextSchema(pSchema.Get());
    auto* pCutting = dynamic_cast<CCuttingSchema*>(q.parser.GetLexTextSchema());
    ASSERT_TRUE(pCutting);
    const Pos top(1, 0);
    q.parser.StartParseInThread(q.buffer.get(), &top, nullptr, 0, FALSE);
    ASSERT_TRUE(PumpUntil([&] { return q.parser.IsIdle(); }));

    pCutting->bCutNext = true;
    q.Type(Pos(3, 0), Pos(3, 0), "x");
    ASSERT_TRUE(PumpUntil([&] { return q.parser.IsIdle(); }));
    EXPECT_FALSE(pCutting->bCutNext) << "the edit's parse closed its blocks as if stopped";
    EXPECT_FALSE(pCutting->IsChainCut());
    EXPECT_EQ(q.Colours(), q.Fresh());
}

// A schema that lets the worker skip only so much text between two stops: at the nth skip since
// the last stop it waits until the parse is told to break, as a key typed just then would stop it.
class CPacedSchema : public CKLVSyntaxEditLexTextSchema {
public:
    using CKLVSyntaxEditLexTextSchema::CKLVSyntaxEditLexTextSchema;
    ~CPacedSchema() override { ::CloseHandle(m_hHeld); }
    CKLVSmartPtr<CKLVSyntaxEditLexTextSchema> Clone() override {
        auto pClone = KLVMakeCounted<CPacedSchema>(GetName());
        GetClassTree().CopyTo(pClone->GetClassTree());
        return pClone;
    }
    void SkipText(IKLVSyntaxEditTextIterator* pIter, CKLVSyntaxEditLexClass* pClass,
                  CKLVSyntaxEditLexParseContext* pContext, int nCount) override {
        if (nSkipsPerStop > 0 && ++m_nSkips >= nSkipsPerStop) {
            m_nSkips = 0;
            ::SetEvent(m_hHeld);
            WaitUntil([this] { return IsBreakSet(); });
        }
        CKLVSyntaxEditLexTextSchema::SkipText(pIter, pClass, pContext, nCount);
    }
    // TRUE once for each time the worker was held.
    bool TakeHeld() { return ::WaitForSingleObject(m_hHeld, 0) == WAIT_OBJECT_0; }

    std::atomic<int> nSkipsPerStop{0};

private:
    int m_nSkips = 0;
    HANDLE m_hHeld = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
};

// Keys typed faster than a pass reads the text: each stops the worker after the same amount of
// work. What a stopped pass kept is built on (an edit's parse joins the blocks it kept, and the
// rows after them are read on from there), so the colouring reaches the end of the text while
// the typing goes on; re-read from the edit each time, it would never get past the first rows.
TEST(LexParser, TypingThatStopsEveryPassStillColoursTheRowsAfterTheEdit) {
    CKLVSyntaxEditSchemaFileStore store;
    store.LoadSchemaText(QSchema("").c_str());
    auto pSchema = KLVMakeCounted<CPacedSchema>("test");
    pSchema->LoadClasses(store.GetCurrentBlocks());
    std::string text = "c\r\n";
    for (int i = 0; i < 60; ++i) text += "x " + std::to_string(i) + " y\r\n";
    CQParse q(text.c_str());
    q.parser.SetTextSchema(pSchema.Get());
    auto* pPaced = dynamic_cast<CPacedSchema*>(q.parser.GetLexTextSchema());
    ASSERT_TRUE(pPaced);
    pPaced->nSkipsPerStop = 20;
    const Pos top(1, 0);
    q.parser.StartParseInThread(q.buffer.get(), &top, nullptr, 0, FALSE);
    const int kMaxKeys = 40;
    int nKeys = 0;
    for (; nKeys < kMaxKeys; ++nKeys) {
        bool bHeld = false;
        ASSERT_TRUE(PumpUntil([&] { return (bHeld = pPaced->TakeHeld()) || q.parser.IsIdle(); }));
        if (!bHeld) break;
        q.Type(Pos(1, 0), Pos(1, 0), "a");
    }
    EXPECT_GT(nKeys, 1) << "no key stopped a pass";
    EXPECT_LT(nKeys, kMaxKeys) << "the rows after the edit were left uncoloured while keys came";
    pPaced->nSkipsPerStop = 0;
    q.parser.BreakParse();
    ASSERT_TRUE(PumpUntil([&] { return q.parser.IsIdle(); }));
    EXPECT_FALSE(pPaced->IsChainCut());
    EXPECT_EQ(q.Colours(), q.Fresh());
}

// Auto-completion's view of a scheme: each class with token tags, in the order the classes
// were made, with its separators; character classes and empty tags give no string.
TEST(LexParser, TokenTagSetsListTheTokenClasses) {
    const std::string schema =
        "lexClass:\n\tname = t_file\n\tparent:file = <*.t>\n//:lexClass\n"
        "lexClass:\n\tname = t_keys\n\tparent = t_file\n\ttoken:tag = 'if', 'else'\n"
        "\ttoken:start:separators = ' ', @eol\n\ttoken:end:separators = ' ', '('\n//:lexClass\n"
        "lexClass:\n\tname = t_block\n\tparent = t_file\n\tstart:tag = '{'\n\tend:tag = '}'\n//:lexClass\n"
        "lexClass:\n\tname = t_types\n\tparent = t_file\n\ttoken:tag = 'int'\n//:lexClass\n";
    auto Show = [](const std::vector<CKLVStringArraySet>& sets) {
        std::string out;
        for (const CKLVStringArraySet& set : sets) {
            for (const auto* ar : {&set.arTags, &set.arStartSeparators, &set.arEndSeparators}) {
                out += "[";
                for (const CString& str : *ar) out += std::string(str.GetString()) + "|";
                out += "]";
            }
            out += " ";
        }
        return out;
    };
    CKLVSyntaxEditLexParser parser;
    std::vector<CKLVStringArraySet> sets(1);
    EXPECT_FALSE(parser.GetTokenTagSets(sets, FALSE)) << "no schema";
    EXPECT_TRUE(sets.empty());
    parser.SetTextSchema(SchemaFromText(schema).Get());
    struct Case {
        BOOL bAppend;
        const char* sets;
    } const cases[] = {
        {FALSE, "[if|else|][ |][ |(|] [int|][][] "},
        {TRUE, "[if|else|][ |][ |(|] [int|][][] [if|else|][ |][ |(|] [int|][][] "},
        {FALSE, "[if|else|][ |][ |(|] [int|][][] "},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(parser.GetTokenTagSets(sets, c.bAppend));
        EXPECT_EQ(Show(sets), c.sets) << c.bAppend;
    }
    CStringArray arWords;
    parser.GetWordLists(arWords);   // what the editor's auto-complete list offers
    ASSERT_EQ(arWords.GetSize(), 3);
    EXPECT_EQ(arWords[0], "if");
    EXPECT_EQ(arWords[1], "else");
    EXPECT_EQ(arWords[2], "int");

    std::vector<CString> strings;
    CKLVSyntaxEditLexParser::CollectStrings(nullptr, strings);
    CKLVSyntaxEditLexValueObj word("word", klvLexValueStrings);
    CKLVSyntaxEditLexParser::CollectStrings(&word, strings);
    EXPECT_TRUE(strings.empty()) << "only a list value gives its strings";
}

// The requests of one edit (its break, the change under the text lock, the notice) take the
// queue once: the running pass is stopped once, no pass runs and no other thread's request gets
// the queue until the edit is over, and what the edit broke or asked for is coloured after it.
TEST(LexParser, TheRequestsOfOneEditTakeTheQueueOnce) {
    const struct {
        const char* what;
        bool bChangesRows;
    } cases[] = {
        {"a keystroke", true},
        {"a break alone, as a save makes", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CQParse q("a x b y\r\nx\r\ny x y\r\n");
        CKLVSyntaxEditLexTextSchema* pSchema = q.parser.GetLexTextSchema();
        CPassStarts starts(pSchema);
        starts.bHold = true;
        const Pos top(1, 0);
        q.parser.StartParseInThread(q.buffer.get(), &top, nullptr, 0, FALSE);
        ASSERT_TRUE(starts.WaitHeld());

        ASSERT_TRUE(q.parser.BeginRequests());
        EXPECT_FALSE(pSchema->IsBreakSet()) << "the held pass has ended and let go of the queue";
        q.parser.BreakParse();
        if (c.bChangesRows) q.Type(Pos(2, 0), Pos(2, 0), "x ");
        EXPECT_FALSE(pSchema->IsBreakSet()) << "the requests within found the queue held";
        std::atomic<bool> bOtherHasQueue{false};
        std::thread other([&] {
            q.parser.BreakParse();
            bOtherHasQueue = true;
        });
        EXPECT_FALSE(PumpUntil([&] { return bOtherHasQueue.load() || starts.nStarts > 1; }, 300));
        q.parser.EndRequests();
        other.join();
        EXPECT_TRUE(bOtherHasQueue.load());
        ASSERT_TRUE(PumpUntil([&] { return q.parser.IsIdle(); }, 20000));
        EXPECT_GE(starts.nStarts.load(), 2);
        EXPECT_EQ(q.Colours(), q.Fresh());
    }
}
