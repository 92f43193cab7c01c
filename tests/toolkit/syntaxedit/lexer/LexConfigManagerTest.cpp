// The lexer configuration: INI lines, theme inheritance, the file monitor's reports, and the
// manager loading, reloading after changes and surviving a storm of rewrites.
#include "LexTestSupport.h"

#include "toolkit/syntaxedit/text/SyntaxEditNotificationSinkMT.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditConfigManager.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditIniFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

namespace {

std::string Schema(const char* ext, const char* wordColor) {
    return std::string("lexClass:\n\tname = t_file\n\tparent:file = <*") + ext +
           ">\n//:lexClass\n"
           "lexClass:\n\tname = t_word\n\tparent = t_file\n\tstart:tag = 'x'\n\tend:tag = 'y'\n\ttxt:colorFG = " +
           wordColor + "\n//:lexClass\n";
}

int WordColor(CKLVSyntaxEditLexTextSchema* pSchema) {
    CKLVSyntaxEditLexClass* pWord = FindInstance(pSchema->GetClassTree().GetRoots(TRUE), "t_word");
    return pWord ? pWord->GetAttributeInt("txt:colorFG", FALSE, -1) : -2;
}

// What the manager announced, as "code name schema|theme|-" lines.
struct CRecorder {
    void OnNotify(KLV_NOTIFYCODE dwCode, WPARAM wParam, LPARAM lParam) {
        std::string line = std::to_string(dwCode);
        if (wParam) line += std::string(" ") + reinterpret_cast<LPCSTR>(wParam);
        line += lParam ? " +" : " -";
        log.push_back(line);
    }
    bool Saw(const std::string& line) const {
        for (const std::string& seen : log)
            if (seen == line) return true;
        return false;
    }
    std::vector<std::string> log;
};

class CMonitorLog : public IKLVSyntaxEditFileMonitorOwner {
public:
    void OnConfigFileChanged(LPCSTR lpszPath, DWORD dwFlags, int nKind, HANDLE) override {
        log += std::string(std::strrchr(lpszPath, '\\') + 1) + " " + std::to_string(dwFlags) + " " +
               std::to_string(nKind) + "; ";
    }
    std::string log;
};

void SetWriteTime(const CString& path, ULONGLONG ullTime) {
    HANDLE h = ::CreateFileA(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             0, nullptr);
    FILETIME ft{static_cast<DWORD>(ullTime), static_cast<DWORD>(ullTime >> 32)};
    ::SetFileTime(h, nullptr, nullptr, &ft);
    ::CloseHandle(h);
}

// Deletes a file that a reader may hold open for a moment.
void RemoveFile(const CString& path) {
    for (int nTry = 0; nTry < 1000 && !::DeleteFileA(path); ++nTry) ::Sleep(2);
}

const ULONGLONG kSomeTime = 132000000000000000ULL;

}  // namespace

TEST(LexConfig, IniLinesTakeTheValueBetweenTheFirstTwoEqualSignsAndCutTheComment) {
    struct Case {
        const char* line;
        const char* key;
        const char* value;
        const char* comment;
    } const cases[] = {
        {" C = lexer\\C.lex ; C sources", "C", "lexer\\C.lex", "C sources"},
        {"a=b=c", "a", "b", ""},
        {"a = b ; x = y", "a", "b", "x"},
        {"a=", "a", "", ""},
        {"lonely", "lonely", "", ""},
        {"k = ;only comment", "k", "", "only comment"},
    };
    for (const Case& c : cases) {
        const CKLVSyntaxEditIniFile::CLine line = CKLVSyntaxEditIniFile::ParseLine(c.line);
        EXPECT_EQ(line.strKey, c.key) << c.line;
        EXPECT_EQ(line.strValue, c.value) << c.line;
        EXPECT_EQ(line.strComment, c.comment) << c.line;
    }
    EXPECT_EQ(CKLVSyntaxEditIniFile::GetFolder("C:\\cfg\\SyntaxEdit.ini"), "C:\\cfg\\");
    EXPECT_EQ(CKLVSyntaxEditIniFile::GetFolder("\\SyntaxEdit.ini"), "");
}

