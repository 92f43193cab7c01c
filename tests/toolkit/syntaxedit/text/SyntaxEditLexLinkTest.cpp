// The buffer's side of colouring: the schema chosen by file name, the colouring switch, and the
// configuration manager's notifications, handled and passed on to the buffer's own listeners.
#include "SyntaxEditTestSupport.h"

#include "toolkit/syntaxedit/text/SyntaxEditTextIterator.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

std::string g_log;

class CFakeSchema : public IKLVSyntaxEditTextSchema {
public:
    CFakeSchema(LPCSTR lpszName, LPCSTR lpszExt) : m_strName(lpszName), m_strExt(lpszExt) {}
    CString GetSchName() override { return m_strName; }
    BOOL FindClassForFile(LPCSTR lpszFileName) override { return m_strExt == lpszFileName; }
    void SetTheme(LPARAM) override { g_log += "theme " + std::string(m_strName) + "; "; }
    void Parse(IKLVSyntaxEditTextIterator* pIterator) override {
        g_log += "parse " + std::string(m_strName) + " " + std::string(pIterator->PeekText(1), 1) + "; ";
    }
    // Painting is not what these tests look at.
    CKLVSchemaHandlePtr ParseScreenLines(IKLVSyntaxEditTextIterator*, int, int) override { return nullptr; }
    void GetLineAttributes(IKLVSyntaxEditTextIterator*, int, int, int, const CKLVSyntaxEditTextColors&,
                           std::vector<CKLVSyntaxEditTextSegment>&, IKLVSyntaxEditSchemaHandle*) override {}
    void GetFoldRegions(int, std::vector<CKLVSyntaxEditCollapsedBlock>&, CKLVSchemaHandlePtr&, BOOL) override {}
    BOOL GetNotifiedBlockRange(WPARAM, CKLVSyntaxEditPosition&, CKLVSyntaxEditPosition&) override { return FALSE; }
    CString m_strName, m_strExt;
};

CFakeSchema g_schemaC("C", ".c"), g_schemaCUpper("c", ".h"), g_schemaIni("Ini", ".ini"), g_schemaC2("C2", ".c");
BOOL g_bReparseInThread = FALSE;
// What the configuration serves ".c" files with now.
IKLVSyntaxEditTextSchema* g_pSchemaForC = &g_schemaC;
// Runs once while the next schema is set, as the messages handled while the real parser waits
// for its thread to stop.
std::function<void()> g_whileStopping;

class CFakeParser : public IKLVSyntaxEditLexParser {
public:
    void Close() override {}
    void BreakParse() override {}
    IKLVSyntaxEditTextSchema* GetTextSchema() override { return m_pSchema; }
    void SetTextSchema(IKLVSyntaxEditTextSchema* pSchema) override {
        if (auto whileStopping = std::move(g_whileStopping)) {
            g_whileStopping = nullptr;
            whileStopping();
        }
        m_pSchema = pSchema;
        g_log += "schema " + std::string(pSchema ? pSchema->GetSchName().GetString() : "none") + "; ";
    }
    CKLVSyntaxEditParseOptions GetOptions(LPCSTR) override {
        CKLVSyntaxEditParseOptions options;
        options.bConfigChangedReparceInSeparateThread = g_bReparseInThread;
        return options;
    }
    void StartParseInThread(IKLVSyntaxEditTextSource*, const CKLVSyntaxEditPosition*, const CKLVSyntaxEditPosition*,
                            int, BOOL) override {
        g_log += "thread; ";
    }
    void OnTextChanged(const CKLVSyntaxEditPosition&, const CKLVSyntaxEditPosition&, int,
                       IKLVSyntaxEditTextSource*) override {}
    IKLVSyntaxEditTextSchema* m_pSchema = nullptr;
};

class CFakeConfig : public IKLVSyntaxEditConfigManager {
public:
    CFakeConfig() : m_pConnection(new CKLVNotificationConnection) {}
    ~CFakeConfig() override { m_pConnection->InternalRelease(); }
    CKLVTextSchemaRef FindSchemaForFile(LPCSTR lpszFileName) override {
        return CKLVTextSchemaRef(CString(lpszFileName) == ".c" ? g_pSchemaForC : nullptr);
    }
    CString GetConfigFile() override { return m_strPath; }
    // Loading tells every buffer, as the real manager does.
    BOOL SetConfigFile(LPCSTR lpszPath) override {
        m_strPath = lpszPath;
        g_log += "load " + std::string(lpszPath) + "; ";
        m_pConnection->Notify(12, 0, 0, 0);
        return TRUE;
    }
    CString m_strPath = "SyntaxEdit.ini";
    void Close() override {}
    CKLVNotificationConnection* GetConnection() override { return m_pConnection; }
    CKLVNotificationConnection* m_pConnection;
};

CFakeConfig* g_pConfig = nullptr;
const KLV_SYNTAXEDIT_LEXER_FACTORY g_factory = {
    [] { return static_cast<IKLVSyntaxEditLexParser*>(new CFakeParser); },
    [] { return static_cast<IKLVSyntaxEditConfigManager*>(g_pConfig = new CFakeConfig); }};

// Records what the buffer passes on to its listeners.
class CListener : public CKLVNotificationSink {
public:
    void OnEvent(DWORD dwCode, WPARAM, LPARAM, DWORD) override { g_log += "passed " + std::to_string(dwCode) + "; "; }
};

}  // namespace