TEST(LexConfig, ThemesInheritFromTheirParentsAndLoopsEnd) {
    TempFolder folder;
    WriteText(folder.Path("base.theme"), "[main]\nparentschema = self\n[kw]\ncolorFG = 0x0000FF\nBold = 1\n[str]\ncolorFG = 12\n");
    WriteText(folder.Path("child.theme"), "[main]\nparentschema = base\nDisplayName = c\n[kw]\ncolorFG = 0xFF0000\n");
    WriteText(folder.Path("self.theme"), "[main]\nparentschema = self\n");
    WriteText(folder.Path("loop1.theme"), "[main]\nparentschema = loop2\n");
    WriteText(folder.Path("loop2.theme"), "[main]\nparentschema = loop1\n");
    CKLVSyntaxEditThemeMap themes;
    for (const char* name : {"base", "child", "self", "loop1", "loop2"})
        themes.AddTheme(name, folder.Path((std::string(name) + ".theme").c_str()));
    // "base" names "self", which names itself: base's lineage is base, self.
    CKLVThemePtr pChild = themes.Lookup("child");
    const CKLVSyntaxEditThemeSection* pKw = pChild->GetSection("kw", TRUE);
    ASSERT_TRUE(pKw);
    EXPECT_EQ(pKw->GetHexValue("colorFG", TRUE), 0xFF0000);
    EXPECT_EQ(pKw->GetValue("Bold", TRUE), "1");
    EXPECT_EQ(pKw->GetValue("Bold", FALSE), "");
    EXPECT_EQ(pChild->GetSection("str", TRUE)->GetHexValue("colorFG", TRUE), 0x12);
    EXPECT_EQ(pChild->GetSection("str", FALSE), nullptr);
    EXPECT_EQ(pChild->GetSection("main", FALSE)->GetValue("parentschema", TRUE), "base");
    EXPECT_EQ(pChild->GetSection("main", FALSE)->GetValue("missing", TRUE), "") << "main is never inherited";
    EXPECT_FALSE(themes.Lookup("self")->GetParentTheme());
    EXPECT_EQ(themes.Lookup("loop1")->GetLineage().size(), 2u);
    EXPECT_EQ(themes.Lookup("loop1")->GetSection("kw", TRUE), nullptr);
    CKLVThemeValues values;
    pChild->CollectValues("kw", values);
    EXPECT_EQ(values["colorFG"], "0xFF0000");
    EXPECT_EQ(values["Bold"], "1");

    EXPECT_EQ(themes.ReloadThemeFile(folder.Path("CHILD.theme"), 0), "child") << "paths compare without case";
    EXPECT_EQ(themes.ReloadThemeFile(folder.Path("child.theme"), 2), "child");
    EXPECT_FALSE(themes.Lookup("child"));
    EXPECT_EQ(themes.ReloadThemeFile(folder.Path("child.theme"), 1), "child") << "a pending file comes back";
    EXPECT_TRUE(themes.Lookup("child"));
}

TEST(LexConfig, MonitorReportsChangesAppearancesAndRemovalsOnce) {
    TempFolder folder;
    CMonitorLog owner;
    CKLVSyntaxEditFileMonitor monitor(&owner);
    monitor.SetBaseFolder(folder.Folder());
    WriteText(folder.Path("a.lex"), "abc");
    SetWriteTime(folder.Path("a.lex"), kSomeTime);
    CString strRelative = "a.lex", strMissing = "b.theme";
    EXPECT_TRUE(monitor.AddFile(strRelative, 1));
    EXPECT_EQ(strRelative, folder.Path("a.lex")) << "resolved against the base folder";
    EXPECT_FALSE(monitor.AddFile(strMissing, 2));
    EXPECT_EQ(strMissing, folder.Path("b.theme")) << "watched where it will appear";

    struct Step {
        const char* name;
        std::function<void()> change;
        const char* log;
    } const steps[] = {
        {"nothing", [] {}, ""},
        {"time moves less than half a second", [&] { SetWriteTime(folder.Path("a.lex"), kSomeTime + 4000000); }, ""},
        {"size differs, same time",
         [&] {
             WriteText(folder.Path("a.lex"), "abcd");
             SetWriteTime(folder.Path("a.lex"), kSomeTime + 4000000);
         },
         "a.lex 1 0; "},
        {"time moves a second", [&] { SetWriteTime(folder.Path("a.lex"), kSomeTime + 14000000); }, "a.lex 1 0; "},
        {"replaced by another file of the same size and time",
         [&] {
             WriteText(folder.Path("a.new"), "wxyz");
             SetWriteTime(folder.Path("a.new"), kSomeTime + 14000000);
             ::MoveFileExA(folder.Path("a.new"), folder.Path("a.lex"), MOVEFILE_REPLACE_EXISTING);
         },
         "a.lex 1 0; "},
        {"removed", [&] { RemoveFile(folder.Path("a.lex")); }, "a.lex 1 2; "},
        {"still removed", [] {}, ""},
        {"restored, and a missing relative file appears",
         [&] {
             WriteText(folder.Path("a.lex"), "x");
             WriteText(folder.Path("b.theme"), "[main]\n");
         },
         "a.lex 1 1; b.theme 2 1; "},
    };
    for (const Step& step : steps) {
        owner.log.clear();
        step.change();
        monitor.CheckFiles();
        EXPECT_EQ(owner.log, step.log) << step.name;
    }
    monitor.StartConfigMonitor();
    EXPECT_TRUE(monitor.IsRunning());
    monitor.StopConfigMonitor();
    EXPECT_FALSE(monitor.IsRunning());
}

TEST(LexConfig, ManagerLoadsWatchesAndReloads) {
    TempFolder folder;
    WriteText(folder.Path("SyntaxEdit.ini"), "[themes]\nDefault = Default.theme ; later\n[schemes]\nT = t.lex\n");
    WriteText(folder.Path("t.lex"), Schema(".t", "0x0000FF"));
    auto pManager = KLVMakeCounted<CKLVSyntaxEditConfigManager>();
    pManager->GetFileMonitor().SetPollInterval(10);
    CRecorder recorder;
    CKLVNotificationSinkMT<CRecorder> sink(&recorder);
    for (DWORD dwCode : {10, 11, 12}) sink.Advise(pManager->GetConnection(), dwCode, &CRecorder::OnNotify);

    EXPECT_TRUE(pManager->SetConfigFile(folder.Path("SyntaxEdit.ini")));
    EXPECT_EQ(recorder.log, std::vector<std::string>{"12 -"});
    CKLVTextSchemaPtr pSchema = pManager->GetSchemes().Lookup("T");
    ASSERT_TRUE(pSchema);
    EXPECT_EQ(pManager->FindSchemaForFile(".T").Get(), static_cast<IKLVSyntaxEditTextSchema*>(pSchema.Get()));
    EXPECT_FALSE(pManager->FindSchemaForFile(".c"));
    EXPECT_FALSE(pManager->FindSchemaForFile(""));
    EXPECT_FALSE(pManager->GetThemes().Lookup("Default")) << "its file is missing";
    EXPECT_EQ(WordColor(pSchema.Get()), 0xFF0000) << "the schema file's blue";

    WriteText(folder.Path("Default.theme"), "[t_word]\ncolorFG = 0x00FF00\n");
    ASSERT_TRUE(PumpUntil([&] { return recorder.Saw("11 Default +"); }));
    EXPECT_EQ(WordColor(pSchema.Get()), 0x00FF00) << "the current theme applied";

    RemoveFile(folder.Path("t.lex"));
    ASSERT_TRUE(PumpUntil([&] { return recorder.Saw("10 T -"); }));
    EXPECT_FALSE(pManager->FindSchemaForFile(".t"));

    WriteText(folder.Path("t.lex"), Schema(".t", "0x0000FF"));
    ASSERT_TRUE(PumpUntil([&] { return recorder.Saw("10 T +"); }));
    ASSERT_TRUE(pManager->FindSchemaForFile(".t"));
    EXPECT_EQ(WordColor(pManager->GetSchemes().Lookup("T").Get()), 0x00FF00) << "the reloaded scheme is themed";

    recorder.log.clear();
    WriteText(folder.Path("SyntaxEdit.ini"), "[schemes]\nU = u.lex\n");
    WriteText(folder.Path("u.lex"), Schema(".u", "0x000001"));
    ASSERT_TRUE(PumpUntil([&] { return recorder.Saw("12 -"); }));
    EXPECT_TRUE(pManager->FindSchemaForFile(".u"));
    EXPECT_FALSE(pManager->FindSchemaForFile(".t"));
    EXPECT_EQ(pManager->GetConfigFile(), folder.Path("SyntaxEdit.ini"));

    pManager->Close();
    EXPECT_FALSE(pManager->FindSchemaForFile(".u"));
    EXPECT_FALSE(pManager->GetFileMonitor().IsRunning());
}