TEST(SyntaxEditLexLink, SchemaByFileNameAndConfigurationNotifications) {
    KLVSetSyntaxEditLexerFactory(&g_factory);
    BufferPtr buffer = MakeBuffer("text");
    CListener listener;
    for (DWORD dwCode : {10, 11, 12}) listener.Advise(buffer->GetConnection(), dwCode);
    EXPECT_EQ(buffer->GetConfigFile(), "SyntaxEdit.ini");

    struct Step {
        const char* name;
        std::function<void()> action;
        const char* log;
    } const steps[] = {
        {"file name", [&] { buffer->SetFileName(".c"); }, "schema C; "},
        {"same name", [&] { buffer->SetFileName(".c"); }, ""},
        {"coloring off", [&] { buffer->EnableSyntaxColoring(FALSE); }, "schema none; "},
        {"ignored while off", [&] { g_pConfig->m_pConnection->Notify(12, 0, 0, 0); }, ""},
        {"coloring on, parse at once", [&] { buffer->EnableSyntaxColoring(TRUE); }, "schema C; parse C t; "},
        {"other schema reloaded", [&] { g_pConfig->m_pConnection->Notify(10, 1, (LPARAM)&g_schemaIni, 0); }, ""},
        {"same schema name loses the file",
         [&] { g_pConfig->m_pConnection->Notify(10, 1, (LPARAM)&g_schemaCUpper, 0); }, "schema none; passed 10; "},
        {"theme without schema", [&] { g_pConfig->m_pConnection->Notify(11, 0, 7, 0); }, ""},
        {"schema that serves the file",
         [&] { g_pConfig->m_pConnection->Notify(10, 1, (LPARAM)&g_schemaC, 0); }, "schema C; parse C t; passed 10; "},
        {"reload with the schema still found", [&] { g_pConfig->m_pConnection->Notify(10, 0, 0, 0); }, ""},
        {"theme", [&] { g_pConfig->m_pConnection->Notify(11, 0, 7, 0); }, "theme C; passed 11; "},
        {"full load, parse in thread",
         [&] {
             g_bReparseInThread = TRUE;
             g_pConfig->m_pConnection->Notify(12, 0, 0, 0);
         },
         "schema C; thread; passed 12; "},
        {"file no schema serves", [&] { buffer->SetFileName(".txt"); }, "schema none; "},
        {"reload finds none", [&] { g_pConfig->m_pConnection->Notify(10, 0, 0, 0); }, "schema none; passed 10; "},
    };
    for (const Step& step : steps) {
        g_log.clear();
        step.action();
        EXPECT_EQ(g_log, step.log) << step.name;
    }
    listener.UnadviseAll();
    buffer.reset();
    KLVSetSyntaxEditLexerFactory(nullptr);
    g_bReparseInThread = FALSE;
}

// A notification that comes in while an earlier one sets its schema (the parser's wait for its
// thread lets messages through) is handled after it, as what the configuration has then: the
// newer schema stands, never the older one set over it.
TEST(SyntaxEditLexLink, NotificationsDuringASchemaChangeAreHandledAfterItAndTheNewestSchemaStands) {
    KLVSetSyntaxEditLexerFactory(&g_factory);
    BufferPtr buffer = MakeBuffer("text");
    CListener listener;
    for (DWORD dwCode : {10, 11, 12}) listener.Advise(buffer->GetConnection(), dwCode);
    buffer->SetFileName(".c");
    struct Case {
        const char* name;
        DWORD dwOuter;
        LPARAM lOuter;
        DWORD dwInner;
        const char* log;
    } const cases[] = {
        {"reloaded schema, then a full load", 10, (LPARAM)&g_schemaC, 12,
         "schema C; parse C t; passed 10; schema C2; parse C2 t; passed 12; "},
        {"full load, then the schema reloaded", 12, 0, 10,
         "schema C; parse C t; passed 12; schema C2; parse C2 t; passed 12; "},
    };
    for (const Case& c : cases) {
        g_pSchemaForC = &g_schemaC;
        g_whileStopping = [&c] {
            g_pSchemaForC = &g_schemaC2;
            g_pConfig->m_pConnection->Notify(c.dwInner, 0, (LPARAM)&g_schemaC2, 0);
        };
        g_log.clear();
        g_pConfig->m_pConnection->Notify(c.dwOuter, 0, c.lOuter, 0);
        EXPECT_EQ(g_log, c.log) << c.name;
        EXPECT_EQ(buffer->GetLexParser()->GetTextSchema(), &g_schemaC2) << c.name;
    }
    g_whileStopping = nullptr;
    g_pSchemaForC = &g_schemaC;
    listener.UnadviseAll();
    buffer.reset();
    KLVSetSyntaxEditLexerFactory(nullptr);
}

// A buffer naming the configuration already loaded applies it to itself only; naming another one
// loads that for every buffer.
TEST(SyntaxEditLexLink, NamingTheLoadedConfigurationLeavesTheOtherBuffersAlone) {
    KLVSetSyntaxEditLexerFactory(&g_factory);
    BufferPtr first = MakeBuffer("first");
    BufferPtr second = MakeBuffer("second");
    first->SetFileName(".c");
    second->SetFileName(".c");
    const struct {
        const char* name;
        CKLVSyntaxEditBufferManager* pBuffer;
        const char* path;
        const char* log;
    } steps[] = {
        {"the loaded one, any case", second.get(), "syntaxedit.INI", "schema C; parse C s; "},
        {"another one", second.get(), "Other.ini", "load Other.ini; schema C; parse C f; schema C; parse C s; "},
        {"that one again", first.get(), "Other.ini", "schema C; parse C f; "},
    };
    for (const auto& step : steps) {
        g_log.clear();
        EXPECT_TRUE(step.pBuffer->SetConfigFile(step.path));
        EXPECT_EQ(g_log, step.log) << step.name;
    }
    first.reset();
    second.reset();
    KLVSetSyntaxEditLexerFactory(nullptr);
}