TEST(LexConfig, MissingMainFileIsWatchedAndLoadedWhenItAppears) {
    TempFolder folder;
    auto pManager = KLVMakeCounted<CKLVSyntaxEditConfigManager>();
    pManager->GetFileMonitor().SetPollInterval(10);
    CRecorder recorder;
    CKLVNotificationSinkMT<CRecorder> sink(&recorder);
    sink.Advise(pManager->GetConnection(), 12, &CRecorder::OnNotify);
    EXPECT_TRUE(pManager->SetConfigFile(folder.Path("SyntaxEdit.ini")));
    EXPECT_EQ(recorder.log.size(), 1u);
    WriteText(folder.Path("t.lex"), Schema(".t", "1"));
    WriteText(folder.Path("SyntaxEdit.ini"), "[schemes]\nT = t.lex\n");
    ASSERT_TRUE(PumpUntil([&] { return recorder.log.size() == 2; }));
    EXPECT_TRUE(pManager->FindSchemaForFile(".t"));
    // Close at once after another reload started: it is cancelled or finished, never left.
    pManager->ReloadConfigAsync(THREAD_PRIORITY_NORMAL);
    pManager->ReloadConfigAsync(THREAD_PRIORITY_NORMAL);
    pManager->Close();
    EXPECT_FALSE(pManager->FindSchemaForFile(".t"));
}

// The configuration and a schema file are rewritten every 200 ms while this thread keeps
// looking schemas up and painting with them; the monitor and the reload threads race the
// painting for the whole run. It must end, with the configuration of the last rewrite.
TEST(LexConfig, RewritesWhileTheUserInterfaceThreadPaints) {
    TempFolder folder;
    const CString ini = folder.Path("SyntaxEdit.ini");
    WriteText(folder.Path("Default.theme"), "[t_word]\nBold = 1\n");
    WriteText(folder.Path("t.lex"), Schema(".t", "1"));
    WriteText(ini, "[themes]\nDefault = Default.theme\n[schemes]\nT = t.lex\n");
    auto pManager = KLVMakeCounted<CKLVSyntaxEditConfigManager>();
    pManager->GetFileMonitor().SetPollInterval(5);
    CRecorder recorder;
    CKLVNotificationSinkMT<CRecorder> sink(&recorder);
    for (DWORD dwCode : {10, 11, 12}) sink.Advise(pManager->GetConnection(), dwCode, &CRecorder::OnNotify);
    pManager->SetConfigFile(ini);

    const int kRounds = 12;
    std::atomic<bool> bDone{false};
    std::thread writer([&] {
        for (int i = 0; i < kRounds; ++i) {
            ::Sleep(200);
            WriteText(folder.Path("t.lex"), Schema(".t", std::to_string(i + 2).c_str()));
            WriteText(ini, std::string("[themes]\nDefault = Default.theme\n[schemes]\nT = t.lex\n") +
                               (i % 2 ? "U = t.lex\n" : ""));
        }
        bDone = true;
    });
    CStringText text("a x b y\nxx yy\n");
    int nPaints = 0;
    EXPECT_TRUE(PumpUntil([&] {
        // Waits for the lock that the reload and monitor threads take.
        EXPECT_EQ(pManager->GetConfigFile(), ini);
        if (CKLVTextSchemaRef pFound = pManager->FindSchemaForFile(".t")) {
            auto pCopy = static_cast<CKLVSyntaxEditLexTextSchema*>(pFound.Get())->Clone();
            std::unique_ptr<IKLVSyntaxEditTextIterator> pIter = text.CreateTextIterator();
            pCopy->Parse(pIter.get());
            std::vector<CKLVSyntaxEditTextSegment> runs;
            pCopy->GetLineAttributes(pIter.get(), 1, 0, 0, CKLVSyntaxEditTextColors(), runs, nullptr, nullptr);
            ++nPaints;
        }
        return bDone.load();
    }));
    writer.join();
    EXPECT_GT(nPaints, 0);
    // Whatever the races left, one more load from the files gives their last state.
    EXPECT_TRUE(pManager->SetConfigFile(ini));
    ASSERT_TRUE(pManager->GetSchemes().Lookup("U"));
    EXPECT_EQ(WordColor(pManager->GetSchemes().Lookup("T").Get()),
              static_cast<int>(CKLVSyntaxEditLexClass::RgbToColorRef(kRounds + 1)));
    pManager->Close();
}

// The Color page's copy and write go through the manager while the monitor's reports reload the
// same file on another thread. A reload holds the file open while it reads it, and the writer
// replaces the file: under the manager's lock they never meet, so every write lands and every
// copy is a whole parse.
TEST(LexConfig, CopiesAndWritesWhileReportsReloadTheSameFile) {
    TempFolder folder;
    WriteText(folder.Path("SyntaxEdit.ini"), "[schemes]\nT = t.lex\n");
    WriteText(folder.Path("t.lex"), Schema(".t", "0x000001"));
    auto pManager = KLVMakeCounted<CKLVSyntaxEditConfigManager>();
    ASSERT_TRUE(pManager->SetConfigFile(folder.Path("SyntaxEdit.ini")));
    const CString strFile = pManager->GetSchemeEntries().front().strFile;
    // Reports the file changed again and again until it goes.
    struct Reporter {
        Reporter(CKLVSyntaxEditConfigManager* pManager, const CString& strFile)
            : thread([this, pManager, strFile] {
                  while (!bDone) pManager->OnConfigFileChanged(strFile, klvConfigFileScheme, klvConfigFileChanged, nullptr);
              }) {}
        ~Reporter() {
            bDone = true;
            thread.join();
        }
        std::atomic<bool> bDone{false};
        std::thread thread;
    };
    const int kWrites = 100;
    {
        Reporter reporter(pManager.Get(), strFile);
        for (int i = 1; i <= kWrites; ++i) {
            // The store is the process's: it also holds the files earlier tests loaded.
            CKLVSyntaxEditLexClassInfoMap copies;
            pManager->CopyLexClassInfosTo(copies);
            ASSERT_EQ(copies.count(strFile.GetString()), 1u);
            CKLVSyntaxEditLexClassInfoArray& blocks = *copies[strFile.GetString()];
            ASSERT_EQ(blocks.size(), 2u) << "a whole parse";
            CKLVSyntaxEditLexClassProperty& color = blocks[1].m_arProperties.back();
            ASSERT_EQ(CKLVSyntaxEditLexText::JoinStrings(color.m_arKeyParts, ":"), "txt:colorFG");
            color.m_arValues[0].Format("0x%06X", i);
            blocks.m_bModified = TRUE;
            pManager->WriteLexClassFiles(copies);
            ASSERT_FALSE(blocks.m_bModified) << "write " << i << " did not land";
        }
    }
    pManager->OnConfigFileChanged(strFile, klvConfigFileScheme, klvConfigFileChanged, nullptr);
    EXPECT_EQ(WordColor(pManager->GetSchemes().Lookup("T").Get()), static_cast<int>(CKLVSyntaxEditLexClass::RgbToColorRef(kWrites)));
    pManager->Close();
}
